// Exponentials and logarithms of arrays on vectors, against the standard library's.
#include "numeric/vectorial.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Arguments outside the vector routine's range, among ordinary ones and at every place of a
// vector and of the last, partial one: the same values as the standard library's.
TEST(Vectorial, FueraDeRangoComoLaBibliotecaEstandar) {
  const double argumentos[] = {710.0, 512.0, -512.0, -708.5, -745.0, -800.0,  kInf,
                               -kInf, kNaN,  0.0,    -0.0,   1e-17,  -1e-300, 4.9e-324};
  EnCadaJuegoDeInstrucciones([&](bool) {
    for (const double argumento : argumentos) {
      for (std::size_t n : {1u, 7u, 8u, 17u}) {
        for (std::size_t lugar = 0; lugar < n; ++lugar) {
          std::vector<double> x(n, 0.75), y(n);
          x[lugar] = argumento;
          ExpEscalada(1.0, x.data(), y.data(), n);
          for (std::size_t i = 0; i < n; ++i) {
            const double esperado = std::exp(x[i]);
            if (i == lugar)
              EXPECT_TRUE(Iguales(y[i], esperado)) << argumento << " en " << i << " de " << n;
            else
              EXPECT_LE(Ulps(y[i], esperado), 1) << i << " de " << n;
          }
        }
      }
    }
  });
}

// Over the ranges the estimators use and wider, every length (partial vectors too) and in
// place. On the instruction set chosen here the values are the C library's, bit for bit
// (the library's variant for processors with fused multiply-adds computes as the vector
// code that has them, and the other as the code that has not); on any other set they are
// within 1 ulp.
TEST(Vectorial, ComoLaBibliotecaEstandar) {
  struct Caso {
    double escala, desde, hasta;
  };
  const Caso casos[] = {
      {-3.0, -15.0, 4.0}, {-2.0, -15.0, 4.0}, {1.0, -511.0, 511.0},
      {-0.6, -14.0, 0.7}, {1.0, -1e-3, 1e-3},
  };
  EnCadaJuegoDeInstrucciones([&](bool elegido) {
    for (const Caso& c : casos) {
      for (std::size_t n : {0u, 1u, 3u, 9u, 1000u, 65537u}) {
        std::vector<double> x(n);
        for (std::size_t i = 0; i < n; ++i) {
          const double t = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.5;
          x[i] = c.desde + t * (c.hasta - c.desde);
        }
        std::vector<double> y = x;
        ExpEscalada(c.escala, y.data(), y.data(), n);
        std::int64_t peor = 0;
        for (std::size_t i = 0; i < n; ++i)
          peor = std::max(peor, Ulps(y[i], std::exp(c.escala * x[i])));
        EXPECT_LE(peor, elegido ? 0 : 1)
            << c.escala << " [" << c.desde << ", " << c.hasta << "] n = " << n;
      }
    }
  });
}

// Logarithms: the same bits as std::log on every instruction set, over geometric and linear
// grids (the logarithms of the Fourier frequencies and their shifts, of spectral densities,
// the band near 1 computed apart and its edges), the arguments the vector code gives to
// std::log among ordinary ones, every length and in place.
TEST(Vectorial, LogaritmosComoLaBibliotecaEstandar) {
  struct Caso {
    double desde, hasta;
    bool geometrica;
  };
  const double kCercaAbajo = 1 - 0x1p-4, kCercaArriba = 1 + 0x1.09p-4;
  const Caso casos[] = {
      {1e-300, 1e300, true},       {0x1p-1022, 0x1.fffffffffffffp1023, true},
      {1e-7, 6.3, false},          {6.2, 57.0, false},
      {0.9, 1.1, false},           {kCercaAbajo - 1e-12, kCercaAbajo + 1e-12, false},
      {kCercaArriba - 1e-12, kCercaArriba + 1e-12, false}, {1 - 1e-9, 1 + 1e-9, false},
  };
  const double especiales[] = {1.0, 0.0, -0.0, -1.0, 4.9e-324, 0x1p-1023, 0x1p-1022,
                               kInf, -kInf, kNaN, 0x1.fffffffffffffp1023};
  EnCadaJuegoDeInstrucciones([&](bool) {
    for (const Caso& c : casos) {
      for (std::size_t n : {1u, 3u, 9u, 200003u}) {
        std::vector<double> x(n);
        for (std::size_t i = 0; i < n; ++i) {
          const double t = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.5;
          x[i] = c.geometrica ? std::exp(std::log(c.desde) + t * (std::log(c.hasta) - std::log(c.desde)))
                              : c.desde + t * (c.hasta - c.desde);
        }
        std::vector<double> y = x;
        Logaritmos(y.data(), y.data(), n);
        std::size_t distintos = 0;
        for (std::size_t i = 0; i < n; ++i) distintos += !Iguales(y[i], std::log(x[i]));
        EXPECT_EQ(distintos, 0u) << "[" << c.desde << ", " << c.hasta << "] n = " << n;
      }
    }
    for (const double argumento : especiales) {
      for (std::size_t n : {1u, 7u, 8u, 17u}) {
        for (std::size_t lugar = 0; lugar < n; ++lugar) {
          std::vector<double> x(n, 0.75), y(n);
          x[lugar] = argumento;
          Logaritmos(x.data(), y.data(), n);
          for (std::size_t i = 0; i < n; ++i)
            EXPECT_TRUE(Iguales(y[i], std::log(x[i]))) << x[i] << " en " << i << " de " << n;
        }
      }
    }
  });
}

}  // namespace
