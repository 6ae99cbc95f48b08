// The fault a call raises in the numerical library, for tests of misuse.
#pragma once

#include <string>

#include "numeric/error.h"

namespace prueba {

struct Fallo {
  int codigo = -1;    // -1: the call returned normally
  std::string texto;  // full report text, "error en tiempo de ejecución: " + message
};

template <class F>
Fallo FalloNumerico(F&& accion) {
  try {
    accion();
  } catch (const ErrorNumerico& e) {
    return {e.Codigo(), e.Texto()};
  }
  return {};
}

}  // namespace prueba
