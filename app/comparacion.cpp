#include "app/comparacion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "app/escritura_atomica.h"
#include "app/metodos.h"

namespace {

// Characters of a UTF-8 text (what a column of blanks counts).
std::size_t Caracteres(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Rellenar(const std::string& texto, std::size_t ancho, bool derecha) {
  const std::size_t n = Caracteres(texto);
  const std::string blancos(n < ancho ? ancho - n : 0, ' ');
  return derecha ? blancos + texto : texto + blancos;
}

// Four decimals, fixed, with the report's separator.
std::string Decimales(const std::optional<double>& x, char separador) {
  if (!x || !std::isfinite(*x)) return {};
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, *x, std::chars_format::fixed, 4);
  std::string texto(buffer, r.ptr);
  std::replace(texto.begin(), texto.end(), '.', separador);
  return texto;
}

std::string EnUnaLinea(std::string texto) {
  std::replace(texto.begin(), texto.end(), '\n', ' ');
  return texto;
}

// 17 significant digits with a point, as JSON writes numbers; empty when missing.
std::string NumeroCsv(const std::optional<double>& x) {
  if (!x || !std::isfinite(*x)) return {};
  char buffer[40];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, *x, std::chars_format::general, 17);
  return std::string(buffer, r.ptr);
}

std::string CampoCsv(const std::string& texto) {
  if (texto.find_first_of(",\"\r\n") == std::string::npos) return texto;
  std::string r = "\"";
  for (char c : texto) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + "\"";
}

}  // namespace

std::vector<std::string> TablaComparacion(
    const std::vector<AnalysisOutcome::MetodoComparado>& metodos, char separador) {
  struct Fila {
    std::string metodo, h, bajo, alto, estado;
  };
  std::vector<Fila> filas = {{"Método", "H", "Inferior", "Superior", "Estado"}};
  for (const AnalysisOutcome::MetodoComparado& m : metodos) {
    Fila f{m.metodo, Decimales(m.valor, separador), Decimales(m.icBajo, separador),
           Decimales(m.icAlto, separador), {}};
    if (!m.mensaje.empty() || !m.valor)
      f.estado = "sin resultado (" + EnUnaLinea(m.mensaje) + ")";
    else
      f.estado = (m.icBajo && m.icAlto) ? "correcto" : "sin IC";
    filas.push_back(std::move(f));
  }
  std::size_t anchos[4] = {0, 0, 0, 0};
  for (const Fila& f : filas) {
    anchos[0] = std::max(anchos[0], Caracteres(f.metodo));
    anchos[1] = std::max(anchos[1], Caracteres(f.h));
    anchos[2] = std::max(anchos[2], Caracteres(f.bajo));
    anchos[3] = std::max(anchos[3], Caracteres(f.alto));
  }
  std::vector<std::string> lineas = {"Comparación de métodos: H e intervalo de confianza (95%)"};
  for (const Fila& f : filas) {
    std::string linea = Rellenar(f.metodo, anchos[0], false) + "  " +
                        Rellenar(f.h, anchos[1], true) + "  " +
                        Rellenar(f.bajo, anchos[2], true) + "  " +
                        Rellenar(f.alto, anchos[3], true) + "  " + f.estado;
    lineas.push_back(std::move(linea));
  }
  return lineas;
}

std::string LineaExcluidosComparacion(int modeloWhittle) {
  std::vector<std::string> excluidos;
  for (const DefinicionMetodo& m : TablaMetodos())
    if (m.bloque && !m.daH) excluidos.push_back(m.nombre);
  std::string linea = "No se comparan ";
  for (std::size_t i = 0; i < excluidos.size(); ++i) {
    if (i > 0) linea += i + 1 == excluidos.size() ? " ni " : ", ";
    linea += excluidos[i];
  }
  linea += ", que no estiman H";
  if (modeloWhittle == 0)
    linea += ", ni el modelo FARIMA de Whittle Estándar, que se aplica con el modelo FGN "
             "elegido en «Métodos H»";
  else
    linea += "; Whittle Estándar se aplica con el modelo FARIMA elegido en «Métodos H», "
             "no con el FGN";
  return linea;
}

std::string CsvResultados(const std::string& metodo, const AnalysisOutcome& r) {
  std::string csv = "metodo,valor,inferior,superior,estado,mensaje\n";
  auto fila = [&csv](const std::string& nombre, const std::optional<double>& valor,
                     const std::optional<double>& bajo, const std::optional<double>& alto,
                     int estado, const std::string& mensaje) {
    const bool intervalo = bajo && alto;
    csv += CampoCsv(nombre) + "," + NumeroCsv(valor) + "," +
           (intervalo ? NumeroCsv(bajo) : std::string()) + "," +
           (intervalo ? NumeroCsv(alto) : std::string()) + "," + std::to_string(estado) + "," +
           CampoCsv(mensaje) + "\n";
  };
  if (metodo == metodo::kTodos) {
    for (const AnalysisOutcome::MetodoComparado& m : r.metodos)
      fila(m.metodo, m.valor, m.icBajo, m.icAlto, m.estado, m.mensaje);
  } else {
    fila(metodo, r.valor, r.icBajo, r.icAlto, r.estado, r.Exito() ? std::string() : r.mensaje);
  }
  return csv;
}

std::string EscribirTextoCompleto(const std::string& ruta, const std::string& texto) {
  std::string mensaje;
  EscribirFicheroAtomico(ruta, texto, mensaje);
  return mensaje;
}
