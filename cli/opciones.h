// cli/: fenwa-cli, the command-line tool over app/, chart/qt/ and capturas/.
//
// Command-line details shared by fenwa-cli and its subcommands, and the options of the
// analysis (fenwa-cli [OPCIONES] FICHERO...), read by opciones.cpp.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/interfaces.h"
#include "app/parametros.h"
#include "cli/contar.h"
#include "cli/salidas_comparacion.h"
#include "numeric/paralelo.h"

// Exit status of fenwa-cli and its subcommands.
inline constexpr int kSalidaExito = 0;
inline constexpr int kSalidaUso = 1;      // usage errors and files that cannot be read or written
inline constexpr int kSalidaRechazo = 2;  // an analysis refused (status, conversion, library fault)

// Writes the bytes as they are: no locale, no formatting.
inline void Escribir(std::FILE* f, std::string_view texto) {
  std::fwrite(texto.data(), 1, texto.size(), f);
}

// One line on standard error after "fenwa-cli: "; the dialogs' line breaks become blanks.
inline void ErrorEnUnaLinea(std::string texto) {
  for (char& c : texto)
    if (c == '\n') c = ' ';
  Escribir(stderr, "fenwa-cli: " + texto + "\n");
}

// "--opcion=valor" is the same as "--opcion valor": for a long option with "=", leaves the
// option's name in arg and returns the value; otherwise nullopt and arg as it was.
inline std::optional<std::string> SepararValorEnLinea(std::string& arg) {
  if (arg.rfind("--", 0) != 0) return std::nullopt;
  const std::size_t igual = arg.find('=');
  if (igual == std::string::npos) return std::nullopt;
  std::string valor = arg.substr(igual + 1);
  arg.resize(igual);
  return valor;
}

// A number of threads or of files at once (--hilos, -j, FENWA_HILOS, named by `nombre`):
// an integer from 1 to 256 into n, and ""; otherwise the error text.
inline std::string LeerNumeroDeHilos(const std::string& nombre, const std::string& valor,
                                     unsigned& n) {
  const std::optional<int> v = LeerEntero(valor);
  if (!v || *v < 1 || *v > 256)
    return "el valor de " + nombre + " debe ser un entero entre 1 y 256 y no '" + valor + "'";
  n = static_cast<unsigned>(*v);
  return {};
}

// FENWA_HILOS, when it is set and not empty, read as --hilos is: "" or the same error text.
inline std::string ComprobarVariableHilos() {
  const char* texto = std::getenv(kVariableHilos);
  if (!texto || !*texto) return {};
  unsigned n = 0;
  return LeerNumeroDeHilos(kVariableHilos, texto, n);
}

// The command line of the analysis.
struct Opciones {
  SeleccionAnalisis seleccion;
  AnalysisParameters parametros;
  MarcasMenu marcas;
  char separador = '.';
  bool json = false;
  bool version = false;  // --version: print the version and end
  std::optional<std::string> atc;
  // Per chart format: path of the method chart and of the autocorrelation chart.
  std::vector<std::optional<std::string>> graficaMetodo, graficaAuto;
  std::vector<std::string> ficheros;
  unsigned trabajos = 1;              // -j: files analysed at once
  unsigned hilos = 0;                 // --hilos: threads of each analysis (0: default)
  std::optional<bool> progreso;       // --progreso / --sin-progreso; default: a terminal
  OpcionesComparacion comparacion;    // --csv, --referencia
  OpcionesCaptura captura;            // --intervalo and the rest: the files are captures
};

// Parses the command line; returns an error text for a usage error, "" when fine.
// Sets ayuda when --help was asked for.
std::string LeerOpciones(int argc, char** argv, Opciones& o, bool& ayuda);

// The name of the series of a file: the file's name without folder or extension, that of its
// counts for a capture, "entrada" for the standard input ("-").
std::string NombreSerie(const std::string& ruta, const Opciones& o);
// Replaces every "{nombre}" in the path by the series name.
std::string Ruta(std::string ruta, const std::string& nombre);
