# Installs the build BUILD into temporary prefixes under WORK and checks what a
# packager and a desktop would find: the program and the tools in bin/, the
# mazes in share/mazewalk/, and a desktop entry that starts the program there.
#
# Needs BUILD and WORK; VALIDATE is desktop-file-validate, if found.

file(REMOVE_RECURSE "${WORK}")

function(install_into prefix destdir)
  if(destdir STREQUAL "")
    set(env "")
  else()
    set(env "DESTDIR=${destdir}")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${env}
                          "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install --prefix ${prefix} failed:\n${out}")
  endif()
endfunction()

# root: where the files landed; prefix: where they claim to be.
function(check_layout root prefix)
  foreach(file
      bin/mazewalk bin/mazewalk-gen bin/mazewalk-map
      share/mazewalk/torv-2.dat share/mazewalk/torv-2.png
      share/mazewalk/small/torv-2.dat share/mazewalk/small/torv-2.png
      share/mazewalk/large/torv-2.dat share/mazewalk/large/torv-2.png
      share/mazewalk/README.md
      share/applications/mazewalk.desktop)
    if(NOT EXISTS "${root}/${file}")
      message(FATAL_ERROR "not installed: ${root}/${file}")
    endif()
  endforeach()
  if(EXISTS "${root}/share/mazewalk/Regenerate.cmake")
    message(FATAL_ERROR "the levels' build script was installed with the mazes")
  endif()

  set(entry "${root}/share/applications/mazewalk.desktop")
  file(STRINGS "${entry}" lines)
  set(exec "${prefix}/bin/mazewalk")
  if(exec MATCHES " ")
    set(exec "\"${exec}\"")
  endif()
  foreach(expected "Path=${prefix}/share/mazewalk" "Exec=${exec}" "Type=Application")
    list(FIND lines "${expected}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "${entry} lacks \"${expected}\"; it holds:\n${lines}")
    endif()
  endforeach()
  if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${entry}"
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0 OR NOT out STREQUAL "")
      message(FATAL_ERROR "desktop-file-validate ${entry}:\n${out}")
    endif()
  else()
    message(STATUS "desktop-file-validate not found: the entry was only checked here")
  endif()

  # The installed tools run, and the installed maze is one they can read.
  execute_process(COMMAND "${root}/bin/mazewalk-map" "${root}/share/mazewalk/torv-2.dat"
                          -o "${WORK}/installed-map.png"
                  RESULT_VARIABLE status ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/installed-map.png")
    message(FATAL_ERROR "the installed mazewalk-map cannot map the installed maze:\n${out}")
  endif()
endfunction()

# Installed straight into a prefix given at install time (with a blank in it,
# which Exec= must quote).
set(prefix "${WORK}/prefix with blank")
install_into("${prefix}" "")
check_layout("${prefix}" "${prefix}")

# Staged for a package: the files go under DESTDIR, the entry names the prefix.
set(stage "${WORK}/stage")
install_into("/opt/mazewalk" "${stage}")
check_layout("${stage}/opt/mazewalk" "/opt/mazewalk")
message(STATUS "installed layout checked")
