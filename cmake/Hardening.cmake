# Optimised builds are hardened as Debian builds its packages (dpkg-buildflags
# with hardening=+all): a stack protector, fortified libc calls, format
# strings checked, relocations read-only and bound at start-up (Debian's
# compiler makes position-independent executables by default). The sanitizer
# and fuzz builds go without: they check more, and fortified calls would
# take accesses out of AddressSanitizer's sight.
option(VELL_HARDEN "Build with Debian's hardening flags (optimised builds)" ON)
if(VELL_HARDEN AND NOT VELL_SANITIZE AND NOT VELL_FUZZ)
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
    # Fortified calls need the optimiser: a Debug build would only warn.
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
    add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
