// Long computations of the library run from Python: with the GIL released, so that other
// Python threads run meanwhile; with the number of threads of the call; following the
// progress control of numeric/progreso.h, through which Ctrl-C and the progreso= callable
// reach the computation.
#pragma once

#include <functional>

#include <pybind11/pybind11.h>

struct OpcionesEjecucion {
  unsigned hilos = 0;              // threads of the computation (0: the process's)
  pybind11::object progreso;       // None, or a callable taking the fraction done
};

// Reads the keywords hilos= (None or an integer from 1 to 256) and progreso= (None or a
// callable); a bad value is a ValueError or a TypeError in Spanish.
OpcionesEjecucion LeerOpcionesEjecucion(const pybind11::object& hilos,
                                        const pybind11::object& progreso);

// Runs `calculo` without the GIL (it must not touch Python objects). On the interpreter's
// main thread with Python's own SIGINT handler, Ctrl-C cancels it from the signal handler
// and KeyboardInterrupt comes out of here. With a progreso callable, or another SIGINT
// handler of the program's, it runs on a worker thread while this one wakes every 100 ms:
// it runs the pending signal handlers and calls progreso with the fraction done; when
// either raises, the computation is cancelled, waited for, and the Python exception comes
// out of here. On success progreso gets 1.0 last. What `calculo` throws comes out of here
// as well.
void EjecutarSinGil(const std::function<void()>& calculo, const OpcionesEjecucion& opciones);
