// Parallel loops with a fixed split, and the progress and cancellation control.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "numeric/paralelo.h"
#include "numeric/progreso.h"

namespace {

// Sets the number of threads for a scope.
class Hilos {
 public:
  explicit Hilos(unsigned n) { FijarHilosDeCalculo(n); }
  ~Hilos() { FijarHilosDeCalculo(0); }
};

const unsigned kHilos[] = {1, 2, 3, 8};

// Terms of very different magnitudes, so that any other order of the sum rounds differently.
double Termino(std::size_t i) {
  return std::ldexp(std::sin(static_cast<double>(i) * 0.7), static_cast<int>(i % 40) - 20);
}

TEST(ParaCadaPiezaEnOrden, SumaComoUnBucleSecuencial) {
  constexpr std::size_t kPiezas = 97, kPorPieza = 33;
  double esperada = 0.0;
  for (std::size_t i = 0; i < kPiezas * kPorPieza; ++i) esperada += Termino(i);
  for (const unsigned n : kHilos) {
    Hilos hilos(n);
    std::vector<double> ranuras(kRanurasEnOrden * kPorPieza);
    std::vector<int> veces(kPiezas, 0);
    std::vector<std::size_t> orden;
    double suma = 0.0;
    ParaCadaPiezaEnOrden(
        kPiezas,
        [&](std::size_t p, std::size_t r) {
          ++veces[p];
          for (std::size_t j = 0; j < kPorPieza; ++j)
            ranuras[r * kPorPieza + j] = Termino(p * kPorPieza + j);
        },
        [&](std::size_t p, std::size_t r) {
          orden.push_back(p);
          for (std::size_t j = 0; j < kPorPieza; ++j) suma += ranuras[r * kPorPieza + j];
        });
    EXPECT_EQ(suma, esperada) << n << " hilos";
    EXPECT_EQ(veces, std::vector<int>(kPiezas, 1)) << n << " hilos";
    ASSERT_EQ(orden.size(), kPiezas);
    for (std::size_t p = 0; p < kPiezas; ++p) EXPECT_EQ(orden[p], p);
  }
}

// Whole pieces of terms at once give the sums of SumasEnOrden term by term, bit for bit:
// lengths that fill the last piece or not, fewer terms than a piece, more pieces than slots.
TEST(SumasDePiezasEnOrden, LasDeSumasEnOrden) {
  struct Caso {
    std::size_t total, porPieza;
  };
  const Caso casos[] = {{0, 8}, {5, 8}, {64, 8}, {1000, 7}, {4096, 256}, {3001, 64}};
  for (const Caso& c : casos) {
    for (const unsigned n : kHilos) {
      Hilos hilos(n);
      const auto termino = [](std::size_t j) {
        return std::array<double, 2>{Termino(j), 1.0 / (1.0 + Termino(3 * j))};
      };
      const auto esperadas = SumasEnOrden<2>(c.total, c.porPieza, [](std::size_t) {}, termino);
      std::vector<int> veces(c.total, 0);
      const auto sumas = SumasDePiezasEnOrden<2>(
          c.total, c.porPieza, [&](std::size_t desde, std::size_t cuantos, double* t) {
            ASSERT_EQ(desde % c.porPieza, 0u);
            ASSERT_EQ(cuantos, std::min(c.porPieza, c.total - desde));
            for (std::size_t i = 0; i < cuantos; ++i) {
              ++veces[desde + i];
              t[i] = termino(desde + i)[0];
              t[c.porPieza + i] = termino(desde + i)[1];
            }
          });
      EXPECT_EQ(sumas, esperadas) << c.total << " en piezas de " << c.porPieza << ", " << n
                                  << " hilos";
      EXPECT_EQ(veces, std::vector<int>(c.total, 1));
    }
  }
}

// Pieces 5 and 9 fail: the fault of piece 5 comes out, as in a plain loop, and nothing
// after it is added in order.
TEST(ParaCadaPieza, ElFalloDeLaPrimeraPiezaQueFalla) {
  for (const unsigned n : kHilos) {
    Hilos hilos(n);
    for (const bool enOrden : {false, true}) {
      std::atomic<std::size_t> mayorAcumulada{0};
      auto calcular = [](std::size_t p, std::size_t) {
        if (p == 5 || p == 9) throw std::runtime_error("pieza " + std::to_string(p));
      };
      try {
        if (enOrden)
          ParaCadaPiezaEnOrden(40, calcular, [&](std::size_t p, std::size_t) {
            if (p > mayorAcumulada) mayorAcumulada = p;
          });
        else
          ParaCadaPieza(40, [&](std::size_t p) { calcular(p, 0); });
        ADD_FAILURE() << "se esperaba una excepción";
      } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "pieza 5") << n << " hilos";
      }
      EXPECT_LT(mayorAcumulada.load(), 5u);
    }
  }
}

