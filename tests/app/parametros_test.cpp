#include "app/parametros.h"
#include "estimators/estado.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
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
// its kind accepts, the entries its kind needs, and what its dialog page is made of: a
// label, a help, and the values it takes beside an edit field or list (none beside a check
// box or radio group), decimals written with a point, as the dialogs turn them into the
// regional separator. A method's field without them would make a page with a bare control.
TEST(Parametros, TablaCompleta) {
  const auto comaDecimal = [](std::string_view t) {
    for (std::size_t i = 1; i + 1 < t.size(); ++i)
      if (t[i] == ',' && std::isdigit(static_cast<unsigned char>(t[i - 1])) &&
          std::isdigit(static_cast<unsigned char>(t[i + 1])))
        return true;
    return false;
  };
  for (const DefinicionCampo& c : TablaCampos()) {
    SCOPED_TRACE(c.clave);
    EXPECT_NE(std::string(c.control), "");
    EXPECT_EQ(std::string(c.pagina).empty(), c.dialogo == Dialogo::Autocorrelacion);
    ASSERT_NE(c.etiqueta, nullptr);
    ASSERT_NE(c.limites, nullptr);
    ASSERT_NE(c.ayuda, nullptr);
    EXPECT_NE(std::string(c.etiqueta), "");
    EXPECT_NE(std::string(c.ayuda), "");
    EXPECT_EQ(std::string(c.limites).empty(), !c.EsTexto());
    EXPECT_FALSE(comaDecimal(c.limites)) << c.limites;
    EXPECT_FALSE(comaDecimal(c.ayuda)) << c.ayuda;
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
    EXPECT_STREQ(e.what(), "'1O' no es un número entero válido");
    EXPECT_EQ(e.Estado(), kEstadoConversion);
    EXPECT_EQ(e.Texto(), "1O");
  }
  EXPECT_EQ(ConvertirEntero("42"), 42);
}

// Strict: the whole text, blanks around it aside, is one decimal number with a point or a
// comma; anything else is refused with the decimal field's message.
struct CasoReal {
  const char* texto;
  std::optional<double> valor;
};

TEST(Real, SoloNumerosDecimalesEnteros) {
  const CasoReal casos[] = {
      {"0.05", 0.05}, {"10", 10.0},    {"  2.5", 2.5},  {"-3e2", -300.0}, {"+4", 4.0},
      {".5", 0.5},    {"5.", 5.0},     {"\t7\n", 7.0},  {"0,05", 0.05},   {" -0,5 ", -0.5},
      {",5", 0.5},    {"1,5e-3", 0.0015}, {"7,", 7.0},
      {"2.5abc", std::nullopt}, {"5abc", std::nullopt}, {"abc", std::nullopt},
      {"", std::nullopt},       {"  ", std::nullopt},   {"1e", std::nullopt},
      {"1e+", std::nullopt},    {"- 1", std::nullopt},  {"0x10", std::nullopt},
      {"0x", std::nullopt},     {"1,,5", std::nullopt}, {"1,5,7", std::nullopt},
      {"1,5.3", std::nullopt},  {"2.5,1", std::nullopt}, {",", std::nullopt},
      {"1e400", std::nullopt},  {"1e-400", std::nullopt}, {"inf", std::nullopt},
      {"nan", std::nullopt},    {"+-1", std::nullopt},  {"1 2", std::nullopt},
      {"1.2.3", std::nullopt},  {"--1", std::nullopt},  {"0x1p3", std::nullopt},
      {"1,5e3", 1500.0},        {"+1e-2", 0.01},
  };
  for (const CasoReal& c : casos) {
    SCOPED_TRACE(c.texto);
    EXPECT_EQ(LeerDecimal(c.texto), c.valor);
    if (c.valor) {
      EXPECT_EQ(ConvertirReal(c.texto), *c.valor);
      continue;
    }
    try {
      ConvertirReal(c.texto);
      ADD_FAILURE() << "no exception";
    } catch (const ErrorConversion& e) {
      EXPECT_EQ(e.Mensaje(), "'" + std::string(c.texto) + "' no es un número decimal válido");
      EXPECT_EQ(e.Estado(), kEstadoConversionDecimal);
    }
  }
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
