# Installs the build BUILD into temporary prefixes under WORK and checks what a
# packager and a desktop would find: the program and the tools in bin/, the
# mazes in share/mazewalk/, a desktop entry that starts the program there with
# an icon that exists at every size, the manual pages and the metainfo.
#
# Needs BUILD, WORK and ICON_SIZES; VALIDATE is desktop-file-validate and
# APPSTREAMCLI appstreamcli, if found; PNG_ICONS and MANUAL are true when the
# build made the PNG icons and the manual pages.

file(REMOVE_RECURSE "${WORK}")
set(app_id io.github.mazewalk.Mazewalk)

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

# The PNG icons: one at each size, as large as its folder says, so that the
# name in the desktop entry finds a picture at every size a menu asks for.
function(check_icons theme)
  foreach(size IN LISTS ICON_SIZES)
    set(png "${theme}/${size}x${size}/apps/${app_id}.png")
    if(NOT EXISTS "${png}")
      message(FATAL_ERROR "not installed: ${png}")
    endif()
    # A PNG's width and height are the two 32-bit numbers from byte 16 on.
    file(READ "${png}" header HEX OFFSET 16 LIMIT 8)
    string(SUBSTRING "${header}" 0 8 width)
    string(SUBSTRING "${header}" 8 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
      message(FATAL_ERROR "${png} is ${width} x ${height} pixels")
    endif()
  endforeach()
endfunction()

# A manual page installed compressed, that begins with its name and section.
function(check_manual_page page)
  if(NOT EXISTS "${page}")
    message(FATAL_ERROR "not installed: ${page}")
  endif()
  execute_process(COMMAND gzip -dc "${page}" RESULT_VARIABLE status OUTPUT_VARIABLE text)
  get_filename_component(name "${page}" NAME_WE)
  if(NOT status EQUAL 0 OR NOT text MATCHES "\n\\.TH \"${name}\" \"6\"")
    message(FATAL_ERROR "${page} is not the compressed page ${name}(6)")
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
      share/applications/${app_id}.desktop
      share/metainfo/${app_id}.metainfo.xml
      share/icons/hicolor/scalable/apps/${app_id}.svg)
    if(NOT EXISTS "${root}/${file}")
      message(FATAL_ERROR "not installed: ${root}/${file}")
    endif()
  endforeach()
  if(EXISTS "${root}/share/mazewalk/Regenerate.cmake")
    message(FATAL_ERROR "the levels' build script was installed with the mazes")
  endif()

  if(PNG_ICONS)
    check_icons("${root}/share/icons/hicolor")
  endif()
  if(MANUAL)
    foreach(name mazewalk mazewalk-gen mazewalk-map)
      check_manual_page("${root}/share/man/man6/${name}.6.gz")
    endforeach()
  endif()

  set(entry "${root}/share/applications/${app_id}.desktop")
  file(STRINGS "${entry}" lines)
  set(exec "${prefix}/bin/mazewalk")
  set(level "${prefix}/share/mazewalk/torv-2.dat")
  if(exec MATCHES " ")
    set(exec "\"${exec}\"")
    set(level "\"${level}\"")
  endif()
  # Each action names the maze by its path: an action has no folder of its own.
  foreach(expected "Path=${prefix}/share/mazewalk" "Exec=${exec} %f" "Type=Application"
                   "Icon=${app_id}" "Actions=arrows;gamepad;fullscreen;"
                   "Exec=${exec} --arrows ${level}" "Exec=${exec} --gamepad ${level}"
                   "Exec=${exec} --fullscreen ${level}")
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
  if(APPSTREAMCLI)
    set(metainfo "${root}/share/metainfo/${app_id}.metainfo.xml")
    execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net "${metainfo}"
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "appstreamcli validate ${metainfo}:\n${out}")
    endif()
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
