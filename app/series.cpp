#include "app/series.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string SeriesNameFromPath(std::string_view path) {
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

// White space as scanf skips it in the C locale: blank, tab, line ends, form feed.
constexpr std::array<bool, 256> kBlancos = [] {
  std::array<bool, 256> t{};
  for (unsigned char c : {' ', '\n', '\t', '\r', '\v', '\f'}) t[c] = true;
  return t;
}();

inline bool EsBlanco(char c) { return kBlancos[static_cast<unsigned char>(c)]; }

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

// Converts the number at p, which must end at `fin` or at white space. Returns the end of
// the number, or nullptr unless it is one finite decimal number.
const char* ConvertirNumero(const char* p, const char* fin, double& valor) {
  const char* inicio = p;
  if (*p == '+') {
    ++p;
    if (p == fin || *p == '-') return nullptr;
  }
  const auto r = std::from_chars(p, fin, valor, std::chars_format::general);
  if (r.ptr == p || (r.ptr != fin && !EsBlanco(*r.ptr))) return nullptr;
  if (r.ec == std::errc::result_out_of_range) {
    if (!Subdesborda(inicio, r.ptr)) return nullptr;  // e.g. 1e999
    valor = (*p == '-') ? -0.0 : 0.0;
    return r.ptr;
  }
  if (r.ec != std::errc() || !std::isfinite(valor)) return nullptr;
  return r.ptr;
}

// Reads the whole file into memory. False when it cannot be opened or read.
bool LeerFichero(const std::string& path, std::unique_ptr<char[]>& buffer, std::size_t& tam) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  std::size_t capacidad = 1 << 16;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    capacidad = static_cast<std::size_t>(st.st_size) + 1;
  buffer = std::make_unique_for_overwrite<char[]>(capacidad);
  tam = 0;
  for (;;) {
    if (tam == capacidad) {  // the file grew or its size was unknown
      auto mayor = std::make_unique_for_overwrite<char[]>(capacidad * 2);
      std::copy(buffer.get(), buffer.get() + tam, mayor.get());
      buffer = std::move(mayor);
      capacidad *= 2;
    }
    const ssize_t leidos = ::read(fd, buffer.get() + tam, capacidad - tam);
    if (leidos < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (leidos == 0) break;
    tam += static_cast<std::size_t>(leidos);
  }
  ::close(fd);
  return true;
}

}  // namespace

bool ParseSamples(std::string_view text, Vector& out) {
  const char* p = text.data();
  const char* const fin = p + text.size();

  // Counting pass: the number of white-space separated tokens, so that the series is
  // allocated once at its exact length.
  std::size_t tokens = 0;
  bool enBlanco = true;
  for (const char* q = p; q < fin; ++q) {
    const bool blanco = EsBlanco(*q);
    tokens += enBlanco & !blanco;
    enBlanco = blanco;
  }
  if (tokens < 2 || tokens > 0xFFFFFFFFu) return false;

  // Reading pass: every token must be one finite number.
  Vector datos(static_cast<std::uint32_t>(tokens));
  double* y = datos.Datos();
  for (std::size_t i = 0; i < tokens; ++i) {
    while (EsBlanco(*p)) ++p;  // a token follows, so this stops inside the text
    p = ConvertirNumero(p, fin, y[i]);
    if (!p) return false;
  }
  out = std::move(datos);
  return true;
}

namespace {

// Bytes of a regular file read by each piece of the parallel reader.
constexpr std::size_t kTrozoLectura = std::size_t{1} << 22;

// Per-thread buffer of the parallel reader's pieces.
thread_local std::vector<char> bufferLectura;

// What one piece of the parallel reader finds.
enum class Lectura { Bien, ErrorLectura, Formato, Cambiado };

// Reads up to `cuantos` bytes of fd from `desde` into buf (resized to what was read).
bool LeerTramo(int fd, std::uint64_t desde, std::size_t cuantos, std::vector<char>& buf) {
  buf.resize(cuantos);
  std::size_t leidos = 0;
  while (leidos < cuantos) {
    const ssize_t r = ::pread(fd, buf.data() + leidos, cuantos - leidos,
                              static_cast<off_t>(desde + leidos));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) break;
    leidos += static_cast<std::size_t>(r);
  }
  buf.resize(leidos);
  return true;
}

