# Installation of the desktop entry, icons, AppStream data, manual pages and documents, and the Debian packages
# (cpack -G DEB; packaging/deb.sh builds them with Debian's hardening flags and checks them with lintian). The
# programs and libraries install themselves (src/app, src/cli, src/lib, src/python), each into a component that
# becomes one package:
#   desktop   ondix          the desktop program, its desktop entry, icons and AppStream data
#   calc      ondix-calc     the command-line program (no Qt), which suggests the chart module
#   grafico   ondix-grafico  the chart module of ondix-calc (Qt)
#   libondix  libondix1      the shared library
#   dev       libondix-dev   its header, CMake package and pkg-config file
#   python    python3-ondix  the Python module
include(GNUInstallDirs)

# The application id: the names of the installed desktop entry, icons and AppStream data, and the desktop file
# name the program gives the window system (src/app/main.cpp).
set(ONDIX_ID io.github.ondix.Ondix)

if(ONDIX_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          RENAME ${ONDIX_ID}.desktop COMPONENT desktop)
  # The calculation files (*.ondix) as a type of their own, which the desktop entry opens.
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix-calcolo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME ondix.xml COMPONENT desktop)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${ONDIX_ID}.svg COMPONENT desktop)
  install(FILES ${PROJECT_SOURCE_DIR}/data/ondix.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          RENAME ${ONDIX_ID}.metainfo.xml COMPONENT desktop)
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
  foreach(lato ${lati_icone})
    install(FILES ${PROJECT_BINARY_DIR}/icone/${lato}x${lato}/apps/ondix.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lato}x${lato}/apps RENAME ${ONDIX_ID}.png
            COMPONENT desktop)
  endforeach()
endif()

# Manual pages, made from the programs' own --help and --version.
if(ONDIX_MANUALE)
  find_program(HELP2MAN help2man REQUIRED)
  find_program(GZIP gzip REQUIRED)
  set(pagine ondix-calc calc "run the psychrometric calculations of ondix from the command line")
  if(ONDIX_GUI)
    list(APPEND pagine ondix desktop "psychrometric calculator for air-conditioning and heating plants")
  endif()
  set(manuali)
  while(pagine)
    list(POP_FRONT pagine nome componente descrizione)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${nome}.1.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
                       COMMAND ${CMAKE_COMMAND} -DPROGRAMMA=$<TARGET_FILE:${nome}> -DNOME=${nome}
                               "-DDESCRIZIONE=${descrizione}" -DHELP2MAN=${HELP2MAN} -DGZIP=${GZIP}
                               -P ${PROJECT_SOURCE_DIR}/cmake/manuale.cmake
                       WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/man
                       DEPENDS ${nome} ${PROJECT_SOURCE_DIR}/cmake/manuale.cmake VERBATIM)
    list(APPEND manuali ${PROJECT_BINARY_DIR}/man/${nome}.1.gz)
    install(FILES ${PROJECT_BINARY_DIR}/man/${nome}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT ${componente})
  endwhile()
  add_custom_target(manuali ALL DEPENDS ${manuali})
endif()

# The licence and the change log, as Debian keeps them (/usr/share/doc/PACKAGE/copyright and changelog.gz), in
# every package.
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
                   COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(registro_modifiche ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
set(pacchetti calc ondix-calc)
if(ONDIX_GUI)
  list(APPEND pacchetti desktop ondix grafico ondix-grafico)
endif()
if(ONDIX_LIBRERIA)
  list(APPEND pacchetti libondix libondix${PROJECT_VERSION_MAJOR} dev libondix-dev)
  if(TARGET ondix_python)
    list(APPEND pacchetti python python3-ondix)
  endif()
endif()
set(CPACK_COMPONENTS_ALL)
while(pacchetti)
  list(POP_FRONT pacchetti componente pacchetto)
  list(APPEND CPACK_COMPONENTS_ALL ${componente})
  string(TOUPPER ${componente} c)
  set(CPACK_DEBIAN_${c}_PACKAGE_NAME ${pacchetto})
  set(CPACK_DEBIAN_${c}_FILE_NAME DEB-DEFAULT)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${pacchetto} COMPONENT ${componente})
endwhile()

