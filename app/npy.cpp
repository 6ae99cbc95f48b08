#include "app/npy.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "app/formato.h"

namespace {

constexpr std::string_view kMagia("\x93NUMPY", 6);

enum class Tipo { F8, F4, I8, I4 };

struct Cabecera {
  Tipo tipo = Tipo::F8;
  bool grande = false;  // big-endian
  std::uint64_t n = 0;
  std::size_t inicio = 0;  // offset of the first sample
};

std::string_view SinBlancos(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n')) s.remove_suffix(1);
  return s;
}

// The value of a key of the header's Python dict literal, up to the next top-level comma
// or the closing brace; nullopt when the key is absent.
std::optional<std::string_view> Valor(std::string_view dict, std::string_view clave) {
  for (const char comilla : {'\'', '"'}) {
    const std::string buscada = std::string(1, comilla) + std::string(clave) + comilla;
    const std::size_t p = dict.find(buscada);
    if (p == std::string_view::npos) continue;
    std::size_t i = dict.find(':', p + buscada.size());
    if (i == std::string_view::npos) return std::nullopt;
    ++i;
    int parentesis = 0;
    std::size_t j = i;
    for (; j < dict.size(); ++j) {
      const char c = dict[j];
      if (c == '(') ++parentesis;
      if (c == ')') --parentesis;
      if (parentesis == 0 && (c == ',' || c == '}')) break;
    }
    return SinBlancos(dict.substr(i, j - i));
  }
  return std::nullopt;
}

// Reads the header; an empty string on success, else what is wrong.
std::string LeerCabecera(const unsigned char* p, std::size_t tamano, Cabecera& c) {
  if (tamano < 10 || std::string_view(reinterpret_cast<const char*>(p), 6) != kMagia)
    return "no empieza como un fichero .npy";
  const int version = p[6];
  std::size_t longitud = 0, base = 0;
  if (version == 1) {
    longitud = p[8] | (static_cast<std::size_t>(p[9]) << 8);
    base = 10;
  } else if (version == 2 || version == 3) {
    if (tamano < 12) return "la cabecera está incompleta";
    longitud = p[8] | (static_cast<std::size_t>(p[9]) << 8) | (static_cast<std::size_t>(p[10]) << 16) |
               (static_cast<std::size_t>(p[11]) << 24);
    base = 12;
  } else {
    return "versión " + std::to_string(version) + " del formato .npy, que no se conoce";
  }
  if (longitud > tamano - base) return "la cabecera está incompleta";
  const std::string_view dict(reinterpret_cast<const char*>(p + base), longitud);
  const auto descr = Valor(dict, "descr");
  const auto orden = Valor(dict, "fortran_order");
  const auto forma = Valor(dict, "shape");
  if (!descr || !orden || !forma) return "la cabecera no dice el tipo, el orden y la forma";
  std::string_view d = *descr;
  if (d.size() < 2 || (d.front() != '\'' && d.front() != '"') || d.back() != d.front())
    return "el tipo " + std::string(d) + " no es de un solo número";
  d = d.substr(1, d.size() - 2);
  static constexpr struct {
    const char* texto;
    Tipo tipo;
  } kTipos[] = {{"f8", Tipo::F8}, {"f4", Tipo::F4}, {"i8", Tipo::I8}, {"i4", Tipo::I4}};
  bool conocido = false;
  if (d.size() == 3 && (d[0] == '<' || d[0] == '>' || d[0] == '=')) {
    for (const auto& t : kTipos) {
      if (d.substr(1) == t.texto) {
        c.tipo = t.tipo;
        c.grande = d[0] == '>' || (d[0] == '=' && std::endian::native == std::endian::big);
        conocido = true;
      }
    }
  }
  if (!conocido)
    return "sus muestras son de tipo '" + std::string(d) +
           "' (se leen float64, float32, int64 e int32)";
  // A one-dimensional shape: "(N,)"; Fortran order is the same for one dimension.
  std::string_view f = *forma;
  if (f.size() < 3 || f.front() != '(' || f.back() != ')') return "la forma " + std::string(f) + " no se entiende";
  f = SinBlancos(f.substr(1, f.size() - 2));
  if (!f.empty() && f.back() == ',') f = SinBlancos(f.substr(0, f.size() - 1));
  std::uint64_t n = 0;
  if (f.empty() || f.find(',') != std::string_view::npos)
    return "tiene la forma (" + std::string(*forma).substr(1) + " y una serie tiene una sola dimensión";
  for (const char ch : f) {
    if (ch < '0' || ch > '9') return "la forma " + std::string(*forma) + " no se entiende";
    if (n > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) return "la forma " + std::string(*forma) + " no se entiende";
    n = n * 10 + static_cast<std::uint64_t>(ch - '0');
  }
  c.n = n;
  c.inicio = base + longitud;
  return "";
}

std::size_t Tamano(Tipo t) { return t == Tipo::F8 || t == Tipo::I8 ? 8 : 4; }

template <class T>
T Leer(const unsigned char* p, bool grande) {
  using U = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
  U u;
  std::memcpy(&u, p, sizeof u);
  if (grande != (std::endian::native == std::endian::big)) {
    if constexpr (sizeof(U) == 8) u = __builtin_bswap64(u);
    else u = __builtin_bswap32(u);
  }
  return std::bit_cast<T>(u);
}

// Converts the n samples at p into y; the index of the first non-finite one, or n.
template <class T>
std::uint64_t Convertir(const unsigned char* p, std::uint64_t n, bool grande, double* y) {
  for (std::uint64_t i = 0; i < n; ++i) {
    const double x = static_cast<double>(Leer<T>(p + i * sizeof(T), grande));
    if constexpr (std::is_floating_point_v<T>) {
      if (!std::isfinite(x)) return i;
    }
    y[i] = x;
  }
  return n;
}

struct Mapa {
  const unsigned char* p = nullptr;
  std::size_t tamano = 0;
  ~Mapa() {
    if (p) munmap(const_cast<unsigned char*>(p), tamano);
  }
};

}  // namespace

