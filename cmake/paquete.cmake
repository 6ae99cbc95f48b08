# The Debian package (cpack -G DEB): what `cmake --install` installs, under /usr, depending
# on the runtime libraries the programs link (found by dpkg-shlibdeps: the Qt 6 runtime
# packages, Highway's libhwy1, libc, libstdc++), never on development packages, and on
# python3 and python3-numpy for the Python module.
set(CPACK_PACKAGE_NAME fenwa)
set(CPACK_PACKAGE_VENDOR FENWA)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(FENWA_MANTENEDOR "Equipo de FENWA <fenwa@example.org>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${FENWA_MANTENEDOR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "análisis estadístico de series de tráfico (parámetro de Hurst)")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "FENWA estima el parámetro de Hurst H de series de tráfico medidas con varios
estimadores (R/S, varianza agregada y diferenciada, periodograma, Whittle FGN y
FARIMA, Whittle agregado y local, ondículas, GPH, DFA, momentos absolutos,
Higuchi), el tiempo de arranque fractal T0 a partir del IDC y un test de que H se
mantiene constante, y calcula la media, la varianza y la autocorrelación. Escribe
un informe en español y dibuja las gráficas log-log.
.
Incluye el programa de escritorio fenwa, la herramienta de línea de órdenes
fenwa-cli, para guiones y análisis de muchos ficheros, y el módulo de Python 3
fenwa, con los mismos análisis sobre arrays de numpy.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Python module (python/) has the ABI of the build machine's python3 and imports numpy.
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${FENWA_PYTHON_DEPENDENCIAS})
# Qt's own dialogs in Spanish ("Sí", "Cancelar").
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
# The package installs under the configured prefix, which must then be /usr (checked when
# cpack runs, by paquete_config.cmake): the manual pages name the installed folders.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/paquete_config.cmake)
include(CPack)
