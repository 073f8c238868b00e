# Three Debian packages from one build, one install component each:
#   tallowbar    the ticker (no WebEngine anywhere in its dependencies)
#   brambleview  the panel, with the WebEngine runtime
#   vellskin     the skin tool
# CPack's DEB generator (CMake 3.25) has per-component names, depends and
# descriptions but one version for all, so each package is made by a cpack run
# of its own that packs one component; cmake/CPackPerPackage.cmake gives that
# run the package's version. Make all three with
#   cmake --build build --target debs            (into build/packages/)
# or one with
#   cpack -G DEB --config build/CPackConfig.cmake -D CPACK_COMPONENTS_ALL=brambleview
set(vell_packages tallowbar brambleview vellskin)

set(CPACK_PACKAGE_VENDOR "Marrowdell")
set(CPACK_PACKAGE_CONTACT "Marrowdell <packages@marrowdell.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL ${vell_packages})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Library dependencies come from dpkg-shlibdeps (libc6, the Qt libraries, and
# for brambleview libqt6webenginewidgets6, which brings the WebEngine process
# and its data); the depends below add what is loaded at run time instead.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackPerPackage.cmake)
# strip leaves the compiler's .comment and .note sections in; Debian's
# packages go without them (as dh_strip makes them).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CPackStripComments.cmake)
set(CPACK_VELL_OBJCOPY ${CMAKE_OBJCOPY})

# vell_deb_package(NAME SECTION s DEPENDS d [RECOMMENDS r] DESCRIPTION summary line...)
# The version is the global property VELL_FILE_VERSION_<target> set beside
# the program's definition (forms/) or the tool.
macro(vell_deb_package name version_property)
    cmake_parse_arguments(P "" "SECTION;DEPENDS;RECOMMENDS" "DESCRIPTION" ${ARGN})
    string(TOUPPER ${name} P_UPPER)
    get_property(CPACK_VELL_${P_UPPER}_VERSION GLOBAL PROPERTY ${version_property})
    set(CPACK_DEBIAN_${P_UPPER}_PACKAGE_NAME ${name})
    set(CPACK_DEBIAN_${P_UPPER}_PACKAGE_SECTION ${P_SECTION})
    set(CPACK_DEBIAN_${P_UPPER}_PACKAGE_DEPENDS "${P_DEPENDS}")
    set(CPACK_DEBIAN_${P_UPPER}_PACKAGE_RECOMMENDS "${P_RECOMMENDS}")
    list(JOIN P_DESCRIPTION "\n" CPACK_DEBIAN_${P_UPPER}_DESCRIPTION)
endmacro()

# The faces the programs' window definitions map theirs to. (Qt's X11
# platform plugin comes with libqt6gui6, which dpkg-shlibdeps finds.)
vell_deb_package(tallowbar VELL_FILE_VERSION_forms_tallowbar SECTION net
    DEPENDS "fonts-dejavu-core"
    RECOMMENDS "fonts-liberation"
    DESCRIPTION "Vellmoor server status ticker"
        "Tallowbar watches whether the six Vellmoor game servers (update, login,"
        "character select and three channels) accept connections and shows it in"
        "a small always-on-top skinned window with a tray icon, web links and a"
        "search of the game's official site.")
vell_deb_package(brambleview VELL_FILE_VERSION_forms_brambleview SECTION net
    DEPENDS "fonts-dejavu-core, fonts-liberation"
    DESCRIPTION "Vellmoor server status panel with the game's update log"
        "Brambleview watches whether the six Vellmoor game servers (update, login,"
        "character select and three channels) accept connections and shows each"
        "by name and in words on a skinned always-on-top panel with a tray icon,"
        "web links, a search of the game's official site and the game's update"
        "log in an embedded web view.")
vell_deb_package(vellskin VELL_FILE_VERSION_vellskin SECTION graphics
    DEPENDS ""
    DESCRIPTION "Command-line tool for Tallowbar and Brambleview skins"
        "vellskin works on the 24-bit bitmap pictures that the Vellmoor status"
        "programs use as skins: it saves, shows, draws and extracts their window"
        "shapes as region data, resamples pictures and draws noise pictures.")

include(CPack)

add_custom_target(debs
    COMMENT "Making the Debian packages in ${PROJECT_BINARY_DIR}/packages"
    DEPENDS ${vell_packages})
foreach(package ${vell_packages})
    add_custom_command(TARGET debs POST_BUILD
        COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
                -B ${PROJECT_BINARY_DIR}/packages -D CPACK_COMPONENTS_ALL=${package}
        WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
endforeach()
