# Every copy of a fact in the source tree, and how each is held to the one
# place the fact is written:
#
#   cmake -DSOURCE=<source> -DBUILD=<build> -DVERSION=<version> -DMODE=write|check \
#         -P facts/Copies.cmake
#
# MODE=write (`cmake --build <build> --target facts`) remakes every region
# below from its source. MODE=check (the test facts_agree) makes every copy
# again, or reads it, compares it whole with its source, and fails naming each
# one that differs, with the difference and what puts it right.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Render.cmake)
include(${SOURCE}/packaging/Changelog.cmake)

# Each fact and where it is written.
set(sources
  keys         facts/Keys.tsv
  keypad       facts/Keys.tsv
  options      facts/Options.tsv
  level_format facts/LevelFormat.txt
  level_rules  facts/LevelRules.txt
  mazes        levels/Regenerate.cmake
  geometry     "shell/Form1.h and render/Platform.h"
  FormWidth    shell/Form1.h
  FormHeight   shell/Form1.h
  colours      shell/SdlPlatform.h
  BackgroundColour shell/SdlPlatform.h
  version      "project() in CMakeLists.txt")

# Files kept literal that hold regions made from the facts, and the texts of
# facts/Render.cmake they hold, in order. A region is the lines between one
# that holds "facts:begin NAME" and the next that holds "facts:end", both in
# the file's own comments.
set(regions
  README.md                  "keys_md options_md level_format_md level_rules_md mazes_md"
  levels/README.md           "mazes_md"
  tests/e2e/lib.sh           "geometry_sh colours_sh"
  tests/web/browser_test.mjs "geometry_js"
  bench/measure-page.mjs     "geometry_js")

# Files the build makes copies from (facts/Facts.cmake sets the variables),
# and the texts each must take as @MAZEWALK_FACT_NAME@ or
# ${MAZEWALK_FACT_NAME} rather than in words of its own.
set(templates
  facts/HelpText.h.in           "options_cpp keys_cpp level_format_cpp"
  packaging/linux/man/mazewalk.6.scd.in
                                "options_scd keys_scd level_format_scd level_rules_scd mazes_scd"
  packaging/win64/README.txt.in "options_text keys_text level_format_text mazes_text"
  packaging/debian/CPackDeb.cmake "keys_deb"
  packaging/linux/io.github.mazewalk.Mazewalk.metainfo.xml.in "FormHeight"
  web/index.html                "FormWidth FormHeight keys_html keypad_html mazes_html"
  web/mazewalk-page.js          "FormWidth FormHeight"
  web/mazewalk-page.css         "FormWidth FormHeight"
  web/CMakeLists.txt            "mazes_list BackgroundColour")

# Copies that must stay as they are, read and compared with their source.
set(readings
  shell/Form1.h               startup    keys
  packaging/icon/mazewalk.svg icon       colours
  CHANGELOG.md                changelog  version)

set(remake "cmake --build ${BUILD} --target facts")

function(_mazewalk_source out name)
  string(REGEX REPLACE "_(md|scd|text|cpp|html|deb|list|sh|py)$" "" fact "${name}")
  list(FIND sources ${fact} at)
  math(EXPR at "${at} + 1")
  list(GET sources ${at} source)
  set(${out} "${source}" PARENT_SCOPE)
endfunction()

# Reports that what a copy holds is not what its source makes.
function(_mazewalk_differs what expected found fix)
  set_property(GLOBAL APPEND PROPERTY MAZEWALK_FACTS_FAILED "${what}")
  string(MAKE_C_IDENTIFIER "${what}" stem)
  set(work ${BUILD}/facts-check)
  file(WRITE ${work}/${stem}.expected "${expected}")
  file(WRITE ${work}/${stem}.found "${found}")
  find_program(MAZEWALK_DIFF diff)
  set(difference "--- expected\n${expected}\n+++ found\n${found}")
  if(MAZEWALK_DIFF)
    execute_process(COMMAND ${MAZEWALK_DIFF} -u --label expected --label found
                            ${work}/${stem}.expected ${work}/${stem}.found
                    OUTPUT_VARIABLE difference)
  endif()
  message("facts: ${what} differs from its source:\n${difference}${fix}\n")
endfunction()

