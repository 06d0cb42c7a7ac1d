# Run by CPack after installing into its staging folder: takes out of the
# programs the compiler's .comment and the .note section, which CPack's own
# strip leaves in and a Debian package does not carry.
#
# CPACK_TEMPORARY_INSTALL_DIRECTORY is the staging folder; MAZEWALK_STRIP is strip.

file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/games/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${MAZEWALK_STRIP}" --remove-section=.comment --remove-section=.note
                          "${program}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "strip ${program} failed")
  endif()
endforeach()
if(NOT programs)
  message(FATAL_ERROR "no programs in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/games")
endif()
