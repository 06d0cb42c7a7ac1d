# CPack's settings for the Debian package that ./package.sh writes. Included
# from the top-level CMakeLists.txt, before include(CPack), only when
# MAZEWALK_DEB is on; package.sh also gives the Debian games layout
# (programs in /usr/games, mazes in /usr/share/games/mazewalk).

set(MAZEWALK_MAINTAINER "the mazewalk authors <mazewalk@users.noreply.github.com>"
    CACHE STRING "The Debian package's maintainer, as \"Name <address>\"")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mazewalk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the mazewalk authors")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped as Debian ships programs; the symbols stay in the build folder.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The first packaging of each version: the Debian changelog made from
# CHANGELOG.md gives every version this revision.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MAZEWALK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "walk through a maze of wall panels seen in perspective")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"mazewalk shows a maze of red wall panels in perspective, redrawn a hundred
times a second, and lets one player walk through it with the numeric keypad.

${MAZEWALK_FACT_keys_deb}

Three mazes come with it. mazewalk-gen makes new ones from a size and a seed,
and mazewalk-map draws any level as a map seen from above. Levels are plain
text files; mazewalk walks any of them named on its command line.")

# CPack's strip leaves sections a Debian package does not carry; a script run
# on the staged files takes them out, with the strip this build found.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripNotes.cmake)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/packaging/debian/CPackProject.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} "set(MAZEWALK_STRIP \"${CMAKE_STRIP}\")\n")
