#include "numeric/ondiculas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "numeric/error.h"

namespace {

// The identities that make h an orthonormal Daubechies filter with N vanishing moments,
// summed in long double so that only the rounding of the coefficients themselves shows.
TEST(FiltroDaubechies, IdentidadesDeCadaOrden) {
  for (int N = 1; N <= kMaxMomentosNulos; ++N) {
    const auto h = FiltroDaubechies(N);
    ASSERT_EQ(h.size(), static_cast<std::size_t>(2 * N));
    const int L = 2 * N;
    long double suma = 0, cuadrados = 0;
    for (const double v : h) {
      suma += v;
      cuadrados += static_cast<long double>(v) * v;
    }
    EXPECT_NEAR(static_cast<double>(suma), std::numbers::sqrt2, 1e-15) << N;
    EXPECT_NEAR(static_cast<double>(cuadrados), 1.0, 1e-15) << N;
    // Orthogonal to its even shifts.
    for (int m = 1; m < N; ++m) {
      long double s = 0;
      for (int l = 0; l + 2 * m < L; ++l) s += static_cast<long double>(h[l]) * h[l + 2 * m];
      EXPECT_NEAR(static_cast<double>(s), 0.0, 1e-15) << N << " " << m;
    }
    // Σ (−1)^l l^k h[l] = 0 for k < N, relative to the size of the terms.
    for (int k = 0; k < N; ++k) {
      long double s = 0, escala = 0;
      for (int l = 0; l < L; ++l) {
        const long double termino = std::pow(static_cast<long double>(l), k) * h[l];
        s += (l % 2 ? -termino : termino);
        escala += std::fabs(termino);
      }
      EXPECT_LE(std::fabs(static_cast<double>(s)), 4e-16 * static_cast<double>(escala))
          << N << " " << k;
    }
  }
}

TEST(FiltroDaubechies, PrimerosOrdenesYOrdenDeLosCoeficientes) {
  const double r = std::numbers::sqrt2;
  const double s3 = std::numbers::sqrt3;
  const double haar[] = {1 / r, 1 / r};
  const double d2[] = {(1 + s3) / (4 * r), (3 + s3) / (4 * r), (3 - s3) / (4 * r),
                       (1 - s3) / (4 * r)};
  for (int l = 0; l < 2; ++l) EXPECT_DOUBLE_EQ(FiltroDaubechies(1)[l], haar[l]);
  for (int l = 0; l < 4; ++l) EXPECT_NEAR(FiltroDaubechies(2)[l], d2[l], 3e-16);
  // The extremal-phase filter, not its reverse.
  EXPECT_EQ(FiltroDaubechies(3)[0], 0.33267055295008263);
  EXPECT_EQ(FiltroDaubechies(3)[5], 0.03522629188570953);
  for (int N : {0, 11, -1}) EXPECT_THROW(FiltroDaubechies(N), ErrorNumerico) << N;
}

}  // namespace
