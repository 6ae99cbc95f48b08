// fenwa-cli: the analyses of the desktop program from the command line, one per file.
#include <clocale>
#include <string>
#include <string_view>

#include "app/version.h"
#include "cli/ayuda.h"
#include "cli/contar.h"
#include "cli/generar.h"
#include "cli/lote.h"
#include "cli/opciones.h"
#include "numeric/error.h"
#include "numeric/fichero_atomico.h"
#include "numeric/vector.h"

namespace {

void Error(std::string_view texto) {
  Escribir(stderr, "fenwa-cli: ");
  Escribir(stderr, texto);
  Escribir(stderr, "\n");
}

int Ejecutar(int argc, char** argv) {
  Opciones o;
  bool ayuda = false;
  std::string error = LeerOpciones(argc, argv, o, ayuda);
  if (error.empty()) error = ComprobarVariableHilos();
  if (ayuda) {
    Escribir(stdout, Ayuda());
    return kSalidaExito;
  }
  if (o.version) {
    Escribir(stdout, "fenwa-cli " + std::string(kVersionFenwa) + "\n");
    return kSalidaExito;
  }
  if (!error.empty()) {
    Error(error);
    Error("pruebe 'fenwa-cli --help' para más información");
    return kSalidaUso;
  }
  return EjecutarLote(o);
}

}  // namespace

int main(int argc, char** argv) {
  // The process ends with its work: the memory it frees stays with it for the next blocks.
  const MemoriaRetenida retenida;
  // An interrupted run leaves no temporary file behind (numeric/fichero_atomico.h).
  BorrarTemporalesAlInterrumpir();
  if (argc > 1 && std::string_view(argv[1]) == "generar")
    return EjecutarGenerar(argc - 1, argv + 1);
  if (argc > 1 && std::string_view(argv[1]) == "contar")
    return EjecutarContar(argc - 1, argv + 1);
  // Only the date and time follow the user's settings; numbers never go through the locale.
  std::setlocale(LC_TIME, "");
  try {
    return Ejecutar(argc, argv);
  } catch (const ErrorNumerico& error) {
    // A fault outside an analysis (the driver handles those inside one).
    Error(error.Texto());
    return kSalidaUso;
  }
}
