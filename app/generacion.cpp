#include "app/generacion.h"

#include "app/formato.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool EsBlanco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view SinBlancos(std::string_view texto) {
  while (!texto.empty() && EsBlanco(texto.front())) texto.remove_prefix(1);
  while (!texto.empty() && EsBlanco(texto.back())) texto.remove_suffix(1);
  return texto;
}

// Shortest text that reads back as x, with a point.
std::string Numero(double x) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, x);
  return std::string(buffer, r.ptr);
}

std::string NoEsNumero(const char* campo, std::string_view texto) {
  return std::string("El valor de ") + campo + " no es un número: '" + std::string(texto) + "'";
}

}  // namespace

std::optional<std::uint64_t> LeerNatural(std::string_view texto) {
  texto = SinBlancos(texto);
  if (texto.empty()) return std::nullopt;
  for (char c : texto)
    if (c < '0' || c > '9') return std::nullopt;
  std::uint64_t valor = 0;
  const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
  if (r.ec != std::errc() || r.ptr != texto.data() + texto.size()) return std::nullopt;
  return valor;
}

std::optional<std::uint64_t> LeerLongitud(std::string_view texto) {
  if (const std::optional<std::uint64_t> n = LeerNatural(texto)) return n;
  const std::optional<double> x = LeerDecimal(texto);
  // Every whole double below 2^63 converts exactly.
  if (!x || *x < 0.0 || *x >= 0x1p63 || std::floor(*x) != *x) return std::nullopt;
  return static_cast<std::uint64_t>(*x);
}

std::string LeerParametrosGeneracion(const TextosGeneracion& t, ParametrosGenerador& p) {
  p = ParametrosGenerador{};
  p.modelo = t.modelo;
  struct Decimal {
    bool usado;
    const char* campo;
    const std::string& texto;
    double& destino;
  };
  const bool farima = t.modelo == ModeloGenerador::Farima;
  const Decimal decimales[] = {
      {t.modelo == ModeloGenerador::Fgn, "H", t.H, p.H},
      {farima, "d", t.d, p.d},
      {farima, "φ", t.phi, p.phi},
      {farima, "θ", t.theta, p.theta},
      {true, "la media", t.media, p.media},
      {true, "la desviación típica", t.desviacion, p.desviacion},
  };
  for (const Decimal& campo : decimales) {
    if (!campo.usado) continue;
    const std::optional<double> valor = LeerDecimal(campo.texto);
    if (!valor) return NoEsNumero(campo.campo, campo.texto);
    campo.destino = *valor;
  }
  const std::optional<std::uint64_t> n = LeerLongitud(t.longitud);
  if (!n) return "La longitud de la serie debe ser un número entero\nmayor o igual que 2";
  p.n = *n;
  const std::optional<std::uint64_t> semilla = LeerNatural(t.semilla);
  if (!semilla)
    return "La semilla debe ser un número entero entre 0 y " +
           std::to_string(std::numeric_limits<std::uint64_t>::max());
  p.semilla = *semilla;
  return MensajeGenerador(ValidarGenerador(p), p);
}

std::string NombreSerieGenerada(const ParametrosGenerador& p) {
  std::string nombre;
  switch (p.modelo) {
    case ModeloGenerador::Fgn:
      nombre = "fgn_H" + Numero(p.H);
      break;
    case ModeloGenerador::Farima:
      nombre = "farima_d" + Numero(p.d);
      if (p.phi != 0.0) nombre += "_phi" + Numero(p.phi);
      if (p.theta != 0.0) nombre += "_theta" + Numero(p.theta);
      break;
    case ModeloGenerador::Ruido:
      nombre = "ruido";
      break;
  }
  nombre += "_n" + std::to_string(p.n) + "_s" + std::to_string(p.semilla);
  if (p.media != 0.0) nombre += "_m" + Numero(p.media);
  if (p.desviacion != 1.0) nombre += "_dt" + Numero(p.desviacion);
  return nombre;
}

std::string GenerarSerieSintetica(const ParametrosGenerador& p, Vector& datos) {
  return MensajeGenerador(GenerarSerie(p, datos), p);
}

std::vector<std::string> LineasSerieGenerada(const ParametrosGenerador& p,
                                             const std::string& nombre, char separador) {
  const auto G = [separador](double x) { return FormatoG(x, separador); };
  const std::string sangria = "      ";
  std::vector<std::string> lineas = {"Serie generada: " + nombre};
  switch (p.modelo) {
    case ModeloGenerador::Fgn:
      lineas.push_back("Modelo FGN (ruido fraccionario gaussiano). Parámetros:");
      lineas.push_back(sangria + "Parámetro de Hurst H: " + G(p.H));
      break;
    case ModeloGenerador::Farima:
      lineas.push_back("Modelo FARIMA (p, d, q). Parámetros:");
      lineas.push_back(sangria + "Diferencia fraccionaria d: " + G(p.d) + " (H = " +
                       G(HDelModelo(p)) + ")");
      lineas.push_back(sangria + "Coeficiente AR: " + G(p.phi));
      lineas.push_back(sangria + "Coeficiente MA: " + G(p.theta));
      break;
    case ModeloGenerador::Ruido:
      lineas.push_back("Modelo de ruido blanco gaussiano (H = " + G(0.5) + "). Parámetros:");
      break;
  }
  lineas.push_back(sangria + "Longitud: " + FormatoI(static_cast<long long>(p.n)));
  lineas.push_back(sangria + "Media: " + G(p.media));
  lineas.push_back(sangria + "Desviación típica: " + G(p.desviacion));
  lineas.push_back(sangria + "Semilla: " + std::to_string(p.semilla));
  return lineas;
}

double HDelModelo(const ParametrosGenerador& p) {
  switch (p.modelo) {
    case ModeloGenerador::Fgn: return p.H;
    case ModeloGenerador::Farima: return p.d + 0.5;
    case ModeloGenerador::Ruido: return 0.5;
  }
  return 0.5;
}
