# The files a package holds besides its program: the manual page and the
# Debian documents (copyright, changelog). Debian wants the manual page and the
# changelog compressed with gzip -9n, so they are built next to the program.
include(GNUInstallDirs)

# vell_install_docs(TARGET target COMPONENT name MANPAGE file.1 CHANGELOG file)
# installs into share/doc/<COMPONENT> and share/man/man1 within COMPONENT.
function(vell_install_docs)
    cmake_parse_arguments(D "" "TARGET;COMPONENT;MANPAGE;CHANGELOG" "" ${ARGN})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/docs)
    get_filename_component(man ${D_MANPAGE} NAME)
    add_custom_command(OUTPUT ${out}/${man}.gz ${out}/changelog.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
        COMMAND ${CMAKE_COMMAND} -E copy ${D_MANPAGE} ${out}/${man}
        COMMAND ${CMAKE_COMMAND} -E copy ${D_CHANGELOG} ${out}/changelog
        COMMAND gzip -9nf ${out}/${man} ${out}/changelog
        DEPENDS ${D_MANPAGE} ${D_CHANGELOG}
        COMMENT "Compressing ${D_COMPONENT}'s manual page and changelog" VERBATIM)
    add_custom_target(${D_TARGET}_docs DEPENDS ${out}/${man}.gz ${out}/changelog.gz)
    # Building the program builds what its install rules need.
    add_dependencies(${D_TARGET} ${D_TARGET}_docs)
    install(FILES ${out}/${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT ${D_COMPONENT})
    install(FILES ${out}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${D_COMPONENT} COMPONENT ${D_COMPONENT})
endfunction()

# vell_install_desktop(TARGET program APPSTREAM_ID id VERSION x.yy)
# installs the program's .desktop entry, hicolor icons and AppStream metainfo
# (with the program's file version as its release) in the program's component.
function(vell_install_desktop)
    cmake_parse_arguments(D "" "TARGET;APPSTREAM_ID;VERSION" "" ${ARGN})
    set(program ${D_TARGET})
    install(FILES ${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
            COMPONENT ${program})
    foreach(size 16 32 48 64 128)
        install(FILES ${PROJECT_SOURCE_DIR}/forms/${program}/icons/${size}x${size}/${program}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                COMPONENT ${program})
    endforeach()
    set(VELL_APPSTREAM_ID ${D_APPSTREAM_ID})
    set(VELL_FILE_VERSION ${D_VERSION})
    set(metainfo ${CMAKE_CURRENT_BINARY_DIR}/${D_APPSTREAM_ID}.metainfo.xml)
    configure_file(${program}.metainfo.xml.in ${metainfo} @ONLY)
    install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT ${program})
endfunction()
