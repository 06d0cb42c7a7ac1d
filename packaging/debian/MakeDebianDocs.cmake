# Writes the two files Debian wants in /usr/share/doc/<package>: the
# changelog (changelog.Debian.gz, from CHANGELOG.md) and the machine-readable
# copyright file (from LICENSE).
#
# Needs CHANGELOG, LICENSE, OUT (a folder), PACKAGE, REVISION (the Debian
# revision of every version), MAINTAINER ("Name <address>"), GZIP.

include("${CMAKE_CURRENT_LIST_DIR}/../Changelog.cmake")

# "Mon, 07 Dec 2026 00:00:00 +0000" for 2026-12-07, as Debian changelogs date
# their entries; the weekday by Sakamoto's method.
function(debian_date out iso)
  string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" matched "${iso}")
  math(EXPR year "${CMAKE_MATCH_1}")
  math(EXPR month "${CMAKE_MATCH_2}")
  math(EXPR day "${CMAKE_MATCH_3}")
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday_name)
  list(GET months ${index} month_name)
  string(SUBSTRING "0${day}" 0 -1 padded)
  string(LENGTH "${padded}" length)
  math(EXPR from "${length} - 2")
  string(SUBSTRING "${padded}" ${from} 2 padded)
  set(${out} "${weekday_name}, ${padded} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

mazewalk_read_changelog("${CHANGELOG}")
set(text "")
set(separator "")
foreach(version IN LISTS CHANGELOG_VERSIONS)
  debian_date(date "${CHANGELOG_${version}_DATE}")
  string(APPEND text "${separator}${PACKAGE} (${version}-${REVISION}) unstable; urgency=medium\n\n")
  foreach(k RANGE 1 ${CHANGELOG_${version}_COUNT})
    string(REPLACE "\n" "\n    " change "${CHANGELOG_${version}_${k}}")
    string(APPEND text "  * ${change}\n")
  endforeach()
  string(APPEND text "\n -- ${MAINTAINER}  ${date}\n")
  set(separator "\n")
endforeach()
file(MAKE_DIRECTORY "${OUT}")
file(WRITE "${OUT}/changelog.Debian" "${text}")
# -n: no name or time stamp inside, so the same sources give the same package.
execute_process(COMMAND "${GZIP}" -9nf "${OUT}/changelog.Debian" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip ${OUT}/changelog.Debian failed")
endif()

# The copyright file in Debian's machine-readable format; its licence text is
# LICENSE's from "Permission" on, each line indented and blank lines as " .".
file(READ "${LICENSE}" licence)
string(FIND "${licence}" "Permission" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${LICENSE} does not hold the MIT licence's text")
endif()
string(SUBSTRING "${licence}" ${start} -1 licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence "${licence}")
file(STRINGS "${LICENSE}" holder REGEX "^Copyright \\(c\\) ")
string(REGEX REPLACE "^Copyright \\(c\\) " "" holder "${holder}")
file(WRITE "${OUT}/copyright"
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PACKAGE}
Upstream-Contact: ${MAINTAINER}

Files: *
Copyright: ${holder}
License: Expat

License: Expat
 ${licence}
")
