# One place for compiler flags shared by every target of the project.
add_library(vell_warnings INTERFACE)
target_compile_options(vell_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough
    # Window definitions are tables of designated initializers that name only
    # the properties a control sets.
    -Wno-missing-field-initializers)
if(VELL_WERROR)
    target_compile_options(vell_warnings INTERFACE -Werror)
endif()
if(VELL_SANITIZE)
    target_compile_options(vell_warnings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(vell_warnings INTERFACE -fsanitize=address,undefined)
endif()
if(VELL_FUZZ)
    # Coverage for libFuzzer in every library; the fuzz programs add its main.
    target_compile_options(vell_warnings INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(vell_warnings INTERFACE -fsanitize=address,undefined)
endif()
