# The Debian package, made by `cpack --config build/release/CPackConfig.cmake` or the `package`
# target from the install rules. Its version is the project's; its revision comes from the latest
# entry of debian/changelog, which must be for the project's version.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^tolvane \\(([^ )]+)-([^ )-]+)\\) ")
  message(FATAL_ERROR "packaging/linux/debian/changelog: cannot read the version of \"${latest}\"")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/linux/debian/changelog's latest entry is for ${CMAKE_MATCH_1}, the project "
                      "is at ${PROJECT_VERSION}: add an entry for it")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT "Tolvane developers <tolvane@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure a Mirl handheld intercom over a serial port")
# Lines of at most 72 columns, as Debian's descriptions are written.
set(CPACK_PACKAGE_DESCRIPTION
    "Tolvane configures a Mirl handheld intercom plugged into the PC through
a serial port. In one window you open the link, write the IMEI, the
server address, the accounts and the APN, set the language and the
network type, trigger a factory reset, and drive the device's Wi-Fi,
Bluetooth and GPS.
.
tolvane-provision does the same for many devices from a profile, without
a window, taking IMEIs from a list or from a pool in SQLite or
PostgreSQL. tolvane-devsim is a simulated device on a pseudo-terminal,
to try both without the hardware.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The libraries the programs link, as dpkg-shlibdeps reads them (libsqlite3 and libpq, for the IMEI
# pool, among them), and the fonts the window asks for (Liberation Sans, and WenQuanYi Micro Hei
# for Chinese), which it cannot see. Qt's xcb platform plug-in comes with libqt6gui6 on Debian 12.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-wqy-microhei")

include(CPack)
