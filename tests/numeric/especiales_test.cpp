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
    FalloEjecucion codigo;
  };
  const Caso casos[] = {{0.0, 1.0, kFalloArgumentosGammp},
                        {-1.0, 1.0, kFalloArgumentosGammp},
                        {1.0, -1.0, kFalloArgumentosGammp}};
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
    EXPECT_EQ(e.Codigo(), kFalloGserNegativo);
  }
  // A huge a with x just below a + 1 needs far more than 100 series terms.
  try {
    Gammp(1.0e6, 1.0e6);
    ADD_FAILURE();
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), kFalloIteracionesGamma);
  }
  // Same with the continued fraction just above the switch.
  try {
    Gcf(r, 1.0e6, 1.0e6 + 2.0, gln);
    ADD_FAILURE();
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), kFalloIteracionesGamma);
  }
}


// Reference values to 25 digits; ψ is checked in relative terms also next to its zero.
TEST(DigammaTrigamma, ValoresConocidos) {
  constexpr double kEuler = 0.5772156649015328606;
  constexpr double kPi = std::numbers::pi;
  struct Caso {
    double x, psi, trigamma;
  };
  const Caso casos[] = {
      {0.5, -kEuler - 2.0 * std::numbers::ln2, kPi * kPi / 2.0},
      {1.0, -kEuler, kPi * kPi / 6.0},
      {0.7, -1.220023553697934740605672, 2.834049156694610912616734},
      // The double nearest the zero of ψ, and points just beyond the Taylor interval.
      {1.4616321449683622, -9.241265521729427516792351e-17, 0.9676722454476212549951696},
      {1.47, 0.008066489011364868442326111, 0.9603162090511507018856352},
      {1.5, 0.03648997397857652055902367, 0.9348022005446793094172455},
      {2.0, 1.0 - kEuler, kPi * kPi / 6.0 - 1.0},
      {2.5, 0.7031566406452431872256903, 0.4903577561002348649728011},
      {7.3, 1.917820335637986072291468, 0.146795768131427101985461},
      {9.99, 2.25070037283120112197865, 0.1052769501482417843854417},
      {10.0, 2.251752589066721107647456, 0.105166335681685746122201},
      {50.5, 3.912039670928391984608787, 0.01999933342663715977501203},
      {1e6, 13.81551005796419077077462, 0.000001000000500000166666666667},
      {3e8, 19.51929303095380849594658, 3.333333338888888895061728e-9},
  };
  for (const Caso& c : casos) {
    EXPECT_NEAR(Digamma(c.x), c.psi, 2e-15 * std::fabs(c.psi)) << c.x;
    EXPECT_NEAR(Trigamma(c.x), c.trigamma, 2e-15 * c.trigamma) << c.x;
  }
  // The recurrences ψ(x + 1) = ψ(x) + 1/x and ψ′(x + 1) = ψ′(x) − 1/x² across the
  // switches between the methods (Taylor interval, recurrence, asymptotic series).
  for (double x = 0.5; x < 14.0; x += 0.0625) {
    EXPECT_NEAR(Digamma(x + 1.0), Digamma(x) + 1.0 / x, 4e-15 * (std::fabs(Digamma(x)) + 1.0 / x))
        << x;
    EXPECT_NEAR(Trigamma(x + 1.0), Trigamma(x) - 1.0 / (x * x), 4e-15 * Trigamma(x)) << x;
  }
  for (double x : {0.0, -1.0, std::nan("")}) {
    EXPECT_TRUE(std::isnan(Digamma(x))) << x;
    EXPECT_TRUE(std::isnan(Trigamma(x))) << x;
  }
}

}  // namespace