bool EsNpy(std::string_view primeros) { return primeros.substr(0, kMagia.size()) == kMagia; }

bool FicheroEsNpy(const std::string& ruta) {
  const int fd = open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  char b[6];
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  const bool es = regular && pread(fd, b, sizeof b, 0) == static_cast<ssize_t>(sizeof b) &&
                  EsNpy(std::string_view(b, sizeof b));
  close(fd);
  return es;
}

bool RutaNpy(std::string_view ruta) {
  if (ruta.size() < 4) return false;
  std::string fin(ruta.substr(ruta.size() - 4));
  for (char& c : fin) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return fin == ".npy";
}

Vector LeerNpy(const std::string& ruta, std::string& mensaje) {
  const std::string noLeo = "No puedo leer el fichero\n'" + ruta + "'";
  const std::string formato = "El fichero '" + ruta + "' no tiene el formato adecuado";
  const int fd = open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    mensaje = noLeo;
    return Vector();
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) {
    close(fd);
    mensaje = st.st_size == 0 ? formato : noLeo;
    return Vector();
  }
  Mapa mapa;
  mapa.tamano = static_cast<std::size_t>(st.st_size);
  void* m = mmap(nullptr, mapa.tamano, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (m == MAP_FAILED) {
    mensaje = noLeo;
    return Vector();
  }
  mapa.p = static_cast<const unsigned char*>(m);
  madvise(m, mapa.tamano, MADV_SEQUENTIAL);

  Cabecera c;
  std::string fallo = LeerCabecera(mapa.p, mapa.tamano, c);
  const std::size_t bytes = Tamano(c.tipo);
  if (fallo.empty() && (c.n > (mapa.tamano - c.inicio) / bytes || c.n * bytes != mapa.tamano - c.inicio))
    fallo = "su cabecera anuncia " + FormatoI(static_cast<long long>(c.n)) +
            " muestras y el fichero tiene sitio para " +
            FormatoI(static_cast<long long>((mapa.tamano - c.inicio) / bytes));
  if (fallo.empty() && c.n < 2) fallo = "tiene menos de dos muestras";
  if (fallo.empty() && c.n > std::numeric_limits<std::uint32_t>::max())
    fallo = "tiene más muestras de las que caben en una serie (" +
            FormatoI(std::numeric_limits<std::uint32_t>::max()) + ")";
  if (!fallo.empty()) {
    mensaje = formato + ":\n" + fallo;
    return Vector();
  }
  Vector serie(static_cast<std::uint32_t>(c.n));
  const unsigned char* datos = mapa.p + c.inicio;
  std::uint64_t malo = c.n;
  switch (c.tipo) {
    case Tipo::F8: malo = Convertir<double>(datos, c.n, c.grande, serie.Datos()); break;
    case Tipo::F4: malo = Convertir<float>(datos, c.n, c.grande, serie.Datos()); break;
    case Tipo::I8: malo = Convertir<std::int64_t>(datos, c.n, c.grande, serie.Datos()); break;
    case Tipo::I4: malo = Convertir<std::int32_t>(datos, c.n, c.grande, serie.Datos()); break;
  }
  if (malo != c.n) {
    mensaje = formato + ":\nla muestra " + FormatoI(static_cast<long long>(malo + 1)) +
              " no es un número finito";
    return Vector();
  }
  mensaje.clear();
  return serie;
}

