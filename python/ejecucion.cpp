#include "python/ejecucion.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "numeric/paralelo.h"
#include "numeric/progreso.h"

namespace py = pybind11;

namespace {

constexpr auto kPeriodoVigilancia = std::chrono::milliseconds(100);

// Python runs its signal handlers only on the interpreter's main thread.
bool EnHiloPrincipal() {
  static const unsigned long principal =
      py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
  return PyThread_get_thread_ident() == principal;
}

// Whether SIGINT has Python's own handler, the one that raises KeyboardInterrupt (not one of
// the program's, nor the system's default, nor ignored).
bool CtrlCEsKeyboardInterrupt() {
  // Kept for the life of the process: references released after the interpreter's end
  // would be a fault.
  static PyObject* const senales = py::module_::import("signal").release().ptr();
  const py::handle modulo(senales);
  const py::object actual = modulo.attr("getsignal")(static_cast<int>(SIGINT));
  return actual.is(modulo.attr("default_int_handler"));
}

// The computation that SIGINT cancels, and the handler SIGINT had before (Python's).
std::atomic<ControlProgreso*> cancelablePorSigint{nullptr};
struct sigaction manejadorAnterior;

extern "C" void CancelarPorSigint(int senal, siginfo_t* informacion, void* contexto) {
  // Async-signal-safe: a lock-free atomic store, then Python's own handler, which notes
  // the signal for PyErr_CheckSignals.
  if (ControlProgreso* control = cancelablePorSigint.load()) control->Cancelar();
  if (manejadorAnterior.sa_flags & SA_SIGINFO)
    manejadorAnterior.sa_sigaction(senal, informacion, contexto);
  else
    manejadorAnterior.sa_handler(senal);
}

// For its lifetime, SIGINT also cancels `control`: a computation on the main thread stops
// at its next check, and the KeyboardInterrupt comes from PyErr_CheckSignals afterwards.
class CancelacionPorSigint {
 public:
  explicit CancelacionPorSigint(ControlProgreso& control)
      : controlPrevio_(cancelablePorSigint.exchange(&control)) {
    struct sigaction nuevo {};
    sigaction(SIGINT, nullptr, &previo_);
    if (controlPrevio_ == nullptr) manejadorAnterior = previo_;  // the outermost: Python's
    nuevo.sa_sigaction = CancelarPorSigint;
    nuevo.sa_mask = previo_.sa_mask;
    nuevo.sa_flags = SA_SIGINFO | (previo_.sa_flags & SA_ONSTACK);
    sigaction(SIGINT, &nuevo, nullptr);
  }
  ~CancelacionPorSigint() {
    sigaction(SIGINT, &previo_, nullptr);
    cancelablePorSigint.store(controlPrevio_);
  }
  CancelacionPorSigint(const CancelacionPorSigint&) = delete;
  CancelacionPorSigint& operator=(const CancelacionPorSigint&) = delete;

 private:
  ControlProgreso* controlPrevio_;
  struct sigaction previo_;
};

}  // namespace

OpcionesEjecucion LeerOpcionesEjecucion(const py::object& hilos, const py::object& progreso) {
  OpcionesEjecucion o;
  if (!hilos.is_none()) {
    const bool entero = PyLong_Check(hilos.ptr()) && !PyBool_Check(hilos.ptr());
    const long long n = entero ? hilos.cast<long long>() : 0;
    if (!entero || n < 1 || n > 256)
      throw py::value_error("hilos debe ser un entero entre 1 y 256 (o None: tantos como núcleos), no " +
                            py::repr(hilos).cast<std::string>());
    o.hilos = static_cast<unsigned>(n);
  }
  if (!progreso.is_none() && !PyCallable_Check(progreso.ptr()))
    throw py::type_error("progreso debe ser invocable (recibe la fracción hecha, de 0 a 1) o None");
  o.progreso = progreso;
  return o;
}

void EjecutarSinGil(const std::function<void()>& calculo, const OpcionesEjecucion& opciones) {
  ControlProgreso control;
  const auto calcular = [&] {
    HilosDeEsteHilo hilos(opciones.hilos);
    ProgresoInstalado instalado(control);
    calculo();
  };
  const bool conProgreso = opciones.progreso && !opciones.progreso.is_none();
  if (!conProgreso) {
    // Away from the main thread no signal handler runs during the computation anyway. On
    // it, with Python's SIGINT handler, Ctrl-C cancels the computation straight from the
    // signal, without a thread to watch for it.
    const bool principal = EnHiloPrincipal();
    if (!principal || CtrlCEsKeyboardInterrupt()) {
      std::optional<CancelacionPorSigint> porSigint;
      if (principal) porSigint.emplace(control);
      {
        py::gil_scoped_release sinGil;
        calcular();
      }
      porSigint.reset();
      if (principal && PyErr_CheckSignals() != 0) throw py::error_already_set();
      return;
    }
  }

  std::mutex cerrojo;
  std::condition_variable terminado;
  bool hecho = false;
  std::exception_ptr fallo;
  std::thread trabajador([&] {
    try {
      calcular();
    } catch (...) {
      fallo = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> bloqueo(cerrojo);
      hecho = true;
    }
    terminado.notify_all();
  });

  std::optional<py::error_already_set> interrupcion;
  for (;;) {
    bool listo;
    {
      py::gil_scoped_release sinGil;
      std::unique_lock<std::mutex> bloqueo(cerrojo);
      listo = terminado.wait_for(bloqueo, kPeriodoVigilancia, [&] { return hecho; });
    }
    if (listo) break;
    if (PyErr_CheckSignals() != 0) {
      interrupcion.emplace();  // takes the pending exception (KeyboardInterrupt for Ctrl-C)
      break;
    }
    if (conProgreso) {
      try {
        opciones.progreso(control.Fraccion());
      } catch (py::error_already_set& e) {
        interrupcion.emplace(std::move(e));
        break;
      }
    }
  }
  if (interrupcion) {
    control.Cancelar();
    {
      py::gil_scoped_release sinGil;
      trabajador.join();
    }
    throw *interrupcion;
  }
  trabajador.join();
  if (fallo) std::rethrow_exception(fallo);
  if (conProgreso) opciones.progreso(1.0);
}
