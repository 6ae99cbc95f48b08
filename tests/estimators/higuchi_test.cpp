// Higuchi's method: the lags, the curve lengths against a straight profile and a literal
// loop over k, m and i, and the refusals in their order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "estimators/estado.h"
#include "estimators/hurst_higuchi.h"
#include "numeric/regresion.h"
#include "tests/support/herramientas.h"

namespace {

using prueba::RuidoGaussiano;

TEST(HiguchiRetardos, SucesionHastaElRetardoMaximo) {
  struct Caso {
    std::uint32_t kMax;
    int porDecada;
    std::vector<std::uint32_t> retardos;
  };
  const Caso casos[] = {
      {10, 10, {1, 2, 3, 4, 5, 6, 7, 8, 10}},
      {30, 10, {1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 15, 18, 22, 27}},
      {100, 1, {1, 10, 100}},
      {99, 1, {1, 10}},
      {40, 3, {1, 2, 4, 8, 17, 36}},
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(RetardosHiguchi(c.kMax, c.porDecada), c.retardos) << c.kMax;
  }
}

TEST(HurstHiguchi, EstadosEnSuOrden) {
  struct Caso {
    const char* nombre;
    std::uint32_t n;
    int kMax, porDecada;
    int serie;  // 0 noise, 1 constant, 2 alternating 1, -1
    int esperado;
  };
  const Caso casos[] = {
      {"corta_antes_que_kmax", 99, 5, 0, 1, kEstadoSerieCorta},
      {"kmax9_antes_que_decada", 1000, 9, 0, 1, kEstadoRetardoMaximo},
      {"kmax_negativo", 1000, -1, 10, 0, kEstadoRetardoMaximo},
      {"decada0", 1000, 0, 0, 1, kEstadoPuntosDecada},
      {"decada21", 1000, 10, 21, 0, kEstadoPuntosDecada},
      // n = 100: automatic k_max 10, lags 1 and 10 only.
      {"dos_retardos_antes_que_constante", 100, 0, 1, 1, kEstadoPocosRetardos},
      {"retardo_igual_a_n", 100, 100, 1, 1, kEstadoRetardoSinSegmentos},
      {"kmax_enorme", 1000, 2147483647, 10, 0, kEstadoRetardoSinSegmentos},
      // k_max itself must be below n, even when its last lag (1000 here) is.
      {"kmax_mayor_que_n", 1100, 1200, 10, 0, kEstadoRetardoSinSegmentos},
      {"kmax_igual_a_n", 1100, 1100, 10, 0, kEstadoRetardoSinSegmentos},
      {"kmax_n_menos_1", 1100, 1099, 10, 0, kEstadoOk},
      // Three lags asked of a series whose k_max is too long: the limit comes first.
      {"kmax_antes_que_pocos_retardos", 100, 100, 1, 0, kEstadoRetardoSinSegmentos},
      {"constante", 101, 100, 1, 1, kEstadoSerieConstante},
      // The profile 1, 0, 1, 0, ... returns to itself after 2 steps: L(2) = 0.
      {"perfil_periodico", 100, 0, 10, 2, kEstadoLongitudCurvaNula},
      {"un_segmento_en_el_ultimo_retardo", 101, 100, 1, 0, kEstadoOk},
      {"automatico", 1000, 0, 10, 0, kEstadoOk},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    Vector x = c.serie == 1 ? Vector(c.n, -4.0) : RuidoGaussiano(c.n, 51);
    if (c.serie == 2) {
      for (std::uint32_t i = 1; i <= c.n; ++i) x[i] = (i % 2) ? 1.0 : -1.0;
    }
    const Estimacion e = HurstHiguchi(x, c.kMax, c.porDecada);
    EXPECT_EQ(e.estado, c.esperado);
    if (e.Exito() && c.kMax != 0) {
      EXPECT_EQ(e.CifraDe(cifra::kRetardoMaximo), c.kMax);
    }
  }
}

// 129 then 127 ones: x - mean = 127, -1, -1, ..., the profile is Y(i) = 128 - i, every
// segment of lag k has length k and L(k) = (N - 1)/k exactly: slope -1, H = 1.
TEST(HurstHiguchi, PerfilRectoDaLongitudesExactas) {
  Vector x(128, 1.0);
  x[1] = 129.0;
  const Estimacion e = HurstHiguchi(x, 0, 10);
  ASSERT_EQ(e.estado, kEstadoOk);
  EXPECT_EQ(e.CifraDe(cifra::kRetardoMaximo), 12);
  const Vector& ejeX = e.ejeX;
  const Vector& ejeY = e.ejeY;
  const double retardos[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 12};
  ASSERT_EQ(ejeX.Longitud(), 10u);
  for (std::uint32_t j = 0; j < 10; ++j) {
    EXPECT_EQ(ejeX(j + 1), std::log10(retardos[j]));
    EXPECT_NEAR(ejeY(j + 1), std::log10(127.0 / retardos[j]), 1e-15) << retardos[j];
  }
  EXPECT_NEAR(e.valor, 1.0, 1e-13);
}

// L(k) by the definition: a loop over m = 1..k and i = 1..M_m on the 1-based profile.
double Log10LLiteral(const std::vector<double>& Y, std::uint32_t N, std::uint32_t k) {
  double suma = 0;
  int usados = 0;
  for (std::uint32_t m = 1; m <= k; ++m) {
    const std::uint32_t M = (N - m) / k;
    if (M == 0) continue;
    double s = 0;
    for (std::uint32_t i = 1; i <= M; ++i) s += std::fabs(Y[m + i * k] - Y[m + (i - 1) * k]);
    suma += s * (N - 1.0) / (static_cast<double>(M) * k) / k;
    ++usados;
  }
  return std::log10(suma / usados);
}

TEST(HurstHiguchi, CoincideConLaDefinicionLiteral) {
  struct Caso {
    std::uint32_t n;
    int kMax, porDecada;
    std::int32_t usado;
  };
  // k_max 150 of 157 samples: from k = 79 on some m have no segment and are skipped. The
  // longest series is swept in stretches, with segments across their boundaries.
  const Caso casos[] = {
      {157, 150, 10, 150}, {1000, 0, 7, 100}, {2345, 40, 20, 40}, {100003, 3000, 10, 3000}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.n);
    const Vector x = prueba::Fgn(c.n, 0.7, 52) + 10.0;
    double media = 0;
    for (std::uint32_t t = 1; t <= c.n; ++t) media += x(t);
    media /= c.n;
    std::vector<double> Y(c.n + 1, 0.0);
    for (std::uint32_t i = 1; i <= c.n; ++i) Y[i] = Y[i - 1] + (x(i) - media);

    const Estimacion e = HurstHiguchi(x, c.kMax, c.porDecada);
    ASSERT_EQ(e.estado, kEstadoOk);
    EXPECT_EQ(e.CifraDe(cifra::kRetardoMaximo), c.usado);
    const Vector& ejeY = e.ejeY;
    const std::vector<std::uint32_t> retardos =
        RetardosHiguchi(static_cast<std::uint32_t>(c.usado), c.porDecada);
    ASSERT_EQ(ejeY.Longitud(), retardos.size());
    Vector y(ejeY.Longitud());
    for (std::uint32_t j = 0; j < retardos.size(); ++j) {
      y[j + 1] = Log10LLiteral(Y, c.n, retardos[j]);
      EXPECT_NEAR(ejeY(j + 1), y(j + 1), 1e-13) << "k " << retardos[j];
    }
    EXPECT_NEAR(e.valor, 2.0 + AjustePolinomio(e.ejeX, y, 1)(2), 1e-12);
  }
}

}  // namespace
