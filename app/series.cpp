#include "app/series.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/escritura_atomica.h"
#include "app/npy.h"
#include "numeric/decimal.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"

// ------------------------------------------------------------------------------ SeriesStore

void SeriesStore::Clear() {
  for (Series& s : slots_) {
    s.name.clear();
    s.data.Redimensionar(0);
    s.generada.reset();
    s.sinGuardar = false;
  }
  freeSlots_ = MaxSeries;
  currentSlot_ = MaxSeries;
}

void SeriesStore::SetCurrentSlot(std::uint32_t slot) {
  currentSlot_ = (slot < MaxSeries && !slots_[slot].Libre()) ? slot : MaxSeries;
}

const Series& SeriesStore::Slot(std::uint32_t slot) const {
  if (slot >= MaxSeries) throw std::out_of_range("SeriesStore::Slot");
  return slots_[slot];
}

const Series* SeriesStore::Current() const {
  return currentSlot_ < MaxSeries ? &slots_[currentSlot_] : nullptr;
}

std::uint32_t SeriesStore::FindSlot(std::string_view name) const {
  for (std::uint32_t i = 0; i < MaxSeries; ++i)
    if (slots_[i].name == name) return i;
  return MaxSeries;
}

std::uint32_t SeriesStore::Add(std::string name, Vector data,
                               std::optional<ParametrosGenerador> generada) {
  if (freeSlots_ == 0 || name.empty() || data.Longitud() == 0) return MaxSeries;
  const std::uint32_t slot = FindSlot("");
  slots_[slot].name = std::move(name);
  slots_[slot].data = std::move(data);
  slots_[slot].sinGuardar = generada.has_value();
  slots_[slot].generada = std::move(generada);
  currentSlot_ = slot;
  --freeSlots_;
  return slot;
}

bool SeriesStore::Rename(std::uint32_t slot, std::string name) {
  if (slot >= MaxSeries || slots_[slot].Libre() || name.empty()) return false;
  slots_[slot].name = std::move(name);
  return true;
}

void SeriesStore::MarcarGuardada(std::uint32_t slot) {
  if (slot < MaxSeries) slots_[slot].sinGuardar = false;
}

std::vector<std::string> SeriesStore::SinGuardar() const {
  std::vector<std::string> nombres;
  for (const Series& s : slots_)
    if (!s.Libre() && s.sinGuardar) nombres.push_back(s.name);
  return nombres;
}

bool SeriesStore::Remove(std::uint32_t slot) {
  if (slot >= MaxSeries || slots_[slot].Libre()) return false;
  slots_[slot].name.clear();
  slots_[slot].data.Redimensionar(0);
  slots_[slot].generada.reset();
  slots_[slot].sinGuardar = false;
  ++freeSlots_;
  if (currentSlot_ == slot) currentSlot_ = MaxSeries;
  return true;
}

// ------------------------------------------------------------------------------ Names

std::string NombreSerieDeRuta(std::string_view path) {
  std::string_view fichero = path;
  const std::size_t barra = fichero.find_last_of("/\\");
  if (barra != std::string_view::npos) {
    fichero.remove_prefix(barra + 1);
  } else if (fichero.size() >= 2 && fichero[1] == ':' &&
             ((fichero[0] >= 'A' && fichero[0] <= 'Z') || (fichero[0] >= 'a' && fichero[0] <= 'z'))) {
    fichero.remove_prefix(2);  // drive letter without a folder ("C:traza.sam")
  }
  std::string_view nombre = fichero;
  const std::size_t punto = nombre.rfind('.');
  if (punto != std::string_view::npos) nombre = nombre.substr(0, punto);
  // An empty name marks a free slot: a file named only by its extension keeps it all.
  if (nombre.empty()) nombre = fichero;
  if (nombre.empty()) return "serie";
  return std::string(nombre);
}

// ------------------------------------------------------------------------------ Reading

