# Writes the AppStream metainfo: the template with a release entry for each
# version in CHANGELOG.md, so the software centre shows the same history.
#
# Needs TEMPLATE, CHANGELOG, OUT.

include("${CMAKE_CURRENT_LIST_DIR}/../Changelog.cmake")
mazewalk_read_changelog("${CHANGELOG}")

set(MAZEWALK_RELEASES "")
set(separator "")
foreach(version IN LISTS CHANGELOG_VERSIONS)
  string(APPEND MAZEWALK_RELEASES "${separator}"
         "    <release version=\"${version}\" date=\"${CHANGELOG_${version}_DATE}\">\n"
         "      <description>\n        <ul>\n")
  foreach(k RANGE 1 ${CHANGELOG_${version}_COUNT})
    string(REPLACE "\n" " " change "${CHANGELOG_${version}_${k}}")
    mazewalk_xml_escape(change "${change}")
    string(APPEND MAZEWALK_RELEASES "          <li>${change}</li>\n")
  endforeach()
  string(APPEND MAZEWALK_RELEASES "        </ul>\n      </description>\n    </release>")
  set(separator "\n")
endforeach()
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
