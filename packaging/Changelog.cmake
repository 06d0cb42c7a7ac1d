# Reads CHANGELOG.md for the files made from it (the AppStream releases and
# the Debian changelog), so that every history a user can read says the same.
#
# mazewalk_read_changelog(FILE) sets, for each version from the newest:
#   CHANGELOG_VERSIONS          the versions, newest first
#   CHANGELOG_<v>_DATE          its date, YYYY-MM-DD
#   CHANGELOG_<v>_COUNT         how many changes it lists
#   CHANGELOG_<v>_<k>           change k (from 1), its lines joined by "\n"
# A change may hold ";": read each one quoted, never as a list.

function(mazewalk_read_changelog file)
  file(READ "${file}" text)
  string(REPLACE ";" "<semicolon>" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(versions "")
  set(version "")
  set(number 0)
  foreach(line IN LISTS lines)
    string(REPLACE "<semicolon>" ";" line "${line}")
    if(line MATCHES "^## ([0-9][0-9.]*) - ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
      set(version "${CMAKE_MATCH_1}")
      list(APPEND versions "${version}")
      set(CHANGELOG_${version}_DATE "${CMAKE_MATCH_2}" PARENT_SCOPE)
      set(number 0)
    elseif(line MATCHES "^## ")
      message(FATAL_ERROR "${file}: a version's heading is \"## VERSION - YYYY-MM-DD\", not \"${line}\"")
    elseif(version AND line MATCHES "^- (.+)$")
      math(EXPR number "${number} + 1")
      set(change_${number} "${CMAKE_MATCH_1}")
    elseif(version AND number GREATER 0 AND line MATCHES "^  ([^ ].*)$")
      string(APPEND change_${number} "\n${CMAKE_MATCH_1}")
    elseif(version AND NOT line STREQUAL "")
      message(FATAL_ERROR "${file}: a change starts with \"- \" and goes on indented by two blanks: \"${line}\"")
    endif()
    if(version)
      set(CHANGELOG_${version}_COUNT ${number} PARENT_SCOPE)
      if(number GREATER 0)
        set(CHANGELOG_${version}_${number} "${change_${number}}" PARENT_SCOPE)
      endif()
    endif()
  endforeach()
  if(NOT versions)
    message(FATAL_ERROR "${file} names no version")
  endif()
  set(CHANGELOG_VERSIONS "${versions}" PARENT_SCOPE)
endfunction()

# Escapes text for XML character data.
function(mazewalk_xml_escape out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
