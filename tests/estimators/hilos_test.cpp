// The estimators that split their work over threads give the same results, bit for bit,
// with any number of them, and stop with Cancelado when their control is cancelled.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "comun.h"
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

using namespace estimadores;

// Every number an estimate returns, with its status.
using Resultado = std::vector<double>;

struct Metodo {
  const char* nombre;
  std::function<Resultado(const Vector&)> estimar;
};

const std::vector<Metodo>& Metodos() {
  static const std::vector<Metodo> metodos = {
      {"Periodograma",
       [](const Vector& s) {
         double H = 0;
         Vector x, y;
         const int e = HurstPeriodograma(s, 10.0f, H, x, y);
         Resultado r = {static_cast<double>(e), H};
         r.insert(r.end(), y.begin(), y.end());
         return r;
       }},
      {"Whittle FGN",
       [](const Vector& s) {
         double H = 0, a = 0, b = 0;
         const int e = HurstWhittleFgn(s, H, a, b);
         return Resultado{static_cast<double>(e), H, a, b};
       }},
      {"FARIMA(1, d, 1)",
       [](const Vector& s) {
         Vector eta;
         double a = 0, b = 0;
         const int e = HurstWhittleFarima(s, 1, 1, eta, a, b);
         Resultado r = {static_cast<double>(e), a, b};
         r.insert(r.end(), eta.begin(), eta.end());
         return r;
       }},
      {"Whittle local",
       [](const Vector& s) {
         double H = 0, a = 0, b = 0;
         const int e = HurstWhittleLocal(s, 4, H, a, b);
         return Resultado{static_cast<double>(e), H, a, b};
       }},
      {"Whittle agregado",
       [](const Vector& s) {
         double H = 0, a = 0, b = 0;
         const int e = HurstWhittleAgregado(s, 2, H, a, b);
         return Resultado{static_cast<double>(e), H, a, b};
       }},
      {"R/S",
       [](const Vector& s) {
         double H = 0;
         Vector x, y;
         const int e = HurstRS(s, 6, 8, 10, 4, H, x, y);
         Resultado r = {static_cast<double>(e), H};
         r.insert(r.end(), y.begin(), y.end());
         return r;
       }},
      {"Higuchi",
       [](const Vector& s) {
         double H = 0;
         std::int32_t usado = 0;
         Vector x, y;
         const int e = HurstHiguchi(s, 0, 10, H, usado, x, y);
         Resultado r = {static_cast<double>(e), H};
         r.insert(r.end(), y.begin(), y.end());
         return r;
       }},
      {"Test T",
       [](const Vector& s) {
         double P = 0;
         int c = 0;
         const int e = TestT(s, 3, 0.05, P, c);
         return Resultado{static_cast<double>(e), P, static_cast<double>(c)};
       }},
  };
  return metodos;
}

// Long enough for several pieces in every parallel loop (objective sums, the blocks of
// the test), short enough to stay fast.
TEST(Hilos, MismosResultadosConCualquierNumeroDeHilos) {
  const Vector serie = Fgn(70000, 0.8, 4);
  for (const Metodo& m : Metodos()) {
    FijarHilosDeCalculo(1);
    const Resultado uno = m.estimar(serie);
    for (const unsigned hilos : {2u, 3u}) {
      FijarHilosDeCalculo(hilos);
      EXPECT_EQ(m.estimar(serie), uno) << m.nombre << ", " << hilos << " hilos";
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
  double H = -1, a = -1, b = -1;
  {
    ProgresoInstalado instalado(control);
    ASSERT_EQ(HurstWhittleFgn(serie, H, a, b), kEstadoOk);
  }
  EXPECT_GT(control.Fraccion(), 0.9);
  EXPECT_LE(control.Fraccion(), 1.0);
}

}  // namespace
