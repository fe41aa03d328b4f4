# Installing qov like a desktop application, and its Debian package.
#
#   cmake --install build/release --prefix /usr/local
#   cd build/release && cpack -G DEB        # qov_1.0_amd64.deb
#
# Installed: bin/qov, libexec/qov/qov-update, the desktop entry, the AppStream metainfo, the icon at
# 16, 32, 48, 128 and 256 px and as SVG in the hicolor theme, the manual page,
# and the Debian copyright and changelog. Every name carries the
# application's reverse-DNS id.
include(GNUInstallDirs)

set(QOV_APP_ID io.github.qov.Calendar)
set(QOV_DATA_DIR ${PROJECT_SOURCE_DIR}/data)

# Installing (and packaging) builds only what it installs, not the tests and
# benchmarks: build the qov target first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS qov RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The holiday update's fetcher, which qov starts (see ui/holidays/updatejob.h).
install(TARGETS qov-update RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/qov)
install(FILES ${QOV_DATA_DIR}/${QOV_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QOV_DATA_DIR}/${QOV_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/qov-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${QOV_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/qov.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${QOV_APP_ID}.svg)

# The manual page and the changelog, compressed as Debian wants them (gzip
# -9n: no name or time stamp inside, so the bytes depend on the text alone).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${QOV_DATA_DIR}/qov.1 ${QOV_DATA_DIR}/changelog)
foreach(doc qov.1 changelog)
  execute_process(COMMAND gzip -9n -c ${QOV_DATA_DIR}/${doc}
    OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/${doc}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qov.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QOV_DATA_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Library dependencies come from dpkg-shlibdeps; the
# window also needs its fonts (the Song face, its fallback, and Liberation
# Sans for the digits) and Qt's X11 platform plugin, which no library names.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qov)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "qov developers <qov@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese perpetual calendar with lunar dates and festivals")
set(CPACK_PACKAGE_DESCRIPTION "\
qov shows one Gregorian month as a grid of six weeks, Sunday first, with
each day's lunar date, solar term and festivals. A panel describes the
selected day: weekday, star sign, gan-zhi, lunar month and the nearest
solar terms. The window also looks up Gregorian and lunar dates and counts
the days between two dates. Its texts are in Simplified Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/qov/qov)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-arphic-uming, fonts-liberation, fonts-wqy-microhei, qt6-qpa-plugins")
# Qt's own menus and dialogs in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
