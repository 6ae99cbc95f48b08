// The comparison as a reader sees it: the aligned table of the report, the line on the
// methods left out, the CSV, and the complete-or-nothing write of a text file.
#include "app/comparacion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/metodos.h"
#include "chart/colors.h"
#include "estimators/estado.h"
#include "support/carpeta_prueba.h"
#include "support/dialogos_falsos.h"

namespace {

using ::testing::HasSubstr;
using Fila = ResultadoAnalisis::MetodoComparado;

// Character position (not byte) of a substring in a UTF-8 line.
std::size_t Columna(const std::string& linea, const std::string& parte) {
  const std::size_t byte = linea.find(parte);
  if (byte == std::string::npos) return std::string::npos;
  std::size_t c = 0;
  for (std::size_t i = 0; i < byte; ++i) c += (linea[i] & 0xC0) != 0x80;
  return c;
}

// Every row has its numbers with four decimals, their separators in one column per number
// column, blank cells where a number is missing, and its state.
TEST(Comparacion, TablaAlineada) {
  const std::vector<Fila> filas = {
      {"DFA", 0, "", 0.75231, std::nullopt, std::nullopt, ""},
      {"Whittle Estándar", 0, "", 0.8, 0.7890123, 0.8153, ""},
      {"Ondículas", 0, "", -0.25, -1.5, 12.125, ""},
      {"Varianza", 2, "La regresión sólo puede aplicarse\ncon 5 o más puntos", std::nullopt,
       std::nullopt, std::nullopt, ""},
  };
  const std::vector<std::string> t = TablaComparacion(filas, ',');
  ASSERT_EQ(t.size(), filas.size() + 2);
  EXPECT_EQ(t[0], "Comparación de métodos: H e intervalo de confianza (95%)");
  struct Esperado {
    std::string h, bajo, alto, estado;
  };
  const Esperado esperados[] = {
      {"0,7523", "", "", "sin IC"},
      {"0,8000", "0,7890", "0,8153", "correcto"},
      {"-0,2500", "-1,5000", "12,1250", "correcto"},
      {"", "", "", "sin resultado (La regresión sólo puede aplicarse con 5 o más puntos)"},
  };
  // Where the header puts the state, and the end of each number column.
  const std::size_t estado = Columna(t[1], "Estado");
  const std::size_t finH = Columna(t[1], "H") + 1;
  const std::size_t finBajo = Columna(t[1], "Inferior") + 8;
  const std::size_t finAlto = Columna(t[1], "Superior") + 8;
  for (std::size_t i = 0; i < filas.size(); ++i) {
    const std::string& linea = t[i + 2];
    const Esperado& e = esperados[i];
    SCOPED_TRACE(linea);
    EXPECT_EQ(linea.rfind(filas[i].metodo, 0), 0u);
    EXPECT_EQ(Columna(linea, e.estado), estado);
    const std::pair<std::string, std::size_t> numeros[] = {
        {e.h, finH}, {e.bajo, finBajo}, {e.alto, finAlto}};
    for (const auto& [texto, fin] : numeros) {
      if (texto.empty()) continue;
      // Right-aligned: the number ends where its header ends, past the method's name.
      const std::size_t desde = Columna(linea, " " + texto + " ");
      ASSERT_NE(desde, std::string::npos) << texto;
      EXPECT_EQ(desde + 1 + texto.size(), fin) << texto;
    }
  }
  // With a point as separator the same layout.
  EXPECT_THAT(TablaComparacion(filas, '.')[3], HasSubstr("0.8000    0.7890"));
}

TEST(Comparacion, LineaDeLosExcluidos) {
  EXPECT_EQ(LineaExcluidosComparacion(0),
            "No se comparan T0 (IDC) ni Test T, que no estiman H, ni el modelo FARIMA de "
            "Whittle Estándar, que se aplica con el modelo FGN elegido en «Métodos H»");
  EXPECT_THAT(LineaExcluidosComparacion(1),
              HasSubstr("Whittle Estándar se aplica con el modelo FARIMA elegido"));
}

// The rows of a comparison, or the one row of a single method; fields with commas, quotes
// or line breaks quoted, missing numbers empty, an interval only with both ends.
TEST(Comparacion, Csv) {
  ResultadoAnalisis todos;
  todos.metodos = {
      {"DFA", 0, "", 0.1, std::nullopt, std::nullopt, ""},
      {"GPH", 0, "", 0.75, 0.5, 1.25, ""},
      {"Varianza", 2, "dice \"no\", y\notra línea", std::nullopt, std::nullopt, std::nullopt, ""},
      {"Solo bajo", 0, "", 0.5, 0.25, std::nullopt, ""},
  };
  EXPECT_EQ(CsvResultados("Todos", todos),
            "metodo,valor,inferior,superior,estado,mensaje\n"
            "DFA,0.10000000000000001,,,0,\n"
            "GPH,0.75,0.5,1.25,0,\n"
            "Varianza,,,,2,\"dice \"\"no\"\", y\notra línea\"\n"
            "Solo bajo,0.5,,,0,\n");
  ResultadoAnalisis uno;
  uno.valor = 0.8;
  uno.icBajo = 0.7;
  uno.icAlto = 0.9;
  EXPECT_EQ(CsvResultados("Whittle Local", uno),
            "metodo,valor,inferior,superior,estado,mensaje\n"
            "Whittle Local,0.80000000000000004,0.69999999999999996,0.90000000000000002,0,\n");
  ResultadoAnalisis rechazo;
  rechazo.fin = ResultadoAnalisis::Fin::Estado;
  rechazo.estado = kEstadoSerieCorta;
  rechazo.mensaje = "La longitud de la serie debe ser mayor o igual que 100";
  EXPECT_EQ(CsvResultados("R/S", rechazo),
            "metodo,valor,inferior,superior,estado,mensaje\n"
            "R/S,,,,1,La longitud de la serie debe ser mayor o igual que 100\n");
}

// Every method that yields H has its place in exactly one family of the chart.
TEST(Comparacion, FamiliasCubrenLosMetodos) {
  std::vector<std::string> enFamilias;
  for (const FamiliaMetodos& f : FamiliasComparacion())
    for (const char* m : f.metodos) enFamilias.push_back(m);
  std::vector<std::string> conH;
  for (const DefinicionMetodo& m : TablaMetodos())
    if (m.daH) conH.push_back(m.nombre);
  std::sort(enFamilias.begin(), enFamilias.end());
  std::sort(conH.begin(), conH.end());
  EXPECT_EQ(enFamilias, conH);
}

// The forest plot: the rows top to bottom in the families' order with a parting line
// between families, a circle and the right column for every estimate, a whisker for every
// interval, "sin IC" and "sin resultado" where they apply, the dotted line at 0.5, the
// reference line only when there is a reference, the title and the x title; the chart's
// style given back before the labels; the range fitted at the end.
TEST(Comparacion, GraficaDeBosque) {
  const std::vector<Fila> metodos = {
      {"DFA", 0, "", 0.75, std::nullopt, std::nullopt, ""},
      {"GPH", 0, "", 0.71, 0.585, 0.836, ""},
      {"Ondículas", 0, "", 0.829, 0.797, 0.861, ""},
      {"R/S", 0, "", 0.782, std::nullopt, std::nullopt, ""},
      {"Varianza", 2, "no", std::nullopt, std::nullopt, std::nullopt, ""},
      {"Whittle Estándar", 0, "", 0.802, 0.789, 0.815, ""},
  };
  for (const std::optional<double> referencia : {std::optional<double>(0.8), std::optional<double>()}) {
    SCOPED_TRACE(referencia.has_value());
    GraficaGrabadora g;
    RellenarGraficaComparacion(g, metodos, "fgn (10000 muestras)", referencia, ',');
    std::vector<std::string> nombres, columna;
    std::vector<double> alturas;
    for (std::size_t i = 0; i < g.ops.size(); ++i) {
      const std::string& op = g.ops[i];
      if (op.rfind("label1:", 0) == 0) nombres.push_back(op.substr(7));
      if (op.rfind("label2:", 0) == 0) columna.push_back(op.substr(7));
    }
    // The rows' heights, from the labels of the left rim, in the order of the ops.
    std::size_t punto = 0;
    for (const std::string& op : g.ops) {
      if (op == "clear" || op.rfind("x:", 0) == 0 || op.rfind("y:", 0) == 0 ||
          op.rfind("style", 0) == 0 || op == "restore" || op.rfind("auto", 0) == 0)
        continue;
      if (op.rfind("label1:", 0) == 0) alturas.push_back(g.puntos[punto].y);
      punto += (op == "segment" || op == "whisker" || op == "dots") ? 2 : 1;
    }
    EXPECT_EQ(nombres, (std::vector<std::string>{"R/S", "Varianza", "DFA", "GPH",
                                                 "Whittle Estándar", "Ondículas"}));
    EXPECT_EQ(columna, (std::vector<std::string>{"0,782  sin IC", "sin resultado",
                                                 "0,750  sin IC", "0,710 [0,585; 0,836]",
                                                 "0,802 [0,789; 0,815]", "0,829 [0,797; 0,861]"}));
    ASSERT_EQ(alturas.size(), 6u);
    for (std::size_t i = 1; i < alturas.size(); ++i) EXPECT_LT(alturas[i], alturas[i - 1]);
    // Rows one apart within a family, further apart between families.
    EXPECT_DOUBLE_EQ(alturas[0] - alturas[1], 1.0);
    EXPECT_GT(alturas[2] - alturas[3], 1.0);
    EXPECT_GT(alturas[4] - alturas[5], 1.0);
    const auto cuenta = [&](const std::string& op) {
      return std::count(g.ops.begin(), g.ops.end(), op);
    };
    EXPECT_EQ(cuenta("mark17"), 5);
    EXPECT_EQ(cuenta("whisker"), 3);
    EXPECT_EQ(cuenta("label0:sin IC"), 2);
    EXPECT_EQ(cuenta("label0:sin resultado"), 1);
    EXPECT_EQ(cuenta("dots"), 1);
    EXPECT_EQ(cuenta("label3:fgn (10000 muestras)"), 1);
    EXPECT_EQ(cuenta("label4:H"), 1);
    EXPECT_EQ(cuenta("style" + std::to_string(clGray) + ":3"), 1);
    EXPECT_EQ(cuenta("style" + std::to_string(clAqua) + ":2"), referencia ? 1 : 0);
    EXPECT_EQ(cuenta("label0:H ref. = 0,8"), referencia ? 1 : 0);
    // Two parting lines (three families), and the reference's line.
    EXPECT_EQ(cuenta("segment"), referencia ? 3 : 2);
    EXPECT_EQ(g.ops.back(), "auto2");
    const auto restore = std::find(g.ops.rbegin(), g.ops.rend(), "restore");
    ASSERT_NE(restore, g.ops.rend());
    EXPECT_TRUE(std::none_of(g.ops.rbegin(), restore, [](const std::string& op) {
      return op.rfind("style", 0) == 0 || op == "whisker" || op == "dots";
    }));
  }
}

class EscrituraTest : public ::testing::Test, protected CarpetaDePrueba {
 protected:
  EscrituraTest() : CarpetaDePrueba("escritura") {}
  std::size_t Ficheros() const {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) n += e.exists() ? 1 : 0;
    return n;
  }
};

// The text is written whole over an existing file; a write that fails leaves the target as
// it was and no temporary file.
TEST_F(EscrituraTest, TodoONada) {
  const std::string ruta = Fichero("r.csv", "viejo");
  EXPECT_EQ(EscribirTextoCompleto(ruta, "nuevo\n"), "");
  EXPECT_EQ(Contenido("r.csv"), "nuevo\n");
  EXPECT_EQ(std::filesystem::status(ruta).permissions() & std::filesystem::perms::owner_read,
            std::filesystem::perms::owner_read);
  const std::string carpeta = (dir_ / "carpeta").string();
  std::filesystem::create_directory(carpeta);
  const std::pair<std::string, std::string> fallos[] = {
      {carpeta, "es una carpeta"}, {(dir_ / "no_existe" / "r.csv").string(), "no existe la carpeta"}};
  for (const auto& [f, causa] : fallos) {
    EXPECT_EQ(EscribirTextoCompleto(f, "x"), "No puedo guardar el fichero\n'" + f + "': " + causa);
  }
  EXPECT_TRUE(std::filesystem::is_directory(carpeta));
  EXPECT_EQ(Ficheros(), 2u);  // r.csv and the folder
}

}  // namespace
