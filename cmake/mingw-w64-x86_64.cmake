# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, posix thread
# model (std::thread and friends need it; the win32 model lacks them).
#
#   cmake --preset win64    (scripts/build.sh win64 sets the libraries' prefix)
#
# Programs are run under Wine where a build or a test needs to run one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MAZEWALK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MAZEWALK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MAZEWALK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MAZEWALK_MINGW_PREFIX}-windres)

# Headers, libraries and CMake packages only from the MinGW sysroot and the
# prefixes given (never the build machine's own, whose headers are glibc's);
# programs (the compiler's helpers, Python, ...) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MAZEWALK_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(MAZEWALK_WINE NAMES wine wine64)
if(MAZEWALK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MAZEWALK_WINE})
endif()
