// NumPy .npy files as series: one-dimensional arrays of float64, float32, int64 or int32,
// little- or big-endian, format versions 1.0, 2.0 and 3.0, recognised by their first bytes
// ("\x93NUMPY"). The reader maps the file into memory and converts the samples in one pass;
// the writer gives float64 little-endian, version 1.0 (2.0 when the header needs it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
// The header of a float64 little-endian one-dimensional .npy file of n samples; the samples
// follow as 8 bytes each, little-endian.
std::string CabeceraNpy(std::uint64_t n);
