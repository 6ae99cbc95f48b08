// The wavelet (Abry-Veitch) and GPH estimators: statuses in their order, the definitions
// worked on small series, and the accuracy on exact fractional Gaussian noise.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <locale>
#include <numbers>
#include <vector>

#include "tests/support/herramientas.h"
#include "estimators/estado.h"
#include "estimators/hurst_gph.h"
#include "estimators/hurst_ondiculas.h"
#include "numeric/especiales.h"
#include "numeric/regresion.h"

namespace {

using prueba::Copia;
using prueba::RuidoGaussiano;

constexpr double kZ = 1.959963984540054;

// A series of n samples: noise, a constant, +1 −1 alternating, or a step of two halves.
enum class Forma { Ruido, Constante, Alterna, Escalon };

Vector Serie(std::uint32_t n, Forma forma) {
  if (forma == Forma::Ruido) return RuidoGaussiano(n, 41);
  Vector x(n, 2.5);
  for (std::uint32_t t = 0; t < n; ++t) {
    if (forma == Forma::Alterna) x.Datos()[t] = t % 2 ? -1.0 : 1.0;
    if (forma == Forma::Escalon) x.Datos()[t] = t < n / 2 ? 1.0 : 0.0;
  }
  return x;
}

// ---------------------------------------------------------------------------- Wavelet

struct CasoOndiculas {
  const char* nombre;
  std::uint32_t n;
  Forma forma;
  int momentos, j1, j2;
  int estado;
  int j2Usada;  // on status 0
};

class EstadoOndiculas : public testing::TestWithParam<CasoOndiculas> {};

TEST_P(EstadoOndiculas, EnSuOrden) {
  const CasoOndiculas& c = GetParam();
  const Estimacion e = HurstOndiculas(Serie(c.n, c.forma), c.momentos, c.j1, c.j2);
  ASSERT_EQ(e.estado, c.estado);
  if (e.Exito()) {
    EXPECT_EQ(e.CifraDe(cifra::kOctavaFinal), c.j2Usada);
    EXPECT_EQ(e.ejeX.Longitud(), static_cast<std::uint32_t>(c.j2Usada - c.j1 + 1));
    EXPECT_LT(e.inferior, e.valor);
    EXPECT_LT(e.valor, e.superior);
  }
}

// With N = 1 a series of 128 has octaves 1..7 of 64, 32, …, 1 coefficients (automatic
// j2 = 5, the last with 4 or more); with N = 10 a series of 100 has only two (41, 11).
INSTANTIATE_TEST_SUITE_P(
    Tabla, EstadoOndiculas,
    testing::Values(
        CasoOndiculas{"corta_antes_que_momentos", 99, Forma::Ruido, 0, 0, 1, kEstadoSerieCorta, 0},
        CasoOndiculas{"momentos0_antes_que_j1", 128, Forma::Ruido, 0, 0, 1,
                      kEstadoMomentosOndicula, 0},
        CasoOndiculas{"momentos11", 128, Forma::Ruido, 11, 3, 0, kEstadoMomentosOndicula, 0},
        CasoOndiculas{"j1_0_antes_que_j2", 128, Forma::Ruido, 1, 0, 1, kEstadoOctavaInicial, 0},
        CasoOndiculas{"j2_menor_que_j1_mas_2", 128, Forma::Ruido, 1, 3, 4, kEstadoOctavaFinal, 0},
        CasoOndiculas{"j2_negativa", 128, Forma::Ruido, 1, 3, -1, kEstadoOctavaFinal, 0},
        CasoOndiculas{"j2_automatica", 128, Forma::Ruido, 1, 3, 0, kEstadoOk, 5},
        CasoOndiculas{"dos_octavas_automaticas", 128, Forma::Ruido, 1, 4, 0,
                      kEstadoPocasOctavas, 0},
        CasoOndiculas{"j2_rebajada_a_la_ultima", 128, Forma::Ruido, 1, 5, 50, kEstadoOk, 7},
        CasoOndiculas{"j2_rebajada_deja_dos", 128, Forma::Ruido, 1, 6, 50, kEstadoPocasOctavas, 0},
        CasoOndiculas{"serie_corta_para_N10", 100, Forma::Ruido, 10, 1, 0, kEstadoPocasOctavas, 0},
        CasoOndiculas{"octavas_antes_que_constante", 100, Forma::Constante, 10, 1, 0,
                      kEstadoPocasOctavas, 0},
        CasoOndiculas{"constante", 128, Forma::Constante, 1, 1, 0, kEstadoSerieConstante, 0},
        // Haar details of a step at the middle vanish up to octave 6.
        CasoOndiculas{"energia_nula", 128, Forma::Escalon, 1, 1, 0, kEstadoEnergiaNula, 0},
        CasoOndiculas{"escalon_con_su_octava", 128, Forma::Escalon, 1, 5, 7, kEstadoEnergiaNula, 0},
        CasoOndiculas{"N10_serie_larga", 10000, Forma::Ruido, 10, 3, 0, kEstadoOk, 8}),
    [](const auto& info) { return std::string(info.param.nombre); });

// Haar (N = 1) worked by hand: d_j[k] = (sum of the first half − sum of the second half
// of block k of 2^j centred samples) / 2^(j/2), then the weighted fit as defined.
TEST(HurstOndiculas, HaarEscritoAMano) {
  const std::uint32_t n = 128;
  const Vector x = RuidoGaussiano(n, 42);
  double media = 0;
  for (const double v : x) media += v;
  media /= n;
  std::array<double, 8> y{}, w{};
  for (int j = 1; j <= 7; ++j) {
    const std::uint32_t bloque = 1u << j, nj = n >> j;
    double suma = 0;
    for (std::uint32_t k = 0; k < nj; ++k) {
      double d = 0;
      for (std::uint32_t t = 0; t < bloque; ++t)
        d += (t < bloque / 2 ? 1 : -1) * (x.Datos()[k * bloque + t] - media);
      d /= std::pow(2.0, j / 2.0);
      suma += d * d;
    }
    const double mitad = nj / 2.0, ln2 = std::numbers::ln2;
    y[j] = std::log2(suma / nj) - (Digamma(mitad) / ln2 - std::log2(mitad));
    w[j] = ln2 * ln2 / Trigamma(mitad);
  }
  struct Caso {
    int j1, j2, j2Usada;
  };
  for (const Caso c : {Caso{1, 0, 5}, Caso{1, 7, 7}, Caso{2, 9, 7}, Caso{2, 6, 6}}) {
    double S0 = 0, S1 = 0, S2 = 0, T0 = 0, T1 = 0;
    for (int j = c.j1; j <= c.j2Usada; ++j) {
      S0 += w[j];
      S1 += w[j] * j;
      S2 += w[j] * j * j;
      T0 += w[j] * y[j];
      T1 += w[j] * j * y[j];
    }
    const double D = S0 * S2 - S1 * S1, alfa = (S0 * T1 - S1 * T0) / D,
                 b = (S2 * T0 - S1 * T1) / D, semi = kZ * std::sqrt(S0 / D) / 2;
    const Estimacion e = HurstOndiculas(x, 1, c.j1, c.j2);
    ASSERT_EQ(e.estado, kEstadoOk);
    EXPECT_EQ(e.CifraDe(cifra::kOctavaFinal), c.j2Usada);
    EXPECT_NEAR(e.valor, (alfa + 1) / 2, 1e-12);
    EXPECT_NEAR(e.inferior, (alfa + 1) / 2 - semi, 1e-12);
    EXPECT_NEAR(e.superior, (alfa + 1) / 2 + semi, 1e-12);
    ASSERT_EQ(e.ejeX.Longitud(), static_cast<std::uint32_t>(c.j2Usada - c.j1 + 1));
    ASSERT_EQ(e.ajusteY.Longitud(), e.ejeX.Longitud());
    for (int j = c.j1; j <= c.j2Usada; ++j) {
      const std::uint32_t i = static_cast<std::uint32_t>(j - c.j1 + 1);
      EXPECT_EQ(e.ejeX(i), j);
      EXPECT_NEAR(e.ejeY(i), y[j], 1e-12) << j;
      EXPECT_NEAR(e.ajusteY(i), b + alfa * j, 1e-12) << j;
    }
  }
}

// N vanishing moments annihilate polynomials of degree below N, so g must be the
// alternating flip of h: a parabola leaves only rounding with N = 3, not with N = 2.
TEST(HurstOndiculas, MomentosNulosAnulanPolinomios) {
  Vector x(1000);
  for (std::uint32_t t = 0; t < 1000; ++t) x.Datos()[t] = 1e-6 * t * t;
  for (const int N : {2, 3}) {
    const Estimacion e = HurstOndiculas(x, N, 1, 0);
    ASSERT_EQ(e.estado, kEstadoOk);
    for (const double v : e.ejeY) EXPECT_TRUE(N == 3 ? v < -70.0 : v > -40.0) << N << " " << v;
  }
}

// -------------------------------------------------------------------------------- GPH

struct CasoGph {
  const char* nombre;
  std::uint32_t n;
  Forma forma;
  double a;
  int estado;
};

class EstadoGph : public testing::TestWithParam<CasoGph> {};

TEST_P(EstadoGph, EnSuOrden) {
  const CasoGph& c = GetParam();
  const Estimacion e = HurstGph(Serie(c.n, c.forma), c.a);
  ASSERT_EQ(e.estado, c.estado);
  if (e.Exito()) {
    EXPECT_EQ(e.CifraDe(cifra::kFrecuencias), FrecuenciasGph(c.n, c.a));
    EXPECT_EQ(e.ejeX.Longitud(), FrecuenciasGph(c.n, c.a));
  }
}

// 213^0.3 = 4.995 and 214^0.3 = 5.002: the fewest samples with 5 frequencies at a = 0.3.
INSTANTIATE_TEST_SUITE_P(
    Tabla, EstadoGph,
    testing::Values(
        CasoGph{"corta_antes_que_exponente", 99, Forma::Ruido, 2.0, kEstadoSerieCorta},
        CasoGph{"exponente_bajo", 1000, Forma::Ruido, 0.29, kEstadoExponenteGph},
        CasoGph{"exponente_alto", 1000, Forma::Ruido, 0.91, kEstadoExponenteGph},
        CasoGph{"exponente_nan", 1000, Forma::Ruido, std::numeric_limits<double>::quiet_NaN(),
                kEstadoExponenteGph},
        CasoGph{"exponente_cero", 1000, Forma::Ruido, 0.0, kEstadoExponenteGph},
        CasoGph{"cuatro_frecuencias", 213, Forma::Ruido, 0.3, kEstadoPocosPuntos},
        CasoGph{"cinco_frecuencias", 214, Forma::Ruido, 0.3, kEstadoOk},
        CasoGph{"limites_incluidos", 1000, Forma::Ruido, 0.9, kEstadoOk},
        CasoGph{"frecuencias_antes_que_constante", 213, Forma::Constante, 0.3,
                kEstadoPocosPuntos},
        // +1 −1 alternating has all its power at frequency π.
        CasoGph{"ordenada_nula", 128, Forma::Alterna, 0.5, kEstadoPeriodogramaNulo}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(HurstGph, NumeroDeFrecuencias) {
  // pow lands just below 8 here; the 1e-9 keeps the floor at 8.
  ASSERT_LT(std::pow(1024.0, 0.3), 8.0);
  struct Caso {
    std::uint32_t n;
    double a;
    std::uint32_t m;
  };
  const Caso casos[] = {{1024, 0.3, 8},    {1000, 0.5, 31},      {100, 0.9, 49},
                        {101, 0.9, 50},    {1000000, 0.5, 1000}, {10000, 0.5, 100},
                        {213, 0.3, 4},     {214, 0.3, 5}};
  for (const Caso& c : casos) EXPECT_EQ(FrecuenciasGph(c.n, c.a), c.m) << c.n << " " << c.a;
}

// The definition worked step by step on small series, with the periodogram by the direct
// sum in long double and the line by the normal equations: lengths whose transform is
// mixed-radix (1024) and chirp-z (101, 997 prime; 1018 = 2·509).
TEST(HurstGph, DefinicionPasoAPaso) {
  struct Caso {
    std::uint32_t n;
    double a;
  };
  for (const Caso c : {Caso{1024, 0.3}, Caso{101, 0.9}, Caso{997, 0.5}, Caso{1018, 0.6}}) {
    const Vector x = RuidoGaussiano(c.n, 43);
    const std::uint32_t m = FrecuenciasGph(c.n, c.a);
    long double media = 0;
    for (const double v : x) media += v;
    media /= c.n;
    Vector X(m), Y(m);
    std::vector<double> lambda(m), I(m);
    for (std::uint32_t j = 1; j <= m; ++j) {
      long double re = 0, im = 0;
      for (std::uint32_t t = 0; t < c.n; ++t) {
        const long double ang = 2 * std::numbers::pi_v<long double> * ((j * t) % c.n) / c.n;
        re += (x.Datos()[t] - media) * std::cos(ang);
        im -= (x.Datos()[t] - media) * std::sin(ang);
      }
      lambda[j - 1] = 2 * std::numbers::pi * j / c.n;
      I[j - 1] = static_cast<double>((re * re + im * im) / (2 * std::numbers::pi_v<long double> * c.n));
      X[j] = -std::log(4 * std::pow(std::sin(lambda[j - 1] / 2), 2));
      Y[j] = std::log(I[j - 1]);
    }
    const Vector recta = AjustePolinomio(X, Y, 1);
    const Estimacion e = HurstGph(x, c.a);
    ASSERT_EQ(e.estado, kEstadoOk);
    EXPECT_EQ(e.CifraDe(cifra::kFrecuencias), m);
    const double H = e.valor;
    EXPECT_NEAR(H, recta(2) + 0.5, 1e-12) << c.n;
    const double semi = kZ * std::numbers::pi / std::sqrt(24.0 * m);
    EXPECT_NEAR(e.inferior, H - semi, 1e-15);
    EXPECT_NEAR(e.superior, H + semi, 1e-15);
    ASSERT_EQ(e.ejeX.Longitud(), m);
    ASSERT_EQ(e.ajusteY.Longitud(), m);
    for (std::uint32_t j = 1; j <= m; ++j) {
      EXPECT_NEAR(e.ejeX(j), std::log10(lambda[j - 1]), 1e-15) << j;
      EXPECT_NEAR(e.ejeY(j), std::log10(I[j - 1]), 1e-12) << j;
      EXPECT_NEAR(e.ajusteY(j), (recta(1) + recta(2) * X(j)) / std::numbers::ln10, 1e-12) << j;
    }
  }
}

// ---------------------------------------------------------------------- Accuracy on FGN

constexpr std::uint32_t kLongitudFgn = 10000;
constexpr int kSemillas = 20;
constexpr std::array<double, 5> kValoresH = {0.5, 0.6, 0.7, 0.8, 0.9};

// The 20 exact FGN series of each H, generated once for both estimators.
const std::vector<Vector>& SeriesFgn(std::size_t iH) {
  static const auto series = [] {
    std::array<std::vector<Vector>, kValoresH.size()> s;
    for (std::size_t i = 0; i < kValoresH.size(); ++i)
      for (int k = 1; k <= kSemillas; ++k)
        s[i].push_back(prueba::Fgn(kLongitudFgn, kValoresH[i], 5000 + k));
    return s;
  }();
  return series[iH];
}

// Mean error, standard deviation and interval coverage over the seeds, for each H;
// prints the table. estimar(serie) returns the estimate.
template <class Estimar>
void ComprobarPrecision(const char* nombre, Estimar estimar, double sesgoMaximo,
                        int cubiertosMinimos) {
  std::cout.imbue(std::locale::classic());
  for (std::size_t i = 0; i < kValoresH.size(); ++i) {
    const double H0 = kValoresH[i];
    double suma = 0, cuadrados = 0;
    int cubiertos = 0;
    for (const Vector& serie : SeriesFgn(i)) {
      const Estimacion e = estimar(serie);
      ASSERT_EQ(e.estado, kEstadoOk);
      suma += e.valor - H0;
      cuadrados += (e.valor - H0) * (e.valor - H0);
      if (e.inferior <= H0 && H0 <= e.superior) ++cubiertos;
    }
    const double sesgo = suma / kSemillas;
    const double sd = std::sqrt((cuadrados - kSemillas * sesgo * sesgo) / (kSemillas - 1));
    std::cout << "[" << nombre << " FGN n=" << kLongitudFgn << " H=" << H0 << "] sesgo "
              << sesgo << ", sd " << sd << ", cubre " << cubiertos << "/" << kSemillas << '\n';
    EXPECT_LE(std::fabs(sesgo), sesgoMaximo) << H0;
    EXPECT_GE(cubiertos, cubiertosMinimos) << H0;
  }
}

// 85 % of 20 seeds is 17. With 20 seeds the mean error has a standard error of about
// 0.004 for the wavelet and 0.015 for GPH, so these bounds guard this fixed set of seeds
// (5001..5020) rather than measure the bias itself: over 400 seeds the mean errors are
// −0.000..+0.005 (wavelet) and +0.006..+0.012 (GPH), and seeds 1..20 give a GPH mean
// error of −0.024 at H = 0.5, within two standard errors of it.
TEST(HurstOndiculas, PrecisionSobreFgnExacto) {
  ComprobarPrecision(
      "ondiculas", [](const Vector& s) { return HurstOndiculas(s, 3, 3, 0); }, 0.01, 17);
}

TEST(HurstGph, PrecisionSobreFgnExacto) {
  ComprobarPrecision("GPH", [](const Vector& s) { return HurstGph(s, 0.5); }, 0.01, 17);
}

}  // namespace
