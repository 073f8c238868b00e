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

# NAME DEFAULT DESCRIPTION, one endpoint each: the only place the defaults are
# written. Probe servers first, then the web sites opened in the user's browser
# (http scheme; host names or addresses).
set(vell_endpoints
    UPDATE_HOST     127.80.0.1  "Update server address (port 80)"
    LOGIN_HOST      127.29.0.1  "Login server address (port 29000)"
    CHARSELECT_HOST 127.29.0.2  "Character-select server address (port 29100)"
    CH1_HOST        127.29.0.11 "Game channel 1 address (port 29200)"
    CH2_HOST        127.29.0.12 "Game channel 2 address (port 29200)"
    CH3_HOST        127.29.0.13 "Game channel 3 address (port 29200)"
    OFFICIAL_SITE   127.80.0.10 "The game's official site domain (also the search restriction)"
    SEARCH_HOST     127.80.0.11 "Search engine host taking /search?hl=..&q=.."
    FANSITE_HOST    127.80.0.12 "Fan site with the web-based server status page"
    WIKI_HOST       127.80.0.13 "Community wiki host"
    CLAN_HOST       127.80.0.14 "Clan site host"
    COMMUNITY_HOST  127.80.0.15 "Community social site host")

# VELL_<NAME> cache variables; VELL_ENDPOINTS_DEFAULT tells whether this build
# keeps the local realm's defaults: the tests that check the default layout
# (all on loopback) hold only then.
set(VELL_ENDPOINTS_DEFAULT true)
list(LENGTH vell_endpoints count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 3)
    math(EXPR j "${i} + 1")
    math(EXPR k "${i} + 2")
    list(GET vell_endpoints ${i} name)
    list(GET vell_endpoints ${j} default)
    list(GET vell_endpoints ${k} description)
    set(VELL_${name} "${default}" CACHE STRING "${description}")
    if(NOT VELL_${name} STREQUAL default)
        set(VELL_ENDPOINTS_DEFAULT false)
    endif()
endforeach()
