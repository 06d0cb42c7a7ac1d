# Makes the shipped mazes and their maps from their recorded sizes and seeds.
#
#   cmake -DGEN=build-dev/tools/mazewalk-gen -DMAP=build-dev/tools/mazewalk-map \
#         -DOUT=levels -P levels/Regenerate.cmake
#
# or `cmake --build build-dev --target levels`, which does the same. The same
# size and seed always give the same level file. RUNNER, if set, is the
# command that runs the tools (wine, for a Windows build).

# Each maze: the folder under OUT (. for the default one), its size in cells
# and its seed.
set(mazes
  .      20  118   # the default: 441 walls, a long corridor ahead at the start
  small   8   59   # 81 walls
  large  30  160   # 961 walls, near the table's 1000
)

# facts/Sources.cmake includes this file for the list above alone, for every
# document that lists the mazes; the rest runs only as the script given to -P.
if(NOT "${CMAKE_SCRIPT_MODE_FILE}" STREQUAL "${CMAKE_CURRENT_LIST_FILE}")
  return()
endif()

foreach(required GEN MAP OUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "set -D${required}=...; see the top of this file")
  endif()
endforeach()

list(LENGTH mazes count)
math(EXPR last "${count} - 1")
foreach(k RANGE 0 ${last} 3)
  math(EXPR k_size "${k} + 1")
  math(EXPR k_seed "${k} + 2")
  list(GET mazes ${k} folder)
  list(GET mazes ${k_size} size)
  list(GET mazes ${k_seed} seed)
  set(dir "${OUT}/${folder}")
  file(MAKE_DIRECTORY "${dir}")
  execute_process(COMMAND ${RUNNER} "${GEN}" --size ${size} --seed ${seed} -o "${dir}/torv-2.dat"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "mazewalk-gen failed for ${folder}: ${status}")
  endif()
  execute_process(COMMAND ${RUNNER} "${MAP}" "${dir}/torv-2.dat" -o "${dir}/torv-2.png"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "mazewalk-map failed for ${folder}: ${status}")
  endif()
  message(STATUS "${folder}/torv-2.dat: ${size} x ${size} cells, seed ${seed}")
endforeach()
