# Run by cpack on the staged files of a package, after CPACK_STRIP_FILES:
# takes the .comment and .note sections out of every ELF file.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file ${staged})
    if(IS_SYMLINK "${file}")
        continue()
    endif()
    file(READ "${file}" magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46")
        continue()
    endif()
    execute_process(COMMAND "${CPACK_VELL_OBJCOPY}" --remove-section=.comment
                            --remove-section=.note "${file}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot take .comment out of ${file}")
    endif()
endforeach()
