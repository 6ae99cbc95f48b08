// fenwa-cli contar (a capture counted into a series file) and the capture options of the
// analysis (fenwa-cli -m METODO --intervalo W CAPTURA...).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "capturas/capturas.h"
#include "numeric/vector.h"

// Runs "fenwa-cli contar ..." with argv[0] = "contar". Returns the exit status: 0 written
// (cut captures only warn); 1 usage error, bad width or filter, a file that cannot be read,
// is no capture or is damaged, fewer than one bin or too many, a file that cannot be written.
int EjecutarContar(int argc, char** argv);

struct OpcionesCaptura {
  std::optional<std::int64_t> intervalo;  // --intervalo: the files are captures
  bool bytes = false;
  std::optional<std::string> filtro;
  FormatoEntrada formato = FormatoEntrada::Captura;
  bool formatoDado = false;
};

// A capture option of the analysis (--intervalo, --bytes, --filtro, --formato) at argv[i]:
// nullopt when `arg` is none of them; otherwise "" (read, i past its value) or an error.
std::optional<std::string> LeerOpcionCaptura(const std::string& arg, const std::optional<std::string>& enLinea,
                                             int& i, int argc, char** argv, OpcionesCaptura& o);
// After the whole command line: --bytes, --filtro and --formato need --intervalo.
std::string ComprobarOpcionesCaptura(const OpcionesCaptura& o);
// The lines of those options in fenwa-cli --help.
std::string AyudaOpcionesCaptura();

// The name of the series of a file: that of its counts when the options make it a capture.
std::string NombreSerieFichero(const std::string& ruta, const OpcionesCaptura& o);
// A capture given to the analysis without --intervalo, refused (a text for standard error,
// without "fenwa-cli: "); "" when the file is no capture.
std::string RechazoCapturaSinIntervalo(const std::string& ruta);
// Counts one capture for the analysis. On success the counts as samples; warnings of a cut
// capture and the refusal go to `errores` as lines of standard error. Progress goes to the
// control installed on this thread (numeric/progreso.h).
bool SerieDeCaptura(const std::string& ruta, const OpcionesCaptura& o, Vector& datos, std::string& errores);
