// Exponentials, logarithms and squares of arrays on vectors, against the standard library's.
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

// Squares: the same bits as std::pow(x, 2.0), which differs from x·x in a few cases in ten
// thousand (found below among random values), on every instruction set, for random mantissas
// over the ranges of periodogram terms, the squares that may underflow or overflow, powers
// of two, zeros, infinities and NaN, every length and in place.
TEST(Vectorial, CuadradosComoPow) {
  volatile double dos = 2.0;
  const auto esperado = [&](double a, double b, double divisor) {
    return (std::pow(a, dos) + std::pow(b, dos)) / divisor;
  };
  std::uint64_t estado = 88172645463325252u;
  const auto aleatorio = [&] {  // xorshift: uniform in [1, 2)
    estado ^= estado << 13;
    estado ^= estado >> 7;
    estado ^= estado << 17;
    return 1.0 + static_cast<double>(estado >> 11) * 0x1p-53;
  };
  struct Caso {
    int exponenteMinimo, exponenteMaximo;
  };
  const Caso casos[] = {{-30, 30}, {-520, -440}, {490, 520}, {-1074, 1023}};
  const double especiales[] = {0.0, -0.0, 1.0, -2.0, 0x1p-600, 0x1p600, 4.9e-324,
                               kInf, -kInf, kNaN, 0x1.fffffffffffffp1023};
  EnCadaJuegoDeInstrucciones([&](bool) {
    std::size_t diferentesDeXPorX = 0;
    for (const Caso& c : casos) {
      for (std::size_t n : {1u, 5u, 8u, 100003u}) {
        std::vector<double> a(n), b(n);
        for (std::size_t i = 0; i < n; ++i) {
          const int rango = c.exponenteMaximo - c.exponenteMinimo + 1;
          a[i] = std::ldexp(aleatorio(), c.exponenteMinimo + static_cast<int>(estado % rango));
          b[i] = -std::ldexp(aleatorio(), c.exponenteMinimo + static_cast<int>(estado % rango));
          diferentesDeXPorX += std::pow(a[i], dos) != a[i] * a[i];
        }
        std::vector<double> y = b;
        SumaDeCuadrados(a.data(), y.data(), 3.5, y.data(), n);
        std::size_t distintos = 0;
        for (std::size_t i = 0; i < n; ++i) distintos += !Iguales(y[i], esperado(a[i], b[i], 3.5));
        EXPECT_EQ(distintos, 0u) << "2^" << c.exponenteMinimo << "..2^" << c.exponenteMaximo
                                 << " n = " << n;
      }
    }
    EXPECT_GT(diferentesDeXPorX, 0u);
    for (const double argumento : especiales) {
      for (std::size_t n : {1u, 7u, 8u, 17u}) {
        for (std::size_t lugar = 0; lugar < n; ++lugar) {
          std::vector<double> a(n, 0.75), b(n, -1.25), y(n);
          a[lugar] = argumento;
          SumaDeCuadrados(a.data(), b.data(), 1.0, y.data(), n);
          for (std::size_t i = 0; i < n; ++i)
            EXPECT_TRUE(Iguales(y[i], esperado(a[i], b[i], 1.0))) << a[i] << " en " << i;
        }
      }
    }
  });
}

}  // namespace
