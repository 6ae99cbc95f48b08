#include "app/comparacion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "app/escritura_atomica.h"
#include "app/formato.h"
#include "app/metodos.h"
#include "chart/colors.h"

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
    const std::vector<ResultadoAnalisis::MetodoComparado>& metodos, char separador) {
  struct Fila {
    std::string metodo, h, bajo, alto, estado;
  };
  std::vector<Fila> filas = {{"Método", "H", "Inferior", "Superior", "Estado"}};
  for (const ResultadoAnalisis::MetodoComparado& m : metodos) {
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
    if (m.Calcula() && !m.daH) excluidos.push_back(m.nombre);
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

std::string CsvResultados(const std::string& metodo, const ResultadoAnalisis& r) {
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
    for (const ResultadoAnalisis::MetodoComparado& m : r.metodos)
      fila(m.metodo, m.valor, m.icBajo, m.icAlto, m.estado, m.mensaje);
  } else {
    fila(metodo, r.valor, r.icBajo, r.icAlto, r.estado, r.Exito() ? std::string() : r.mensaje);
  }
  return csv;
}

const std::vector<FamiliaMetodos>& FamiliasComparacion() {
  static const std::vector<FamiliaMetodos> familias = [] {
    std::vector<FamiliaMetodos> f = {
        {"Dominio del tiempo", {}}, {"Dominio de la frecuencia", {}}, {"Ondículas", {}}};
    std::vector<const DefinicionMetodo*> puestos;
    for (const DefinicionMetodo& m : TablaMetodos()) {
      if (m.comparacion.familia != Familia::Ninguna) puestos.push_back(&m);
    }
    std::stable_sort(puestos.begin(), puestos.end(), [](const auto* a, const auto* b) {
      return a->comparacion.orden < b->comparacion.orden;
    });
    for (const DefinicionMetodo* m : puestos)
      f[static_cast<std::size_t>(m->comparacion.familia)].metodos.push_back(m->nombre);
    return f;
  }();
  return familias;
}

std::string TituloComparacion(const std::string& nombre, std::uint32_t longitud) {
  return nombre + " (" + FormatoI(longitud) + " muestras)";
}

namespace {

// Three decimals for the chart's column, which has less room than the report.
std::string Tres(double x, char separador) {
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 3);
  std::string texto(buffer, r.ptr);
  std::replace(texto.begin(), texto.end(), '.', separador);
  return texto;
}

bool Finito(const std::optional<double>& x) { return x && std::isfinite(*x); }

}  // namespace

