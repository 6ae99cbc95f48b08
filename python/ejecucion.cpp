#include "python/ejecucion.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "numeric/paralelo.h"
#include "numeric/progreso.h"

namespace py = pybind11;

namespace {

constexpr auto kPeriodoVigilancia = std::chrono::milliseconds(100);

// Signals are handled only on the interpreter's main thread: there a computation needs a
// thread that waits for it and checks them.
bool EnHiloPrincipal() {
  static const unsigned long principal =
      py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
  return PyThread_get_thread_ident() == principal;
}

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
  if (!conProgreso && !EnHiloPrincipal()) {
    py::gil_scoped_release sinGil;
    calcular();
    return;
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