// A regular file of `tam` bytes read in pieces of `trozo` bytes on all threads: a first
// pass counts the numbers that start in each piece, a second converts them straight into
// their place in the series. A number belongs to the piece where its first character is.
// The file is never held whole in memory.
Lectura LeerPorTrozos(int fd, std::uint64_t tam, std::size_t trozo, Vector& out) {
  const std::size_t piezas = NumeroDePiezas(tam, trozo);
  std::vector<std::uint64_t> cuenta(piezas, 0);
  std::vector<Lectura> estado(piezas, Lectura::Bien);
  {
    TramoProgreso tramo(0.0, 0.2);
    ParaCadaPieza(piezas, [&](std::size_t t) {
      // The piece and the byte before it: a number starts after a blank or at the start.
      const std::uint64_t a = t * trozo;
      const std::uint64_t desde = a > 0 ? a - 1 : 0;
      const std::uint64_t b = std::min<std::uint64_t>(tam, a + trozo);
      std::vector<char>& buf = bufferLectura;
      if (!LeerTramo(fd, desde, b - desde, buf)) {
        estado[t] = Lectura::ErrorLectura;
        return;
      }
      if (buf.size() != b - desde) {
        estado[t] = Lectura::Cambiado;
        return;
      }
      bool enBlanco = a == 0 || EsBlanco(buf[0]);
      std::uint64_t n = 0;
      for (std::size_t i = a - desde; i < buf.size(); ++i) {
        const bool blanco = EsBlanco(buf[i]);
        n += enBlanco & !blanco;
        enBlanco = blanco;
      }
      cuenta[t] = n;
    });
  }
  std::vector<char>().swap(bufferLectura);
  for (const Lectura e : estado)
    if (e != Lectura::Bien) return e;
  std::uint64_t total = 0;
  std::vector<std::uint64_t> primero(piezas);
  for (std::size_t t = 0; t < piezas; ++t) {
    primero[t] = total;
    total += cuenta[t];
  }
  if (total < 2 || total > 0xFFFFFFFFu) return Lectura::Formato;

  Vector datos(static_cast<std::uint32_t>(total));
  double* y = datos.Datos();
  TramoProgreso tramo(0.2, 1.0);
  ParaCadaPieza(piezas, [&](std::size_t t) {
    const std::uint64_t a = t * trozo;
    const std::uint64_t desde = a > 0 ? a - 1 : 0;
    const std::uint64_t b = std::min<std::uint64_t>(tam, a + trozo);
    // The piece, the byte before it and some bytes after it for its last number; more are
    // read when that number goes on beyond them.
    std::size_t margen = 64;
    std::vector<char>& buf = bufferLectura;
    for (;;) {
      const std::uint64_t hasta = std::min<std::uint64_t>(tam, b + margen);
      if (!LeerTramo(fd, desde, hasta - desde, buf)) {
        estado[t] = Lectura::ErrorLectura;
        return;
      }
      if (buf.size() != hasta - desde) {
        estado[t] = Lectura::Cambiado;
        return;
      }
      // Complete when the bytes read end in a blank after the piece, or at the end.
      bool completo = hasta == tam;
      for (std::size_t i = b - desde; i < buf.size() && !completo; ++i) completo = EsBlanco(buf[i]);
      if (completo || b == desde) break;
      margen *= 4;
    }
    const char* inicio = buf.data();
    const char* fin = inicio + buf.size();
    const char* limite = inicio + (b - desde);
    const char* p = inicio + (a - desde);
    // The rest of a number that started in the piece before.
    if (a > 0 && !EsBlanco(buf[0]))
      while (p < limite && !EsBlanco(*p)) ++p;
    std::uint64_t i = primero[t];
    const std::uint64_t ultimo = primero[t] + cuenta[t];
    for (;;) {
      while (p < limite && EsBlanco(*p)) ++p;
      if (p >= limite) break;
      if (i == ultimo) {
        estado[t] = Lectura::Cambiado;
        return;
      }
      const char* q = p;
      while (q < fin && !EsBlanco(*q)) ++q;
      if (!ConvertirNumero(p, q, y[i])) {
        estado[t] = Lectura::Formato;
        return;
      }
      ++i;
      p = q;
    }
    if (i != ultimo) estado[t] = Lectura::Cambiado;
  });
  std::vector<char>().swap(bufferLectura);
  for (const Lectura e : estado)
    if (e != Lectura::Bien) return e;
  out = std::move(datos);
  return Lectura::Bien;
}

}  // namespace