namespace {

// What a byte can be in a sample file: part of a number (digits, signs, point, exponent
// letter), white space as scanf skips it in the C locale (blank, tab, line ends, form
// feed), or neither: a byte of the last kind refuses the file wherever it is met.
enum : std::uint8_t { kDeNumero = 0, kBlanco = 1, kAjeno = 2 };
constexpr std::array<std::uint8_t, 256> kClases = [] {
  std::array<std::uint8_t, 256> t{};
  t.fill(kAjeno);
  for (unsigned char c : {' ', '\n', '\t', '\r', '\v', '\f'}) t[c] = kBlanco;
  for (unsigned char c = '0'; c <= '9'; ++c) t[c] = kDeNumero;
  for (unsigned char c : {'+', '-', '.', 'e', 'E'}) t[c] = kDeNumero;
  return t;
}();

inline std::uint8_t Clase(char c) { return kClases[static_cast<unsigned char>(c)]; }
constexpr std::array<bool, 256> kBlancos = [] {
  std::array<bool, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = kClases[c] == kBlanco;
  return t;
}();
inline bool EsBlanco(char c) { return kBlancos[static_cast<unsigned char>(c)]; }

// Blanks by comparisons, as the counting pass finds them sixteen bytes at a time: ' ' and
// 9..13 (tab, line feed, vertical tab, form feed, carriage return).
constexpr bool BlancoPorComparacion(unsigned char c) {
  return c == ' ' || static_cast<unsigned char>(c - 9) < 5;
}
static_assert([] {
  for (int c = 0; c < 256; ++c)
    if (BlancoPorComparacion(static_cast<unsigned char>(c)) != (kClases[c] == kBlanco))
      return false;
  return true;
}());

// The tokens that start in p[0..n) (p[-1] readable): bytes that are not blank after one
// that is. Sixteen bytes at a time where the processor has SSE2 (the counts of up to 255
// runs held one per byte lane, then added up), the rest one by one.
std::uint64_t ContarTokens(const unsigned char* p, std::size_t n) {
  std::uint64_t tokens = 0;
  std::size_t i = 0;
#ifdef __SSE2__
  const __m128i k9 = _mm_set1_epi8(9), k4 = _mm_set1_epi8(4), kEspacio = _mm_set1_epi8(' ');
  const auto blancos = [&](__m128i x) {
    const __m128i t = _mm_sub_epi8(x, k9);  // 9..13 become 0..4
    return _mm_or_si128(_mm_cmpeq_epi8(x, kEspacio), _mm_cmpeq_epi8(_mm_min_epu8(t, k4), t));
  };
  if (n >= 16) {
    // The blanks of the previous 16 bytes, for the byte before each.
    __m128i previos = blancos(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1)));
    previos = _mm_slli_si128(previos, 15);
    while (i + 16 <= n) {
      __m128i cuenta = _mm_setzero_si128();
      for (int r = 0; r < 255 && i + 16 <= n; ++r, i += 16) {
        const __m128i blanco = blancos(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
        const __m128i antes = _mm_or_si128(_mm_slli_si128(blanco, 1), _mm_srli_si128(previos, 15));
        cuenta = _mm_sub_epi8(cuenta, _mm_andnot_si128(blanco, antes));
        previos = blanco;
      }
      const __m128i sumas = _mm_sad_epu8(cuenta, _mm_setzero_si128());
      tokens += static_cast<std::uint64_t>(_mm_cvtsi128_si32(sumas)) +
                static_cast<std::uint64_t>(_mm_extract_epi16(sumas, 4));
    }
  }
#endif
  for (; i < n; ++i) tokens += BlancoPorComparacion(p[i - 1]) && !BlancoPorComparacion(p[i]);
  return tokens;
}

// Longest token taken for a number (far beyond any a program writes); a longer one is
// refused, so that a stream of digits without end is not held in memory.
constexpr std::size_t kNumeroMaximo = std::size_t{1} << 16;
// Bytes of a refused token kept for its message (TokenVisible shows about 40).
constexpr std::size_t kTokenGuardado = 48;
constexpr std::uint64_t kMuestrasMaximas = 0xFFFFFFFFu;

// For a token that from_chars reported out of range: true when its magnitude is below the
// smallest double (it underflows to zero), false when it overflows.
bool Subdesborda(const char* p, const char* fin) {
  if (p < fin && (*p == '-' || *p == '+')) ++p;
  long long orden = 0;  // decimal exponent of the first significant digit
  bool hallado = false;
  long long enteras = 0;
  for (; p < fin && *p >= '0' && *p <= '9'; ++p) {
    if (hallado || *p != '0') {
      hallado = true;
      ++enteras;
    }
  }
  if (hallado) orden = enteras - 1;
  if (p < fin && *p == '.') {
    ++p;
    long long ceros = 0;
    for (; p < fin && *p >= '0' && *p <= '9'; ++p) {
      if (!hallado) {
        if (*p == '0') {
          ++ceros;
        } else {
          hallado = true;
          orden = -(ceros + 1);
        }
      }
    }
  }
  if (!hallado) return true;  // all zeros cannot overflow
  long long exponente = 0;
  bool negativo = false;
  if (p < fin && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p < fin && (*p == '-' || *p == '+')) negativo = (*p++ == '-');
    for (; p < fin && *p >= '0' && *p <= '9'; ++p)
      if (exponente < 1000000000LL) exponente = exponente * 10 + (*p - '0');
  }
  return orden + (negativo ? -exponente : exponente) < 0;
}