# The part of content between the line holding "facts:begin name" and the
# line holding the next "facts:end", and what comes before and after it.
function(_mazewalk_region content name)
  string(FIND "${content}" "facts:begin ${name}" at)
  string(SUBSTRING "${content}" ${at} -1 tail)
  string(FIND "${tail}" "\n" line_end)
  math(EXPR start "${at} + ${line_end} + 1")
  string(SUBSTRING "${content}" 0 ${start} before)
  string(SUBSTRING "${content}" ${start} -1 tail)
  string(FIND "${tail}" "facts:end" end)
  if(end EQUAL -1)
    message(FATAL_ERROR "facts: no \"facts:end\" after \"facts:begin ${name}\"")
  endif()
  string(SUBSTRING "${tail}" 0 ${end} region)
  string(FIND "${region}" "\n" last REVERSE)
  math(EXPR length "${last} + 1")
  string(SUBSTRING "${tail}" 0 ${length} region)
  string(SUBSTRING "${tail}" ${length} -1 after)
  set(before "${before}" PARENT_SCOPE)
  set(region "${region}" PARENT_SCOPE)
  set(after "${after}" PARENT_SCOPE)
endfunction()

function(_mazewalk_regions file names)
  file(READ "${SOURCE}/${file}" content)
  string(REGEX MATCHALL "facts:begin [a-z_]+" found "${content}")
  list(TRANSFORM found REPLACE "^facts:begin " "")
  string(REPLACE " " ";" names "${names}")
  if(NOT found STREQUAL names)
    list(JOIN names "\n" names)
    list(JOIN found "\n" found)
    _mazewalk_differs("${file}'s regions" "${names}\n" "${found}\n"
                      "Each region is marked \"facts:begin NAME\" ... \"facts:end\".")
    return()
  endif()
  set(remade "${content}")
  foreach(name IN LISTS names)
    _mazewalk_region("${remade}" ${name})
    set(expected "${MAZEWALK_FACT_${name}}\n")
    if(MODE STREQUAL "check" AND NOT region STREQUAL expected)
      _mazewalk_source(source ${name})
      _mazewalk_differs("${file}, region ${name}" "${expected}" "${region}"
        "Edit ${source}, not the copy, then remake the copies: ${remake}")
    endif()
    set(remade "${before}${expected}${after}")
  endforeach()
  if(MODE STREQUAL "write" AND NOT remade STREQUAL content)
    file(WRITE "${SOURCE}/${file}" "${remade}")
    message(STATUS "facts: remade ${file}")
  endif()
endfunction()

function(_mazewalk_template file names)
  file(READ "${SOURCE}/${file}" content)
  string(REPLACE " " ";" names "${names}")
  foreach(name IN LISTS names)
    string(FIND "${content}" "@MAZEWALK_FACT_${name}@" at)
    string(FIND "${content}" "\${MAZEWALK_FACT_${name}}" at_variable)
    if(at EQUAL -1 AND at_variable EQUAL -1)
      _mazewalk_source(source ${name})
      _mazewalk_differs("${file}, its placeholder for ${name}"
        "@MAZEWALK_FACT_${name}@ or \${MAZEWALK_FACT_${name}}\n" "neither\n"
        "It must take ${name} from ${source} by its placeholder, not tell it in words of its own.")
    endif()
  endforeach()
endfunction()

# The keys the start-up message names, beside the command words it gives them.
function(_mazewalk_read_startup file)
  set(expected "")
  set(found "")
  mazewalk_read_table(rows ${SOURCE}/facts/Keys.tsv 5)
  set(keypad "")
  set(arrows "")
  set(pads "")
  foreach(row IN LISTS rows)
    mazewalk_table_fields(fields "${row}")
    list(GET fields 0 key)
    list(GET fields 1 arrow)
    list(GET fields 3 word)
    list(GET fields 4 pad)
    # The message's own short names of the keys.
    string(REGEX REPLACE "^keypad ([0-9])$" "Num\\1" key "${key}")
    string(REPLACE "any other key" "Other" key "${key}")
    string(REPLACE "Page Up" "PgUp" arrow "${arrow}")
    string(REPLACE "Page Down" "PgDn" arrow "${arrow}")
    list(APPEND keypad "${key} - ${word}")
    if(NOT arrow STREQUAL "-")
      list(APPEND arrows "${arrow} - ${word}")
    endif()
    if(NOT pad STREQUAL "-")
      list(APPEND pads "${pad} - ${word}")
    endif()
  endforeach()
  set(StartupMessage ${keypad})
  set(StartupMessageWithArrows ${keypad} ${arrows})
  set(StartupGamepadLines ${pads})

  file(READ "${SOURCE}/${file}" header)
  foreach(message StartupMessage StartupMessageWithArrows StartupGamepadLines)
    string(REGEX MATCH "${message} =[^;]*" definition "${header}")
    string(REGEX MATCHALL "\"[^\"]*\"" pieces "${definition}")
    string(REPLACE ";" "" text "${pieces}")
    string(REPLACE "\"" "" text "${text}")
    string(REPLACE "\\t" "" text "${text}")
    string(REPLACE "\\r" ";" lines "${text}")
    list(FIND lines "Control:" at)
    math(EXPR at "${at} + 1")
    list(SUBLIST lines ${at} -1 lines)
    foreach(keys lines ${message})
      list(SORT ${keys})
      list(JOIN ${keys} "\n" ${keys})
    endforeach()
    string(APPEND expected "${message}:\n${${message}}\n")
    string(APPEND found "${message}:\n${lines}\n")
  endforeach()
  set(expected "${expected}" PARENT_SCOPE)
  set(found "${found}" PARENT_SCOPE)
  set(fix "The start-up message never changes: give facts/Keys.tsv its keys and words." PARENT_SCOPE)
