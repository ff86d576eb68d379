# Installation of the desktop entry, icons, AppStream data, manual pages and documents, and the Debian package
# (cpack -G DEB; packaging/deb.sh builds it with Debian's hardening flags and checks it with lintian).
# The programs install themselves (src/app, src/cli).
include(GNUInstallDirs)

if(ONDIX_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The calculation files (*.ondix) as a type of their own, which the desktop entry opens.
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix-calcolo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME ondix.xml COMPONENT desktop)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          RENAME org.example.ondix.metainfo.xml)
  # PNG icons for the desktops and menus that do not draw SVG, rendered from the SVG at build time.
  add_executable(ondix_icone ${PROJECT_SOURCE_DIR}/data/icone.cpp)
  target_link_libraries(ondix_icone PRIVATE Qt6::Gui Qt6::Svg)
  set(lati_icone 48 64 128 256)
  set(icone)
  foreach(lato ${lati_icone})
    list(APPEND icone ${PROJECT_BINARY_DIR}/icone/${lato}x${lato}/apps/ondix.png)
  endforeach()
  add_custom_command(OUTPUT ${icone}
                     COMMAND ondix_icone ${PROJECT_SOURCE_DIR}/data/ondix.svg ${PROJECT_BINARY_DIR}/icone ${lati_icone}
                     DEPENDS ondix_icone ${PROJECT_SOURCE_DIR}/data/ondix.svg VERBATIM)
  add_custom_target(icone ALL DEPENDS ${icone})
  install(DIRECTORY ${PROJECT_BINARY_DIR}/icone/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

# Manual pages, made from the programs' own --help and --version.
if(ONDIX_MANUALE)
  find_program(HELP2MAN help2man REQUIRED)
  find_program(GZIP gzip REQUIRED)
  set(pagine ondix-calc "run the psychrometric calculations of ondix from the command line")
  if(ONDIX_GUI)
    list(APPEND pagine ondix "psychrometric calculator for air-conditioning and heating plants")
  endif()
  set(manuali)
  while(pagine)
    list(POP_FRONT pagine nome descrizione)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${nome}.1.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
                       COMMAND ${CMAKE_COMMAND} -DPROGRAMMA=$<TARGET_FILE:${nome}> -DNOME=${nome}
                               "-DDESCRIZIONE=${descrizione}" -DHELP2MAN=${HELP2MAN} -DGZIP=${GZIP}
                               -P ${PROJECT_SOURCE_DIR}/cmake/manuale.cmake
                       WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/man
                       DEPENDS ${nome} ${PROJECT_SOURCE_DIR}/cmake/manuale.cmake VERBATIM)
    list(APPEND manuali ${PROJECT_BINARY_DIR}/man/${nome}.1.gz)
  endwhile()
  add_custom_target(manuali ALL DEPENDS ${manuali})
  install(FILES ${manuali} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The licence and the change log, as Debian keeps them (/usr/share/doc/ondix/copyright and changelog.gz).
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
                   COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(registro_modifiche ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME ondix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ondix")
set(CPACK_PACKAGE_CONTACT "ondix developers <ondix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "psychrometric calculator for air-conditioning and heating plants")
# Lines of at most 79 characters: dpkg shows them indented by one blank.
set(CPACK_PACKAGE_DESCRIPTION
    "ondix computes the properties of moist air and the processes of air
conditioning and heating plants (mixing, sensible heating and cooling,
humidification with water or steam, cooling coils, summer and winter cycles),
writes a report that can be printed or saved as RTF, and draws the processes
on a psychrometric chart. Its interface is in Italian.
.
ondix-calc runs the same calculations from the command line, one at a time or
for a whole CSV file of air states.")
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
# Files installed with the permissions Debian expects (0644 data, 0755 programs and directories).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
