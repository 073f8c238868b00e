# Read by cpack for each run: the DEB generator has one version per run, so a
# run packs exactly one component and takes that package's version (set in
# cmake/Packaging.cmake as CPACK_VELL_<NAME>_VERSION).
list(LENGTH CPACK_COMPONENTS_ALL count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "Each Debian package has its own version: pack one at a time, "
        "with -D CPACK_COMPONENTS_ALL=tallowbar, brambleview or vellskin, "
        "or all three with `cmake --build <build> --target debs`.")
endif()
string(TOUPPER "${CPACK_COMPONENTS_ALL}" component)
set(CPACK_PACKAGE_VERSION "${CPACK_VELL_${component}_VERSION}")
