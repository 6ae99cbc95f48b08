// NumPy .npy files as series: one-dimensional arrays of float64, float32, int64 or int32,
// little- or big-endian, format versions 1.0, 2.0 and 3.0, recognised by their first bytes
// ("\x93NUMPY"). The reader maps the file into memory and converts the samples in one pass;
// the writer gives float64 little-endian, version 1.0 (2.0 when the header needs it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "numeric/fichero_atomico.h"
#include "numeric/vector.h"

// Whether the bytes begin like a .npy file.
bool EsNpy(std::string_view primeros);
// Whether the file's first bytes are those of a .npy file (false when it cannot be read).
bool FicheroEsNpy(const std::string& ruta);

// The samples of a .npy file. On failure returns an empty Vector and sets `mensaje` to the
// reader's messages ("No puedo leer el fichero\n'" + ruta + "'", or "El fichero '" + ruta +
// "' no tiene el formato adecuado" followed by what is wrong: the type, the shape, a size
// that does not match, a sample that is not finite, fewer than two samples).
Vector LeerNpy(const std::string& ruta, std::string& mensaje);

// Whether a file name asks for .npy (ends in ".npy", any case).
bool RutaNpy(std::string_view ruta);
// The header of a one-dimensional .npy file of n samples of the type `descr` ("<f8" for
// float64, "<i8" for int64, little-endian); the samples follow, 8 bytes each.
std::string CabeceraNpy(std::uint64_t n, const char* descr = "<f8");

// Writes the samples as a float64 .npy file (header and data) into the file being written.
bool EscribirNpy(FicheroAtomico& f, const double* x, std::size_t n);
// The samples alone, after CabeceraNpy of their total: a series written as it is computed.
bool EscribirMuestrasNpy(FicheroAtomico& f, const double* x, std::size_t n);
// The same for counts, as int64.
bool EscribirNpy(FicheroAtomico& f, const std::uint64_t* x, std::size_t n);
