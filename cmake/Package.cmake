# The Debian package (scripts/package): everything `cmake --install` puts under /usr, stripped,
# with the shared libraries' packages found by dpkg-shlibdeps and the run-time needs it cannot
# see: Qt's platform plugins, Qt's own translations and the CJK font the interface is drawn in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Korvane Controller developers")
set(CPACK_PACKAGE_CONTACT "Korvane Controller developers <maintainers@korvane.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "control an LED-wall video processor
Korvane Controller is a desktop program that controls an LED-wall video
processor (a scaler and switcher) over a serial port or UDP: inputs, picture
quality, output resolution, the two pictures on a drawing of the wall, sound,
templates, schedules, offline plans, test patterns and point locate.

The package also holds korvanectl, a command line for every command, and
korvane-sim, a simulated processor for trying the programs without hardware.")
if(TARGET korvane-server)
  string(APPEND CPACK_DEBIAN_PACKAGE_DESCRIPTION "
korvane-server serves remote control (OSC, HTTP and a web page) without a display.")
endif()
include(CPack)
