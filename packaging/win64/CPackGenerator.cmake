# Read by CPack once for each generator of packaging/win64/Package.cmake: the
# installer is named as the zip is, with "-setup".
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
