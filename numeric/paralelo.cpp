#include "numeric/paralelo.h"

#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "numeric/progreso.h"

namespace {

constexpr unsigned kHilosMaximos = 256;

std::atomic<unsigned> hilosFijados{0};
// HilosDeEsteHilo's value on this thread (0: none).
thread_local unsigned hilosDelHilo = 0;

// True on a thread that is running a piece: loops started there stay on that thread.
thread_local bool enPieza = false;

unsigned HilosPorOmision() {
  static const unsigned hilos = [] {
    if (const char* texto = std::getenv(kVariableHilos)) {
      unsigned valor = 0;
      const char* fin = texto + std::strlen(texto);
      const auto r = std::from_chars(texto, fin, valor);
      if (r.ec == std::errc() && r.ptr == fin && valor >= 1)
        return valor < kHilosMaximos ? valor : kHilosMaximos;
    }
    const unsigned nucleos = std::thread::hardware_concurrency();
    return nucleos >= 1 ? (nucleos < kHilosMaximos ? nucleos : kHilosMaximos) : 1u;
  }();
  return hilos;
}

using Tarea = std::function<void(std::size_t, std::size_t)>;

// Shared state of one loop.
struct Bucle {
  std::size_t piezas;
  const Tarea* tarea;
  const Tarea* acumular;  // null without an ordered step
  ContextoProgreso contexto;
  std::atomic<std::size_t> siguiente{0};
  std::atomic<std::size_t> limite;  // pieces from here on are skipped (a lower one failed)

  std::mutex cerrojo;
  std::size_t piezaFallida;
  std::exception_ptr fallo;
  // Ordered step, under the lock: pieces taken in order so far, which slots hold a computed
  // piece, whether some thread is taking them now, whether the loop was given up.
  std::condition_variable ranuraLibre;
  std::size_t acumuladas = 0;
  bool listas[kRanurasEnOrden] = {};
  bool acumulando = false;
  bool abandonado = false;

  Bucle(std::size_t n, const Tarea& t, const Tarea* a)
      : piezas(n), tarea(&t), acumular(a), contexto(ContextoActual()), limite(n), piezaFallida(n) {}

  // Waits until the slot of piece i is free (piece i - kRanurasEnOrden taken); false when
  // the loop was given up.
  bool EsperarRanura(std::size_t i) {
    std::unique_lock<std::mutex> bloqueo(cerrojo);
    ranuraLibre.wait(bloqueo, [&] { return abandonado || i < acumuladas + kRanurasEnOrden; });
    return !abandonado;
  }

  // Marks piece i computed and, unless another thread is at it, takes every computed piece
  // that comes next in order.
  void Entregar(std::size_t i) {
    std::unique_lock<std::mutex> bloqueo(cerrojo);
    listas[i % kRanurasEnOrden] = true;
    if (acumulando) return;
    acumulando = true;
    while (!abandonado && acumuladas < piezas && listas[acumuladas % kRanurasEnOrden]) {
      const std::size_t j = acumuladas;
      bloqueo.unlock();
      (*acumular)(j, j % kRanurasEnOrden);
      bloqueo.lock();
      listas[j % kRanurasEnOrden] = false;
      ++acumuladas;
      ranuraLibre.notify_all();
    }
    acumulando = false;
  }

  void Ejecutar(std::size_t i) {
    try {
      const double n = static_cast<double>(piezas);
      TramoProgreso tramo(static_cast<double>(i) / n, static_cast<double>(i + 1) / n);
      if (acumular && !EsperarRanura(i)) return;
      (*tarea)(i, i % kRanurasEnOrden);
      if (acumular) Entregar(i);
      Avance(1.0);
    } catch (...) {
      std::lock_guard<std::mutex> bloqueo(cerrojo);
      if (i < piezaFallida) {
        piezaFallida = i;
        fallo = std::current_exception();
        std::size_t actual = limite.load();
        while (i < actual && !limite.compare_exchange_weak(actual, i)) {
        }
      }
      // The loop ends with an exception: nothing more is taken in order, nobody waits.
      abandonado = true;
      ranuraLibre.notify_all();
    }
  }

  // Takes pieces in increasing order until none is left.
  void Trabajar() {
    for (;;) {
      const std::size_t i = siguiente.fetch_add(1);
      if (i >= piezas || i >= limite.load()) return;
      Ejecutar(i);
    }
  }
};

}  // namespace

unsigned HilosDeCalculo() {
  if (hilosDelHilo) return hilosDelHilo;
  const unsigned fijados = hilosFijados.load(std::memory_order_relaxed);
  return fijados ? fijados : HilosPorOmision();
}

void FijarHilosDeCalculo(unsigned hilos) {
  hilosFijados.store(hilos < kHilosMaximos ? hilos : kHilosMaximos, std::memory_order_relaxed);
}

HilosDeEsteHilo::HilosDeEsteHilo(unsigned hilos) : anterior_(hilosDelHilo) {
  hilosDelHilo = hilos < kHilosMaximos ? hilos : kHilosMaximos;
}

HilosDeEsteHilo::~HilosDeEsteHilo() { hilosDelHilo = anterior_; }

bool RepartoEnHilos(std::size_t piezas) {
  return piezas > 1 && !enPieza && HilosDeCalculo() > 1;
}

namespace {

void Repartir(std::size_t piezas, const Tarea& tarea, const Tarea* acumular) {
  if (piezas == 0) return;
  Bucle bucle(piezas, tarea, acumular);
  const unsigned hilos = HilosDeCalculo();
  std::size_t ayudantes = enPieza || hilos < 2 ? 0 : hilos - 1;
  if (ayudantes > piezas - 1) ayudantes = piezas - 1;

  std::vector<std::thread> hilosAyudantes;
  hilosAyudantes.reserve(ayudantes);
  for (std::size_t h = 0; h < ayudantes; ++h) {
    try {
      hilosAyudantes.emplace_back([&bucle] {
        ContextoHeredado heredado(bucle.contexto);
        enPieza = true;
        bucle.Trabajar();
      });
    } catch (const std::system_error&) {
      break;  // no more threads available: the ones running do the work
    }
  }
  const bool anterior = enPieza;
  enPieza = true;
  bucle.Trabajar();
  enPieza = anterior;
  for (std::thread& h : hilosAyudantes) h.join();
  if (bucle.fallo) std::rethrow_exception(bucle.fallo);
}

}  // namespace

void ParaCadaPieza(std::size_t piezas, const std::function<void(std::size_t)>& tarea) {
  const Tarea sinRanura = [&tarea](std::size_t i, std::size_t) { tarea(i); };
  Repartir(piezas, sinRanura, nullptr);
}

void ParaCadaPiezaEnOrden(std::size_t piezas, const Tarea& calcular, const Tarea& acumular) {
  Repartir(piezas, calcular, &acumular);
}
