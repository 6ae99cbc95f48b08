// The estimators on seeded exact fractional Gaussian noise: how often the Whittle FGN
// interval covers the true H, the usual bias of the semiparametric estimators, and the
// agreement of FARIMA(0, d, 0) with the FGN model.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <iostream>
#include <locale>

#include "estimators/estado.h"
#include "estimators/hurst_periodograma.h"
#include "estimators/hurst_whittle_agregado.h"
#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "frecuencia_comun.h"

namespace {

using namespace frecuencia;

constexpr int kSemillas = 8;
constexpr std::uint32_t kLongitud = 10000;

struct Resumen {
  int cubiertos = 0;           // Whittle FGN intervals holding the true H
  double peorFgn = 0.0;        // largest |H − H0| of each estimator
  double peorLocal = 0.0;
  double peorPeriodograma = 0.0;
  double peorAgregado = 0.0;
  double peorFarimaVsFgn = 0.0;  // largest |H_FARIMA(0,d,0) − H_FGN − model bias|
  double sesgoLocal = 0.0;       // mean H − H0
  double sesgoPeriodograma = 0.0;
};

// FARIMA(0, d, 0) is not FGN: on FGN its Whittle estimate tends to the H whose FARIMA
// density is closest, in Whittle's sense, to the FGN density. That limit is where the
// FARIMA objective is least when the exact FGN density takes the place of the periodogram.
double LimiteFarimaSobreFgn(double H0) {
  const Vector lambda = Rampa(1, 1, 4999) * kDosPi / 10000u;
  const ObjetivoWhittleFarima objetivo(0, 0, DensidadFgn(H0, lambda, 10000), lambda);
  return MinUnaVble([&](double h) { return objetivo(Vector(1, h)); }, 0.3, 1.3, 1e-8);
}

// The FGN objective with the exact FGN density as periodogram is least at H0 itself.
TEST(FrecuenciaFgnDensidad, ObjetivoFgnSeMinimizaEnSuH) {
  const Vector lambda = Rampa(1, 1, 4999) * kDosPi / 10000u;
  for (const double H0 : {0.55, 0.6, 0.7, 0.8, 0.9}) {
    const ObjetivoWhittleFgn objetivo(DensidadFgn(H0, lambda, 10000), lambda, 10000);
    EXPECT_NEAR(MinUnaVble(std::cref(objetivo), 0.4999, 1.0001, 1e-8), H0, 1e-3);
  }
}

class FrecuenciaFgn : public testing::TestWithParam<double> {};

TEST_P(FrecuenciaFgn, EstimacionesAlrededorDeH) {
  const double H0 = GetParam();
  Resumen r;
  const double sesgoFarima = LimiteFarimaSobreFgn(H0) - H0;
  for (int s = 1; s <= kSemillas; ++s) {
    const Vector serie = Fgn(kLongitud, H0, 1000 + static_cast<std::uint64_t>(s));
    const Estimacion fgn = HurstWhittleFgn(serie);
    ASSERT_EQ(fgn.estado, kEstadoOk);
    if (fgn.inferior <= H0 && H0 <= fgn.superior) ++r.cubiertos;
    r.peorFgn = std::max(r.peorFgn, std::fabs(fgn.valor - H0));

    const Estimacion local = HurstWhittleLocal(serie, 4);
    ASSERT_EQ(local.estado, kEstadoOk);
    r.peorLocal = std::max(r.peorLocal, std::fabs(local.valor - H0));
    r.sesgoLocal += (local.valor - H0) / kSemillas;

    const Estimacion periodograma = HurstPeriodograma(serie, 10.0f);
    ASSERT_EQ(periodograma.estado, kEstadoOk);
    r.peorPeriodograma = std::max(r.peorPeriodograma, std::fabs(periodograma.valor - H0));
    r.sesgoPeriodograma += (periodograma.valor - H0) / kSemillas;

    const Estimacion agregado = HurstWhittleAgregado(serie, 10);
    ASSERT_EQ(agregado.estado, kEstadoOk);
    r.peorAgregado = std::max(r.peorAgregado, std::fabs(agregado.valor - H0));

    const Estimacion farima = HurstWhittleFarima(serie, 0, 0);
    // Near H = 1 the FARIMA fit of FGN may reach d = 0.5, outside the model: refused.
    if (farima.estado == kEstadoFarimaFueraDeRegion && H0 + sesgoFarima > 0.95) continue;
    ASSERT_EQ(farima.estado, kEstadoOk);
    r.peorFarimaVsFgn =
        std::max(r.peorFarimaVsFgn, std::fabs(farima.valor - fgn.valor - sesgoFarima));
  }
  std::cout.imbue(std::locale::classic());
  std::cout << "[FGN H=" << H0 << ", n=" << kLongitud << ", " << kSemillas << " semillas] "
            << "cubre " << r.cubiertos << "/" << kSemillas << ", |error| max: FGN "
            << r.peorFgn << ", local " << r.peorLocal << " (sesgo " << r.sesgoLocal
            << "), periodograma " << r.peorPeriodograma << " (sesgo " << r.sesgoPeriodograma
            << "), agregado(10) " << r.peorAgregado << "; FARIMA(0,d,0) - FGN = sesgo del modelo " << sesgoFarima
            << " +- " << r.peorFarimaVsFgn << '\n';

  EXPECT_GE(r.cubiertos, kSemillas - 2);
  EXPECT_LT(r.peorFgn, 0.04);
  EXPECT_LT(r.peorLocal, 0.08);
  EXPECT_LT(r.peorPeriodograma, 0.15);
  EXPECT_LT(r.peorAgregado, 0.15);
  EXPECT_LT(r.peorFarimaVsFgn, 0.015);
}

INSTANTIATE_TEST_SUITE_P(ValoresDeH, FrecuenciaFgn, testing::Values(0.6, 0.7, 0.8, 0.9));


// The yearly Nile minima, the classic long-memory series: Whittle FGN gives H ≈ 0.84.
TEST(FrecuenciaSeriesReales, NiloConWhittleFgn) {
  const Vector nilo =
      AVector(LeerMuestras(std::string(FENWA_SOURCE_DIR) + "/examples/NileMin.sam"));
  ASSERT_EQ(nilo.Longitud(), 663u);
  const Estimacion e = HurstWhittleFgn(nilo);
  ASSERT_EQ(e.estado, kEstadoOk);
  EXPECT_NEAR(e.valor, 0.84, 0.01);
  EXPECT_NEAR(e.superior - e.valor, 1.96 * std::sqrt(VarianzaWhittleFgn(e.valor) / 663), 1e-12);
}

}  // namespace
