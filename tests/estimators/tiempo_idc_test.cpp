// IDC and fractal onset time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "estimators/estado.h"
#include "estimators/t0_idc.h"
#include "numeric/estadistica.h"
#include "numeric/regresion.h"
#include "tests/support/herramientas.h"

namespace {

// Counts around media with the given spread: a positive series for the IDC.
Vector Cuentas(std::size_t n, double media, double desviacion, std::uint64_t semilla,
               double H = 0.5) {
  std::vector<double> v = H == 0.5 ? prueba::RuidoBlanco(n, semilla)
                                   : prueba::GenerarFgn(n, H, semilla);
  for (double& x : v) x = media + desviacion * x;
  return prueba::AVector(v);
}

// log10 |IDC - 1| at aggregation level m, from the library functions.
double LogIdcMenosUno(const Vector& x, std::uint32_t m) {
  const Vector cuentas = Agregar(x, m) * static_cast<double>(m);
  return std::log10(std::fabs(Varianza(cuentas) / Media(cuentas) - 1.0));
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct CasoEstado {
  const char* nombre;
  std::uint32_t n;
  int puntosDecada;
  double tInicial, tFinal;
  int esperado;
};

class EstadoIdc : public ::testing::TestWithParam<CasoEstado> {};

TEST_P(EstadoIdc, RefusesInOrder) {
  const CasoEstado& c = GetParam();
  const Vector x = Cuentas(c.n, 20, 3, 41);
  EXPECT_EQ(T0IDC(x, c.puntosDecada, c.tInicial, c.tFinal).estado, c.esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, EstadoIdc,
    ::testing::Values(
        CasoEstado{"corta", 99, 0, 0, 0, kEstadoSerieCorta},
        CasoEstado{"decada0_antes_que_tiempos", 1000, 0, 0, 0, kEstadoPuntosDecada},
        CasoEstado{"decada21", 1000, 21, 0.01, 0.1, kEstadoPuntosDecada},
        CasoEstado{"valores_del_dialogo", 1000, 2, 0, 0, kEstadoTiemposIdc},
        CasoEstado{"inicial_cero", 1000, 2, 0, 1, kEstadoTiemposIdc},
        CasoEstado{"final_negativo", 1000, 2, 0.01, -1, kEstadoTiemposIdc},
        CasoEstado{"inicial_nan", 1000, 2, kNaN, 1, kEstadoTiemposIdc},
        CasoEstado{"final_menor_que_inicial", 1000, 2, 1, 0.5, kEstadoEscalaFinalIdc},
        CasoEstado{"final_infinito", 1000, 2, 1, HUGE_VAL, kEstadoEscalaFinalIdc},
        CasoEstado{"faltan_muestras", 9999, 2, 0.01, 10, kEstadoEscalaFinalIdc},
        CasoEstado{"justas", 10000, 2, 0.01, 10, kEstadoOk},
        CasoEstado{"cien_por_decada1_corta", 999, 1, 0.01, 1, kEstadoEscalaFinalIdc},
        CasoEstado{"cien_por_decada1", 1000, 1, 0.01, 1, kEstadoOk},
        // One scale only, or several that all aggregate one sample: no line to fit.
        CasoEstado{"una_escala", 1000, 2, 1, 1, kEstadoAjusteSingular},
        CasoEstado{"escalas_iguales", 1000, 20, 1, 1.5, kEstadoAjusteSingular}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(T0IDC, ScalesForTwoPerDecadeFromTenMillisecondsToTenSeconds) {
  const Vector x = Cuentas(10000, 20, 3, 42);
  const Estimacion e = T0IDC(x, 2, 0.01, 10);
  ASSERT_EQ(e.estado, kEstadoOk);
  const double segundos[] = {0.01, 0.03, 0.1, 0.31, 1, 3.16, 10};
  const std::uint32_t niveles[] = {1, 3, 10, 31, 100, 316, 1000};
  ASSERT_EQ(e.ejeX.Longitud(), 7u);
  ASSERT_EQ(e.ejeY.Longitud(), 7u);
  for (std::uint32_t i = 0; i < 7; ++i) {
    EXPECT_NEAR(std::pow(10.0, e.ejeX(i + 1)), segundos[i], 1e-12 * segundos[i]) << i;
    EXPECT_EQ(e.ejeY(i + 1), LogIdcMenosUno(x, niveles[i])) << niveles[i];
  }
  const Vector c = AjustePolinomio(e.ejeX, e.ejeY, 1);
  EXPECT_EQ(e.valor, std::pow(10.0, -c(1) / c(2)));
}

TEST(T0IDC, HundredToOneWithOnePerDecadeGivesThreeScales) {
  const Vector x = Cuentas(1000, 20, 3, 43);
  const Estimacion e = T0IDC(x, 1, 0.5, 50);
  ASSERT_EQ(e.estado, kEstadoOk);
  ASSERT_EQ(e.ejeX.Longitud(), 3u);
  const std::uint32_t niveles[] = {1, 10, 100};
  for (std::uint32_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(e.ejeX(i + 1), std::log10(0.5 * niveles[i]), 1e-14);
    EXPECT_EQ(e.ejeY(i + 1), LogIdcMenosUno(x, niveles[i]));
  }
}

TEST(T0IDC, ScalesAreReanchoredAtEveryDecade) {
  // Four per decade from 0.01 s: the fifth scale aggregates exactly 10 samples. Four
  // products by 10^(1/4) come out just below 0.1 s and would aggregate only 9.
  const double cuarto = std::pow(10.0, 0.25);
  ASSERT_EQ(std::floor(0.01 * cuarto * cuarto * cuarto * cuarto / 0.01), 9.0);
  const Vector x = Cuentas(2000, 20, 3, 44);
  const Estimacion e = T0IDC(x, 4, 0.01, 1);
  ASSERT_EQ(e.estado, kEstadoOk);
  const std::uint32_t niveles[] = {1, 1, 3, 5, 10, 17, 31, 56, 100};
  ASSERT_EQ(e.ejeX.Longitud(), 9u);
  for (std::uint32_t i = 0; i < 9; ++i) {
    EXPECT_EQ(e.ejeY(i + 1), LogIdcMenosUno(x, niveles[i])) << i;
  }
  EXPECT_EQ(e.ejeX(5), std::log10(0.01 * 10.0));
  EXPECT_EQ(e.ejeX(9), std::log10(0.01 * 100.0));
}

TEST(T0IDC, ConstantSeriesIsRefusedAfterTheParameterChecks) {
  EXPECT_EQ(T0IDC(Vector(1000, 5.0), 2, 0, 1).estado, kEstadoTiemposIdc);
  EXPECT_EQ(T0IDC(Vector(1000, 5.0), 2, 1, 1).estado, kEstadoSerieConstante);
}

TEST(T0IDC, NonPositiveMeanCountIsRefused) {
  EXPECT_EQ(T0IDC(Cuentas(1000, -20, 3, 45), 2, 1, 10).estado, kEstadoIdcMediaNoPositiva);
  // Alternating 1, -1: the mean is exactly zero.
  Vector x(1000);
  for (std::uint32_t i = 1; i <= 1000; ++i) x[i] = (i % 2) ? 1.0 : -1.0;
  EXPECT_EQ(T0IDC(x, 2, 1, 10).estado, kEstadoIdcMediaNoPositiva);
}

TEST(T0IDC, IdcOfExactlyOneIsRefused) {
  // 1000 samples of mean 2 whose deviations are 12 pairs of +-9 and 27 pairs of +-1:
  // squares sum to 1998 = 2 * 999, so variance / mean is exactly 1 at the first scale.
  Vector x(1000, 2.0);
  std::uint32_t i = 1;
  for (int k = 0; k < 12; ++k) {
    x[i++] = 11.0;
    x[i++] = -7.0;
  }
  for (int k = 0; k < 27; ++k) {
    x[i++] = 3.0;
    x[i++] = 1.0;
  }
  ASSERT_EQ(Varianza(x) / Media(x), 1.0);
  EXPECT_EQ(T0IDC(x, 1, 1, 10).estado, kEstadoIdcUno);
}

TEST(T0IDC, CorrelatedCountsPutOnsetInsideTheScales) {
  // Long-memory counts: the IDC grows with the time scale and crosses 2 inside it.
  const Vector x = Cuentas(100000, 10, 3, 46, 0.8);
  const Estimacion e = T0IDC(x, 2, 0.01, 100);
  ASSERT_EQ(e.estado, kEstadoOk);
  ASSERT_EQ(e.ejeY.Longitud(), 9u);
  EXPECT_GT(AjustePolinomio(e.ejeX, e.ejeY, 1)(2), 0.3);
  EXPECT_GT(e.valor, 0.01);
  EXPECT_LT(e.valor, 100.0);
}

TEST(T0IDC, UncorrelatedCountsGiveFiniteOrRefusedOnset) {
  // Poisson-like counts keep the IDC near 1: T0 is huge, or not representable and
  // refused, but never handed back as infinity or NaN.
  for (std::uint64_t s = 0; s < 5; ++s) {
    const Vector x = Cuentas(20000, 100, 10, 500 + s);
    const Estimacion e = T0IDC(x, 2, 0.01, 10);
    if (e.Exito()) {
      EXPECT_TRUE(std::isfinite(e.valor));
      EXPECT_GT(e.valor, 0.0);
    } else {
      EXPECT_EQ(e.estado, kEstadoResultadoNoFinito);
    }
  }
}

TEST(T0IDC, FlatFitIsRefusedAsNonFinite) {
  // Period of 10 samples around 100 with squared deviations 2 (31^2 + 5^2 + 3^2 + 2^2):
  // variance 200 and IDC exactly 2 at level 1; every block of 10 sums to 1000, IDC 0 at
  // level 10. |IDC - 1| = 1 at both scales, so the fitted line is flat and T0 undefined.
  const double periodo[] = {131, 69, 105, 95, 103, 97, 102, 98, 100, 100};
  Vector x(1000);
  for (std::uint32_t i = 0; i < 1000; ++i) x.Datos()[i] = periodo[i % 10];
  ASSERT_EQ(Varianza(x) / Media(x), 2.0);
  EXPECT_EQ(T0IDC(x, 1, 1, 10).estado, kEstadoResultadoNoFinito);
}

}  // namespace
