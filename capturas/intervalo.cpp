// Widths, series names and instants as text.
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "capturas/capturas.h"

namespace {

constexpr std::string_view kFormas =
    "escríbalo como un número entero positivo de nanosegundos con su unidad (10ms, 100us, "
    "250ns, 1s) o en segundos sin unidad (0.01)";

std::string Rechazo(std::string_view texto, std::string_view motivo) {
  std::string t = "el intervalo '" + std::string(texto) + "' no es válido";
  if (!motivo.empty()) t += " (" + std::string(motivo) + ")";
  return t + ": " + std::string(kFormas);
}

bool EsDigito(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::int64_t> LeerIntervalo(std::string_view texto, std::string& error) {
  std::size_t p = 0;
  const std::size_t iniEntera = p;
  while (p < texto.size() && EsDigito(texto[p])) ++p;
  const std::string_view entera = texto.substr(iniEntera, p - iniEntera);
  std::string_view fraccion;
  if (p < texto.size() && (texto[p] == '.' || texto[p] == ',')) {
    const std::size_t iniFraccion = ++p;
    while (p < texto.size() && EsDigito(texto[p])) ++p;
    fraccion = texto.substr(iniFraccion, p - iniFraccion);
  }
  if (entera.empty() && fraccion.empty()) {
    error = Rechazo(texto, "");
    return std::nullopt;
  }
  const std::string_view unidad = texto.substr(p);
  int exponente;  // nanoseconds per unit, as a power of ten
  if (unidad.empty() || unidad == "s") exponente = 9;
  else if (unidad == "ms") exponente = 6;
  else if (unidad == "us" || unidad == "\xc2\xb5s") exponente = 3;
  else if (unidad == "ns") exponente = 0;
  else {
    error = Rechazo(texto, "unidad desconocida '" + std::string(unidad) + "'");
    return std::nullopt;
  }
  // value = entera * 10^exponente + the first `exponente` decimals; later decimals must be 0.
  constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
  unsigned __int128 valor = 0;
  bool demasiado = false;
  for (char c : entera) {
    valor = valor * 10 + static_cast<unsigned>(c - '0');
    if (valor > kMax) demasiado = true, valor = kMax + 1;
  }
  for (int i = 0; i < exponente; ++i) {
    const unsigned cifra = i < static_cast<int>(fraccion.size()) ? fraccion[i] - '0' : 0;
    valor = valor * 10 + cifra;
    if (valor > kMax) demasiado = true, valor = kMax + 1;
  }
  for (std::size_t i = exponente; i < fraccion.size(); ++i) {
    if (fraccion[i] != '0') {
      error = Rechazo(texto, "no es un número entero de nanosegundos");
      return std::nullopt;
    }
  }
  if (demasiado) {
    error = Rechazo(texto, "demasiado grande");
    return std::nullopt;
  }
  if (valor == 0) {
    error = Rechazo(texto, "es cero");
    return std::nullopt;
  }
  error.clear();
  return static_cast<std::int64_t>(valor);
}

std::string NombreIntervalo(std::int64_t intervalo) {
  struct Unidad {
    std::int64_t ns;
    const char* nombre;
  };
  constexpr Unidad unidades[] = {{1'000'000'000, "s"}, {1'000'000, "ms"}, {1'000, "us"}};
  for (const Unidad& u : unidades)
    if (intervalo % u.ns == 0) return std::to_string(intervalo / u.ns) + u.nombre;
  return std::to_string(intervalo) + "ns";
}

std::string NombreSerieCaptura(std::string_view ruta, bool bytes, std::int64_t intervalo) {
  const std::size_t barra = ruta.find_last_of("/\\");
  std::string nombre(barra == std::string_view::npos ? ruta : ruta.substr(barra + 1));
  auto terminaEn = [&](std::string_view ext) {
    if (nombre.size() <= ext.size()) return false;
    for (std::size_t i = 0; i < ext.size(); ++i) {
      char c = nombre[nombre.size() - ext.size() + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != ext[i]) return false;
    }
    return true;
  };
  for (std::string_view ext : {".gz", ".zst", ".zstd"}) {
    if (terminaEn(ext)) {
      nombre.resize(nombre.size() - ext.size());
      break;
    }
  }
  const std::size_t punto = nombre.rfind('.');
  if (punto != std::string::npos && punto > 0) nombre.resize(punto);
  return nombre + (bytes ? "_bytes_" : "_paquetes_") + NombreIntervalo(intervalo);
}

int DecimalesIntervalo(std::int64_t intervalo) {
  int decimales = 9;
  for (std::int64_t p = 10; decimales > 0 && intervalo % p == 0; p *= 10) --decimales;
  return decimales;
}

std::string FechaHoraUtc(std::int64_t instante, int decimales) {
  constexpr std::int64_t kSegundo = 1'000'000'000;
  std::int64_t segundos = instante / kSegundo;
  std::int64_t resto = instante % kSegundo;
  if (resto < 0) {
    resto += kSegundo;
    --segundos;
  }
  const std::time_t t = static_cast<std::time_t>(segundos);
  std::tm momento{};
  char buf[64];
  std::string texto;
  if (gmtime_r(&t, &momento) && std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &momento) > 0)
    texto = buf;
  else
    texto = std::to_string(segundos) + " s";
  if (decimales > 0) {
    std::string fraccion = std::to_string(resto);
    fraccion.insert(0, 9 - fraccion.size(), '0');
    texto += "." + fraccion.substr(0, static_cast<std::size_t>(decimales > 9 ? 9 : decimales));
  }
  return texto + " UTC";
}
