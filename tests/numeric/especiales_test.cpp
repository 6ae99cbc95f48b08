#include "numeric/especiales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "numeric/error.h"

namespace {

TEST(Gamma, ValoresConocidos) {
  struct Caso {
    double x, gamma;
  };
  const Caso casos[] = {
      {1.0, 1.0},
      {2.0, 1.0},
      {3.0, 2.0},
      {5.0, 24.0},
      {0.5, std::sqrt(std::numbers::pi)},
      {1.5, std::sqrt(std::numbers::pi) / 2.0},
      {10.0, 362880.0},
      {2.4, 1.2421693445043054},  // Γ(2H + 1) at H = 0.7
  };
  for (const Caso& c : casos) EXPECT_NEAR(Gamma(c.x), c.gamma, 1e-10 * c.gamma) << c.x;
}

TEST(Gamma, DesbordaPasado171) {
  EXPECT_TRUE(std::isfinite(Gamma(171.0)));
  EXPECT_TRUE(std::isinf(Gamma(172.0)));
}

TEST(LnGamma, IgualAlLogaritmoDeGammaDondeEsFinita) {
  for (double x : {0.3, 1.0, 2.5, 7.0, 50.0, 120.5, 171.5}) {
    EXPECT_EQ(LnGamma(x), std::log(Gamma(x))) << x;
  }
}

TEST(LnGamma, FinitaMasAllaDelLimiteDeGamma) {
  struct Caso {
    double x, lnGamma;
  };
  const Caso casos[] = {
      {250.0, 1128.5237708729907},
      {1000.0, 5905.220423209181},
      {1.0e6, 12815504.569147611},
  };
  for (const Caso& c : casos) EXPECT_NEAR(LnGamma(c.x), c.lnGamma, 1e-10 * c.lnGamma) << c.x;
  // Continuous across the point where Γ itself overflows.
  ASSERT_TRUE(std::isfinite(Gamma(171.5)));
  ASSERT_TRUE(std::isinf(Gamma(172.5)));
  EXPECT_NEAR(LnGamma(172.5) - std::log(171.5), LnGamma(171.5), 1e-12 * 709.0);
}

TEST(Gammp, ValoresConocidos) {
  EXPECT_EQ(Gammp(1.0, 0.0), 0.0);
  EXPECT_EQ(Gammp(7.5, 0.0), 0.0);
  for (double x : {0.01, 0.5, 1.0, 1.99, 2.0, 2.01, 5.0, 30.0}) {
    EXPECT_NEAR(Gammp(1.0, x), 1.0 - std::exp(-x), 1e-7) << x;
  }
  // Around the switch at x = a + 1: 2.9 by the series, 3 by the continued fraction.
  EXPECT_NEAR(Gammp(2.0, 2.9), 0.785409441780011792, 1e-7);
  EXPECT_NEAR(Gammp(2.0, 3.0), 0.800851726528544228, 1e-7);
  double p, q, gln;
  Gser(p, 2.0, 2.9, gln);
  EXPECT_NEAR(p, 0.785409441780011792, 1e-7);
  EXPECT_NEAR(gln, 0.0, 1e-12);
  Gcf(q, 2.0, 3.0, gln);
  EXPECT_NEAR(1.0 - q, 0.800851726528544228, 1e-7);
}

TEST(ProbChi2, ValoresConocidos) {
  struct Caso {
    double chi2, nu, p;
  };
  const Caso casos[] = {
      {3.0, 2.0, 0.776869839851570171},  // 1 - e^(-chi2/2)
      {10.0, 4.0, 0.959572318005487197},
      // 500 degrees of freedom: ln Γ(250) does not fit in Γ itself.
      {500.0, 500.0, 0.508410626968990961},
      {450.0, 500.0, 0.0530596872280580550},
      {550.0, 500.0, 0.939695613714540765},
      {600.0, 500.0, 0.998622528122471798},
  };
  for (const Caso& c : casos) EXPECT_NEAR(ProbChi2(c.chi2, c.nu), c.p, 1e-6) << c.chi2 << " " << c.nu;
  for (double chi2 : {0.1, 1.0, 4.0, 20.0})
    EXPECT_NEAR(ProbChi2(chi2, 2.0), 1.0 - std::exp(-chi2 / 2.0), 1e-7) << chi2;
}

TEST(Gammp, ErroresCapturados) {
  struct Caso {
    double a, x;
    int codigo;
  };
  const Caso casos[] = {{0.0, 1.0, 10}, {-1.0, 1.0, 10}, {1.0, -1.0, 10}};
  for (const Caso& c : casos) {
    try {
      Gammp(c.a, c.x);
      ADD_FAILURE() << "no error for " << c.a << ", " << c.x;
    } catch (const ErrorNumerico& e) {
      EXPECT_EQ(e.Codigo(), c.codigo);
    }
  }
  double r, gln;
  try {
    Gser(r, 1.0, -0.5, gln);
    ADD_FAILURE();
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), 9);
  }
  // A huge a with x just below a + 1 needs far more than 100 series terms.
  try {
    Gammp(1.0e6, 1.0e6);
    ADD_FAILURE();
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), 8);
  }
  // Same with the continued fraction just above the switch.
  try {
    Gcf(r, 1.0e6, 1.0e6 + 2.0, gln);
    ADD_FAILURE();
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), 8);
  }
}

}  // namespace
