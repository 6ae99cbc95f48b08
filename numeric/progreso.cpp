#include "numeric/progreso.h"

namespace {

thread_local ContextoProgreso contexto;

}  // namespace

void ControlProgreso::Elevar(double f) {
  double actual = fraccion_.load(std::memory_order_relaxed);
  while (f > actual &&
         !fraccion_.compare_exchange_weak(actual, f, std::memory_order_relaxed)) {
  }
}

const char* Cancelado::what() const noexcept { return "operación cancelada"; }

ProgresoInstalado::ProgresoInstalado(ControlProgreso& control)
    : control_(contexto.control), base_(contexto.base), ancho_(contexto.ancho) {
  contexto = {&control, 0.0, 1.0};
}

ProgresoInstalado::~ProgresoInstalado() { contexto = {control_, base_, ancho_}; }

TramoProgreso::TramoProgreso(double desde, double hasta)
    : base_(contexto.base), ancho_(contexto.ancho) {
  contexto.base = base_ + desde * ancho_;
  contexto.ancho = (hasta - desde) * ancho_;
}

TramoProgreso::~TramoProgreso() {
  contexto.base = base_;
  contexto.ancho = ancho_;
}

void Avance(double f) {
  ControlProgreso* c = contexto.control;
  if (!c) return;
  if (f > 1.0) f = 1.0;
  if (f > 0.0) c->Elevar(contexto.base + f * contexto.ancho);
  if (c->CancelacionPedida()) throw Cancelado();
}

void ComprobarCancelacion() {
  const ControlProgreso* c = contexto.control;
  if (c && c->CancelacionPedida()) throw Cancelado();
}

bool ProgresoObservado() { return contexto.control != nullptr; }

ContextoProgreso ContextoActual() { return contexto; }

ContextoHeredado::ContextoHeredado(const ContextoProgreso& heredado) : anterior_(contexto) {
  contexto = heredado;
}

ContextoHeredado::~ContextoHeredado() { contexto = anterior_; }
