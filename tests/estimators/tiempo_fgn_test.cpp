// The seeded noise generators used by the estimator tests, and the time-domain
// estimators on the reference FGN files when they are present.
#include <gtest/gtest.h>

#include <cmath>
#include <charconv>
#include <complex>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "estimators/estado.h"
#include "estimators/hurst_rs.h"
#include "estimators/hurst_var_diferenciada.h"
#include "estimators/hurst_varianza.h"
#include "tests/support/herramientas.h"

namespace {

TEST(GeneradorFgn, FftMatchesTheDirectTransform) {
  prueba::Normal normal(1);
  std::vector<std::complex<double>> a(64);
  for (auto& z : a) z = {normal(), normal()};
  std::vector<std::complex<double>> b = a;
  prueba::Fft(b);
  const double pi = 3.14159265358979323846;
  for (std::size_t k = 0; k < a.size(); ++k) {
    std::complex<double> s = 0;
    for (std::size_t j = 0; j < a.size(); ++j) {
      s += a[j] * std::polar(1.0, -2.0 * pi * static_cast<double>(j * k) / 64.0);
    }
    EXPECT_NEAR(std::abs(b[k] - s), 0.0, 1e-12) << k;
  }
}

TEST(GeneradorFgn, SameSeedSameSeriesOtherSeedOtherSeries) {
  EXPECT_EQ(prueba::GenerarFgn(1000, 0.7, 5), prueba::GenerarFgn(1000, 0.7, 5));
  EXPECT_NE(prueba::GenerarFgn(1000, 0.7, 5), prueba::GenerarFgn(1000, 0.7, 6));
  EXPECT_EQ(prueba::RuidoBlanco(100, 9), prueba::RuidoBlanco(100, 9));
  EXPECT_EQ(prueba::GenerarFgn(1000, 0.7, 5).size(), 1000u);
  EXPECT_EQ(prueba::GenerarFgn(1025, 0.7, 5).size(), 1025u);
}

// Sample autocorrelation at lag k of a zero-mean unit-variance series.
double Autocorrelacion(const std::vector<double>& x, std::size_t k) {
  double s = 0;
  for (std::size_t i = 0; i + k < x.size(); ++i) s += x[i] * x[i + k];
  return s / static_cast<double>(x.size() - k);
}

TEST(GeneradorFgn, CovarianceIsThatOfFgn) {
  // Averaged over independent short series: a single long-memory series estimates its
  // own covariance too poorly to check the generator.
  const std::size_t lags[] = {0, 1, 2, 10};
  for (double H : {0.3, 0.5, 0.8, 0.9}) {
    double suma[4] = {0, 0, 0, 0};
    const int repeticiones = 400;
    for (int r = 0; r < repeticiones; ++r) {
      const std::vector<double> x = prueba::GenerarFgn(512, H, 1000 + r);
      for (int j = 0; j < 4; ++j) suma[j] += Autocorrelacion(x, lags[j]);
    }
    for (int j = 0; j < 4; ++j) {
      EXPECT_NEAR(suma[j] / repeticiones, prueba::AutocovarianzaFgn(H, lags[j]), 0.03)
          << "H " << H << " k " << lags[j];
    }
  }
  EXPECT_DOUBLE_EQ(prueba::AutocovarianzaFgn(0.8, 0), 1.0);
  EXPECT_DOUBLE_EQ(prueba::AutocovarianzaFgn(0.8, 1), std::pow(2.0, 0.6) - 1.0);
  EXPECT_DOUBLE_EQ(prueba::AutocovarianzaFgn(0.5, 3), 0.0);
}

TEST(GeneradorFgn, WhiteNoiseHasUnitVarianceAndNoCorrelation) {
  const std::vector<double> x = prueba::RuidoBlanco(100000, 3);
  double media = 0;
  for (double v : x) media += v;
  media /= static_cast<double>(x.size());
  EXPECT_NEAR(media, 0.0, 0.02);
  EXPECT_NEAR(Autocorrelacion(x, 0), 1.0, 0.02);
  EXPECT_NEAR(Autocorrelacion(x, 1), 0.0, 0.02);
}

// The reference FGN files, when present: each estimator lands near the file's H.
TEST(FicherosFgn, EstimatesNearTheirH) {
  const std::string dir = prueba::DirectorioDatos();
  if (dir.empty() || !std::filesystem::is_directory(dir + "/fgn")) {
    GTEST_SKIP() << "no reference FGN files";
  }
  int usados = 0;
  for (const auto& entrada : std::filesystem::directory_iterator(dir + "/fgn")) {
    const std::string nombre = entrada.path().filename().string();
    // fgn_H<H>_n10000_s<seed>.sam
    if (nombre.rfind("fgn_H", 0) != 0 || entrada.path().extension() != ".sam") continue;
    double H = 0;
    const std::size_t finH = nombre.find('_', 5);
    if (std::from_chars(nombre.data() + 5, nombre.data() + finH, H).ec != std::errc()) continue;
    const std::vector<double> v = prueba::LeerMuestras(entrada.path().string());
    ASSERT_GE(v.size(), 1000u) << nombre;
    const Vector x = prueba::AVector(v);
    const Estimacion rs = HurstRS(x, 6, 8, 10, 4);
    const Estimacion var = HurstVarianza(x, 6, 10, 20);
    const Estimacion dif = HurstVarDiferenciada(x, 6, 5, 20);
    ASSERT_EQ(rs.estado, kEstadoOk) << nombre;
    ASSERT_EQ(var.estado, kEstadoOk) << nombre;
    ASSERT_EQ(dif.estado, kEstadoOk) << nombre;
    // Usual biases: R/S upward near 0.5 and downward near 1, the variance downward.
    EXPECT_NEAR(rs.valor, H, 0.1) << nombre;
    EXPECT_NEAR(var.valor, H, 0.15) << nombre;
    EXPECT_NEAR(dif.valor, H, 0.15) << nombre;
    ++usados;
  }
  if (usados == 0) GTEST_SKIP() << "no reference FGN files";
}

}  // namespace