set(CPACK_PACKAGE_NAME ondix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ondix")
set(CPACK_PACKAGE_CONTACT "ondix developers <ondix@example.org>")
# No summary for all packages: each package's description starts with its own.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The runtime libraries come from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Files installed with the permissions Debian expects (0644 data, 0755 programs and directories).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(v ${PROJECT_VERSION})
# Lines of at most 79 characters: dpkg shows them indented by one blank.
set(uso_calcolo "ondix computes the properties of moist air and the processes of air
conditioning and heating plants (mixing, sensible heating and cooling,
humidification with water or steam, cooling coils, summer and winter cycles).")

# The desktop program; the report and chart fonts are not linked, so they are named here, and the toolkit's own
# Italian texts (dialog buttons) are recommended.
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION "psychrometric calculator for air-conditioning and heating plants
${uso_calcolo}
.
This package holds the desktop program: it writes a report that can be
printed or saved as RTF and draws the processes on a psychrometric chart.
Its interface is in Italian.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SUGGESTS "ondix-calc")

# ondix-calc links no Qt: its chart export is the module of ondix-grafico, loaded only for --grafico.
set(CPACK_DEBIAN_CALC_DESCRIPTION "psychrometric calculations of ondix from the command line
${uso_calcolo}
.
This package holds ondix-calc, which runs the same calculations from the
command line, one at a time (report or JSON) or for a whole CSV or weather
file of air states. It draws charts with the package ondix-grafico.")
set(CPACK_DEBIAN_CALC_PACKAGE_SUGGESTS "ondix-grafico")

set(CPACK_DEBIAN_GRAFICO_DESCRIPTION "psychrometric chart export of ondix-calc
The module that ondix-calc loads for --grafico to draw the psychrometric
chart of a calculation or of a file of states as PNG, SVG or PDF.")
set(CPACK_DEBIAN_GRAFICO_PACKAGE_DEPENDS "ondix-calc (= ${v}), fonts-liberation2")
set(CPACK_DEBIAN_GRAFICO_PACKAGE_ENHANCES "ondix-calc")

# The library declares what its users depend on (shlibs) and runs ldconfig when installed.
set(CPACK_DEBIAN_LIBONDIX_DESCRIPTION "psychrometric calculations of ondix - shared library
${uso_calcolo}
.
This package holds the shared library: states of moist air from any two
properties at any pressure, and the processes with their results.")
set(CPACK_DEBIAN_LIBONDIX_PACKAGE_SECTION libs)
# (Only a library with a soname gets a shlibs line: the modules of ondix-grafico and python3-ondix have none.) The
# dynamic linker's cache is updated by a trigger; the scripts replace the ones CPack would write to call ldconfig.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBONDIX_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/libondix/triggers
    ${PROJECT_SOURCE_DIR}/packaging/libondix/postinst ${PROJECT_SOURCE_DIR}/packaging/libondix/postrm)
if(ONDIX_LIBRERIA)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/libondix/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME libondix${PROJECT_VERSION_MAJOR} COMPONENT libondix)
endif()

set(CPACK_DEBIAN_DEV_DESCRIPTION "psychrometric calculations of ondix - development files
${uso_calcolo}
.
This package holds the header of the library, its CMake package
(find_package(ondix)) and its pkg-config file.")
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libondix${PROJECT_VERSION_MAJOR} (= ${v})")

# The module links the library of this build, which dpkg-shlibdeps cannot look up before it is installed: the
# runtime libraries are named here, and the Python version it was built for (src/python).
set(CPACK_DEBIAN_PYTHON_DESCRIPTION "psychrometric calculations of ondix - Python 3 module
${uso_calcolo}
.
This package holds the Python module ondix: states from scalars or NumPy
arrays, processes as dictionaries, states added to pandas DataFrames with
a report of the rows that could not be computed, and CSV and weather files
read as ondix-calc reads them.")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
    "libondix${PROJECT_VERSION_MAJOR} (= ${v}), libc6, libgcc-s1, libstdc++6, python3 (>= ${ONDIX_PYTHON_VERSIONE}), python3 (<< ${ONDIX_PYTHON_SUCCESSIVA}), python3-numpy")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "python3-pandas, python3-distributed")
include(CPack)
