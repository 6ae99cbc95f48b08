// The estimators that split their work over threads give the same results, bit for bit,
// with any number of them, and stop with Cancelado when their control is cancelled.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_periodograma.h"
#include "estimators/hurst_whittle_agregado.h"
#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "estimators/test_t.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"

namespace {

using namespace estimadores;

// Every number an estimate holds, with its status.
using Resultado = std::vector<double>;

Resultado Numeros(const Estimacion& e) {
  Resultado r = {static_cast<double>(e.estado), e.valor, e.inferior, e.superior};
  for (const Vector* v : {&e.ejeX, &e.ejeY, &e.ajusteY}) r.insert(r.end(), v->begin(), v->end());
  for (const Cifra& c : e.cifras) r.push_back(c.valor);
  return r;
}

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
  };
  return metodos;
}

// Long enough for several pieces in every parallel loop (objective sums, the blocks of
// the test), short enough to stay fast.
TEST(Hilos, MismosResultadosConCualquierNumeroDeHilos) {
  const Vector serie = Fgn(70000, 0.8, 4);
  for (const Metodo& m : Metodos()) {
    FijarHilosDeCalculo(1);
    const Resultado uno = Numeros(m.estimar(serie));
    for (const unsigned hilos : {2u, 3u}) {
      FijarHilosDeCalculo(hilos);
      EXPECT_EQ(Numeros(m.estimar(serie)), uno) << m.nombre << ", " << hilos << " hilos";
    }
  }
  FijarHilosDeCalculo(0);
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
