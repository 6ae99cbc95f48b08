// R/S estimator: status order, lag schedule, block placement, refusals and estimates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

#include "estimators/estado.h"
#include "estimators/hurst_rs.h"
#include "numeric/estadistica.h"
#include "numeric/regresion.h"
#include "tests/support/herramientas.h"

namespace {

using prueba::RuidoGaussiano;

// R/S of the block x(t..t + d - 1), composed from the library functions step by step.
double RSReferencia(const Vector& x, std::uint32_t t, std::uint32_t d) {
  const Vector y = x.SubVector(t, t + d - 1);
  const Vector w = SumaAcumulada(y - Media(y));
  return (Maximo(w) - Minimo(w)) / std::sqrt(Varianza(y));
}

// The lags with their kept blocks, followed literally: linear phase, logarithmic phase
// stopping at the first lag with too few blocks, which is removed.
struct PuntosRS {
  std::vector<double> x, y;
  std::vector<std::uint32_t> lags;
};
PuntosRS ReferenciaRS(const Vector& x, int puntosDecada, int bloques, std::uint32_t minD,
                      int minMuestras) {
  PuntosRS r;
  const std::uint32_t n = x.Longitud();
  auto procesa = [&](std::uint32_t d) {
    int k = 1;
    std::uint32_t t = 1;
    while (static_cast<std::uint64_t>(t) + d - 1 <= n) {
      r.x.push_back(std::log10(static_cast<double>(d)));
      r.y.push_back(std::log10(RSReferencia(x, t, d)));
      ++k;
      t = (n / bloques) * (k - 1) + 1;
    }
    r.lags.push_back(d);
    return k - 1;
  };
  if (minD < 10) {
    for (std::uint32_t d = minD; d <= 9; ++d) procesa(d);
  }
  std::uint32_t d = minD < 10 ? 10 : minD;
  int producidos = 0;
  do {
    producidos = procesa(d);
    d = static_cast<std::uint32_t>(std::pow(10.0, 1.0 / puntosDecada) * d);
  } while (producidos >= minMuestras);
  r.x.resize(r.x.size() - producidos);
  r.y.resize(r.y.size() - producidos);
  r.lags.pop_back();
  return r;
}

std::vector<double> Distintos(const Vector& v) {
  std::vector<double> r;
  for (double a : v) {
    if (r.empty() || r.back() != a) r.push_back(a);
  }
  return r;
}

struct CasoEstado {
  const char* nombre;
  std::uint32_t n;
  int puntosDecada, bloques;
  std::uint32_t minD;
  int minMuestras;
  int esperado;
};

class EstadoRS : public ::testing::TestWithParam<CasoEstado> {};

TEST_P(EstadoRS, RefusesInOrder) {
  const CasoEstado& c = GetParam();
  const Vector x = RuidoGaussiano(c.n, 11);
  EXPECT_EQ(HurstRS(x, c.puntosDecada, c.bloques, c.minD, c.minMuestras).estado, c.esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, EstadoRS,
    ::testing::Values(
        CasoEstado{"corta_aunque_todo_mal", 99, 0, 16, 0, 0, kEstadoSerieCorta},
        CasoEstado{"bloques16_antes_que_decada", 1000, 0, 16, 10, 4, kEstadoBloquesRS},
        CasoEstado{"bloques1", 1000, 6, 1, 10, 4, kEstadoBloquesRS},
        CasoEstado{"decada0_antes_que_minD", 1000, 0, 8, 1, 0, kEstadoPuntosDecada},
        CasoEstado{"decada21", 1000, 21, 8, 10, 4, kEstadoPuntosDecada},
        CasoEstado{"minD1_antes_que_minMuestras", 1000, 6, 8, 1, 0, kEstadoMinD},
        CasoEstado{"minMuestras0", 1000, 6, 8, 10, 0, kEstadoMinMuestrasRS},
        // "-5" typed in the unsigned field: a lag beyond any series, no point at all.
        CasoEstado{"minD_negativo", 1000, 6, 8, static_cast<std::uint32_t>(-5), 4,
                   kEstadoPocosPuntos},
        CasoEstado{"minD_mayor_que_serie", 1000, 6, 8, 1001, 1, kEstadoPocosPuntos},
        // Lags 600, 880 keep 4 and 2 blocks; with 3 required only 600 stays.
        CasoEstado{"pocos_retardos", 1000, 6, 8, 600, 3, kEstadoPocosPuntos}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(HurstRS, DefaultLagsAndBlockCountsForThousandSamples) {
  const Vector x = RuidoGaussiano(1000, 3);
  const Estimacion e = HurstRS(x, 6, 8, 10, 4);
  ASSERT_EQ(e.estado, kEstadoOk);
  // Block starts 125 apart: 8 blocks up to d = 125, then fewer; lag 877 would give only
  // one block (fewer than 4) and ends the search without a point.
  const std::vector<double> lags = {10, 14, 20, 29, 42, 61, 89, 130, 190, 278, 408, 598};
  const std::vector<std::size_t> cuantos = {8, 8, 8, 8, 8, 8, 8, 7, 7, 6, 5, 4};
  const std::vector<double> distintos = Distintos(e.ejeX);
  ASSERT_EQ(distintos.size(), lags.size());
  std::size_t k = 1;
  for (std::size_t i = 0; i < lags.size(); ++i) {
    EXPECT_DOUBLE_EQ(std::pow(10.0, distintos[i]), lags[i]) << i;
    for (std::size_t b = 0; b < cuantos[i]; ++b, ++k) {
      ASSERT_EQ(e.ejeX(static_cast<std::uint32_t>(k)), distintos[i]) << "lag " << lags[i];
    }
  }
  EXPECT_EQ(e.ejeX.Longitud(), k - 1);
  EXPECT_EQ(e.ejeY.Longitud(), e.ejeX.Longitud());
}

TEST(HurstRS, BlocksOfLagTenStartEvery125Samples) {
  const Vector x = RuidoGaussiano(1000, 4);
  const Estimacion e = HurstRS(x, 6, 8, 10, 4);
  ASSERT_EQ(e.estado, kEstadoOk);
  const std::uint32_t inicios[] = {1, 126, 251, 376, 501, 626, 751, 876};
  for (std::uint32_t b = 0; b < 8; ++b) {
    EXPECT_DOUBLE_EQ(e.ejeY(b + 1), std::log10(RSReferencia(x, inicios[b], 10))) << b;
  }
}

TEST(HurstRS, RemainderAddsOneBlockWhenItHoldsTheLag) {
  // n = 1015, 8 blocks: starts 126 apart, remainder 7: a lag of 7 fits a ninth block
  // (start 1009), a lag of 10 does not.
  const Vector x = RuidoGaussiano(1015, 5);
  const Estimacion e = HurstRS(x, 6, 8, 7, 4);
  ASSERT_EQ(e.estado, kEstadoOk);
  std::size_t de7 = 0, de10 = 0;
  for (double v : e.ejeX) {
    de7 += v == std::log10(7.0);
    de10 += v == std::log10(10.0);
  }
  EXPECT_EQ(de7, 9u);
  EXPECT_EQ(de10, 8u);
  EXPECT_DOUBLE_EQ(e.ejeY(9), std::log10(RSReferencia(x, 1009, 7)));
}

struct CasoParametros {
  std::uint32_t n;
  int puntosDecada, bloques;
  std::uint32_t minD;
  int minMuestras;
};

class ComparaReferenciaRS : public ::testing::TestWithParam<CasoParametros> {};

TEST_P(ComparaReferenciaRS, MatchesTheStepByStepComputationExactly) {
  const CasoParametros& c = GetParam();
  const Vector x = RuidoGaussiano(c.n, 20 + c.n);
  const Estimacion e = HurstRS(x, c.puntosDecada, c.bloques, c.minD, c.minMuestras);
  ASSERT_EQ(e.estado, kEstadoOk);
  const PuntosRS r = ReferenciaRS(x, c.puntosDecada, c.bloques, c.minD, c.minMuestras);
  ASSERT_EQ(prueba::Copia(e.ejeX), r.x);
  ASSERT_EQ(prueba::Copia(e.ejeY), r.y);
  const Vector coef = AjustePolinomio(prueba::AVector(r.x), prueba::AVector(r.y), 1);
  EXPECT_EQ(e.valor, coef(2));
}

INSTANTIATE_TEST_SUITE_P(Combinaciones, ComparaReferenciaRS,
                         ::testing::Values(CasoParametros{1000, 6, 8, 10, 4},
                                           CasoParametros{1000, 6, 8, 2, 4},
                                           CasoParametros{1000, 6, 8, 12, 4},
                                           CasoParametros{1000, 20, 15, 3, 1},
                                           CasoParametros{1000, 1, 2, 2, 2},
                                           CasoParametros{4321, 3, 5, 10, 5},
                                           CasoParametros{100, 6, 8, 2, 8}));

TEST(HurstRS, MinDTwoProcessesEveryLagBelowTenFirst) {
  const Vector x = RuidoGaussiano(1000, 6);
  const Estimacion e = HurstRS(x, 6, 8, 2, 4);
  ASSERT_EQ(e.estado, kEstadoOk);
  const std::vector<double> d = Distintos(e.ejeX);
  ASSERT_GE(d.size(), 10u);
  for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(std::pow(10.0, d[i]), i + 2.0);
  EXPECT_DOUBLE_EQ(std::pow(10.0, d[8]), 10.0);
  EXPECT_DOUBLE_EQ(std::pow(10.0, d[9]), 14.0);
}

TEST(HurstRS, MinDTwelveSkipsTheLinearPhase) {
  const Vector x = RuidoGaussiano(1000, 7);
  const Estimacion e = HurstRS(x, 6, 8, 12, 4);
  ASSERT_EQ(e.estado, kEstadoOk);
  const std::vector<double> d = Distintos(e.ejeX);
  EXPECT_DOUBLE_EQ(std::pow(10.0, d[0]), 12.0);
  EXPECT_DOUBLE_EQ(std::pow(10.0, d[1]), 17.0);  // floor(12 * 1.4678)
}

TEST(HurstRS, LagThatEndsTheSearchContributesNoPoint) {
  const Vector x = RuidoGaussiano(1000, 8);
  // Five blocks required: lag 598 (4 blocks) ends the search; 408 is the last kept.
  const Estimacion e = HurstRS(x, 6, 8, 10, 5);
  ASSERT_EQ(e.estado, kEstadoOk);
  EXPECT_DOUBLE_EQ(std::pow(10.0, e.ejeX(e.ejeX.Longitud())), 408.0);
  std::size_t de408 = 0;
  for (double v : e.ejeX) de408 += v == e.ejeX(e.ejeX.Longitud());
  EXPECT_EQ(de408, 5u);
}

TEST(HurstRS, ConstantSeriesIsRefused) {
  // Status checks on the parameters come first.
  EXPECT_EQ(HurstRS(Vector(500, 0.1), 6, 16, 10, 4).estado, kEstadoBloquesRS);
}

TEST(HurstRS, ConstantStretchAsLongAsALagIsRefused) {
  // 0.1 is not exact in binary: the block mean of ten copies differs from 0.1 in the
  // last bit, so a refusal that relied on a computed variance of exactly zero would
  // let this block through with a meaningless R/S.
  Vector x = RuidoGaussiano(1000, 9);
  for (std::uint32_t i = 126; i <= 135; ++i) x[i] = 0.1;
  EXPECT_EQ(HurstRS(x, 6, 8, 10, 4).estado, kEstadoBloqueSinVarianzaRS);
  // The same stretch shifted by one sample lies in no block of lag 10 or more
  // (blocks start at 126 and 251), and the smaller lags are not used.
  x[126] = 0.3;
  x[136] = 0.1;
  EXPECT_EQ(HurstRS(x, 6, 8, 10, 4).estado, kEstadoOk);
}

TEST(HurstRS, WhiteNoiseGivesHalf) {
  // R/S over short lags is biased upward for independent samples (about 0.55 here).
  double suma = 0;
  for (std::uint64_t s = 0; s < 5; ++s) {
    const Estimacion e = HurstRS(RuidoGaussiano(10000, 100 + s), 6, 8, 10, 4);
    ASSERT_EQ(e.estado, kEstadoOk);
    EXPECT_NEAR(e.valor, 0.55, 0.07);
    suma += e.valor;
  }
  EXPECT_NEAR(suma / 5, 0.55, 0.04);
}

TEST(HurstRS, FractionalGaussianNoiseNearItsH) {
  double suma = 0;
  for (std::uint64_t s = 0; s < 5; ++s) {
    const Estimacion e = HurstRS(prueba::Fgn(10000, 0.8, 200 + s), 6, 8, 10, 4);
    ASSERT_EQ(e.estado, kEstadoOk);
    EXPECT_NEAR(e.valor, 0.78, 0.07);
    suma += e.valor;
  }
  EXPECT_NEAR(suma / 5, 0.8, 0.05);
}

}  // namespace
