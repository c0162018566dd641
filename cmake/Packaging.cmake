# The packages of a release, made by CPack from the install rules; they go to dist/.
# On Linux: the Debian package clavitor_<version>_amd64.deb (scripts/package.sh).
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

include(CPack)
