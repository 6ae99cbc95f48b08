# Read by cpack for each generator: a Debian package installs under /usr.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR
    "El paquete Debian se construye con el prefijo /usr (ahora es "
    "'${CPACK_PACKAGING_INSTALL_PREFIX}'): configure con -DCMAKE_INSTALL_PREFIX=/usr.")
endif()
