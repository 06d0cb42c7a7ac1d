# The Windows zip: one folder holding mazewalk.exe with the shipped maze and
# its map beside it (so a double click walks it), the other mazes in their own
# subfolders, the tools, the SDL2 DLLs, a README.txt and the licences.
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

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME mazewalk)
set(CPACK_PACKAGE_VENDOR "the mazewalk authors")
set(CPACK_PACKAGE_FILE_NAME mazewalk-${PROJECT_VERSION}-win64)
# Unzipped, everything is in one folder of the zip's own name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