// The threads of one thread are its own, over the process's value, and come back when the
// guard ends; another thread keeps the process's value meanwhile.
TEST(HilosDeEsteHilo, SoloEnElHiloQueLosFija) {
  Hilos proceso(3);
  unsigned enOtro = 0;
  {
    HilosDeEsteHilo propios(5);
    EXPECT_EQ(HilosDeCalculo(), 5u);
    {
      HilosDeEsteHilo anidados(1);
      EXPECT_EQ(HilosDeCalculo(), 1u);
      EXPECT_FALSE(RepartoEnHilos(10));
    }
    EXPECT_EQ(HilosDeCalculo(), 5u);
    std::thread otro([&] { enOtro = HilosDeCalculo(); });
    otro.join();
  }
  EXPECT_EQ(enOtro, 3u);
  EXPECT_EQ(HilosDeCalculo(), 3u);
}

TEST(ParaCadaPieza, BuclesDentroDeUnaPieza) {
  Hilos hilos(3);
  std::vector<std::atomic<int>> veces(6 * 7);
  ParaCadaPieza(6, [&](std::size_t i) {
    ParaCadaPieza(7, [&](std::size_t j) { ++veces[i * 7 + j]; });
  });
  for (const auto& v : veces) EXPECT_EQ(v.load(), 1);
}

TEST(Progreso, TramosAnidados) {
  ControlProgreso control;
  ProgresoInstalado instalado(control);
  EXPECT_TRUE(ProgresoObservado());
  {
    TramoProgreso mitad(0.5, 1.0);
    TramoProgreso cuarto(0.0, 0.5);
    Avance(0.5);
  }
  EXPECT_DOUBLE_EQ(control.Fraccion(), 0.625);
  Avance(0.3);  // the fraction never goes back
  EXPECT_DOUBLE_EQ(control.Fraccion(), 0.625);
  Avance(1.0);
  EXPECT_DOUBLE_EQ(control.Fraccion(), 1.0);
}

TEST(Progreso, SinControlNoHaceNada) {
  EXPECT_FALSE(ProgresoObservado());
  EXPECT_NO_THROW(Avance(0.5));
  EXPECT_NO_THROW(ComprobarCancelacion());
}

// A cancel request reaches the pieces on every thread, and the loop ends with Cancelado.
TEST(Progreso, CancelarDetieneLasPiezas) {
  for (const unsigned n : kHilos) {
    Hilos hilos(n);
    ControlProgreso control;
    ProgresoInstalado instalado(control);
    std::atomic<int> hechas{0};
    EXPECT_THROW(ParaCadaPieza(1000,
                               [&](std::size_t i) {
                                 if (i == 10) control.Cancelar();
                                 ComprobarCancelacion();
                                 ++hechas;
                               }),
                 Cancelado);
    EXPECT_LT(hechas.load(), 1000) << n << " hilos";
    EXPECT_TRUE(control.CancelacionPedida());
    EXPECT_GT(control.Fraccion(), 0.0);
  }
}

}  // namespace
