// Writing whole files, and the one message of a file that could not be written.
//
// Every file the programs write goes through FicheroAtomico (numeric/fichero_atomico.h): a
// failure leaves an existing file as it was and no partial or empty file behind. A failure
// is told to the user as
//   "No puedo guardar el fichero\n'" + ruta + "': " + cause
// with the cause in words from the system's error number ("disco lleno", "permiso
// denegado", "es una carpeta", "no existe la carpeta"...).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "numeric/fichero_atomico.h"

// The cause of a failed write, from its errno value.
std::string CausaDelFallo(int error);
// The message of a file that could not be written ("-": "No puedo escribir en la salida
// estándar: " + cause).
std::string MensajeNoPuedoGuardar(const std::string& ruta, int error);

// Writes the file at `ruta`: `escritora` writes the whole content with fichero.Escribir()
// and returns false to give up. True when the file is in place; otherwise the target is
// untouched and `mensaje` holds the message of the failed write, or is empty when the
// writer gave up on its own. What the writer throws goes through, with the file removed.
bool EscribirFicheroAtomico(const std::string& ruta,
                            const std::function<bool(FicheroAtomico& fichero)>& escritora,
                            std::string& mensaje);
// The same for content already in memory.
bool EscribirFicheroAtomico(const std::string& ruta, std::string_view contenido,
                            std::string& mensaje);
