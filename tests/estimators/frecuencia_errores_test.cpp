// Library faults inside the FARIMA estimate, and refusals of periodograms that vanish.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <utility>

#include "estimators/estado.h"
#include "estimators/hurst_periodograma.h"
#include "estimators/hurst_whittle_agregado.h"
#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "estimators/test_t.h"
#include "frecuencia_comun.h"
#include "numeric/error.h"
#include "numeric/minimizacion.h"

namespace {

using namespace frecuencia;

// White noise fitted with FARIMA(1, d, 1): any φ = ψ fits it, the AR and MA factors
// cancel, and along that valley the simplex runs out of its 600 evaluations, before and
// after its restart from the best vertex.
struct CasoAgotado {
  const char* que;
  Vector serie;
};

std::vector<CasoAgotado> CasosAgotados() {
  return {{"ruido blanco, semilla 17", RuidoGaussiano(1000, 17)},
          {"FGN H = 0.7, semilla 12", Fgn(1000, 0.7, 12)}};
}

TEST(FrecuenciaFarimaErrores, SimplexAgotadoTrasReiniciarDaSuEstado) {
  for (const CasoAgotado& c : CasosAgotados()) {
    SCOPED_TRACE(c.que);
    // The first search alone does exhaust its budget.
    const Espectro e = EspectroLiteral(c.serie, (1000 - 1) / 2);
    const ObjetivoWhittleFarima objetivo(1, 1, e.I, e.lambda);
    Vector mejor;
    EXPECT_FALSE(MinimoVariasVbles(std::cref(objetivo), AVector({0.4999, 0, 0}), 0.0001,
                                   0.0001, mejor));
    EXPECT_LT(objetivo(mejor), objetivo(AVector({0.4999, 0, 0})));

    EXPECT_EQ(HurstWhittleFarima(c.serie, 1, 1).estado, kEstadoFarimaNoConverge);
    EXPECT_EQ(MensajeEstado(kEstadoFarimaNoConverge),
              "El modelo FARIMA (p, d, q) no converge para esta serie.\n"
              "Pruebe con FARIMA (0, d, 0) o con el modelo FGN");
    // The simpler model the message suggests works on the same series.
    const Estimacion simple = HurstWhittleFarima(c.serie, 0, 0);
    ASSERT_EQ(simple.estado, kEstadoOk);
    EXPECT_FALSE(simple.TieneCifra(cifra::kAR1));
    EXPECT_FALSE(simple.TieneCifra(cifra::kMA1));
  }
}

// A coefficient so large that adding the derivative step leaves it unchanged: its row of
// derivatives is zero and the information matrix singular.
TEST(FrecuenciaFarimaErrores, CovarianzaSingularLanzaElFallo7) {
  const Vector eta = AVector({0.7, 1e8});
  try {
    CovarianzaWhittleFarima(eta, 1, 0);
    ADD_FAILURE() << "se esperaba el error 7";
  } catch (const ErrorNumerico& e) {
    EXPECT_EQ(e.Codigo(), kFalloMatrizSingular);
  }
}

// Period-2 series: every ordinate below π is exactly zero, the Whittle objectives are flat.
Vector Alterna(std::uint32_t n) {
  Vector v(n);
  for (std::uint32_t i = 0; i < n; ++i) v.Datos()[i] = (i % 2) ? 1.0 : -1.0;
  return v;
}

TEST(FrecuenciaPeriodogramaNulo, OrdenadasNulasRechazadas) {
  // Period 10 over 1000 samples: only every hundredth ordinate is non-zero.
  Vector periodo10(1000, 0.0);
  for (std::uint32_t i = 1; i <= 1000; i += 10) periodo10[i] = 1.0;
  Vector conBloqueAlterno = Fgn(1000, 0.7, 3);
  for (std::uint32_t i = 1; i <= 100; ++i) conBloqueAlterno[i] = (i % 2) ? 2.0 : 1.0;
  const std::pair<Estimacion, int> casos[] = {
      {HurstPeriodograma(periodo10, 10.0f), kEstadoPeriodogramaNulo},
      {HurstPeriodograma(Alterna(1000), 10.0f), kEstadoPeriodogramaNulo},
      {HurstWhittleFgn(Alterna(1000)), kEstadoPeriodogramaNulo},
      {HurstWhittleLocal(Alterna(1000), 4), kEstadoPeriodogramaNulo},
      {HurstWhittleFarima(Alterna(1000), 1, 1), kEstadoPeriodogramaNulo},
      {HurstWhittleAgregado(Alterna(2000), 1), kEstadoPeriodogramaNulo},
      // Aggregated by 2, the alternating series is constant.
      {HurstWhittleAgregado(Alterna(2000), 2), kEstadoSerieConstante},
      {TestT(conBloqueAlterno, 10, 0.05), kEstadoPeriodogramaNulo},
      // A single zero ordinate does not stop the Whittle estimators.
      {HurstWhittleFgn(periodo10), kEstadoOk},
  };
  for (std::size_t i = 0; i < std::size(casos); ++i) {
    EXPECT_EQ(casos[i].first.estado, casos[i].second) << "caso " << i;
  }
}

}  // namespace