Vector ReadSampleFile(const std::string& path, std::string& mensaje, std::size_t trozo) {
  const std::string noPuedo = "No puedo leer el fichero\n'" + path + "'";
  const std::string formato = "El fichero '" + path + "' no tiene el formato adecuado";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    mensaje = noPuedo;
    return Vector();
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && trozo > 0) {
    Vector datos;
    Lectura r;
    try {
      r = LeerPorTrozos(fd, static_cast<std::uint64_t>(st.st_size), trozo, datos);
    } catch (...) {
      ::close(fd);
      throw;
    }
    ::close(fd);
    if (r == Lectura::Bien) {
      mensaje.clear();
      return datos;
    }
    if (r == Lectura::ErrorLectura) {
      mensaje = noPuedo;
      return Vector();
    }
    if (r == Lectura::Formato) {
      mensaje = formato;
      return Vector();
    }
    // The file changed while it was read: read it again in one go.
  } else {
    ::close(fd);
  }
  std::unique_ptr<char[]> buffer;
  std::size_t tam = 0;
  if (!LeerFichero(path, buffer, tam)) {
    mensaje = noPuedo;
    return Vector();
  }
  Vector datos;
  if (!ParseSamples(std::string_view(buffer.get(), tam), datos)) {
    mensaje = formato;
    return Vector();
  }
  mensaje.clear();
  return datos;
}

Vector ReadSampleFile(const std::string& path, std::string& mensaje) {
  return ReadSampleFile(path, mensaje, kTrozoLectura);
}

// ------------------------------------------------------------------------------ Writing

char* FormatSampleTo(char* p, double x) {
  // General notation, 6 significant digits, exponent with sign and at least two digits:
  // the same text as printf("%g") in the C locale, whatever the process locale is.
  return std::to_chars(p, p + 32, x, std::chars_format::general, 6).ptr;
}

std::string FormatSample(double x) {
  char b[32];
  return std::string(b, FormatSampleTo(b, x));
}

bool WriteSampleFile(const Vector& v, const std::string& path, std::string& mensaje) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    mensaje = "No puedo guardar el fichero\n'" + path + "'";
    return false;
  }
  constexpr std::size_t kBloque = 1 << 16;
  auto buffer = std::make_unique_for_overwrite<char[]>(kBloque + 64);
  char* p = buffer.get();
  bool ok = true;
  const double* x = v.Datos();
  for (std::uint32_t i = 0; i < v.Longitud() && ok; ++i) {
    p = FormatSampleTo(p, x[i]);
    *p++ = '\n';
    if (static_cast<std::size_t>(p - buffer.get()) >= kBloque) {
      ok = std::fwrite(buffer.get(), 1, p - buffer.get(), f) == static_cast<std::size_t>(p - buffer.get());
      p = buffer.get();
    }
  }
  if (ok && p != buffer.get())
    ok = std::fwrite(buffer.get(), 1, p - buffer.get(), f) == static_cast<std::size_t>(p - buffer.get());
  // A failed write or close (disk full) is reported as well: the file is incomplete.
  if (std::fclose(f) != 0) ok = false;
  if (!ok) {
    mensaje = "No puedo guardar el fichero\n'" + path + "'";
    return false;
  }
  mensaje.clear();
  return true;
}
