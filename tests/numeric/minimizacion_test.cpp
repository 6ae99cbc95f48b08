#include "numeric/minimizacion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "numeric/error.h"

namespace {

constexpr double kZeps = 1.490116119384766e-8;

TEST(MinUnaVble, PrimeraEvaluacionEnLaSeccionAurea) {
  std::vector<double> puntos;
  const double x = MinUnaVble(
      [&](double h) {
        puntos.push_back(h);
        return (h - 0.8) * (h - 0.8);
      },
      0.4999, 1.0001, 0.0001);
  ASSERT_FALSE(puntos.empty());
  EXPECT_NEAR(puntos[0], 0.69096, 5e-6);
  EXPECT_DOUBLE_EQ(puntos[0], 0.4999 + (3.0 - std::sqrt(5.0)) / 2.0 * 0.5002);
  EXPECT_LE(std::fabs(x - 0.8), 2.0 * (0.0001 * 0.8 + kZeps));
}

TEST(MinUnaVble, MinimosConocidos) {
  struct Caso {
    const char* nombre;
    double (*f)(double);
    double a, b, tol, minimo;
  };
  const Caso casos[] = {
      {"parabola", [](double x) { return (x - 0.8) * (x - 0.8); }, 0.4999, 1.0001, 1e-6, 0.8},
      {"coseno", [](double x) { return std::cos(x); }, 2.0, 4.5, 1e-8, 3.141592653589793},
      {"cuartica", [](double x) { return std::pow(x - 0.6, 4) + 0.1 * (x - 0.6) * (x - 0.6); },
       0.4999, 1.0001, 1e-6, 0.6},
      {"asimetrica", [](double x) { return x * std::log(x); }, 0.05, 1.0, 1e-8, std::exp(-1.0)},
      // Minimum at 0: only the absolute term of the tolerance lets the search stop there.
      {"minimo en cero", [](double x) { return x * x; }, -1.0, 1.0, 1e-6, 0.0},
  };
  for (const Caso& c : casos) {
    const double x = MinUnaVble(c.f, c.a, c.b, c.tol);
    EXPECT_LE(std::fabs(x - c.minimo), 2.0 * (c.tol * std::fabs(x) + kZeps) + 1e-6 * c.tol)
        << c.nombre << " -> " << x;
  }
}

TEST(MinUnaVble, ExtremosEnCualquierOrden) {
  std::vector<double> ida, vuelta;
  auto f = [](double x) { return std::sin(3.0 * x) + 0.5 * x; };
  const double x1 = MinUnaVble([&](double x) { ida.push_back(x); return f(x); }, 0.4999, 1.0001, 1e-4);
  const double x2 = MinUnaVble([&](double x) { vuelta.push_back(x); return f(x); }, 1.0001, 0.4999, 1e-4);
  EXPECT_EQ(x1, x2);
  EXPECT_EQ(ida, vuelta);
}

TEST(MinUnaVble, FuncionDecrecienteAcabaJuntoAlExtremoSuperior) {
  const double tol = 0.0001;
  const double x = MinUnaVble([](double h) { return -h; }, 0.4999, 1.0001, tol);
  EXPECT_LE(x, 1.0001);
  EXPECT_LE(1.0001 - x, 2.0 * (tol * std::fabs(x) + kZeps));
}

TEST(MinUnaVble, IteracionesAgotadasSonElError12) {
  // Far from the origin with an absolute tolerance below the spacing of doubles, the
  // bracket can never become small enough.
  int evaluaciones = 0;
  try {
    MinUnaVble([&](double x) { ++evaluaciones; return std::fabs(x - 1.0e20 - 3.0e5); }, 1.0e20,
               1.0e20 + 1.0e6, 0.0);
    ADD_FAILURE() << "no error";
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), kFalloIteracionesMinUnaVble);
    EXPECT_STREQ(e.what(), "número máximo de iteraciones superado en función MinUnaVble");
  }
  EXPECT_EQ(evaluaciones, 501);  // the first point and one per iteration
}

TEST(MinVariasVbles, SimplexInicial) {
  std::vector<Vector> puntos;
  FuncionObjetivo f = [&](const Vector& p) {
    puntos.push_back(p);
    return 0.0;  // flat: the simplex is already good enough in value, not in size
  };
  // With generous tolerances Amoeba returns on its first ranking: only the N + 1
  // evaluations of the starting simplex happen.
  Vector x0(3);
  x0[1] = 0.4999;
  x0[2] = 0.0;
  x0[3] = 0.0;
  const Vector mejor = MinVariasVbles(f, x0, 1.0, 1.0);
  ASSERT_EQ(puntos.size(), 4u);
  const double esperados[4][3] = {
      {0.4999, 0, 0}, {0.524895, 0, 0}, {0.4999, 0.025, 0}, {0.4999, 0, 0.025}};
  for (int k = 0; k < 4; ++k)
    for (std::uint32_t j = 1; j <= 3; ++j)
      EXPECT_NEAR(puntos[k](j), esperados[k][j - 1], 1e-15) << k << " " << j;
  // All values equal: the last vertex with the lowest value ranks best.
  ASSERT_EQ(mejor.Longitud(), 3u);
  EXPECT_EQ(mejor(1), 0.4999);
  EXPECT_EQ(mejor(3), 0.025);
}

