# One place for every fact the documents tell: the keys, the options, the level
# format, the shipped mazes, the window's geometry, the colours (facts/,
# levels/Regenerate.cmake and the program's headers; facts/Copies.cmake lists
# every copy). Included by the top-level CMakeLists.txt, it sets
# MAZEWALK_FACT_<text> (facts/Render.cmake) for the files configured from
# them, makes facts/HelpText.h for --help (the target mazewalk_facts), and adds
# the target `facts`, which remakes the copies kept literal in the sources.

include(${CMAKE_CURRENT_LIST_DIR}/Render.cmake)
mazewalk_render_facts(${PROJECT_SOURCE_DIR})
# An edited fact configures the build again, and with it every copy.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MAZEWALK_FACT_SOURCES})

configure_file(${CMAKE_CURRENT_LIST_DIR}/HelpText.h.in
               ${PROJECT_BINARY_DIR}/facts-include/facts/HelpText.h @ONLY)
add_library(mazewalk_facts INTERFACE)
target_include_directories(mazewalk_facts INTERFACE ${PROJECT_BINARY_DIR}/facts-include)

# `cmake --build <dir> --target facts` remakes the regions of README.md and the
# other literal copies; the test facts_agree fails until then.
add_custom_target(facts
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DBUILD=${PROJECT_BINARY_DIR}
          -DVERSION=${PROJECT_VERSION} -DMODE=write -P ${CMAKE_CURRENT_LIST_DIR}/Copies.cmake
  VERBATIM)
