# Building the web page with Debian's Emscripten: the toolchain file emcmake
# gives, found where em-config says Emscripten lives, with the prefixes given
# in CMAKE_PREFIX_PATH (the libraries scripts/cross-libs.sh web builds) also
# searched as system roots, as in the MinGW-w64 toolchain file, and before
# Emscripten's own, whose SDL2 is not the one the desktop build uses.
#
#   cmake --preset web      (scripts/build.sh web sets the prefixes)
#
# Emscripten's toolchain file runs the programs a build or a test needs to run
# with node, as emcmake would.

if(NOT MAZEWALK_EMSCRIPTEN_ROOT)
  execute_process(COMMAND em-config EMSCRIPTEN_ROOT OUTPUT_VARIABLE root
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT EXISTS "${root}/cmake/Modules/Platform/Emscripten.cmake")
    message(FATAL_ERROR "em-config EMSCRIPTEN_ROOT did not name an Emscripten with its CMake "
                        "toolchain file (scripts/deps.sh installs Debian's emscripten)")
  endif()
  set(MAZEWALK_EMSCRIPTEN_ROOT "${root}" CACHE PATH "Where Emscripten is installed")
endif()
# The test projects CMake configures with this file take the answer along.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MAZEWALK_EMSCRIPTEN_ROOT)

include("${MAZEWALK_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake")
list(PREPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