// Converts the token [p, fin). False unless it is one finite decimal number.
bool ConvertirNumero(const char* p, const char* fin, double& valor) {
  if (DecimalExacto(p, fin, valor) == fin) return true;
  const char* inicio = p;
  if (*p == '+') {
    ++p;
    if (p == fin || *p == '-') return false;
  }
  const auto r = std::from_chars(p, fin, valor, std::chars_format::general);
  if (r.ptr != fin || p == fin) return false;
  if (r.ec == std::errc::result_out_of_range) {
    if (!Subdesborda(inicio, fin)) return false;  // e.g. 1e999
    valor = (*p == '-') ? -0.0 : 0.0;
    return true;
  }
  return r.ec == std::errc() && std::isfinite(valor);
}

// Why a file is refused, and where.
struct Rechazo {
  enum class Motivo { Lectura, Formato, Pocos, Demasiados, Cambiado };
  Motivo motivo = Motivo::Formato;
  std::uint64_t linea = 0;  // Formato: line of the token, from 1
  std::string token;        // Formato: its first kTokenGuardado bytes at most
};

Rechazo Rechazar(Rechazo::Motivo motivo) { return Rechazo{motivo, 0, {}}; }

// The token at p, up to a blank, `fin` or kTokenGuardado bytes.
std::string TokenEn(const char* p, const char* fin) {
  const char* q = p;
  while (q < fin && !EsBlanco(*q) && static_cast<std::size_t>(q - p) < kTokenGuardado) ++q;
  return std::string(p, q);
}

// 1234567 as "1.234.567".
std::string ConPuntos(std::uint64_t n) {
  char b[24];
  std::string s(b, std::to_chars(b, b + sizeof b, n).ptr);
  for (std::size_t i = s.size(); i > 3; i -= 3) s.insert(i - 3, 1, '.');
  return s;
}

// A refused token as the message shows it: whole characters of UTF-8 as they are, control
// characters and bytes outside UTF-8 as \xNN, cut with "…" once 40 bytes are shown.
std::string TokenVisible(std::string_view t) {
  constexpr std::size_t kMostrados = 40;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < t.size();) {
    if (s.size() >= kMostrados) {
      s += "…";
      break;
    }
    const auto c = static_cast<unsigned char>(t[i]);
    const std::size_t largo = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    bool entero = largo > 0 && i + largo <= t.size() && (largo > 1 || (c >= 0x20 && c != 0x7F));
    for (std::size_t k = 1; entero && k < largo; ++k)
      entero = (static_cast<unsigned char>(t[i + k]) & 0xC0) == 0x80;
    if (entero) {
      s.append(t.substr(i, largo));
      i += largo;
    } else {
      s += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
      ++i;
    }
  }
  return s;
}

std::string Mensaje(const Rechazo& r, const std::string& path) {
  const std::string formato = "El fichero '" + path + "' no tiene el formato adecuado";
  switch (r.motivo) {
    case Rechazo::Motivo::Formato:
      return formato + "\nlínea " + ConPuntos(r.linea) + ": «" + TokenVisible(r.token) + "»";
    case Rechazo::Motivo::Pocos:
      return formato;
    case Rechazo::Motivo::Demasiados:
      return formato + "\n(más de " + ConPuntos(kMuestrasMaximas) + " números)";
    default:
      return "No puedo leer el fichero\n'" + path + "'";
  }
}

// ---- Streams ------------------------------------------------------------------------------

