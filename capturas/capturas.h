// capturas/: packet captures counted into series (libpcap, zlib, zstd; no Qt).
//
// Packet captures counted into series: packets or bytes per interval of fixed width.
//
// Inputs: pcap (microsecond or nanosecond stamps, either byte order), pcapng (any number
// of interfaces, each with its own time resolution and offset), either of them plain or
// compressed with gzip or zstd (recognised by content, decompressed as a stream), and text
// packet traces (a line per packet: time in seconds and size in bytes) when asked for.
// Several files are one trace counted into one series.
//
// The counting rule, on integer nanoseconds since the epoch:
// - w, the width, is a whole positive number of nanoseconds;
// - the origin t0 is the earliest packet time of the whole input (filtered-out packets
//   included) rounded down to a multiple of w;
// - packet time t goes to bin floor((t - t0) / w), out-of-order packets included;
// - the series has K = floor((t_last - t0) / w) bins, t_last being the latest packet time of
//   the whole input: the bin holding the last packet is incomplete and dropped;
// - a packet counts 1, or with `bytes` its original (wire) length;
// - fewer than one bin is refused, and so is more than kMaxIntervalos bins, as soon as the
//   packets read need them and before anything that size is allocated.
//
// ContarCapturas runs on any thread; it reports progress through a callback and stops when
// a flag is raised, so a window can run it on a worker thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::uint64_t kMaxIntervalos = 1'000'000'000;
// A record that claims to have captured more than this is corruption, not a packet.
inline constexpr std::uint32_t kMaxLongitudCapturada = 256 * 1024;

// Reads a width: "10ms", "100us" (or "µs"), "250ns", "1s", or plain seconds "0.01"; a
// decimal point (or comma) is allowed with any unit as long as the result is a whole number
// of nanoseconds. The digits go straight to an integer. On failure returns nullopt and sets
// `error` to a text naming the value and the accepted forms.
std::optional<std::int64_t> LeerIntervalo(std::string_view texto, std::string& error);
// The width as a user writes it, in the largest of s, ms, us and ns that gives a whole
// number: 10000000 -> "10ms", 1500000000 -> "1500ms", 250 -> "250ns", 60000000000 -> "60s".
std::string NombreIntervalo(std::int64_t intervalo);
// Name of the series counted from a capture: BASE_paquetes_10ms or BASE_bytes_10ms, where
// BASE is the file name without folders, without a compression extension (.gz, .zst,
// .zstd) and then without its last extension (trace.pcap.gz -> trace).
std::string NombreSerieCaptura(std::string_view ruta, bool bytes, std::int64_t intervalo);
// An instant (nanoseconds since the epoch) as "1989-08-29 15:25:00.00 UTC", with the given
// number of decimals of the second (0..9, truncated).
std::string FechaHoraUtc(std::int64_t instante, int decimales);
// The decimals of the second that show every multiple of the width exactly (0 for whole
// seconds, 2 for 10ms, 9 for 250ns).
int DecimalesIntervalo(std::int64_t intervalo);

enum class FormatoEntrada {
  Captura,  // pcap or pcapng, plain or compressed
  Texto,    // text packet traces: time in seconds and size in bytes per line
};

// Which code reads standard pcap records: the own buffered reader, or libpcap (the same
// counts; the tests and the benchmark compare both). pcapng is always read by the own
// reader, pcap variants it does not know by libpcap.
enum class LectorPcap { Propio, Libpcap };

struct AvanceConteo {
  std::uint64_t hechos = 0;  // bytes taken from the input files (compressed bytes if so)
  std::uint64_t total = 0;   // their total size (0 when unknown: a pipe)
  double Fraccion() const { return total ? static_cast<double>(hechos) / total : 0.0; }
};

struct OpcionesConteo {
  std::int64_t intervalo = 0;  // w in nanoseconds (> 0)
  bool bytes = false;          // count wire bytes instead of packets
  std::string filtro;          // libpcap filter expression; empty: every packet
  FormatoEntrada formato = FormatoEntrada::Captura;
  LectorPcap lector = LectorPcap::Propio;
  // Called from the counting thread every few megabytes of input.
  std::function<void(const AvanceConteo&)> progreso;
  // Raised by any thread: the count stops at its next progress report, with Cancelado.
  const std::atomic<bool>* cancelar = nullptr;
};

struct ResumenConteo {
  std::uint64_t leidos = 0;     // packets read
  std::uint64_t contados = 0;   // counted into the bins 0..K-1
  std::uint64_t filtrados = 0;  // discarded by the filter
  std::uint64_t fuera = 0;      // kept by the filter but in the dropped last bin
  std::uint64_t bytesContados = 0;  // wire bytes of the counted packets
  std::int64_t intervalo = 0;   // w
  std::int64_t origen = 0;      // t0
  std::int64_t primero = 0;     // earliest packet time
  std::int64_t ultimo = 0;      // latest packet time (t_last)
  std::uint64_t intervalos = 0;  // K
};

enum class EstadoConteo { Exito, Rechazo, Cancelado };

struct ResultadoConteo {
  EstadoConteo estado = EstadoConteo::Rechazo;
  std::string error;        // Rechazo: what is wrong, one line in Spanish
  bool pareceTexto = false;  // Rechazo of a file that is no capture but reads as text
  std::vector<std::uint64_t> cuentas;  // Exito: the K counts
  ResumenConteo resumen;               // Exito
  std::vector<std::string> avisos;     // captures cut short (the run still succeeds)
  bool Exito() const { return estado == EstadoConteo::Exito; }
};

// Counts the files, in any order, as one trace.
ResultadoConteo ContarCapturas(const std::vector<std::string>& rutas, const OpcionesConteo& opciones);

// The summary of a successful count, in Spanish: packets read, counted, discarded by the
// filter and outside the bins; bins, width and origin; the dropped last bin.
std::vector<std::string> LineasResumen(const ResumenConteo& r, bool bytes);

// Whether the file holds a pcap or pcapng capture, plain or compressed (by its first bytes).
bool EsCaptura(const std::string& ruta);
