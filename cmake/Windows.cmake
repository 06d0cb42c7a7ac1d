# What building for Windows changes, in one place: included by the top-level
# CMakeLists.txt when the target is Windows (a MinGW-w64 cross-build).

# libgcc, libstdc++ and winpthread go into each program, so that the only
# DLLs shipped beside them are SDL2's own. SDL2 and SDL2_image stay DLLs: they
# are linked through their import libraries, which -static leaves alone.
if(MINGW)
  add_link_options(-static)
endif()

# The exe's icon is a resource, compiled by windres.
enable_language(RC)

# mazewalk.exe is a windows-subsystem program (no console window opens with
# it) whose entry point is SDL2main's WinMain; the tools stay console
# programs, and SDL2main gives the map tool, which includes SDL.h, its main.
function(mazewalk_windows_program target)
  set(subsystem ${ARGN})
  if(subsystem STREQUAL "WINDOWS")
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
  if(TARGET SDL2::SDL2main)
    target_link_libraries(${target} PRIVATE SDL2::SDL2main)
  endif()
endfunction()
