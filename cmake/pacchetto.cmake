# Installation of the desktop entry and icon, and the Debian package (cpack -G DEB).
# The programs install themselves (src/app, src/cli); this adds what a desktop needs to find them.
include(GNUInstallDirs)

if(ONDIX_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME ondix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ondix")
set(CPACK_PACKAGE_CONTACT "ondix developers <ondix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "psychrometric calculator for air-conditioning and heating plants")
set(CPACK_PACKAGE_DESCRIPTION
    "ondix computes the properties of moist air and the processes of air-conditioning and heating plants
(mixing, sensible heating and cooling, humidification with water or steam, cooling coils, summer and winter
cycles), writes a report that can be printed or saved as RTF, and draws the processes on a psychrometric chart.
Its interface is in Italian. ondix-calc runs the same calculations from the command line, one at a time or for
a whole CSV file of air states.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Qt and C++ runtime libraries come from dpkg-shlibdeps; the report and chart fonts are not linked, so they
# are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# The toolkit's own Italian texts (dialog buttons) when they are installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
