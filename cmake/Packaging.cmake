# cpack -G DEB in the build folder makes tallowbar_<version>_<arch>.deb from
# the install rules (the program, its .desktop file and hicolor icons).
set(CPACK_PACKAGE_NAME "tallowbar")
set(CPACK_PACKAGE_VENDOR "Marrowdell")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vellmoor server status ticker")
get_property(tallowbar_version GLOBAL PROPERTY VELL_FILE_VERSION_forms_tallowbar)
set(CPACK_PACKAGE_VERSION "${tallowbar_version}")
set(CPACK_PACKAGE_CONTACT "Marrowdell <tallowbar@localhost>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "tallowbar")
set(CPACK_COMPONENTS_ALL tallowbar)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6gui6 (>= 6.4), libxcb1, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Watches whether the six Vellmoor game servers are reachable and shows it in a\n small always-on-top skinned window with a tray icon.")
include(CPack)
