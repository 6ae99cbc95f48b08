#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>

#include "numeric/error.h"
#include "numeric/regresion.h"
#include "support/error_numerico.h"
#include "support/herramientas.h"

namespace {

using prueba::V;

Matrix M(std::uint32_t r, std::uint32_t c, std::initializer_list<double> xs) {
  Matrix m(r, c);
  auto it = xs.begin();
  for (std::uint32_t i = 1; i <= r; ++i)
    for (std::uint32_t j = 1; j <= c; ++j) m(i, j) = *it++;
  return m;
}

const char kSingular[] = "error en tiempo de ejecución: matriz singular en función Gaussj";

TEST(Regresion, GaussjDejaLaInversaYLaSolucion) {
  Matrix a = M(2, 2, {2, 0, 0, 4});
  Vector b = V({2, 4});
  Gaussj(a, b);
  EXPECT_EQ(b(1), 1.0);
  EXPECT_EQ(b(2), 1.0);
  EXPECT_EQ(a(1, 1), 0.5);
  EXPECT_EQ(a(1, 2), 0.0);
  EXPECT_EQ(a(2, 1), 0.0);
  EXPECT_EQ(a(2, 2), 0.25);
}

TEST(Regresion, GaussjConPivoteoYPermutaciones) {
  // Needs row exchanges (zero on the diagonal) and a non-trivial unscrambling.
  const Matrix original = M(3, 3, {0, 2, 1, 1, 0, 3, 4, 1, 0});
  Matrix a = original;
  Vector b = V({7, 10, 6});  // x = (1, 2, 3)
  Gaussj(a, b);
  EXPECT_NEAR(b(1), 1.0, 1e-14);
  EXPECT_NEAR(b(2), 2.0, 1e-14);
  EXPECT_NEAR(b(3), 3.0, 1e-14);
  for (std::uint32_t i = 1; i <= 3; ++i)
    for (std::uint32_t j = 1; j <= 3; ++j) {
      double s = 0;
      for (std::uint32_t k = 1; k <= 3; ++k) s += original(i, k) * a(k, j);
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-14) << i << "," << j;
    }
}

TEST(Regresion, Inversa) {
  const Matrix m = M(2, 2, {4, 7, 2, 6});
  const Matrix inv = Inversa(m);
  EXPECT_NEAR(inv(1, 1), 0.6, 1e-15);
  EXPECT_NEAR(inv(1, 2), -0.7, 1e-15);
  EXPECT_NEAR(inv(2, 1), -0.2, 1e-15);
  EXPECT_NEAR(inv(2, 2), 0.4, 1e-15);
  EXPECT_EQ(m(1, 1), 4.0);  // the argument is untouched
}

TEST(Regresion, AjustePolinomio) {
  const Vector recta = AjustePolinomio(V({0, 1, 2}), V({1, 3, 5}), 1);
  ASSERT_EQ(recta.Longitud(), 2u);
  EXPECT_NEAR(recta(1), 1.0, 1e-14);
  EXPECT_NEAR(recta(2), 2.0, 1e-14);

  const Vector constante = AjustePolinomio(V({0, 1, 2, 5}), V({1, 3, 5, 7}), 0);
  ASSERT_EQ(constante.Longitud(), 1u);
  EXPECT_DOUBLE_EQ(constante(1), 4.0);

  // Exact parabola y = 2 - x + 0.5 x^2.
  Vector x(6), y(6);
  for (std::uint32_t i = 1; i <= 6; ++i) {
    x[i] = i - 2.0;
    y[i] = 2 - x(i) + 0.5 * x(i) * x(i);
  }
  const Vector c = AjustePolinomio(x, y, 2);
  EXPECT_NEAR(c(1), 2.0, 1e-12);
  EXPECT_NEAR(c(2), -1.0, 1e-12);
  EXPECT_NEAR(c(3), 0.5, 1e-12);

  // Least squares, not interpolation: (0,0), (1,1), (2,1), (3,3) -> 0.8 x - 0.1... fitted
  // intercept -0.1 and slope 0.9.
  const Vector ls = AjustePolinomio(V({0, 1, 2, 3}), V({0, 1, 1, 3}), 1);
  EXPECT_NEAR(ls(1), -0.1, 1e-14);
  EXPECT_NEAR(ls(2), 0.9, 1e-14);
}

