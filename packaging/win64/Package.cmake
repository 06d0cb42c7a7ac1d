# The Windows zip: one folder holding mazewalk.exe with the shipped maze and
# its map beside it (so a double click walks it), the other mazes in their own
# subfolders, the tools, the SDL2 DLLs, a README.txt and the licences. Beside
# it, an installer of the same files (CPack's NSIS generator, Debian's nsis).
#
#   cpack --preset win64    (./package.sh win64 builds it first)

find_package(SDL2_image REQUIRED CONFIG)

install(TARGETS mazewalk mazewalk-gen mazewalk-map RUNTIME DESTINATION .)
# The imported SDL targets name their DLLs (the import libraries are only for
# linking).
install(FILES $<TARGET_FILE:SDL2::SDL2> $<TARGET_FILE:SDL2_image::SDL2_image> DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/levels/ DESTINATION .
        FILES_MATCHING PATTERN "*.dat" PATTERN "*.png")

# Windows editors expect CRLF; the version comes from project(), the rest from
# facts/Facts.cmake. The texts put in hold LF line ends, which only a second
# pass turns into CRLF.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${PROJECT_BINARY_DIR}/README.txt.lf @ONLY)
configure_file(${PROJECT_BINARY_DIR}/README.txt.lf ${PROJECT_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE WIN32)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt
               COPYONLY)
install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)

# The notices of SDL2 and SDL2_image and of the code they bundle, which
# scripts/cross-libs.sh keeps beside each library it builds.
foreach(package SDL2 SDL2_image)
  get_filename_component(prefix "${${package}_DIR}/../../.." ABSOLUTE)
  if(NOT IS_DIRECTORY "${prefix}/share/licenses/${package}")
    message(FATAL_ERROR "no licence notices for ${package} in ${prefix}/share/licenses")
  endif()
  install(DIRECTORY "${prefix}/share/licenses/${package}" DESTINATION licenses)
endforeach()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME mazewalk)
set(CPACK_PACKAGE_VENDOR "the mazewalk authors")
set(CPACK_PACKAGE_FILE_NAME mazewalk-${PROJECT_VERSION}-win64)
# Unzipped, everything is in one folder of the zip's own name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
# The installer's own name (mazewalk-VERSION-win64-setup.exe) is given there.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackGenerator.cmake)

# The installer: 64-bit (a default 32-bit one, under the Wine our tests use,
# exits 0 having installed nothing), into Program Files, with Start-menu
# shortcuts that each start in the installed folder, beside the shipped maze,
# and an uninstaller listed with the system's programs.
# The NSIS lines below hold quotes, which CPack keeps only when told to.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY mazewalk)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY mazewalk)
set(CPACK_NSIS_PACKAGE_NAME mazewalk)
set(CPACK_NSIS_DISPLAY_NAME mazewalk)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME mazewalk.exe)
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_LIST_DIR}/mazewalk.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_LIST_DIR}/mazewalk.ico)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_PACKAGE_EXECUTABLES mazewalk mazewalk)
# The shortcuts of the three modes, each made where the installer has set the
# installed folder as the one to start in.
set(shortcuts
  "mazewalk with arrow keys" --arrows
  "mazewalk with a gamepad"  --gamepad
  "mazewalk full screen"     --fullscreen)
set(CPACK_NSIS_CREATE_ICONS_EXTRA "SetOutPath \"$INSTDIR\"")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "")
while(shortcuts)
  list(POP_FRONT shortcuts name option)
  string(APPEND CPACK_NSIS_CREATE_ICONS_EXTRA "\n  CreateShortCut "
    "\"$SMPROGRAMS\\$STARTMENU_FOLDER\\${name}.lnk\" \"$INSTDIR\\mazewalk.exe\" \"${option}\"")
  string(APPEND CPACK_NSIS_DELETE_ICONS_EXTRA "\n  Delete \"$SMPROGRAMS\\$MUI_TEMP\\${name}.lnk\"")
endwhile()
# CPack's uninstaller removes the product's registry key; here, after it, the
# vendor's too, left empty.
string(APPEND CPACK_NSIS_DELETE_ICONS_EXTRA
  "\n  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"")
include(CPack)
