// The estimators that split their work over threads stop with Cancelado when their control
// is cancelled (that any number of threads gives the same results is checked for every
// method by the contract test).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/herramientas.h"
#include "estimators/estado.h"
#include "estimators/hurst_higuchi.h"
#include "estimators/hurst_periodograma.h"
#include "estimators/hurst_rs.h"
#include "estimators/hurst_whittle_agregado.h"
#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "estimators/test_t.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"

namespace {

using namespace prueba;

struct Metodo {
  const char* nombre;
  std::function<Estimacion(const Vector&)> estimar;
};

const std::vector<Metodo>& Metodos() {
  static const std::vector<Metodo> metodos = {
      {"Periodograma", [](const Vector& s) { return HurstPeriodograma(s, 10.0f); }},
      {"Whittle FGN", [](const Vector& s) { return HurstWhittleFgn(s); }},
      {"FARIMA(1, d, 1)", [](const Vector& s) { return HurstWhittleFarima(s, 1, 1); }},
      {"Whittle local", [](const Vector& s) { return HurstWhittleLocal(s, 4); }},
      {"Whittle agregado", [](const Vector& s) { return HurstWhittleAgregado(s, 2); }},
      {"Test T", [](const Vector& s) { return TestT(s, 3, 0.05); }},
      {"R/S", [](const Vector& s) { return HurstRS(s, 6, 8, 10, 4); }},
      {"Higuchi", [](const Vector& s) { return HurstHiguchi(s, 0, 10); }},
  };
  return metodos;
}

TEST(Hilos, CancelarDetieneLaEstimacion) {
  const Vector serie = Fgn(70000, 0.7, 5);
  for (const Metodo& m : Metodos()) {
    ControlProgreso control;
    control.Cancelar();
    ProgresoInstalado instalado(control);
    EXPECT_THROW(m.estimar(serie), Cancelado) << m.nombre;
  }
  // The same estimate, followed to its end.
  ControlProgreso control;
  {
    ProgresoInstalado instalado(control);
    ASSERT_EQ(HurstWhittleFgn(serie).estado, kEstadoOk);
  }
  EXPECT_GT(control.Fraccion(), 0.9);
  EXPECT_LE(control.Fraccion(), 1.0);
}

}  // namespace