TEST(Regresion, ComprobarLineal) {
  int esRecta = -7;
  EXPECT_EQ(ComprobarLineal(V({1, 2, 3, 4}), V({1, 2, 3, 4}), 8.0f, esRecta), 2);
  EXPECT_EQ(esRecta, -7);  // unwritten
  EXPECT_EQ(ComprobarLineal(V({1, 2, 3, 4, 5}), V({1, 2, 3, 4}), 8.0f, esRecta), 3);
  EXPECT_EQ(esRecta, -7);

  struct Caso {
    const char* nombre;
    double (*f)(double);
    int esperado;
  };
  const Caso casos[] = {
      {"(x-1)^2", [](double x) { return (x - 1) * (x - 1); }, 0},
      {"recta decreciente", [](double x) { return 3.0 - 0.7 * x; }, 1},
      {"recta creciente", [](double x) { return 0.1 + 0.3 * x; }, 1},
      {"horizontal", [](double) { return std::log10(3.7); }, 1},
      {"horizontal 2", [](double) { return std::log10(2.0); }, 1},  // noise: c3 > 0, c2 < 0
      {"concava", [](double x) { return -(x - 1) * (x - 1); }, 1},
      {"minimo lejano", [](double x) { return (x - 5) * (x - 5); }, 1},  // |c2/c3| = 10
  };
  for (const Caso& c : casos) {
    Vector x(7), y(7);
    for (std::uint32_t i = 1; i <= 7; ++i) {
      x[i] = 0.5 * (i - 1);  // 0, 0.5, ..., 3
      y[i] = c.f(x(i));
    }
    esRecta = -7;
    EXPECT_EQ(ComprobarLineal(x, y, 8.0f, esRecta), 0) << c.nombre;
    EXPECT_EQ(esRecta, c.esperado) << c.nombre;
  }
}

TEST(Regresion, MatricesSingularesYLongitudes) {
  auto gauss = [](Matrix a, Vector b) { return [a, b]() mutable { Gaussj(a, b); }; };
  const struct {
    const char* que;
    std::function<void()> accion;
    FalloEjecucion codigo;
  } casos[] = {
      {"filas iguales", gauss(M(2, 2, {1, 2, 1, 2}), V({1, 1})), kFalloMatrizSingular},
      {"3x3 de rango 2", gauss(M(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}), V({1, 1, 1})),
       kFalloMatrizSingular},
      {"inversa de cero", [] { Inversa(M(2, 2, {0, 0, 0, 0})); }, kFalloMatrizSingular},
      // All abscissas equal: the normal equations are singular.
      {"abscisas iguales", [] { AjustePolinomio(V({2, 2, 2}), V({1, 2, 3}), 1); },
       kFalloMatrizSingular},
      // y shorter than x: the element read fails.
      {"y corta", [] { AjustePolinomio(V({1, 2, 3}), V({1, 2}), 1); }, kFalloIndiceVector},
  };
  for (const auto& c : casos) {
    const prueba::Fallo f = prueba::FalloNumerico(c.accion);
    EXPECT_EQ(f.codigo, c.codigo) << c.que;
    EXPECT_EQ(f.texto, TextoErrorEjecucion(c.codigo)) << c.que;
  }
}

TEST(Regresion, SingularLanzaElFallo7) {
  Matrix a = M(2, 2, {1, 2, 2, 4});
  Vector b = V({1, 2});
  try {
    Gaussj(a, b);
    FAIL() << "no exception";
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), kFalloMatrizSingular);
    EXPECT_EQ(e.Texto(), kSingular);
  }
  // NaN everywhere: no usable pivot is a singular matrix too, not an out-of-range access.
  Matrix n = M(2, 2, {NAN, NAN, NAN, NAN});
  Vector bn = V({1, 1});
  EXPECT_THROW(Gaussj(n, bn), ErrorNumerico);
}

}  // namespace
