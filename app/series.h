// The store of loaded series and the sample-file reader and writer.
//
// A sample file is text holding at least two decimal numbers separated by white space,
// always with a point as decimal separator whatever the user's locale. The reader and the
// writer report failures as the texts the caller shows to the user; nothing here talks to
// the user directly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/fichero_atomico.h"
#include "numeric/generador.h"
#include "numeric/vector.h"

inline constexpr std::uint32_t MaxSeries = 10;

// One slot of the store. A free slot has an empty name and an empty data vector.
struct Series {
  std::string name;
  Vector data;
  // How a generated series was made (none for one read from a file), and whether it has
  // not been written to a file since.
  std::optional<ParametrosGenerador> generada;
  bool sinGuardar = false;
  bool Libre() const { return name.empty(); }
};

// At most MaxSeries loaded series. Invariant: a slot is free exactly when its name is
// empty, and FreeSlots() counts those slots. CurrentSlot() is MaxSeries when no series is
// selected.
class SeriesStore {
 public:
  SeriesStore() = default;

  // Empties every slot; no current series.
  void Clear();

  std::uint32_t FreeSlots() const { return freeSlots_; }
  std::uint32_t CurrentSlot() const { return currentSlot_; }
  // Any index is accepted; one that is free or out of range leaves no current series.
  void SetCurrentSlot(std::uint32_t slot);

  // Slot 0..MaxSeries-1 (checked: an index outside the store throws std::out_of_range).
  const Series& Slot(std::uint32_t slot) const;
  // The current series, or nullptr when there is none.
  const Series* Current() const;

  // Lowest slot whose name equals `name` byte for byte; MaxSeries if none.
  // The empty name finds the first free slot.
  std::uint32_t FindSlot(std::string_view name) const;

  // Stores a series in the first free slot and makes it current. Returns the slot, or
  // MaxSeries (store unchanged) when the store is full, the name is empty or the data
  // vector is empty. A generated series (with how it was made) starts unsaved.
  std::uint32_t Add(std::string name, Vector data,
                    std::optional<ParametrosGenerador> generada = std::nullopt);
  // The series of a loaded slot has been written to a file.
  void MarcarGuardada(std::uint32_t slot);
  // Names of the generated series never written to a file, in slot order.
  std::vector<std::string> SinGuardar() const;
  // Gives a loaded series a new name. Empty names and free slots are refused (false).
  bool Rename(std::uint32_t slot, std::string name);
  // Frees a loaded slot (name and data emptied). If it was the current series there is no
  // current series afterwards. Returns false when the slot was already free.
  bool Remove(std::uint32_t slot);

 private:
  std::array<Series, MaxSeries> slots_;
  std::uint32_t freeSlots_ = MaxSeries;
  std::uint32_t currentSlot_ = MaxSeries;
};

// The name a series loaded from `path` gets: the file name without drive, folders ('/' or
// '\\') and extension (from the last '.' of the file name). A file name that is only an
// extension (".sam") keeps its whole file name, so a loaded series never has an empty name.
std::string NombreSerieDeRuta(std::string_view path);

// Reads a sample file: at least two finite decimal numbers separated by white space (a
// leading '+' is accepted; a value too large for a double is refused, one too small for it
// reads as zero). The path "-" is the standard input. On success returns the samples and
// empties `mensaje`; on failure returns an empty Vector and sets `mensaje` to the text to
// show:
//   "No puedo leer el fichero\n'" + path + "'"              (cannot be opened or read)
//   "El fichero '" + path + "' no tiene el formato adecuado"  (fewer than two numbers)
//   the same + "\nlínea 1.234.567: «1e100000»"               (the first token that is not
//     a number: its line, with thousands separated by points, and the token, with control
//     characters and bytes outside UTF-8 as \xNN, cut once 40 bytes of it are shown)
//   the same + "\n(más de 4.294.967.295 números)"             (more than a series holds)
// A token is refused as soon as it is met, whatever follows: a byte that no number holds
// (a letter, a comma, a NUL) at once, a token of more than 65,536 bytes at that length.
// A regular file is cut into pieces of 4 MiB, each read on its own (the text is never held
// whole), counted first and then converted straight into the series on all threads; one that changes meanwhile is read again as a stream. A pipe or a
// device is read as a stream, converting as it comes, so that it is never held whole.
Vector ReadSampleFile(const std::string& path, std::string& mensaje);
// The same with pieces (or reads) of `trozo` bytes, and a regular file read as a stream
// when `comoFlujo` is set: the tests put numbers on every side of a boundary this way.
Vector ReadSampleFile(const std::string& path, std::string& mensaje, std::size_t trozo,
                      bool comoFlujo = false);

// Writes the samples one per line in general notation with 6 significant digits (as
// printf "%g" in the C locale: 0.1, 1.23457e+06, 1e-05), whole or not at all
// (app/escritura_atomica.h). Returns true on success; on failure sets `mensaje` to
// MensajeNoPuedoGuardar ("No puedo guardar el fichero\n'" + path + "': " + cause), leaves
// an existing file as it was and returns false.
bool WriteSampleFile(const Vector& v, const std::string& path, std::string& mensaje);
// The samples x[0..n-1] in that notation, one per line, through `f`; false when it failed.
bool EscribirMuestras(FicheroAtomico& f, const double* x, std::size_t n);

// One sample in the file notation above (no line end).
std::string FormatoMuestra(double x);
// Writes FormatoMuestra(x) at `p` (at least 32 bytes available) and returns the end.
char* FormatoMuestraEn(char* p, double x);