// Reads fd to its end in reads of `trozo` bytes and converts each number as it is met: a
// token that is not a number is refused as soon as it is seen (a byte no number holds at
// once, whatever follows), and only the current read, an unfinished token and the samples
// so far are held. For pipes, devices and the standard input, whose length is unknown.
std::optional<Rechazo> LeerFlujo(int fd, std::size_t trozo, Vector& out) {
  constexpr std::size_t kPorBloque = std::size_t{1} << 20;  // samples per block
  std::vector<std::unique_ptr<double[]>> bloques;
  std::uint64_t total = 0;
  std::uint64_t linea = 1;
  std::vector<char> buf;
  std::size_t resto = 0;  // bytes of an unfinished token at the start of buf
  bool fin = false;
  // The refusal of the token at p: what was read of it, completed by a few more bytes
  // when it goes on (for the message only).
  const auto rechazar = [&](const char* p, const char* lim) {
    std::string token = TokenEn(p, lim);
    bool entero = token.size() < static_cast<std::size_t>(lim - p) || token.size() >= kTokenGuardado;
    while (!entero && !fin) {
      char mas[kTokenGuardado];
      const ssize_t r = ::read(fd, mas, kTokenGuardado - token.size());
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      const std::string resto = TokenEn(mas, mas + r);
      token += resto;
      entero = resto.size() < static_cast<std::size_t>(r) || token.size() >= kTokenGuardado;
    }
    return Rechazo{Rechazo::Motivo::Formato, linea, token};
  };
  while (!fin) {
    ComprobarCancelacion();
    buf.resize(resto + trozo);
    ssize_t leidos;
    do {
      leidos = ::read(fd, buf.data() + resto, trozo);
    } while (leidos < 0 && errno == EINTR);
    if (leidos < 0) return Rechazar(Rechazo::Motivo::Lectura);
    fin = leidos == 0;
    const char* p = buf.data();
    const char* const lim = p + resto + static_cast<std::size_t>(leidos);
    const char* const revisado = p + resto;  // the unfinished token was checked already
    resto = 0;
    for (;;) {
      while (p < lim && EsBlanco(*p)) linea += *p++ == '\n';
      if (p == lim) break;
      const char* q = std::max(p, revisado);
      while (q < lim && Clase(*q) == kDeNumero) ++q;
      const bool ajeno = q < lim && Clase(*q) == kAjeno;
      if (ajeno || static_cast<std::size_t>(q - p) > kNumeroMaximo) return rechazar(p, lim);
      if (q == lim && !fin) {  // the token goes on in the next read
        resto = static_cast<std::size_t>(q - p);
        if (p != buf.data()) std::memmove(buf.data(), p, resto);
        break;
      }
      double x;
      if (!ConvertirNumero(p, q, x)) return rechazar(p, lim);
      if (total == kMuestrasMaximas) return Rechazar(Rechazo::Motivo::Demasiados);
      if (total % kPorBloque == 0) bloques.push_back(std::make_unique_for_overwrite<double[]>(kPorBloque));
      bloques.back()[total % kPorBloque] = x;
      ++total;
      p = q;
    }
  }
  if (total < 2) return Rechazar(Rechazo::Motivo::Pocos);
  Vector datos(static_cast<std::uint32_t>(total));
  double* y = datos.Datos();
  for (std::size_t b = 0; b < bloques.size(); ++b) {
    const std::size_t cuantas = std::min<std::uint64_t>(kPorBloque, total - b * kPorBloque);
    std::copy(bloques[b].get(), bloques[b].get() + cuantas, y + b * kPorBloque);
    bloques[b].reset();
  }
  out = std::move(datos);
  return std::nullopt;
}

// ---- Regular files ------------------------------------------------------------------------

// Bytes of a regular file counted and converted by each piece of the parallel reader, and
// of each read of a stream.
constexpr std::size_t kTrozoLectura = std::size_t{1} << 22;

// What stops the pieces of the parallel reader (ParaCadaPieza rethrows the lowest one's).
struct TokenMalo {  // at this offset starts a token that is not a number
  std::uint64_t posicion;
};
struct FicheroCambiado {};  // the file's text is not the one counted

