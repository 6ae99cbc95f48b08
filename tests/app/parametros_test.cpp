#include "app/parametros.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

TEST(Parametros, ValoresIniciales) {
  const AnalysisParameters p;
  EXPECT_EQ(p.metodosH.EMind, "10");
  EXPECT_EQ(p.metodosH.EMinRS, "4");
  EXPECT_EQ(p.metodosH.EBloques, "8");
  EXPECT_EQ(p.metodosH.EDecadaRS, "6");
  EXPECT_EQ(p.metodosH.EMinm, "10");
  EXPECT_EQ(p.metodosH.EMinVar, "20");
  EXPECT_EQ(p.metodosH.EDecadaVar, "6");
  EXPECT_FALSE(p.metodosH.ChLineal);
  EXPECT_EQ(p.metodosH.EMinmDif, "5");
  EXPECT_EQ(p.metodosH.EMinVarDif, "20");
  EXPECT_EQ(p.metodosH.EDecadaVarDif, "6");
  EXPECT_FALSE(p.metodosH.ChMismos);
  EXPECT_EQ(p.metodosH.CBPorcentaje, "10");
  EXPECT_EQ(p.metodosH.RGModelo, 0);
  EXPECT_EQ(p.metodosH.EOrdenp, "0");
  EXPECT_EQ(p.metodosH.EOrdenq, "0");
  EXPECT_EQ(p.metodosH.CBFactor, "4");
  EXPECT_EQ(p.metodosH.CBNivel, "10");
  EXPECT_EQ(p.metodosT0.EInicial, "0");
  EXPECT_EQ(p.metodosT0.EFinal, "0");
  EXPECT_EQ(p.metodosT0.EDecada, "2");
  EXPECT_EQ(p.estacion.EBloques, "10");
  EXPECT_EQ(p.estacion.ESigni, "0.05");
  EXPECT_EQ(p.autocorrelacion.RGSesgo, 0);
  EXPECT_EQ(p.autocorrelacion.EPuntos, "100");
  EXPECT_FALSE(p.autocorrelacion.ChLongitud);
  EXPECT_TRUE(p.autocorrelacion.ChGuardar);
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
  EXPECT_EQ(p.metodosH.EMind, "1O");
  EXPECT_EQ(AsignarCampo(p, "EBloques", "3"), "");
  EXPECT_EQ(AsignarCampo(p, "Estacion.EBloques", "4"), "");
  EXPECT_EQ(p.metodosH.EBloques, "3");
  EXPECT_EQ(p.estacion.EBloques, "4");
  EXPECT_EQ(AsignarCampo(p, "ChGuardar", "0"), "");
  EXPECT_FALSE(p.autocorrelacion.ChGuardar);
  EXPECT_EQ(AsignarCampo(p, "RGModelo", "1"), "");
  EXPECT_EQ(p.metodosH.RGModelo, 1);
  EXPECT_EQ(AsignarCampo(p, "RGSesgo", "1"), "");
  EXPECT_EQ(p.autocorrelacion.RGSesgo, 1);
  EXPECT_NE(AsignarCampo(p, "ChLineal", "si"), "");
  EXPECT_FALSE(p.metodosH.ChLineal);
  EXPECT_NE(AsignarCampo(p, "NoExiste", "1"), "");
  EXPECT_NE(AsignarCampo(p, "emind", "1"), "");  // names are case-sensitive
  EXPECT_EQ(NombresCampos().size(), 27u);
}

TEST(Campos, CadaNombreModificaSuCampo) {
  // Every field name reaches exactly one field of the record.
  for (const std::string& nombre : NombresCampos()) {
    AnalysisParameters p;
    const bool marca = nombre.rfind("Ch", 0) == 0 || nombre.rfind("RG", 0) == 0;
    const AnalysisParameters antes = p;
    if (marca) {
      // Flip from the default.
      AnalysisParameters q;
      ASSERT_EQ(AsignarCampo(q, nombre, "1"), "");
      ASSERT_EQ(AsignarCampo(p, nombre, "0"), "");
      EXPECT_FALSE(p == q) << nombre;
    } else {
      ASSERT_EQ(AsignarCampo(p, nombre, "xyz"), "");
      EXPECT_FALSE(p == antes) << nombre;
    }
  }
}

}  // namespace
