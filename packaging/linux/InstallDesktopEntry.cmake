# Writes and installs the desktop entry. Runs inside `cmake --install`, where
# CMAKE_INSTALL_PREFIX is the prefix really installed to; file(INSTALL) adds
# DESTDIR itself, so the entry names the final place, not a staging folder.
#
# Set before this runs: MAZEWALK_DESKTOP_TEMPLATE, MAZEWALK_DESKTOP_STAGED (its
# file name is the installed entry's), MAZEWALK_BINDIR, MAZEWALK_LEVELDIR and
# MAZEWALK_DATADIR (each relative to the prefix, or absolute), and
# MAZEWALK_LEVEL, the shipped maze's file name in MAZEWALK_LEVELDIR.

foreach(kind BINDIR LEVELDIR DATADIR)
  if(IS_ABSOLUTE "${MAZEWALK_${kind}}")
    set(full_${kind} "${MAZEWALK_${kind}}")
  else()
    set(full_${kind} "${CMAKE_INSTALL_PREFIX}/${MAZEWALK_${kind}}")
  endif()
endforeach()

# A desktop entry's string values escape the backslash; Exec's program is
# quoted, with its own escapes, when it holds a character Exec reserves.
function(mazewalk_desktop_string out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# An argument of Exec: quoted, with its own escapes, when it holds a character
# Exec reserves; a percent sign doubled.
function(mazewalk_exec_argument out value)
  if(value MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "\"" "\\\"" value "${value}")
    string(REPLACE "`" "\\`" value "${value}")
    string(REPLACE "$" "\\$" value "${value}")
    set(value "\"${value}\"")
  endif()
  string(REPLACE "%" "%%" value "${value}")
  mazewalk_desktop_string(value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

mazewalk_exec_argument(MAZEWALK_DESKTOP_EXEC "${full_BINDIR}/mazewalk")
mazewalk_exec_argument(MAZEWALK_DESKTOP_LEVEL "${full_LEVELDIR}/${MAZEWALK_LEVEL}")
mazewalk_desktop_string(MAZEWALK_DESKTOP_PATH "${full_LEVELDIR}")

configure_file("${MAZEWALK_DESKTOP_TEMPLATE}" "${MAZEWALK_DESKTOP_STAGED}" @ONLY)
file(INSTALL DESTINATION "${full_DATADIR}/applications" TYPE FILE
     FILES "${MAZEWALK_DESKTOP_STAGED}")