// Bytes [desde, hasta) of a regular file (offsets from `base`), read into a buffer of the
// thread for as long as the object lives. They are read rather than mapped: a file that
// another program cuts short meanwhile must be refused as changed, not end the process
// (a mapping past the new end raises SIGBUS). Each thread keeps its buffer between pieces.
class Ventana {
 public:
  Ventana(int fd, std::uint64_t base, std::uint64_t desde, std::uint64_t hasta) {
    if (hasta <= desde) return;
    const auto largo = static_cast<std::size_t>(hasta - desde);
    buffer_ = std::move(libre_);
    libre_ = {};
    if (buffer_.size() < largo) buffer_.resize(largo);
    std::size_t leidos = 0;
    while (leidos < largo) {
      const ssize_t r = ::pread(fd, buffer_.data() + leidos, largo - leidos,
                                static_cast<off_t>(base + desde + leidos));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) throw FicheroCambiado{};  // shorter than when it was measured
      leidos += static_cast<std::size_t>(r);
    }
    bytes_ = buffer_.data();
  }
  ~Ventana() {
    if (buffer_.capacity() > libre_.capacity()) libre_ = std::move(buffer_);
  }
  Ventana(const Ventana&) = delete;
  Ventana& operator=(const Ventana&) = delete;
  // The byte at `desde` ("" when the window is empty).
  const char* Bytes() const { return bytes_; }

 private:
  static thread_local std::vector<char> libre_;
  std::vector<char> buffer_;
  const char* bytes_ = "";
};
thread_local std::vector<char> Ventana::libre_;

// A regular file, its bytes from `base` on (`tam` of them), counted and converted by pieces
// of `trozo` bytes on all threads, each piece reading only its own bytes, so that the text is
// never held whole.
struct Regular {
  int fd;
  std::uint64_t base, tam;
  std::size_t trozo;

  // First pass: the tokens that start in each piece (a number starts after a blank or at the
  // start).
  std::vector<std::uint64_t> Contar() const {
    const std::size_t piezas = NumeroDePiezas(tam, trozo);
    std::vector<std::uint64_t> cuenta(piezas, 0);
    ParaCadaPieza(piezas, [&](std::size_t t) {
      // The piece and the byte before it.
      const std::uint64_t a = t * trozo;
      const std::uint64_t desde = a > 0 ? a - 1 : 0;
      const std::uint64_t b = std::min<std::uint64_t>(tam, a + trozo);
      const Ventana ventana(fd, base, desde, b);
      const auto* bytes = reinterpret_cast<const unsigned char*>(ventana.Bytes());
      std::uint64_t n = 0;
      std::uint64_t i = a - desde;
      if (a == 0) {  // the first byte of the file has no byte before it
        n = !BlancoPorComparacion(bytes[0]);
        i = 1;
      }
      if (i < b - desde) n += ContarTokens(bytes + i, b - desde - i);
      cuenta[t] = n;
    });
    return cuenta;
  }

  // Where the first byte that no number holds is, if any.
  std::optional<std::uint64_t> PrimerAjeno() const {
    constexpr std::uint64_t kBloque = std::uint64_t{1} << 24;
    for (std::uint64_t d = 0; d < tam; d += kBloque) {
      const std::uint64_t h = std::min(tam, d + kBloque);
      const Ventana ventana(fd, base, d, h);
      for (std::uint64_t i = 0; i < h - d; ++i)
        if (Clase(ventana.Bytes()[i]) == kAjeno) return d + i;
    }
    return std::nullopt;
  }

  // Second pass over the tokens that start before `hasta`: each converted into its place
  // y[primero[t]...] of the series, or only checked when y is null. A number belongs to the
  // piece where its first character is; each piece reads its own bytes, the one before them
  // and, after them, one more than the longest number taken.
  void Convertir(std::uint64_t hasta, double* y, const std::vector<std::uint64_t>& primero,
                 const std::vector<std::uint64_t>& cuenta) const {
    ParaCadaPieza(NumeroDePiezas(hasta, trozo), [&](std::size_t t) {
      const std::uint64_t a = t * trozo;
      const std::uint64_t desde = a > 0 ? a - 1 : 0;
      const std::uint64_t b = std::min<std::uint64_t>(hasta, a + trozo);
      const std::uint64_t visto = std::min<std::uint64_t>(tam, b + kNumeroMaximo + 1);
      const Ventana ventana(fd, base, desde, visto);
      const char* const inicio = ventana.Bytes();
      // A token that reaches `fin` before the end of the file is longer than any number.
      const char* const fin = inicio + (visto - desde);
      const char* const limite = inicio + (b - desde);
      const char* p = inicio + (a - desde);
      // The rest of a number that started in the piece before.
      if (a > 0 && !EsBlanco(p[-1]))
        while (p < limite && !EsBlanco(*p)) ++p;
      std::uint64_t i = y ? primero[t] : 0;
      const std::uint64_t ultimo = y ? primero[t] + cuenta[t] : ~std::uint64_t{0};
      for (;;) {
        while (p < limite && EsBlanco(*p)) ++p;
        if (p >= limite) break;
        if (i == ultimo) throw FicheroCambiado{};
        // Most numbers are whole tokens of the short form that DecimalExacto converts as it
        // finds their end; the others are delimited first and converted in the general way.
        double x;
        const char* q = DecimalExacto(p, fin, x);
        if (!q || (q < fin && !EsBlanco(*q)) ||
            static_cast<std::size_t>(q - p) > kNumeroMaximo) {
          // Delimited up to one byte beyond the longest number taken, which refuses it.
          const char* const tope = fin - p > static_cast<std::ptrdiff_t>(kNumeroMaximo)
                                       ? p + kNumeroMaximo + 1
                                       : fin;
          q = p;
          while (q < tope && !EsBlanco(*q)) ++q;
          if (static_cast<std::size_t>(q - p) > kNumeroMaximo || !ConvertirNumero(p, q, x))
            throw TokenMalo{desde + static_cast<std::uint64_t>(p - inicio)};
        }
        if (y) y[i] = x;
        ++i;
        p = q;
      }
      if (y && i != ultimo) throw FicheroCambiado{};
    });
  }

