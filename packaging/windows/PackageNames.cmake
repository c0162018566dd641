# Read by CPack for each package it makes: the file name of that kind of package.
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "Clavitor-${CPACK_PACKAGE_VERSION}-windows-x64")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "Clavitor-${CPACK_PACKAGE_VERSION}-setup")
endif()
