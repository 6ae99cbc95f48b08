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
#include "tests/support/herramientas.h"

namespace {

using prueba::Copia;
using prueba::RuidoGaussiano;

using Estimador = Estimacion (*)(const Vector&, std::int32_t, std::uint32_t, std::int32_t);

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

TEST_P(EstadoVarianzas, RefuseInOrder) {
  const CasoEstado& c = GetParam();
  const Vector x = RuidoGaussiano(c.n, 31);
  const std::pair<Estimador, int> casos[] = {{&HurstVarianza, c.esperadoVarianza},
                                             {&HurstVarDiferenciada, c.esperadoDiferenciada}};
  for (const auto& [estimador, esperado] : casos) {
    EXPECT_EQ(estimador(x, c.puntosDecada, c.minM, c.minMuestras).estado, esperado);
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
  const Vector x = RuidoGaussiano(1000, 32);
  const Estimacion e = HurstVarianza(x, 6, 1, 20);
  ASSERT_EQ(e.estado, kEstadoOk);
  const Vector& ejeX = e.ejeX;
  const Vector& ejeY = e.ejeY;
  const std::uint32_t niveles[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 20, 29, 42};
  ASSERT_EQ(ejeX.Longitud(), 14u);
  ASSERT_EQ(ejeY.Longitud(), 14u);
  for (std::uint32_t j = 0; j < 14; ++j) {
    EXPECT_EQ(ejeX(j + 1), std::log10(static_cast<double>(niveles[j])));
    EXPECT_EQ(ejeY(j + 1), std::log10(Varianza(Agregar(x, niveles[j])))) << niveles[j];
  }
  EXPECT_EQ(e.valor, AjustePolinomio(ejeX, ejeY, 1)(2) * 0.5 + 1.0);
}

TEST(HurstVarianza, MinMBelowTenAlwaysStartsAtOne) {
  const Vector x = RuidoGaussiano(1000, 33);
  const Estimacion e1 = HurstVarianza(x, 6, 1, 20);
  const Estimacion e5 = HurstVarianza(x, 6, 5, 20);
  const Estimacion e10 = HurstVarianza(x, 6, 10, 20);
  ASSERT_EQ(e1.estado, kEstadoOk);
  ASSERT_EQ(e5.estado, kEstadoOk);
  ASSERT_EQ(e10.estado, kEstadoOk);
  EXPECT_EQ(e1.valor, e5.valor);
  EXPECT_EQ(Copia(e1.ejeX), Copia(e5.ejeX));
  EXPECT_EQ(Copia(e1.ejeY), Copia(e5.ejeY));
  ASSERT_EQ(e10.ejeX.Longitud(), 5u);
  EXPECT_EQ(Copia(e10.ejeX), std::vector<double>(e1.ejeX.begin() + 9, e1.ejeX.end()));
  EXPECT_EQ(Copia(e10.ejeY), std::vector<double>(e1.ejeY.begin() + 9, e1.ejeY.end()));
}

TEST(HurstVarianza, ConstantSeriesAndConstantLevelAreRefused) {
  EXPECT_EQ(HurstVarianza(Vector(1000, 3.7), 6, 0, 20).estado, kEstadoMinM);
  // Alternating 1, 2: every pair has the mean 1.5, so level 2 has no variance.
  Vector x(1000);
  for (std::uint32_t i = 1; i <= 1000; ++i) x[i] = (i % 2) ? 1.0 : 2.0;
  EXPECT_EQ(HurstVarianza(x, 6, 1, 20).estado, kEstadoNivelSinVarianza);
}

TEST(HurstVarDiferenciada, DifferencesOfConsecutiveVariancesPlottedAtTheLowerLevel) {
  const Vector x = RuidoGaussiano(2000, 34);
  // The variance page's defaults, as when both methods share their parameters.
  const Estimacion v = HurstVarianza(x, 6, 10, 20);
  const Estimacion d = HurstVarDiferenciada(x, 6, 10, 20);
  ASSERT_EQ(v.estado, kEstadoOk);
  ASSERT_EQ(d.estado, kEstadoOk);
  const Vector &vx = v.ejeX, &dx = d.ejeX, &dy = d.ejeY;
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
  EXPECT_EQ(d.valor, AjustePolinomio(dx, dy, 1)(2) * 0.5 + 1.0);
}

TEST(HurstVarDiferenciada, DefaultMinimumFiveStartsAtLevelOne) {
  const Vector x = RuidoGaussiano(1000, 35);
  const Estimacion e = HurstVarDiferenciada(x, 6, 5, 20);
  ASSERT_EQ(e.estado, kEstadoOk);
  ASSERT_EQ(e.ejeX.Longitud(), 13u);  // 14 levels 1..42, one difference fewer
  EXPECT_EQ(e.ejeX(1), 0.0);
  EXPECT_EQ(e.ejeX(13), std::log10(29.0));
}

TEST(HurstVarDiferenciada, EqualConsecutiveVariancesAreRefused) {
  // Period 1, 3, 2, 2, 3, 1: pairs and triples of samples all have the mean 2, so
  // levels 2 and 3 both have variance 0 and their difference is zero.
  const double patron[] = {1, 3, 2, 2, 3, 1};
  Vector x(600);
  for (std::uint32_t i = 0; i < 600; ++i) x.Datos()[i] = patron[i % 6];
  EXPECT_EQ(HurstVarDiferenciada(x, 6, 1, 10).estado, kEstadoDiferenciaNula);
  EXPECT_EQ(HurstVarianza(x, 6, 1, 10).estado, kEstadoNivelSinVarianza);
  EXPECT_EQ(HurstVarDiferenciada(Vector(600, 2.0), 6, 1, 10).estado, kEstadoSerieConstante);
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
    const Vector x = c.H == 0.5 ? RuidoGaussiano(10000, 300 + s) : prueba::Fgn(10000, c.H, 400 + s);
    const Estimacion e = c.estimador(x, 6, c.minM, 20);
    ASSERT_EQ(e.estado, kEstadoOk);
    EXPECT_NEAR(e.valor, c.centro, c.tolIndividual) << "semilla " << s;
    suma += e.valor;
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