  // Start of the token that holds the byte at `posicion` (or of its last kNumeroMaximo + 1
  // bytes, which refuses it as well).
  std::uint64_t InicioDelToken(std::uint64_t posicion) const {
    const std::uint64_t desde = posicion - std::min<std::uint64_t>(posicion, kNumeroMaximo + 1);
    const Ventana ventana(fd, base, desde, posicion);
    std::uint64_t i = posicion - desde;
    while (i > 0 && !EsBlanco(ventana.Bytes()[i - 1])) --i;
    return desde + i;
  }

  // The refusal of the token that starts at `posicion`: its line (line ends before it,
  // plus one) and its first bytes.
  Rechazo Formato(std::uint64_t posicion) const {
    std::uint64_t linea = 1;
    constexpr std::uint64_t kBloque = std::uint64_t{1} << 24;
    for (std::uint64_t d = 0; d < posicion; d += kBloque) {
      const std::uint64_t h = std::min(posicion, d + kBloque);
      const Ventana ventana(fd, base, d, h);
      linea += static_cast<std::uint64_t>(
          std::count(ventana.Bytes(), ventana.Bytes() + (h - d), '\n'));
    }
    const std::uint64_t h = std::min<std::uint64_t>(tam, posicion + kTokenGuardado);
    const Ventana ventana(fd, base, posicion, h);
    return Rechazo{Rechazo::Motivo::Formato, linea,
                   TokenEn(ventana.Bytes(), ventana.Bytes() + (h - posicion))};
  }

  // The whole file: counted, then converted straight into its place in the series, on all
  // threads; the first token that is not a number stops the conversion. A file with too few
  // or too many tokens is refused for its first bad token if it has one: the one that holds
  // the first byte no number holds, unless a token before it is bad too.
  std::optional<Rechazo> LeerTodo(Vector& out) const {
    std::uint64_t malo = 0;  // where the first token that is not a number starts
    try {
      std::vector<std::uint64_t> cuenta;
      {
        TramoProgreso tramo(0.0, 0.2);
        cuenta = Contar();
      }
      std::uint64_t total = 0;
      std::vector<std::uint64_t> primero(cuenta.size());
      for (std::size_t t = 0; t < cuenta.size(); ++t) {
        primero[t] = total;
        total += cuenta[t];
      }
      if (total < 2 || total > kMuestrasMaximas) {
        if (const std::optional<std::uint64_t> ajeno = PrimerAjeno()) {
          const std::uint64_t inicio = InicioDelToken(*ajeno);
          TramoProgreso tramo(0.2, 1.0);
          Convertir(inicio, nullptr, {}, {});
          return Formato(inicio);
        }
        return Rechazar(total < 2 ? Rechazo::Motivo::Pocos : Rechazo::Motivo::Demasiados);
      }
      Vector datos(static_cast<std::uint32_t>(total));
      {
        TramoProgreso tramo(0.2, 1.0);
        Convertir(tam, datos.Datos(), primero, cuenta);
      }
      out = std::move(datos);
      return std::nullopt;
    } catch (const TokenMalo& e) {
      malo = e.posicion;
    } catch (const FicheroCambiado&) {
      return Rechazar(Rechazo::Motivo::Cambiado);
    }
    try {
      return Formato(malo);
    } catch (const FicheroCambiado&) {
      return Rechazar(Rechazo::Motivo::Cambiado);
    }
  }
};

