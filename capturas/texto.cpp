// Text packet traces: a line per packet with its time in seconds and its size in bytes,
// separated by blanks; blank lines and comments ('#' to the end of the line) are skipped.
// Times go from their decimal digits straight to integer nanoseconds (digits past the ninth
// decimal are dropped), never through floating point.
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "capturas/lectura.h"

namespace {

constexpr std::size_t kBloque = 1 << 20;
constexpr std::size_t kMaxLinea = 64 * 1024;

bool EsBlanco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool EsDigito(char c) { return c >= '0' && c <= '9'; }

// "252.080748" -> 252080748000.
bool LeerTiempo(std::string_view s, std::int64_t& t) {
  std::size_t p = 0;
  unsigned __int128 v = 0;
  constexpr unsigned __int128 kMax = std::numeric_limits<std::int64_t>::max();
  bool cifras = false;
  for (; p < s.size() && EsDigito(s[p]); ++p) {
    v = v * 10 + static_cast<unsigned>(s[p] - '0');
    if (v > kMax) return false;
    cifras = true;
  }
  v *= 1'000'000'000;
  if (p < s.size() && s[p] == '.') {
    ++p;
    unsigned __int128 escala = 100'000'000;
    for (; p < s.size() && EsDigito(s[p]); ++p) {
      v += escala * static_cast<unsigned>(s[p] - '0');
      escala /= 10;
      cifras = true;
    }
  }
  if (!cifras || p != s.size() || v > kMax) return false;
  t = static_cast<std::int64_t>(v);
  return true;
}

bool LeerTamano(std::string_view s, std::uint64_t& n) {
  if (s.empty()) return false;
  unsigned __int128 v = 0;
  for (char c : s) {
    if (!EsDigito(c)) return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > std::numeric_limits<std::uint64_t>::max()) return false;
  }
  n = static_cast<std::uint64_t>(v);
  return true;
}

std::string Muestra(std::string_view s) {
  std::string t(s.substr(0, 60));
  if (s.size() > 60) t += "...";
  return t;
}

class LectorTexto {
 public:
  LectorTexto(Fuente& f, Contexto& c) : f_(f), c_(c) {}

  void Linea(std::string_view linea) {
    ++numero_;
    if (numero_ == 1 && linea.substr(0, 3) == "\xEF\xBB\xBF") linea.remove_prefix(3);
    const std::size_t almohadilla = linea.find('#');
    if (almohadilla != std::string_view::npos) linea = linea.substr(0, almohadilla);
    std::string_view campos[3];
    int n = 0;
    std::size_t p = 0;
    while (p < linea.size()) {
      while (p < linea.size() && EsBlanco(linea[p])) ++p;
      if (p == linea.size()) break;
      const std::size_t inicio = p;
      while (p < linea.size() && !EsBlanco(linea[p])) ++p;
      if (n < 3) campos[n] = linea.substr(inicio, p - inicio);
      ++n;
    }
    if (n == 0) return;
    if (n != 2)
      Error("se esperaban dos campos, el tiempo en segundos y el tamaño en bytes, y hay " + std::to_string(n) +
            " ('" + Muestra(linea) + "')");
    std::int64_t t;
    std::uint64_t tamano;
    if (!LeerTiempo(campos[0], t))
      Error("el tiempo '" + Muestra(campos[0]) + "' no es un número de segundos no negativo con punto decimal");
    if (!LeerTamano(campos[1], tamano))
      Error("el tamaño '" + Muestra(campos[1]) + "' no es un número entero de bytes");
    ++c_.leidos;
    c_.acumulador.Sumar(t, c_.opciones.bytes ? tamano : 1);
  }

  [[noreturn]] void Error(const std::string& que) {
    throw ErrorCaptura{"La traza de texto '" + f_.Ruta() + "' no tiene el formato adecuado en la línea " +
                       std::to_string(numero_) + ": " + que};
  }

  void Leer() {
    Bufer b(kBloque + kMaxLinea);
    for (;;) {
      const char* datos = reinterpret_cast<const char*>(b.datos.data());
      const char* p = datos + b.pos;
      const char* const fin = datos + b.fin;
      while (const void* salto = std::memchr(p, '\n', static_cast<std::size_t>(fin - p))) {
        const char* s = static_cast<const char*>(salto);
        Linea(std::string_view(p, static_cast<std::size_t>(s - p)));
        p = s + 1;
      }
      b.pos = static_cast<std::size_t>(p - datos);
      if (b.Disponibles() > kMaxLinea) {
        ++numero_;
        Error("la línea mide más de " + std::to_string(kMaxLinea) + " bytes");
      }
      if (!b.Rellenar(f_)) break;
      c_.Avanzar(f_);
    }
    if (b.Disponibles() > 0)
      Linea(std::string_view(reinterpret_cast<const char*>(b.datos.data()) + b.pos, b.Disponibles()));
    c_.Avanzar(f_);
  }

 private:
  Fuente& f_;
  Contexto& c_;
  std::uint64_t numero_ = 0;
};

}  // namespace

void LeerTexto(Fuente& f, Contexto& c) {
  LectorTexto lector(f, c);
  lector.Leer();
}
