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
std::string SeriesNameFromPath(std::string_view path);

// Parses the text of a sample file. Returns false when it is not a sequence of at least
// two finite decimal numbers separated by white space (a leading '+' is accepted). A value
// too large for a double is refused; one too small for it reads as zero.
bool ParseSamples(std::string_view text, Vector& out);

// Reads a sample file. On success returns the samples and empties `mensaje`; on failure
// returns an empty Vector and sets `mensaje` to the text to show:
//   "No puedo leer el fichero\n'" + path + "'"            (cannot be opened/read)
//   "El fichero '" + path + "' no tiene el formato adecuado" (not at least two numbers,
//     a token that is not a number, or a non-finite value)
// A regular file is read in pieces of 4 MiB on all threads, without holding the whole text
// in memory; other files (pipes, devices) are read whole first.
Vector ReadSampleFile(const std::string& path, std::string& mensaje);
// The same with pieces of `trozo` bytes (the tests try tiny ones; 0 reads the file whole).
Vector ReadSampleFile(const std::string& path, std::string& mensaje, std::size_t trozo);

// Writes the samples one per line in general notation with 6 significant digits (as
// printf "%g" in the C locale: 0.1, 1.23457e+06, 1e-05). Returns true on success; on
// failure sets `mensaje` to "No puedo guardar el fichero\n'" + path + "'" and returns false.
bool WriteSampleFile(const Vector& v, const std::string& path, std::string& mensaje);

// One sample in the file notation above (no line end).
std::string FormatSample(double x);
// Writes FormatSample(x) at `p` (at least 32 bytes available) and returns the end.
char* FormatSampleTo(char* p, double x);