void RellenarGraficaComparacion(DestinoGrafica& grafica,
                         const std::vector<ResultadoAnalisis::MetodoComparado>& metodos,
                         const std::string& titulo, std::optional<double> referencia,
                         char separador) {
  using Lugar = DestinoGrafica::Lugar;
  constexpr int kTamano = 8;      // points of the names, the column and the notes
  constexpr int kCapuchon = 5;    // half height of the whiskers' caps, over the 7-pixel circle
  constexpr std::uint8_t kCirculo = 17;
  grafica.ClearItems();
  grafica.SetIdAbscissa("");
  grafica.SetIdOrdinate("");
  if (referencia && !std::isfinite(*referencia)) referencia.reset();

  // Rows in the order of the families; each family starts 0.4 of a row below the last.
  struct Fila {
    const ResultadoAnalisis::MetodoComparado* m;
    double y;
  };
  std::vector<Fila> filas;
  std::vector<double> separaciones;
  std::vector<bool> puesto(metodos.size(), false);
  double y = 0.0;
  auto poner = [&](std::size_t i) {
    if (!filas.empty()) y -= 1.0;
    filas.push_back({&metodos[i], y});
    puesto[i] = true;
  };
  for (const FamiliaMetodos& familia : FamiliasComparacion()) {
    bool primera = true;
    for (const char* nombre : familia.metodos) {
      for (std::size_t i = 0; i < metodos.size(); ++i) {
        if (puesto[i] || metodos[i].metodo != nombre) continue;
        if (primera && !filas.empty()) {
          y -= 0.4;
          separaciones.push_back(y - 0.2);
        }
        primera = false;
        poner(i);
      }
    }
  }
  bool otros = true;
  for (std::size_t i = 0; i < metodos.size(); ++i) {
    if (puesto[i]) continue;
    if (otros && !filas.empty()) {
      y -= 0.4;
      separaciones.push_back(y - 0.2);
    }
    otros = false;
    poner(i);
  }
  const double arriba = 0.5, abajo = (filas.empty() ? 0.0 : filas.back().y) - 0.5;

  // The horizontal extent: every estimate and interval, 0.5 and the reference.
  double bajo = 0.5, alto = 0.5;
  auto incluir = [&](const std::optional<double>& v) {
    if (Finito(v)) {
      bajo = std::min(bajo, *v);
      alto = std::max(alto, *v);
    }
  };
  for (const auto& m : metodos) {
    incluir(m.valor);
    if (Finito(m.icBajo) && Finito(m.icAlto)) {
      incluir(m.icBajo);
      incluir(m.icAlto);
    }
  }
  incluir(referencia);
  const double margen = std::max(0.05, 0.08 * (alto - bajo));
  const double izquierda = bajo - margen, derecha = alto + margen;
  // The corners of what is shown, a band above the rows for the reference's label.
  grafica.MoveTo(izquierda, abajo - 0.1);
  grafica.MoveTo(derecha, arriba + 0.8);

  grafica.SetStyle(clGray, 3);
  for (double s : separaciones) grafica.Line(izquierda, s, derecha, s);
  if (referencia) {
    grafica.SetStyle(clAqua, 2);
    grafica.Line(*referencia, abajo, *referencia, arriba + 0.3);
    grafica.Label(*referencia, arriba + 0.55, Lugar::Datos, kTamano,
                  "H ref. = " + FormatoF(*referencia, separador));
  }
  // Whiskers and the dotted line in the regression class and the data colour, then the
  // circles over them: the caps stand out of a circle, a whisker shows through its hollow.
  grafica.SetStyle(std::nullopt, 1);
  grafica.DotLine(0.5, abajo, 0.5, arriba);
  for (const Fila& f : filas) {
    const auto& m = *f.m;
    if (Finito(m.valor) && Finito(m.icBajo) && Finito(m.icAlto))
      grafica.Whisker(*m.icBajo, f.y, *m.icAlto, f.y, kCapuchon);
  }
  grafica.RestoreStyle();
  for (const Fila& f : filas) {
    const auto& m = *f.m;
    grafica.Label(0.5, f.y, Lugar::MargenIzquierdo, kTamano, m.metodo);
    if (!Finito(m.valor)) {
      grafica.Label(izquierda, f.y, Lugar::Datos, kTamano, "sin resultado");
      grafica.Label(0.5, f.y, Lugar::MargenDerecho, kTamano, "sin resultado");
      continue;
    }
    grafica.MarkAt(*m.valor, f.y, kCirculo);
    std::string columna = Tres(*m.valor, separador);
    if (Finito(m.icBajo) && Finito(m.icAlto)) {
      columna += " [" + Tres(*m.icBajo, separador) + "; " + Tres(*m.icAlto, separador) + "]";
    } else {
      grafica.Label(*m.valor, f.y, Lugar::Datos, kTamano, "sin IC");
      columna += "  sin IC";
    }
    grafica.Label(0.5, f.y, Lugar::MargenDerecho, kTamano, columna);
  }
  grafica.Label(0.5, arriba, Lugar::Titulo, 0, titulo);
  grafica.Label(0.5, arriba, Lugar::Abscisa, 0, "H");
  grafica.AutoRange(2.0);
}

std::string EscribirTextoCompleto(const std::string& ruta, const std::string& texto) {
  std::string mensaje;
  EscribirFicheroAtomico(ruta, texto, mensaje);
  return mensaje;
}
