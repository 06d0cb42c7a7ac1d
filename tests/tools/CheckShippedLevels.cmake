# Regenerates the shipped mazes into WORK with their recorded commands and
# checks that every level file comes out byte for byte as shipped. The maps are
# only checked to be made: PNG bytes vary with the zlib build.
#
# Needs GEN, MAP, LEVELS (the shipped levels folder) and WORK; RUNNER is
# passed on to Regenerate.cmake.

file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${CMAKE_COMMAND}" -DGEN=${GEN} -DMAP=${MAP} -DOUT=${WORK}
                        "-DRUNNER=${RUNNER}"
                        -P "${LEVELS}/Regenerate.cmake"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Regenerate.cmake failed: ${status}")
endif()

file(GLOB_RECURSE made RELATIVE "${WORK}" "${WORK}/*.dat")
file(GLOB_RECURSE shipped RELATIVE "${LEVELS}" "${LEVELS}/*.dat")
list(SORT made)
list(SORT shipped)
if(NOT made STREQUAL shipped)
  message(FATAL_ERROR "regenerated levels [${made}] differ from the shipped [${shipped}]")
endif()
foreach(level IN LISTS made)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
                          "${WORK}/${level}" "${LEVELS}/${level}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${level}: the shipped file is not what its command makes")
  endif()
  string(REGEX REPLACE "\\.dat$" ".png" map "${level}")
  if(NOT EXISTS "${WORK}/${map}" OR NOT EXISTS "${LEVELS}/${map}")
    message(FATAL_ERROR "${map}: no map made or shipped")
  endif()
endforeach()
message(STATUS "shipped levels match their commands: ${made}")
