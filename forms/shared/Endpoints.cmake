# Build-time endpoints and site hosts of both programs.
#
# This is the one place where the servers the programs probe and the web sites
# they open are chosen. Nothing is read at run time: the values below are
# compiled into the window definitions.
#
# The defaults point at the local realm on loopback (tools/realm), so a build
# made without options never reaches a host off this machine. A release build
# sets the real game addresses, for example:
#   cmake -DVELL_LOGIN_HOST=203.0.113.20 -DVELL_OFFICIAL_SITE=www.example.org ...
#
# Probe hosts are numeric IPv4 or IPv6 addresses, or names. A numeric host is
# connected to directly and never looked up, as in the default build; a name
# is looked up without blocking the window, and the lookup counts against the
# probe's 5 s connect timeout. Only the first IPv4 address a name gives is
# tried (else its first address), so a probe stays one connection attempt.
# The login, character-select and channel servers share one address block;
# the update server has an address of its own. Ports are fixed by the game:
# update 80, login 29000, character select 29100, channels 29200.

set(VELL_UPDATE_HOST     "127.80.0.1"  CACHE STRING "Update server address (port 80)")
set(VELL_LOGIN_HOST      "127.29.0.1"  CACHE STRING "Login server address (port 29000)")
set(VELL_CHARSELECT_HOST "127.29.0.2"  CACHE STRING "Character-select server address (port 29100)")
set(VELL_CH1_HOST        "127.29.0.11" CACHE STRING "Game channel 1 address (port 29200)")
set(VELL_CH2_HOST        "127.29.0.12" CACHE STRING "Game channel 2 address (port 29200)")
set(VELL_CH3_HOST        "127.29.0.13" CACHE STRING "Game channel 3 address (port 29200)")

# Web sites opened in the user's browser (http scheme; host names or addresses).
set(VELL_OFFICIAL_SITE   "127.80.0.10" CACHE STRING "The game's official site domain (also the search restriction)")
set(VELL_SEARCH_HOST     "127.80.0.11" CACHE STRING "Search engine host taking /search?hl=..&q=..")
set(VELL_FANSITE_HOST    "127.80.0.12" CACHE STRING "Fan site with the web-based server status page")
set(VELL_WIKI_HOST       "127.80.0.13" CACHE STRING "Community wiki host")
set(VELL_CLAN_HOST       "127.80.0.14" CACHE STRING "Clan site host")
set(VELL_COMMUNITY_HOST  "127.80.0.15" CACHE STRING "Community social site host")

# Whether this build keeps the local realm's defaults: the tests that check
# the default layout (all on loopback) hold only then.
set(VELL_ENDPOINTS_DEFAULT true)
foreach(pair UPDATE_HOST=127.80.0.1 LOGIN_HOST=127.29.0.1 CHARSELECT_HOST=127.29.0.2
        CH1_HOST=127.29.0.11 CH2_HOST=127.29.0.12 CH3_HOST=127.29.0.13
        OFFICIAL_SITE=127.80.0.10 SEARCH_HOST=127.80.0.11 FANSITE_HOST=127.80.0.12
        WIKI_HOST=127.80.0.13 CLAN_HOST=127.80.0.14 COMMUNITY_HOST=127.80.0.15)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 default)
    if(NOT VELL_${name} STREQUAL default)
        set(VELL_ENDPOINTS_DEFAULT false)
    endif()
endforeach()
