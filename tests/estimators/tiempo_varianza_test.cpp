// Aggregated variance and differenced variance estimators.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "estimators/estado.h"
#include "estimators/hurst_var_diferenciada.h"
#include "estimators/hurst_varianza.h"
#include "numeric/estadistica.h"
#include "numeric/regresion.h"
#include "comun.h"

namespace {

using estimadores::Copia;
using estimadores::Ruido;

using Estimador = int (*)(const Vector&, std::int32_t, std::uint32_t, std::int32_t, double&,
                          Vector&, Vector&);

struct CasoEstado {
  const char* nombre;
  std::uint32_t n;
  int puntosDecada;
  std::uint32_t minM;
  int minMuestras;
  int esperadoVarianza;
  int esperadoDiferenciada;
};

class EstadoVarianzas : public ::testing::TestWithParam<CasoEstado> {};

TEST_P(EstadoVarianzas, RefuseInOrderAndLeaveOutputsAlone) {
  const CasoEstado& c = GetParam();
  const Vector x = Ruido(c.n, 31);
  const std::pair<Estimador, int> casos[] = {{&HurstVarianza, c.esperadoVarianza},
                                             {&HurstVarDiferenciada, c.esperadoDiferenciada}};
  for (const auto& [estimador, esperado] : casos) {
    double H = -7.0;
    Vector ejeX(3, 9.0), ejeY(2, 8.0);
    EXPECT_EQ(estimador(x, c.puntosDecada, c.minM, c.minMuestras, H, ejeX, ejeY), esperado);
    if (esperado != kEstadoOk) {
      EXPECT_EQ(H, -7.0);
      EXPECT_EQ(ejeX.Longitud(), 3u);
      EXPECT_EQ(ejeY.Longitud(), 2u);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, EstadoVarianzas,
    ::testing::Values(
        CasoEstado{"corta", 99, 0, 0, 0, kEstadoSerieCorta, kEstadoSerieCorta},
        CasoEstado{"decada0_antes_que_minM", 1000, 0, 0, 9, kEstadoPuntosDecada,
                   kEstadoPuntosDecada},
        CasoEstado{"decada21", 1000, 21, 10, 20, kEstadoPuntosDecada, kEstadoPuntosDecada},
        CasoEstado{"minM0_antes_que_minMuestras", 1000, 6, 0, 9, kEstadoMinM, kEstadoMinM},
        CasoEstado{"minMuestras9", 1000, 6, 10, 9, kEstadoMinMuestrasVarianza,
                   kEstadoMinMuestrasVarianza},
        CasoEstado{"minM50_n100_sin_niveles", 100, 6, 50, 10, kEstadoPocosPuntos,
                   kEstadoPocosPuntos},
        CasoEstado{"minM_negativo", 1000, 6, static_cast<std::uint32_t>(-1), 20,
                   kEstadoPocosPuntos, kEstadoPocosPuntos},
        // 5 levels 10..42: enough for the variance, one short for the differences.
        CasoEstado{"cinco_niveles", 1000, 6, 10, 20, kEstadoOk, kEstadoPocosPuntos},
        CasoEstado{"seis_niveles", 1300, 6, 10, 20, kEstadoOk, kEstadoOk}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(NivelesAgregacion, LevelsForThousandSamples) {
  const std::vector<std::uint32_t> todos = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 20, 29, 42};
  EXPECT_EQ(NivelesAgregacion(1000, 6, 1, 20), todos);
  EXPECT_EQ(NivelesAgregacion(1000, 6, 5, 20), todos);
  EXPECT_EQ(NivelesAgregacion(1000, 6, 9, 20), todos);
  EXPECT_EQ(NivelesAgregacion(1000, 6, 10, 20),
            (std::vector<std::uint32_t>{10, 14, 20, 29, 42}));
  // 61 is not below 1000 div 20 = 50; with 16 blocks required the limit is 62.
  EXPECT_EQ(NivelesAgregacion(1000, 6, 10, 16),
            (std::vector<std::uint32_t>{10, 14, 20, 29, 42, 61}));
  EXPECT_EQ(NivelesAgregacion(1000, 1, 10, 10), (std::vector<std::uint32_t>{10}));
  EXPECT_EQ(NivelesAgregacion(100, 6, 50, 10), (std::vector<std::uint32_t>{}));
  EXPECT_EQ(NivelesAgregacion(100000, 6, 4000000000u, 10), (std::vector<std::uint32_t>{}));
}

TEST(HurstVarianza, PointsAreLogOfLevelAndOfVarianceOfAggregatedSeries) {
  const Vector x = Ruido(1000, 32);
  double H = 0;
  Vector ejeX, ejeY;
  ASSERT_EQ(HurstVarianza(x, 6, 1, 20, H, ejeX, ejeY), kEstadoOk);
  const std::uint32_t niveles[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 20, 29, 42};
  ASSERT_EQ(ejeX.Longitud(), 14u);
  ASSERT_EQ(ejeY.Longitud(), 14u);
  for (std::uint32_t j = 0; j < 14; ++j) {
    EXPECT_EQ(ejeX(j + 1), std::log10(static_cast<double>(niveles[j])));
    EXPECT_EQ(ejeY(j + 1), std::log10(Varianza(Agregar(x, niveles[j])))) << niveles[j];
  }
  EXPECT_EQ(H, AjustePolinomio(ejeX, ejeY, 1)(2) * 0.5 + 1.0);
}

TEST(HurstVarianza, MinMBelowTenAlwaysStartsAtOne) {
  const Vector x = Ruido(1000, 33);
  double H1 = 0, H5 = 0, H10 = 0;
  Vector x1, y1, x5, y5, x10, y10;
  ASSERT_EQ(HurstVarianza(x, 6, 1, 20, H1, x1, y1), kEstadoOk);
  ASSERT_EQ(HurstVarianza(x, 6, 5, 20, H5, x5, y5), kEstadoOk);
  ASSERT_EQ(HurstVarianza(x, 6, 10, 20, H10, x10, y10), kEstadoOk);
  EXPECT_EQ(H1, H5);
  EXPECT_EQ(Copia(x1), Copia(x5));
  EXPECT_EQ(Copia(y1), Copia(y5));
  ASSERT_EQ(x10.Longitud(), 5u);
  EXPECT_EQ(Copia(x10), std::vector<double>(x1.begin() + 9, x1.end()));
  EXPECT_EQ(Copia(y10), std::vector<double>(y1.begin() + 9, y1.end()));
}

TEST(HurstVarianza, ConstantSeriesAndConstantLevelAreRefused) {
  double H = -1;
  Vector ejeX, ejeY;
  EXPECT_EQ(HurstVarianza(Vector(1000, 3.7), 6, 1, 20, H, ejeX, ejeY), kEstadoSerieConstante);
  EXPECT_EQ(HurstVarianza(Vector(1000, 3.7), 6, 0, 20, H, ejeX, ejeY), kEstadoMinM);
  // Alternating 1, 2: every pair has the mean 1.5, so level 2 has no variance.
  Vector x(1000);
  for (std::uint32_t i = 1; i <= 1000; ++i) x[i] = (i % 2) ? 1.0 : 2.0;
  EXPECT_EQ(HurstVarianza(x, 6, 1, 20, H, ejeX, ejeY), kEstadoNivelSinVarianza);
  EXPECT_EQ(H, -1);
  EXPECT_EQ(ejeX.Longitud(), 0u);
}

TEST(HurstVarDiferenciada, DifferencesOfConsecutiveVariancesPlottedAtTheLowerLevel) {
  const Vector x = Ruido(2000, 34);
  double Hv = 0, Hd = 0;
  Vector vx, vy, dx, dy;
  // The variance page's defaults, as when both methods share their parameters.
  ASSERT_EQ(HurstVarianza(x, 6, 10, 20, Hv, vx, vy), kEstadoOk);
  ASSERT_EQ(HurstVarDiferenciada(x, 6, 10, 20, Hd, dx, dy), kEstadoOk);
  const std::uint32_t niveles[] = {10, 14, 20, 29, 42, 61, 89};  // all below 2000 div 20
  ASSERT_EQ(vx.Longitud(), 7u);
  ASSERT_EQ(dx.Longitud(), 6u);
  ASSERT_EQ(dy.Longitud(), 6u);
  for (std::uint32_t j = 0; j < 6; ++j) {
    EXPECT_EQ(dx(j + 1), vx(j + 1));  // never the last level
    const double dif = std::fabs(Varianza(Agregar(x, niveles[j + 1])) -
                                 Varianza(Agregar(x, niveles[j])));
    EXPECT_EQ(dy(j + 1), std::log10(dif)) << niveles[j];
  }
  EXPECT_EQ(Hd, AjustePolinomio(dx, dy, 1)(2) * 0.5 + 1.0);
}

TEST(HurstVarDiferenciada, DefaultMinimumFiveStartsAtLevelOne) {
  const Vector x = Ruido(1000, 35);
  double H = 0;
  Vector ejeX, ejeY;
  ASSERT_EQ(HurstVarDiferenciada(x, 6, 5, 20, H, ejeX, ejeY), kEstadoOk);
  ASSERT_EQ(ejeX.Longitud(), 13u);  // 14 levels 1..42, one difference fewer
  EXPECT_EQ(ejeX(1), 0.0);
  EXPECT_EQ(ejeX(13), std::log10(29.0));
}

TEST(HurstVarDiferenciada, EqualConsecutiveVariancesAreRefused) {
  // Period 1, 3, 2, 2, 3, 1: pairs and triples of samples all have the mean 2, so
  // levels 2 and 3 both have variance 0 and their difference is zero.
  const double patron[] = {1, 3, 2, 2, 3, 1};
  Vector x(600);
  for (std::uint32_t i = 0; i < 600; ++i) x.Datos()[i] = patron[i % 6];
  double H = -1;
  Vector ejeX, ejeY;
  EXPECT_EQ(HurstVarDiferenciada(x, 6, 1, 10, H, ejeX, ejeY), kEstadoDiferenciaNula);
  EXPECT_EQ(H, -1);
  EXPECT_EQ(ejeX.Longitud(), 0u);
  EXPECT_EQ(HurstVarianza(x, 6, 1, 10, H, ejeX, ejeY), kEstadoNivelSinVarianza);
  EXPECT_EQ(HurstVarDiferenciada(Vector(600, 2.0), 6, 1, 10, H, ejeX, ejeY),
            kEstadoSerieConstante);
}

struct CasoEstimacion {
  const char* nombre;
  Estimador estimador;
  std::uint32_t minM;
  double H;            // of the series
  double centro;       // typical estimate at n = 10000
  double tolIndividual;
  double tolMedia;     // for the mean of five seeds, around H
};

class EstimacionVarianzas : public ::testing::TestWithParam<CasoEstimacion> {};

TEST_P(EstimacionVarianzas, NearTheHurstParameterOfTheSeries) {
  const CasoEstimacion& c = GetParam();
  double suma = 0;
  for (std::uint64_t s = 0; s < 5; ++s) {
    const Vector x = c.H == 0.5 ? Ruido(10000, 300 + s) : estimadores::Fgn(10000, c.H, 400 + s);
    double H = 0;
    Vector ejeX, ejeY;
    ASSERT_EQ(c.estimador(x, 6, c.minM, 20, H, ejeX, ejeY), kEstadoOk);
    EXPECT_NEAR(H, c.centro, c.tolIndividual) << "semilla " << s;
    suma += H;
  }
  EXPECT_NEAR(suma / 5, c.H, c.tolMedia);
}

INSTANTIATE_TEST_SUITE_P(
    Ruidos, EstimacionVarianzas,
    ::testing::Values(
        CasoEstimacion{"varianza_ruido_blanco", &HurstVarianza, 10, 0.5, 0.5, 0.12, 0.06},
        CasoEstimacion{"diferenciada_ruido_blanco", &HurstVarDiferenciada, 5, 0.5, 0.5, 0.1,
                       0.06},
        // The aggregated variance underestimates a strong long memory (about 0.76).
        CasoEstimacion{"varianza_fgn08", &HurstVarianza, 10, 0.8, 0.76, 0.13, 0.07},
        CasoEstimacion{"diferenciada_fgn08", &HurstVarDiferenciada, 5, 0.8, 0.81, 0.1,
                       0.06}),
    [](const auto& info) { return std::string(info.param.nombre); });

}  // namespace
