# The packages of a release, made by CPack from the install rules; they go to dist/.
# On Linux: the Debian package clavitor_<version>_amd64.deb (scripts/package.sh).
# On Windows: the portable Clavitor-<version>-windows-x64.zip and the installer
# Clavitor-<version>-setup.exe (scripts/build-windows.sh).
set(CPACK_PACKAGE_NAME clavitor)
set(CPACK_PACKAGE_VENDOR "Clavitor maintainers")
set(CPACK_PACKAGE_CONTACT "Clavitor maintainers <maintainers@clavitor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lua scenarios on hotkeys, an autoclicker and an overlay")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_SOURCE_DIR}/dist")
set(CPACK_STRIP_FILES ON)

if(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CLAVITOR_HOMEPAGE}")
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Clavitor keeps a library of Lua 5.1 scripts (scenarios), each bound to a
system-wide hotkey and grouped into profiles. The active scenario hears the
physical mouse buttons and moves the mouse, clicks, presses keys and waits.
Beside it: an autoclicker with profiles and modes, an always-on-top overlay,
sound and speech feedback, dark and light themes, Russian and English.")
    # The libraries the program links come from its binary; what it loads at run time without
    # linking it is named here: the speech engine, the sound player's GStreamer elements
    # (playback in base, the WAV parser and the audio sinks in good) and OpenSSL for the
    # download of the driver installer.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "qt6-speech-flite-plugin, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, libssl3")
endif()

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY Clavitor)
    # Each package's file name follows its kind; the zip holds one folder of that name.
    set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/packaging/windows/PackageNames.cmake")
    # The installer is made from the script packaging/windows/NSIS.template.in: per-user or
    # per-machine, 64-bit, in English and Russian, replacing an installed version of either kind.
    list(APPEND CMAKE_MODULE_PATH "${PROJECT_SOURCE_DIR}/packaging/windows")
    set(CPACK_NSIS_DISPLAY_NAME Clavitor)
    set(CPACK_NSIS_PACKAGE_NAME Clavitor)
    # Names the mutex the running program holds, which the installer and uninstaller look for.
    set(CPACK_NSIS_APP_ID ${CLAVITOR_APP_ID})
    set(CPACK_NSIS_URL_INFO_ABOUT "${CLAVITOR_HOMEPAGE}")
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
    # The program's own icon (packaging/windows renders it) on the installer and uninstaller.
    set(CPACK_NSIS_MUI_ICON "${PROJECT_BINARY_DIR}/packaging/windows/clavitor.ico")
    set(CPACK_NSIS_MUI_UNIICON "${CPACK_NSIS_MUI_ICON}")
endif()

include(CPack)
