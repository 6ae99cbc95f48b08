// Absolute moments of the aggregated series: hand-computed moments of a ramp and the
// aggregated variance's refusals in their order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "estimators/estado.h"
#include "estimators/hurst_momentos.h"
#include "estimators/hurst_varianza.h"
#include "numeric/regresion.h"
#include "tests/support/herramientas.h"

namespace {

using prueba::RuidoGaussiano;

TEST(HurstMomentosAbsolutos, EstadosDeLaVarianzaEnSuOrden) {
  struct Caso {
    const char* nombre;
    std::uint32_t n;
    int puntosDecada;
    std::uint32_t minM;
    int minMuestras;
    int serie;  // 0 noise, 1 constant, 2 alternating 1, 3
    int esperado;
  };
  const Caso casos[] = {
      {"corta", 99, 0, 0, 0, 1, kEstadoSerieCorta},
      {"decada0_antes_que_minM", 1000, 0, 0, 9, 1, kEstadoPuntosDecada},
      {"decada21", 1000, 21, 10, 20, 0, kEstadoPuntosDecada},
      {"minM0_antes_que_minMuestras", 1000, 6, 0, 9, 1, kEstadoMinM},
      {"minMuestras9", 1000, 6, 10, 9, 1, kEstadoMinMuestrasVarianza},
      // 10, 14, 20, 29 below 700 div 20 = 35: four levels.
      {"cuatro_niveles_antes_que_constante", 700, 6, 10, 20, 1, kEstadoPocosPuntos},
      // Every block of an even number of samples of 1, 3, 1, 3, ... has the mean 2.
      {"bloques_en_la_media", 1000, 6, 10, 20, 2, kEstadoMomentoNulo},
      {"cinco_niveles", 1000, 6, 10, 20, 0, kEstadoOk},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    Vector x = c.serie == 1 ? Vector(c.n, 7.0) : RuidoGaussiano(c.n, 61);
    if (c.serie == 2) {
      for (std::uint32_t i = 1; i <= c.n; ++i) x[i] = (i % 2) ? 1.0 : 3.0;
    }
    EXPECT_EQ(HurstMomentosAbsolutos(x, c.puntosDecada, c.minM, c.minMuestras).estado,
              c.esperado);
  }
}

// x(t) = t, n = 1000, mean 500.5; block k of m samples has the mean (k - 1) m + (m + 1)/2.
// Levels 10 and 20 split the ramp evenly: AM = n/4. The others drop a tail:
//   m = 14, M = 71: sum of |14k - 507| = 8928 + 8715;
//   m = 29, M = 34: sum of |29k - 514.5| = 4309.5 + 4071.5;
//   m = 42, M = 23: sum of |42k - 521| = 2976 + 2585.
TEST(HurstMomentosAbsolutos, MomentosDeUnaRampaCalculadosAMano) {
  Vector x(1000);
  for (std::uint32_t t = 1; t <= 1000; ++t) x[t] = t;
  const Estimacion e = HurstMomentosAbsolutos(x, 6, 10, 20);
  ASSERT_EQ(e.estado, kEstadoOk);
  const Vector& ejeX = e.ejeX;
  const Vector& ejeY = e.ejeY;
  const double niveles[] = {10, 14, 20, 29, 42};
  const double momentos[] = {250.0, 17643.0 / 71, 250.0, 8381.0 / 34, 5561.0 / 23};
  ASSERT_EQ(ejeX.Longitud(), 5u);
  Vector y(5);
  for (std::uint32_t j = 0; j < 5; ++j) {
    EXPECT_EQ(ejeX(j + 1), std::log10(niveles[j]));
    EXPECT_NEAR(ejeY(j + 1), std::log10(momentos[j]), 1e-14) << niveles[j];
    y[j + 1] = std::log10(momentos[j]);
  }
  EXPECT_NEAR(e.valor, 1.0 + AjustePolinomio(ejeX, y, 1)(2), 1e-13);
}

}  // namespace