endfunction()

# The icon's background, fill and outline: the view's colours.
function(_mazewalk_read_icon file)
  file(READ "${SOURCE}/${file}" svg)
  string(REGEX MATCH "<rect[^>]*fill=\"#([0-9a-f]+)\"" matched "${svg}")
  set(found "Background #${CMAKE_MATCH_1}\n")
  string(REGEX MATCH "<path[^>]*fill=\"#([0-9a-f]+)\"" matched "${svg}")
  string(APPEND found "Fill #${CMAKE_MATCH_1}\n")
  string(REGEX MATCH "<path[^>]*stroke=\"#([0-9a-f]+)\"" matched "${svg}")
  string(APPEND found "Outline #${CMAKE_MATCH_1}\n")
  set(expected "")
  foreach(name Background Fill Outline)
    string(APPEND expected "${name} #")
    string(REPLACE " " ";" channels "${MAZEWALK_FACT_${name}Colour}")
    foreach(channel IN LISTS channels)
      math(EXPR channel "0x100 + ${channel}" OUTPUT_FORMAT HEXADECIMAL)
      string(SUBSTRING "${channel}" 3 2 channel)
      string(APPEND expected "${channel}")
    endforeach()
    string(APPEND expected "\n")
  endforeach()
  set(expected "${expected}" PARENT_SCOPE)
  set(found "${found}" PARENT_SCOPE)
  set(fix "Paint it in the view's colours, then remake the window's icon (the window-icon target)."
      PARENT_SCOPE)
endfunction()

# The newest version the changelog tells of.
function(_mazewalk_read_changelog file)
  mazewalk_read_changelog(${SOURCE}/${file})
  list(GET CHANGELOG_VERSIONS 0 newest)
  set(expected "${VERSION}\n" PARENT_SCOPE)
  set(found "${newest}\n" PARENT_SCOPE)
  set(fix "Tell what the version brings in CHANGELOG.md, under its own heading." PARENT_SCOPE)
endfunction()

foreach(required SOURCE BUILD VERSION MODE)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "set -D${required}=...; see the top of this file")
  endif()
endforeach()
mazewalk_render_facts(${SOURCE})
set_property(GLOBAL PROPERTY MAZEWALK_FACTS_FAILED "")
while(regions)
  list(POP_FRONT regions file names)
  _mazewalk_regions(${file} "${names}")
endwhile()
if(MODE STREQUAL "check")
  while(templates)
    list(POP_FRONT templates file names)
    _mazewalk_template(${file} "${names}")
  endwhile()
  while(readings)
    list(POP_FRONT readings file reading fact)
    cmake_language(CALL _mazewalk_read_${reading} ${file})
    if(NOT found STREQUAL expected)
      _mazewalk_source(source ${fact})
      _mazewalk_differs("${file}" "${expected}" "${found}" "It must say what ${source} says. ${fix}")
    endif()
  endwhile()
endif()
get_property(failed GLOBAL PROPERTY MAZEWALK_FACTS_FAILED)
if(failed)
  list(JOIN failed "; " failed)
  message(FATAL_ERROR "facts: copies that differ from their sources: ${failed}")
endif()
message(STATUS "facts: every copy agrees with its source")
