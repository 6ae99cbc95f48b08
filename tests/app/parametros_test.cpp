#include "app/parametros.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// The dialogs' documented defaults, in table order.
TEST(Parametros, ValoresIniciales) {
  const std::vector<std::pair<std::string, std::string>> esperados = {
      {"EMind", "10"},       {"EMinRS", "4"},        {"EBloques", "8"},
      {"EDecadaRS", "6"},    {"EMinm", "10"},        {"EMinVar", "20"},
      {"EDecadaVar", "6"},   {"ChLineal", "0"},      {"EMinmDif", "5"},
      {"EMinVarDif", "20"},  {"EDecadaVarDif", "6"}, {"ChMismos", "0"},
      {"CBPorcentaje", "10"}, {"RGModelo", "0"},     {"RGDensidad", "0"}, {"EOrdenp", "0"},
      {"EOrdenq", "0"},      {"CBFactor", "4"},      {"CBNivel", "10"},     {"EMomentosOnd", "3"},  {"EOctavaIni", "3"},
      {"EOctavaFin", "0"},   {"EOrdenDFA", "1"},     {"EMinCaja", "10"},
      {"EDecadaDFA", "10"},  {"EMinmMom", "10"},     {"EMinBloquesMom", "20"},
      {"EDecadaMom", "6"},   {"EKMax", "0"},         {"EDecadaHig", "10"},
      {"EExponenteGPH", "0.5"},
      {"EInicial", "0"},     {"EFinal", "0"},        {"EDecada", "2"},
      {"Estacion.EBloques", "10"}, {"ESigni", "0.05"}, {"RGSesgo", "0"},
      {"EPuntos", "100"},    {"ChLongitud", "0"},    {"ChGuardar", "1"},
  };
  const AnalysisParameters p;
  ASSERT_EQ(NombresCampos().size(), esperados.size());
  for (std::size_t i = 0; i < esperados.size(); ++i) {
    EXPECT_EQ(NombresCampos()[i], esperados[i].first);
    EXPECT_EQ(p[esperados[i].first], esperados[i].second) << esperados[i].first;
  }
  EXPECT_THROW((void)p["NoExiste"], std::out_of_range);
}

// Every field is complete: a control name, a page where the dialog has pages, a default
// its kind accepts, and the entries its kind needs.
TEST(Parametros, TablaCompleta) {
  for (const DefinicionCampo& c : TablaCampos()) {
    SCOPED_TRACE(c.clave);
    EXPECT_NE(std::string(c.control), "");
    EXPECT_EQ(std::string(c.pagina).empty(), c.dialogo == Dialogo::Autocorrelacion);
    AnalysisParameters p;
    EXPECT_EQ(AsignarCampo(p, c.clave, c.omision), "");
    switch (c.tipo) {
      case TipoCampo::Entero:
      case TipoCampo::ListaEntera:
        EXPECT_TRUE(LeerEntero(c.omision).has_value());
        break;
      case TipoCampo::Opciones:
        EXPECT_GE(c.entradas.size(), 2u);
        break;
      default:
        break;
    }
    const bool esLista = c.tipo == TipoCampo::ListaEntera || c.tipo == TipoCampo::ListaDecimal;
    if (esLista) {
      EXPECT_NE(std::find_if(c.entradas.begin(), c.entradas.end(),
                             [&c](const char* e) { return std::string(e) == c.omision; }),
                c.entradas.end());
    } else if (c.tipo != TipoCampo::Opciones) {
      EXPECT_TRUE(c.entradas.empty());
    }
  }
}

struct CasoEntero {
  const char* texto;
  std::optional<int> valor;
};

class EnteroTest : public ::testing::TestWithParam<CasoEntero> {};

TEST_P(EnteroTest, Estricto) {
  EXPECT_EQ(LeerEntero(GetParam().texto), GetParam().valor) << GetParam().texto;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EnteroTest,
    ::testing::Values(CasoEntero{"10", 10}, CasoEntero{"-3", -3}, CasoEntero{"+7", 7},
                      CasoEntero{" 12 ", 12}, CasoEntero{"007", 7},
                      CasoEntero{"2147483647", 2147483647},
                      CasoEntero{"-2147483648", -2147483647 - 1},
                      CasoEntero{"2147483648", std::nullopt},
                      CasoEntero{"-2147483649", std::nullopt},
                      CasoEntero{"99999999999999999999", std::nullopt},
                      CasoEntero{"1O", std::nullopt}, CasoEntero{"", std::nullopt},
                      CasoEntero{"  ", std::nullopt}, CasoEntero{"-", std::nullopt},
                      CasoEntero{"1.5", std::nullopt}, CasoEntero{"1e3", std::nullopt},
                      CasoEntero{"1 2", std::nullopt}, CasoEntero{"0x10", std::nullopt},
                      CasoEntero{"+-1", std::nullopt}));