std::string CabeceraNpy(std::uint64_t n, const char* descr) {
  std::string dict = "{'descr': '" + std::string(descr) + "', 'fortran_order': False, 'shape': (" +
                     std::to_string(n) + ",), }";
  // Magic, version, header length, dict, spaces and a newline up to a multiple of 64 bytes.
  const bool v2 = dict.size() + 1 + 10 > 65535;
  const std::size_t base = v2 ? 12 : 10;
  const std::size_t total = (base + dict.size() + 1 + 63) / 64 * 64;
  dict.append(total - base - dict.size() - 1, ' ');
  dict += '\n';
  std::string c(kMagia);
  c += static_cast<char>(v2 ? 2 : 1);
  c += '\0';
  const std::size_t l = dict.size();
  c += static_cast<char>(l & 0xff);
  c += static_cast<char>((l >> 8) & 0xff);
  if (v2) {
    c += static_cast<char>((l >> 16) & 0xff);
    c += static_cast<char>((l >> 24) & 0xff);
  }
  return c + dict;
}

namespace {

// The 8-byte samples, little-endian, in blocks.
template <class T>
bool EscribirDatosNpy(FicheroAtomico& f, const T* x, std::size_t n) {
  static_assert(sizeof(T) == 8);
  constexpr std::size_t kPorBloque = 8192;
  std::uint64_t bloque[kPorBloque];
  for (std::size_t i = 0; i < n; i += kPorBloque) {
    const std::size_t m = std::min(kPorBloque, n - i);
    std::memcpy(bloque, x + i, m * 8);
    if constexpr (std::endian::native == std::endian::big)
      for (std::size_t k = 0; k < m; ++k) bloque[k] = __builtin_bswap64(bloque[k]);
    if (!f.Escribir(std::string_view(reinterpret_cast<const char*>(bloque), m * 8))) return false;
  }
  return true;
}

}  // namespace

bool EscribirNpy(FicheroAtomico& f, const double* x, std::size_t n) {
  return f.Escribir(CabeceraNpy(n, "<f8")) && EscribirDatosNpy(f, x, n);
}

bool EscribirMuestrasNpy(FicheroAtomico& f, const double* x, std::size_t n) {
  return EscribirDatosNpy(f, x, n);
}

bool EscribirNpy(FicheroAtomico& f, const std::uint64_t* x, std::size_t n) {
  return f.Escribir(CabeceraNpy(n, "<i8")) && EscribirDatosNpy(f, x, n);
}
