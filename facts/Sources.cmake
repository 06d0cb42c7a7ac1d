# Reads each fact from the one place it is written: the tables and texts in
# facts/, the shipped mazes' sizes and seeds in levels/Regenerate.cmake, and
# the constants the program itself is built with in its headers.
#
# Every value is set in the caller as MAZEWALK_FACT_<name>; a C++ constant
# keeps its own name (MAZEWALK_FACT_FormWidth).

include(${CMAKE_CURRENT_LIST_DIR}/Markup.cmake)

# The headers whose constants the documents tell. Each holds the fact it names
# for the program, so the documents follow it rather than the other way round.
set(MAZEWALK_FACT_HEADERS shell/Form1.h render/Platform.h world/Module1.h world/LoadLevel.h
    shell/SdlPlatform.h)

# Sets out to the rows of a table of tab-separated columns, each row its fields
# joined by MAZEWALK_FIELD (split it with mazewalk_table_fields). Lines
# starting with "#" are notes; every other line must have `columns` fields.
function(mazewalk_read_table out file columns)
  file(READ "${file}" content)
  mazewalk_markup_encode(content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(rows "")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(REPLACE "\t" ";" fields "${line}")
    list(LENGTH fields count)
    if(NOT count EQUAL columns)
      message(FATAL_ERROR "${file}:${number}: ${columns} fields separated by tabs, not ${count}")
    endif()
    string(REPLACE "\t" "${MAZEWALK_FIELD}" row "${line}")
    list(APPEND rows "${row}")
  endforeach()
  set(${out} "${rows}" PARENT_SCOPE)
endfunction()

# Sets out to the list of a row's fields.
function(mazewalk_table_fields out row)
  string(REPLACE "${MAZEWALK_FIELD}" ";" fields "${row}")
  set(${out} "${fields}" PARENT_SCOPE)
endfunction()

# Sets MAZEWALK_FACT_<Name> in the caller for every `inline constexpr int
# Name = ...;` and `inline constexpr const char* Name = "...";` of the
# headers, and MAZEWALK_FACT_<Name>Colour to "R G B" for every SDL_Color. An
# int may be a sum or product of whole numbers and the names before it.
function(mazewalk_read_constants source)
  set(names "")
  foreach(header IN LISTS MAZEWALK_FACT_HEADERS)
    file(READ "${source}/${header}" text)
    string(REGEX MATCHALL "inline constexpr int [A-Za-z]+ = [^;]+" ints "${text}")
    foreach(definition IN LISTS ints)
      string(REGEX MATCH "int ([A-Za-z]+) = (.+)" matched "${definition}")
      set(name ${CMAKE_MATCH_1})
      string(REPLACE " " ";" tokens "${CMAKE_MATCH_2}")
      set(expression "")
      foreach(token IN LISTS tokens)
        if(token IN_LIST names)
          set(token "${value_${token}}")
        endif()
        string(APPEND expression "${token} ")
      endforeach()
      math(EXPR value_${name} "${expression}")
      list(APPEND names ${name})
    endforeach()
    string(REGEX MATCHALL "inline constexpr const char\\* [A-Za-z]+ = \"[^\"]*\"" texts "${text}")
    foreach(definition IN LISTS texts)
      string(REGEX MATCH "([A-Za-z]+) = \"([^\"]*)\"" matched "${definition}")
      set(value_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
      list(APPEND names ${CMAKE_MATCH_1})
    endforeach()
    string(REGEX MATCHALL "SDL_Color [A-Za-z]+Colour{[0-9]+, [0-9]+, [0-9]+" colours "${text}")
    foreach(definition IN LISTS colours)
      string(REGEX MATCH "([A-Za-z]+){([0-9]+), ([0-9]+), ([0-9]+)" matched "${definition}")
      set(value_${CMAKE_MATCH_1} "${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4}")
      list(APPEND names ${CMAKE_MATCH_1})
    endforeach()
  endforeach()
  foreach(name IN LISTS names)
    set(MAZEWALK_FACT_${name} "${value_${name}}" PARENT_SCOPE)
  endforeach()
endfunction()

# Sets MAZEWALK_FACT_mazes in the caller to the shipped mazes, three entries
# each: the folder under levels/ (. for the default one), the size in cells and
# the seed.
function(mazewalk_read_mazes source)
  include("${source}/levels/Regenerate.cmake")
  set(MAZEWALK_FACT_mazes "${mazes}" PARENT_SCOPE)
endfunction()
