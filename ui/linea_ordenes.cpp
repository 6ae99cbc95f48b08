#include "ui/linea_ordenes.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "app/version.h"

namespace {

constexpr std::string_view kAyuda =
    "Uso: fenwa [OPCIÓN]... [FICHERO]...\n"
    "\n"
    "Abre la ventana principal de FENWA, el programa de análisis estadístico de series de\n"
    "tráfico (parámetro de Hurst, tiempo de arranque fractal T0, test de estacionariedad,\n"
    "media, varianza y autocorrelación), y carga los ficheros de muestras indicados como\n"
    "lo haría \"Archivo > Cargar serie...\". Un fichero de muestras tiene números\n"
    "separados por blancos, con punto decimal (por ejemplo, uno por línea).\n"
    "\n"
    "Opciones:\n"
    "  -h, --help       mostrar esta ayuda y salir\n"
    "      --version    mostrar la versión y salir\n"
    "También se admiten las opciones de Qt (-platform NOMBRE, -style NOMBRE, ...).\n"
    "\n"
    "Variables de entorno:\n"
    "  FENWA_CAPTURA=RUTA.png   guardar una imagen de la ventana principal en cuanto se\n"
    "                           abre, con los ficheros ya cargados\n"
    "  FENWA_CAPTURA_SALIR=1    con FENWA_CAPTURA, terminar tras guardar la imagen\n"
    "\n"
    "Para analizar series desde la línea de órdenes, sin ventanas: fenwa-cli --help.\n";

void Escribir(std::string_view texto) {
  std::fwrite(texto.data(), 1, texto.size(), stdout);
}

}  // namespace

std::optional<int> OpcionesInformativas(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      Escribir(kAyuda);
      return 0;
    }
    if (arg == "--version") {
      Escribir("fenwa " + std::string(kVersionFenwa) + "\n");
      return 0;
    }
  }
  return std::nullopt;
}