TEST(Entero, MensajeDeConversion) {
  try {
    ConvertirEntero("1O");
    FAIL() << "no exception";
  } catch (const ErrorConversion& e) {
    EXPECT_STREQ(e.what(), "'1O' is not a valid integer value");
    EXPECT_EQ(e.Texto(), "1O");
  }
  EXPECT_EQ(ConvertirEntero("42"), 42);
}

struct CasoReal {
  const char* texto;
  double valor;
};

class RealTest : public ::testing::TestWithParam<CasoReal> {};

TEST_P(RealTest, ComoAtof) {
  EXPECT_DOUBLE_EQ(ConvertirReal(GetParam().texto), GetParam().valor) << GetParam().texto;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, RealTest,
    ::testing::Values(CasoReal{"0.05", 0.05}, CasoReal{"10", 10.0}, CasoReal{"0.1", 0.1},
                      CasoReal{"  2.5", 2.5}, CasoReal{"2.5abc", 2.5},
                      CasoReal{"abc", 0.0}, CasoReal{"", 0.0},
                      CasoReal{"-3e2", -300.0}, CasoReal{"+4", 4.0}, CasoReal{".5", 0.5},
                      CasoReal{"5.", 5.0}, CasoReal{"1e", 1.0}, CasoReal{"1e+", 1.0},
                      CasoReal{"- 1", 0.0}, CasoReal{"0x10", 16.0}, CasoReal{"0x", 0.0},
                      CasoReal{"1e-400", 0.0}, CasoReal{"\t7\n", 7.0}));

// Without a point, the first comma is the decimal separator; a text with a point reads as
// before, whatever commas it holds.
INSTANTIATE_TEST_SUITE_P(
    Coma, RealTest,
    ::testing::Values(CasoReal{"0,05", 0.05}, CasoReal{"2,5", 2.5}, CasoReal{" -0,5 ", -0.5},
                      CasoReal{",5", 0.5}, CasoReal{"1,5e-3", 0.0015}, CasoReal{"1,000", 1.0},
                      CasoReal{"1,,5", 1.0}, CasoReal{"1,5,7", 1.5}, CasoReal{"7,", 7.0},
                      CasoReal{"1,5.3", 1.0}, CasoReal{"2.5,1", 2.5}, CasoReal{"0x1,8", 1.0},
                      CasoReal{",", 0.0}, CasoReal{"abc,5", 0.0}));

TEST(Real, DesbordamientoEInfinitos) {
  EXPECT_TRUE(std::isinf(ConvertirReal("1e400")));
  EXPECT_GT(ConvertirReal("1e400"), 0);
  EXPECT_LT(ConvertirReal("-1e400"), 0);
  EXPECT_TRUE(std::isinf(ConvertirReal("inf")));
  EXPECT_TRUE(std::isnan(ConvertirReal("nan")));
}

TEST(Campos, AsignarPorNombre) {
  AnalysisParameters p;
  EXPECT_EQ(AsignarCampo(p, "EMind", "1O"), "");
  EXPECT_EQ(p["EMind"], "1O");
  EXPECT_EQ(AsignarCampo(p, "EBloques", "3"), "");
  EXPECT_EQ(AsignarCampo(p, "Estacion.EBloques", "4"), "");
  EXPECT_EQ(p["EBloques"], "3");
  EXPECT_EQ(p["Estacion.EBloques"], "4");
  EXPECT_EQ(AsignarCampo(p, "ChGuardar", "0"), "");
  EXPECT_FALSE(p.Marca("ChGuardar"));
  EXPECT_EQ(AsignarCampo(p, "RGModelo", "1"), "");
  EXPECT_EQ(p.Opcion("RGModelo"), 1);
  EXPECT_EQ(AsignarCampo(p, "RGSesgo", "1"), "");
  EXPECT_EQ(p.Opcion("RGSesgo"), 1);
  EXPECT_EQ(AsignarCampo(p, "ChLineal", "si"), "el campo ChLineal admite 0 o 1, no 'si'");
  EXPECT_NE(AsignarCampo(p, "RGModelo", "2"), "");
  EXPECT_NE(AsignarCampo(p, "ChLineal", "01"), "");
  EXPECT_FALSE(p.Marca("ChLineal"));
  EXPECT_EQ(AsignarCampo(p, "NoExiste", "1"), "campo desconocido: NoExiste");
  EXPECT_NE(AsignarCampo(p, "emind", "1"), "");  // names are case-sensitive
}

TEST(Campos, CadaNombreModificaSuCampo) {
  // Every field name reaches exactly one value of the record.
  for (const DefinicionCampo& c : TablaCampos()) {
    AnalysisParameters p;
    const AnalysisParameters antes = p;
    const std::string otro = c.EsTexto() ? "xyz" : std::string(c.omision) == "1" ? "0" : "1";
    ASSERT_EQ(AsignarCampo(p, c.clave, otro), "") << c.clave;
    EXPECT_FALSE(p == antes) << c.clave;
    for (const DefinicionCampo& d : TablaCampos()) {
      if (&d != &c) {
        EXPECT_EQ(p[d.clave], antes[d.clave]) << c.clave << " " << d.clave;
      }
    }
  }
}

}  // namespace
