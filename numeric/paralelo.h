// Work split over the processor's cores with a fixed split.
//
// A parallel loop is cut by its caller into pieces whose bounds depend only on the size of
// the work, never on the number of threads; each piece writes only its own outputs and the
// caller combines them in piece order afterwards. So every result is the same, bit for bit,
// with one thread or many.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "numeric/progreso.h"

// Variable of the environment that sets the number of threads (a positive integer); when it
// is absent or invalid every core is used (fenwa-cli refuses an invalid one before starting).
inline constexpr const char* kVariableHilos = "FENWA_HILOS";

// Threads the parallel loops use: the value set on this thread by HilosDeEsteHilo, else the
// one set by FijarHilosDeCalculo, else FENWA_HILOS, else the number of cores.
unsigned HilosDeCalculo();
// Sets the number of threads for the whole process; 0 goes back to the default.
void FijarHilosDeCalculo(unsigned hilos);
// Sets the number of threads of the loops started on the calling thread, for the guard's
// lifetime (0: that of the process), so that analyses running at once on different threads
// may each have their own; the previous value comes back afterwards.
class HilosDeEsteHilo {
 public:
  explicit HilosDeEsteHilo(unsigned hilos);
  ~HilosDeEsteHilo();
  HilosDeEsteHilo(const HilosDeEsteHilo&) = delete;
  HilosDeEsteHilo& operator=(const HilosDeEsteHilo&) = delete;

 private:
  unsigned anterior_;
};

// Calls tarea(i) once for each i = 0..piezas-1, spread over HilosDeCalculo() threads (the
// calling thread among them), and returns when all have finished. Pieces are taken in
// increasing order. Inside a piece, the part [i/piezas, (i+1)/piezas] of the current
// progress (numeric/progreso.h) is the piece's own, and cancellation is checked after each
// piece. When pieces throw, the remaining ones with a higher index are skipped and the
// exception of the lowest failing piece is rethrown, as a sequential loop would do. A loop
// started inside a piece runs on the thread of that piece.
void ParaCadaPieza(std::size_t piezas, const std::function<void(std::size_t)>& tarea);

// Whether a loop of that many pieces started here would run on more than one thread (not
// when only one is set, nor inside a piece of another loop). A sum that can be formed in
// a single pass, each term added as it is computed, is cheaper that way on one thread.
bool RepartoEnHilos(std::size_t piezas);

// Slots of ParaCadaPiezaEnOrden: the pieces computed and not yet taken in order.
inline constexpr std::size_t kRanurasEnOrden = 16;

// The same with a step that runs in piece order: calcular(i, r) leaves the results of
// piece i in the caller's slot r (0 <= r < kRanurasEnOrden), and acumular(i, r) takes them
// after acumular(i - 1, ·) has finished, on whichever thread is free, so that sums over the
// pieces come out as one thread adding them in order would make them. No thread waits for
// another unless every slot is in use.
void ParaCadaPiezaEnOrden(
    std::size_t piezas, const std::function<void(std::size_t pieza, std::size_t ranura)>& calcular,
    const std::function<void(std::size_t pieza, std::size_t ranura)>& acumular);

// Number of pieces of at most `tamano` elements that cover `total` elements.
inline std::size_t NumeroDePiezas(std::size_t total, std::size_t tamano) {
  return (total + tamano - 1) / tamano;
}

// K sums over j = 0..total-1, each added in the order of j, of the terms termino(j) (a
// std::array<double, K>), in pieces of `porPieza` values; preparar(pieza) runs on the
// piece's thread before its terms. On one thread each term is added as it is computed; on
// several, the pieces are computed at once and added in order (ParaCadaPiezaEnOrden). The
// sums are the same either way, bit for bit.
template <std::size_t K, class Preparar, class Termino>
std::array<double, K> SumasEnOrden(std::size_t total, std::size_t porPieza,
                                   const Preparar& preparar, const Termino& termino) {
  std::array<double, K> suma{};
  const std::size_t piezas = NumeroDePiezas(total, porPieza);
  if (!RepartoEnHilos(piezas)) {
    for (std::size_t p = 0; p < piezas; ++p) {
      preparar(p);
      const std::size_t hasta = std::min(total, (p + 1) * porPieza);
      for (std::size_t j = p * porPieza; j < hasta; ++j) {
        const std::array<double, K> t = termino(j);
        for (std::size_t k = 0; k < K; ++k) suma[k] += t[k];
      }
      Avance(static_cast<double>(p + 1) / static_cast<double>(piezas));
    }
    return suma;
  }
  std::vector<double> ranuras(std::min(piezas, kRanurasEnOrden) * porPieza * K);
  ParaCadaPiezaEnOrden(
      piezas,
      [&](std::size_t p, std::size_t r) {
        preparar(p);
        const std::size_t desde = p * porPieza;
        const std::size_t hasta = std::min(total, desde + porPieza);
        double* b = ranuras.data() + r * porPieza * K;
        for (std::size_t j = desde; j < hasta; ++j) {
          const std::array<double, K> t = termino(j);
          for (std::size_t k = 0; k < K; ++k) b[(j - desde) * K + k] = t[k];
        }
      },
      [&](std::size_t p, std::size_t r) {
        const std::size_t cuantos = std::min(total, (p + 1) * porPieza) - p * porPieza;
        const double* b = ranuras.data() + r * porPieza * K;
        for (std::size_t j = 0; j < cuantos; ++j)
          for (std::size_t k = 0; k < K; ++k) suma[k] += b[j * K + k];
      });
  return suma;
}

// The same sums with the terms of a whole piece computed at once (on vectors, say):
// calcular(desde, cuantos, t) writes term k of element desde + i to t[k·porPieza + i],
// i = 0..cuantos-1. The sums are added in the order of j as in SumasEnOrden, so the same
// terms give the same sums, bit for bit, on any number of threads.
template <std::size_t K, class Calcular>
std::array<double, K> SumasDePiezasEnOrden(std::size_t total, std::size_t porPieza,
                                           const Calcular& calcular) {
  std::array<double, K> suma{};
  const std::size_t piezas = NumeroDePiezas(total, porPieza);
  const auto cuantosEn = [&](std::size_t p) {
    return std::min(total, (p + 1) * porPieza) - p * porPieza;
  };
  const auto sumar = [&](const double* t, std::size_t cuantos) {
    for (std::size_t k = 0; k < K; ++k) {
      double s = suma[k];
      for (std::size_t j = 0; j < cuantos; ++j) s += t[k * porPieza + j];
      suma[k] = s;
    }
  };
  // The buffers are written before they are read: left uninitialised.
  if (!RepartoEnHilos(piezas)) {
    const auto terminos = std::make_unique_for_overwrite<double[]>(piezas ? porPieza * K : 0);
    for (std::size_t p = 0; p < piezas; ++p) {
      calcular(p * porPieza, cuantosEn(p), terminos.get());
      sumar(terminos.get(), cuantosEn(p));
      Avance(static_cast<double>(p + 1) / static_cast<double>(piezas));
    }
    return suma;
  }
  const auto ranuras =
      std::make_unique_for_overwrite<double[]>(std::min(piezas, kRanurasEnOrden) * porPieza * K);
  ParaCadaPiezaEnOrden(
      piezas,
      [&](std::size_t p, std::size_t r) {
        calcular(p * porPieza, cuantosEn(p), ranuras.get() + r * porPieza * K);
      },
      [&](std::size_t p, std::size_t r) { sumar(ranuras.get() + r * porPieza * K, cuantosEn(p)); });
  return suma;
}