// Whether the file is still the one whose state was `antes` (length and modification time).
bool MismoFichero(int fd, const struct stat& antes) {
  struct stat ahora {};
  return ::fstat(fd, &ahora) == 0 && ahora.st_size == antes.st_size &&
         ahora.st_mtim.tv_sec == antes.st_mtim.tv_sec &&
         ahora.st_mtim.tv_nsec == antes.st_mtim.tv_nsec;
}

}  // namespace

Vector ReadSampleFile(const std::string& path, std::string& mensaje, std::size_t trozo,
                      bool comoFlujo) {
  const bool entrada = path == "-";
  const int fd = entrada ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    mensaje = Mensaje(Rechazar(Rechazo::Motivo::Lectura), path);
    return Vector();
  }
  struct Cierre {
    int fd;
    ~Cierre() {
      if (fd != STDIN_FILENO) ::close(fd);
    }
  } cierre{fd};
  // A .npy file, told by its first bytes; only a regular file is looked at, so that a pipe
  // loses nothing and is opened once.
  struct stat st {};
  char magia[6];
  if (!entrada && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      ::pread(fd, magia, sizeof magia, 0) == static_cast<ssize_t>(sizeof magia) &&
      EsNpy(std::string_view(magia, sizeof magia)))
    return LeerNpy(path, mensaje);
  Vector datos;
  std::optional<Rechazo> rechazo = Rechazar(Rechazo::Motivo::Cambiado);
  const off_t base = entrada ? ::lseek(fd, 0, SEEK_CUR) : 0;
  const bool regular = !comoFlujo && trozo > 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                       base >= 0 && st.st_size >= base;
  if (regular) {
    const Regular fichero{fd, static_cast<std::uint64_t>(base),
                          static_cast<std::uint64_t>(st.st_size - base), trozo};
    rechazo = fichero.LeerTodo(datos);
    if (!MismoFichero(fd, st)) rechazo = Rechazar(Rechazo::Motivo::Cambiado);
  }
  // A stream, or a file that changed while it was read: once more, as a stream.
  if (rechazo && rechazo->motivo == Rechazo::Motivo::Cambiado) {
    if (regular && ::lseek(fd, base, SEEK_SET) < 0) {
      rechazo = Rechazar(Rechazo::Motivo::Lectura);
    } else {
      rechazo = LeerFlujo(fd, trozo > 0 ? trozo : kTrozoLectura, datos);
    }
  }
  if (rechazo) {
    mensaje = Mensaje(*rechazo, path);
    return Vector();
  }
  mensaje.clear();
  return datos;
}

Vector ReadSampleFile(const std::string& path, std::string& mensaje) {
  return ReadSampleFile(path, mensaje, kTrozoLectura);
}
// ------------------------------------------------------------------------------ Writing

char* FormatoMuestraEn(char* p, double x) {
  // General notation, 6 significant digits, exponent with sign and at least two digits:
  // the same text as printf("%g") in the C locale, whatever the process locale is.
  return std::to_chars(p, p + 32, x, std::chars_format::general, 6).ptr;
}

std::string FormatoMuestra(double x) {
  char b[32];
  return std::string(b, FormatoMuestraEn(b, x));
}

bool EscribirMuestras(FicheroAtomico& f, const double* x, std::size_t n) {
  constexpr std::size_t kPorBloque = 2048;
  char bloque[kPorBloque * 32];
  for (std::size_t i = 0; i < n; i += kPorBloque) {
    char* p = bloque;
    for (std::size_t k = i; k < n && k < i + kPorBloque; ++k) {
      p = FormatoMuestraEn(p, x[k]);
      *p++ = '\n';
    }
    if (!f.Escribir(std::string_view(bloque, static_cast<std::size_t>(p - bloque)))) return false;
  }
  return true;
}

bool WriteSampleFile(const Vector& v, const std::string& path, std::string& mensaje) {
  return EscribirFicheroAtomico(
      path,
      [&](FicheroAtomico& f) {
        return RutaNpy(path) ? EscribirNpy(f, v.Datos(), v.Longitud())
                             : EscribirMuestras(f, v.Datos(), v.Longitud());
      },
      mensaje);
}
