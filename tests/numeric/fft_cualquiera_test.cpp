#include "numeric/fft_cualquiera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "numeric/error.h"
#include "support/herramientas.h"

namespace {

// The first m DFT terms by the direct sum in long double, index t·k reduced mod n.
void DftDirectaPrimeras(const std::vector<double>& x, std::int32_t m, std::vector<double>& re,
                        std::vector<double>& im) {
  const auto n = static_cast<std::int64_t>(x.size());
  std::vector<long double> c(n), s(n);
  for (std::int64_t r = 0; r < n; ++r) {
    const long double a = 2.0L * std::numbers::pi_v<long double> * r / n;
    c[r] = std::cos(a);
    s[r] = std::sin(a);
  }
  re.assign(m, 0.0);
  im.assign(m, 0.0);
  for (std::int64_t k = 0; k < m; ++k) {
    long double sr = 0, si = 0;
    for (std::int64_t t = 0, r = 0; t < n; ++t, r = (r + k) % n) {
      sr += x[t] * c[r];
      si -= x[t] * s[r];
    }
    re[k] = static_cast<double>(sr);
    im[k] = static_cast<double>(si);
  }
}

// Prime lengths above 37 and lengths with such a factor go through the chirp-z
// transform, the others through the mixed-radix one; both agree with the direct sum to
// 1e-13 of the largest term, for every m. (The butterfly constants of the mixed-radix
// transform carry 14 digits, which sets the floor.)
TEST(DftPrimerasFrecuencias, IgualALaSumaDirecta) {
  struct Caso {
    std::int32_t n, m;
  };
  const Caso casos[] = {{1, 1},     {2, 2},     {7, 3},     {41, 41},   {41, 1},
                        {82, 40},   {74, 74},   {101, 50},  {127, 127}, {997, 31},
                        {1019, 509}, {1024, 33}, {4093, 300}, {5003, 70}};
  prueba::Normal z(7);
  for (const Caso& c : casos) {
    std::vector<double> x(c.n);
    for (double& v : x) v = z();
    std::vector<double> re(c.m, -1.0), im(c.m, -1.0), dre, dim;
    DftPrimerasFrecuencias(c.n, x.data(), c.m, re.data(), im.data());
    DftDirectaPrimeras(x, c.m, dre, dim);
    double mayor = 0.0, error = 0.0;
    for (std::int32_t k = 0; k < c.m; ++k) {
      mayor = std::max(mayor, std::hypot(dre[k], dim[k]));
      error = std::max(error, std::hypot(re[k] - dre[k], im[k] - dim[k]));
    }
    EXPECT_LE(error, 1e-13 * mayor) << c.n << " " << c.m;
    // Every term, also the small ones, to 2e-13 of the size of a typical term, √n.
    double peor = 0.0;
    for (std::int32_t k = 1; k < c.m; ++k)
      peor = std::max(peor, std::hypot(re[k] - dre[k], im[k] - dim[k]));
    EXPECT_LE(peor, 2e-13 * std::sqrt(static_cast<double>(c.n))) << c.n << " " << c.m;
  }
  double re[2], im[2];
  const double x[2] = {1.0, 2.0};
  for (const Caso& c : {Caso{0, 1}, Caso{2, 0}, Caso{2, 3}})
    EXPECT_THROW(DftPrimerasFrecuencias(c.n, x, c.m, re, im), ErrorNumerico) << c.n << " " << c.m;
}

TEST(LongitudSuave, MenorProductoDeDosTresYCincoNoMenor) {
  const std::int64_t casos[][2] = {{0, 1},     {1, 1},       {7, 8},             {11, 12},
                                   {17, 18},   {97, 100},    {1000000, 1000000}, {1000981, 1012500},
                                   {1048577, 1049760}};
  for (const auto& c : casos) EXPECT_EQ(LongitudSuave(c[0]), c[1]) << c[0];
}

}  // namespace
