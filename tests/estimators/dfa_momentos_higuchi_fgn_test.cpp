// DFA, absolute moments and Higuchi on exact FGN of 10,000 samples, H = 0.5 .. 0.9,
// 20 seeds, default parameters: the mean error of each estimator against its known bias.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "estimators/estado.h"
#include "estimators/hurst_dfa.h"
#include "estimators/hurst_higuchi.h"
#include "estimators/hurst_momentos.h"
#include "tests/support/herramientas.h"

namespace {

constexpr double kValoresH[] = {0.5, 0.6, 0.7, 0.8, 0.9};
constexpr int kSemillas = 20;

// Accepted mean error at one H: either |bias| <= limite, or (for the downward bias of the
// moments and Higuchi at high H, known from many more seeds) the band [desde, hasta]
// within two standard errors of the 20-seed mean.
struct Sesgo {
  double limite;  // 0 when the band applies
  double desde, hasta;
};

constexpr Sesgo kMenor(double limite) { return {limite, 0, 0}; }
constexpr Sesgo kBanda(double desde, double hasta) { return {0, desde, hasta}; }

Estimacion Dfa1(const Vector& x) { return HurstDfa(x, 1, 10, 10); }
Estimacion Momentos(const Vector& x) { return HurstMomentosAbsolutos(x, 6, 10, 20); }
Estimacion Higuchi(const Vector& x) { return HurstHiguchi(x, 0, 10); }

struct CasoPrecision {
  const char* nombre;
  Estimacion (*estimador)(const Vector&);
  Sesgo sesgos[std::size(kValoresH)];
};

// One test for the three estimators, so that the 100 series are generated only once.
TEST(PrecisionFgn, SesgoMedioEnVeinteSemillas) {
  const CasoPrecision casos[] = {
      {"DFA", Dfa1,
       {kMenor(0.015), kMenor(0.015), kMenor(0.015), kMenor(0.015), kMenor(0.015)}},
      {"momentos absolutos", Momentos,
       {kMenor(0.03), kMenor(0.03), kMenor(0.03), kBanda(-0.045, -0.035),
        kBanda(-0.07, -0.06)}},
      {"Higuchi", Higuchi,
       {kMenor(0.03), kMenor(0.03), kMenor(0.03), kBanda(-0.045, -0.035),
        kBanda(-0.07, -0.06)}},
  };
  for (std::size_t i = 0; i < std::size(kValoresH); ++i) {
    const double H0 = kValoresH[i];
    std::vector<Vector> series;
    for (int s = 1; s <= kSemillas; ++s) {
      series.push_back(prueba::Fgn(10000, H0, static_cast<std::uint64_t>(s)));
    }
    for (const CasoPrecision& c : casos) {
      double suma = 0, cuadrados = 0;
      for (const Vector& x : series) {
        const Estimacion e = c.estimador(x);
        ASSERT_EQ(e.estado, kEstadoOk) << c.nombre << ", H " << H0;
        const double H = e.valor;
        suma += H - H0;
        cuadrados += (H - H0) * (H - H0);
      }
      const double sesgo = suma / kSemillas;
      const double desviacion =
          std::sqrt((cuadrados - kSemillas * sesgo * sesgo) / (kSemillas - 1));
      const double error = 2 * desviacion / std::sqrt(static_cast<double>(kSemillas));
      const Sesgo& s = c.sesgos[i];
      SCOPED_TRACE(testing::Message() << c.nombre << ", H " << H0 << ": sesgo " << sesgo
                                      << ", desviación " << desviacion);
      if (s.limite > 0) {
        EXPECT_LE(std::fabs(sesgo), s.limite);
      } else {
        EXPECT_GE(sesgo + error, s.desde);
        EXPECT_LE(sesgo - error, s.hasta);
      }
    }
  }
}

}  // namespace
