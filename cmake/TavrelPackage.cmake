# The Debian package: `make package` (or `cpack` in the build folder) builds it from the
# installed tree. The libraries the programs link are found by dpkg-shlibdeps; what is loaded at
# run time without linking it is named here: the platform plugins that open a window, and the
# library through which the keyring library reaches the desktop's secret service.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tavrel-lite")
set(CPACK_PACKAGE_VENDOR "Quillory APPDEV")
set(CPACK_PACKAGE_CONTACT "Quillory APPDEV <tavrel-lite@quillory.dev>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Remote control for Enigma2 and Enigma1 satellite receivers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Controls a satellite receiver running Enigma2 or Enigma1 through its web interface: bouquets\n"
    "and channels with now and next, a remote-control panel, programme guide, timers, recordings,\n"
    "messages and Wake-on-LAN. With tavrel-cli, the same from the command line, and\n"
    "tavrel-boxsim, a simulated receiver to try it without one.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "video")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAVREL_HOMEPAGE}")
include(CPack)
