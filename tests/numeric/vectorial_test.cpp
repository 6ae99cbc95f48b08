// Exponentials and logarithms of arrays on vectors, against the standard library's.
#include "numeric/vectorial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "hwy/targets.h"

namespace {

// Runs prueba(elegido) once for every instruction set compiled in that this processor has,
// each chosen in turn as the dispatch would choose it on a processor that has no better
// one; elegido is true for the one it chooses here.
template <class Prueba>
void EnCadaJuegoDeInstrucciones(const Prueba& prueba) {
  bool elegido = true;
  for (const std::int64_t juego : hwy::SupportedAndGeneratedTargets()) {
    hwy::SetSupportedTargetsForTest(juego);
    SCOPED_TRACE(hwy::TargetName(juego));
    prueba(elegido);
    elegido = false;
  }
  hwy::SetSupportedTargetsForTest(0);
}

// Distance in units in the last place between two finite doubles of the same sign.
std::int64_t Ulps(double a, double b) {
  std::int64_t x = 0, y = 0;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x > y ? x - y : y - x;
}

bool Iguales(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Arguments outside the vector routines' range, among ordinary ones and at every place of a
// vector and of the last, partial one: the same values as the standard library's.
TEST(Vectorial, FueraDeRangoComoLaBibliotecaEstandar) {
  struct Caso {
    bool exponencial;
    double argumento;
  };
  const Caso casos[] = {
      {true, 710.0},  {true, 706.5}, {true, -708.5},  {true, -745.0},
      {true, -800.0}, {true, kInf},  {true, -kInf},   {true, kNaN},
      {false, 0.0},   {false, -0.0}, {false, -1.0},   {false, kInf},
      {false, -kInf}, {false, kNaN}, {false, 1e-310}, {false, DBL_TRUE_MIN},
  };
  EnCadaJuegoDeInstrucciones([&](bool) {
    for (const Caso& c : casos) {
      for (std::size_t n : {1u, 7u, 8u, 17u}) {
        for (std::size_t lugar = 0; lugar < n; ++lugar) {
          std::vector<double> x(n, 0.75), y(n);
          x[lugar] = c.argumento;
          if (c.exponencial)
            ExpEscalada(1.0, x.data(), y.data(), n);
          else
            LogVectorial(x.data(), y.data(), n);
          for (std::size_t i = 0; i < n; ++i) {
            const double esperado = c.exponencial ? std::exp(x[i]) : std::log(x[i]);
            if (i == lugar)
              EXPECT_TRUE(Iguales(y[i], esperado)) << c.argumento << " en " << i << " de " << n;
            else
              EXPECT_LE(Ulps(y[i], esperado), 4) << i << " de " << n;
          }
        }
      }
    }
  });
}

// Over the ranges the estimators use and wider, every length (partial vectors too) and in
// place. The exponential on the instruction set chosen here is the C library's, bit for bit
// (the library's variant for processors with fused multiply-adds is that of the vector
// code which has them, and so on); on any other set it is within 1 ulp. The logarithm is
// within 4 ulp.
TEST(Vectorial, ComoLaBibliotecaEstandar) {
  struct Caso {
    bool exponencial;
    double escala, desde, hasta;
  };
  const Caso casos[] = {
      {true, -3.0, -15.0, 4.0},    {true, -2.0, -15.0, 4.0},   {true, 1.0, -700.0, 700.0},
      {true, -0.6, -14.0, 0.7},    {true, 1.0, -1e-3, 1e-3},   {false, 1.0, 1e-7, 30.0},
      {false, 1.0, 1e-300, 1e300},
  };
  EnCadaJuegoDeInstrucciones([&](bool elegido) {
    for (const Caso& c : casos) {
      for (std::size_t n : {0u, 1u, 3u, 9u, 1000u, 65537u}) {
        std::vector<double> x(n);
        for (std::size_t i = 0; i < n; ++i) {
          const double t = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.5;
          x[i] = c.exponencial ? c.desde + t * (c.hasta - c.desde)
                               : c.desde * std::pow(c.hasta / c.desde, t);
        }
        std::vector<double> y = x;
        if (c.exponencial)
          ExpEscalada(c.escala, y.data(), y.data(), n);
        else
          LogVectorial(y.data(), y.data(), n);
        std::int64_t peor = 0;
        for (std::size_t i = 0; i < n; ++i) {
          const double esperado = c.exponencial ? std::exp(c.escala * x[i]) : std::log(x[i]);
          peor = std::max(peor, Ulps(y[i], esperado));
        }
        EXPECT_LE(peor, c.exponencial ? (elegido ? 0 : 1) : 4)
            << c.exponencial << " " << c.escala << " [" << c.desde << ", " << c.hasta
            << "] n = " << n;
      }
    }
  });
}

}  // namespace
