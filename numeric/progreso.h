// Progress and cancellation of long computations.
//
// A caller that wants to follow a computation, or to stop it, creates a ControlProgreso and
// installs it on the thread that runs the computation with a ProgresoInstalado guard:
//
//   ControlProgreso control;                       // shared with the watching thread
//   {
//     ProgresoInstalado instalado(control);        // on the computing thread
//     ... HurstWhittleFgn(serie, ...) ...          // may throw Cancelado
//   }
//
// Meanwhile any other thread may read control.Fraccion() (0..1) and call control.Cancelar().
// The long loops of the library (sample reader, transforms, objective sums, minimisers, block
// loops, autocorrelation) report their progress and check for a cancellation request at least
// every few milliseconds of work; after Cancelar() the computation throws Cancelado at its next
// check. Cancelado is not an ErrorNumerico: it unwinds through the estimators, which have
// written no output yet, and through the caller's code up to whoever installed the control.
// Without an installed control every report and check costs one thread-local read.
//
// The fraction never decreases while the control is installed. Work split over threads by
// ParaCadaPieza (numeric/paralelo.h) sees the control of the thread that split it.
#pragma once

#include <atomic>
#include <exception>

class ControlProgreso {
 public:
  ControlProgreso() = default;
  ControlProgreso(const ControlProgreso&) = delete;
  ControlProgreso& operator=(const ControlProgreso&) = delete;

  // Fraction of the work done, 0..1. Any thread.
  double Fraccion() const { return fraccion_.load(std::memory_order_relaxed); }
  // Asks the computation to stop at its next check. Any thread, any time; stays set.
  void Cancelar() { cancelar_.store(true, std::memory_order_relaxed); }
  bool CancelacionPedida() const { return cancelar_.load(std::memory_order_relaxed); }

  // Raises the fraction to f when f is larger (the computing threads use this).
  void Elevar(double f);

 private:
  std::atomic<double> fraccion_{0.0};
  std::atomic<bool> cancelar_{false};
};

// Thrown by a computation whose control was cancelled.
class Cancelado : public std::exception {
 public:
  const char* what() const noexcept override;
};

// Installs a control on the current thread for the guard's lifetime (the previous one, if
// any, comes back afterwards). The whole computation maps onto the fraction 0..1.
class ProgresoInstalado {
 public:
  explicit ProgresoInstalado(ControlProgreso& control);
  ~ProgresoInstalado();
  ProgresoInstalado(const ProgresoInstalado&) = delete;
  ProgresoInstalado& operator=(const ProgresoInstalado&) = delete;

 private:
  ControlProgreso* control_;
  double base_, ancho_;
};

// ---- For the computations -----------------------------------------------------------

// The work inside the guard is the part [desde, hasta] (0 <= desde <= hasta <= 1) of the
// enclosing work: its own fractions 0..1 map onto that part.
class TramoProgreso {
 public:
  TramoProgreso(double desde, double hasta);
  ~TramoProgreso();
  TramoProgreso(const TramoProgreso&) = delete;
  TramoProgreso& operator=(const TramoProgreso&) = delete;

 private:
  double base_, ancho_;
};

// Reports that the fraction f (0..1) of the current work is done, then checks for
// cancellation (throws Cancelado).
void Avance(double f);
// Only the check: throws Cancelado when the installed control was cancelled.
void ComprobarCancelacion();
// True when a control is installed on this thread (so progress is worth computing).
bool ProgresoObservado();

// What ParaCadaPieza hands to its worker threads: the control and the current part.
struct ContextoProgreso {
  ControlProgreso* control = nullptr;
  double base = 0.0, ancho = 1.0;
};
ContextoProgreso ContextoActual();
// Installs a context taken from another thread for the guard's lifetime.
class ContextoHeredado {
 public:
  explicit ContextoHeredado(const ContextoProgreso& contexto);
  ~ContextoHeredado();
  ContextoHeredado(const ContextoHeredado&) = delete;
  ContextoHeredado& operator=(const ContextoHeredado&) = delete;

 private:
  ContextoProgreso anterior_;
};