TEST(MinVariasVbles, MinimosConocidos) {
  struct Caso {
    const char* nombre;
    std::vector<double> x0, minimo;
    double tol;
  };
  const Caso casos[] = {
      {"cuadratica 1", {0.4999}, {0.8}, 1e-4},
      {"cuadratica 3", {0.4999, 0.0, 0.0}, {0.7, -0.3, 0.2}, 1e-6},
      {"rosenbrock", {-1.2, 1.0}, {1.0, 1.0}, 1e-9},
  };
  for (const Caso& c : casos) {
    const std::size_t n = c.x0.size();
    FuncionObjetivo f;
    if (std::string(c.nombre) == "rosenbrock") {
      f = [](const Vector& p) {
        return 100.0 * std::pow(p(2) - p(1) * p(1), 2) + std::pow(1.0 - p(1), 2);
      };
    } else {
      f = [&c](const Vector& p) {
        double s = 0.0;
        for (std::uint32_t j = 1; j <= p.Longitud(); ++j)
          s += (j + 1.0) * std::pow(p(j) - c.minimo[j - 1], 2);
        return s;
      };
    }
    Vector x0(static_cast<std::uint32_t>(n));
    for (std::size_t j = 0; j < n; ++j) x0[j + 1] = c.x0[j];
    const Vector x = MinVariasVbles(f, x0, c.tol, c.tol);
    for (std::size_t j = 0; j < n; ++j)
      EXPECT_NEAR(x(j + 1), c.minimo[j], 1e3 * c.tol) << c.nombre << " " << j;
  }
}

TEST(Amoeba, DejaElMejorVerticeEnLaPrimeraFila) {
  Matrix P(3, 2);
  const double v[3][2] = {{2.0, 2.0}, {0.1, 0.1}, {1.0, 0.0}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j) P(i + 1, j + 1) = v[i][j];
  FuncionObjetivo f = [](const Vector& p) { return p(1) * p(1) + p(2) * p(2); };
  Vector y(3);
  for (std::uint32_t i = 1; i <= 3; ++i) y[i] = f(P.Fila(i));
  std::int32_t nfunk = -1;
  // Already within tolerance: nothing is evaluated and the best vertex moves up.
  Amoeba(P, y, 10.0, 10.0, f, nfunk);
  EXPECT_EQ(nfunk, 0);
  EXPECT_DOUBLE_EQ(y(1), 0.02);
  EXPECT_EQ(P(1, 1), 0.1);
  EXPECT_EQ(P(2, 1), 2.0);
  // Tight tolerances: converges to the origin.
  Amoeba(P, y, 1e-8, 1e-12, f, nfunk);
  EXPECT_GT(nfunk, 0);
  EXPECT_LE(nfunk, 400);
  EXPECT_NEAR(P(1, 1), 0.0, 1e-6);
  EXPECT_NEAR(P(1, 2), 0.0, 1e-6);
  EXPECT_LE(y(1), y(2));
  EXPECT_LE(y(1), y(3));
}

TEST(ProbarVertice, ReflejaYConservaSoloSiMejora) {
  // Triangle (0,0), (1,0), (0,1): the worst vertex (1,0) reflected through the midpoint
  // of the others, (0, 0.5), lands on (-1, 1).
  Matrix P(3, 2);
  P(1, 1) = 0; P(1, 2) = 0;
  P(2, 1) = 1; P(2, 2) = 0;
  P(3, 1) = 0; P(3, 2) = 1;
  Vector psum(2);
  psum[1] = 1.0;
  psum[2] = 1.0;
  Vector y(3);
  y[1] = 0.0; y[2] = 5.0; y[3] = 1.0;
  Vector visto;
  FuncionObjetivo f = [&](const Vector& p) { visto = p; return 3.0; };
  EXPECT_EQ(ProbarVertice(P, y, psum, f, 2, -1.0), 3.0);
  EXPECT_DOUBLE_EQ(visto(1), -1.0);
  EXPECT_DOUBLE_EQ(visto(2), 1.0);
  EXPECT_EQ(y(2), 3.0);
  EXPECT_DOUBLE_EQ(P(2, 1), -1.0);
  EXPECT_DOUBLE_EQ(P(2, 2), 1.0);
  EXPECT_DOUBLE_EQ(psum(1), -1.0);
  EXPECT_DOUBLE_EQ(psum(2), 2.0);
  // Contraction towards the centroid, not kept because it is worse.
  FuncionObjetivo peor = [&](const Vector& p) { visto = p; return 9.0; };
  EXPECT_EQ(ProbarVertice(P, y, psum, peor, 2, 0.5), 9.0);
  EXPECT_DOUBLE_EQ(visto(1), -0.5);
  EXPECT_DOUBLE_EQ(visto(2), 0.75);
  EXPECT_EQ(y(2), 3.0);
  EXPECT_DOUBLE_EQ(P(2, 1), -1.0);
}

TEST(MinVariasVbles, PresupuestoAgotadoEsElError11) {
  // Unbounded below: every iteration reflects and expands (2 counted evaluations), so the
  // 200-evaluation budget of N = 1 runs out after 100 iterations.
  int evaluaciones = 0;
  try {
    MinVariasVbles([&](const Vector& p) { ++evaluaciones; return -p(1); }, Vector(1, 0.4999),
                   0.0001, 0.0001);
    ADD_FAILURE() << "no error";
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), kFalloIteracionesAmoeba);
    EXPECT_EQ(e.Texto(),
              "error en tiempo de ejecución: número máximo de iteraciones superado en función "
              "Amoeba (=>MinVariasVbles)");
  }
  EXPECT_EQ(evaluaciones, 2 + 200);
}

}  // namespace
