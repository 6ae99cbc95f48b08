// What every estimator hands back: one type, so that the method table, the report, the
// JSON, the comparison and the charts treat every method alike.
#pragma once

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "estimators/estado.h"
#include "numeric/vector.h"

// A figure particular to a method (the octave or frequency count it used, a model
// coefficient, a verdict), by name.
struct Cifra {
  const char* nombre;
  double valor;
};

// The names of the figures the estimators give; the method table reads them by these.
namespace cifra {
inline constexpr const char* kOctavaFinal = "octava final";        // wavelets: j2 used
inline constexpr const char* kFrecuencias = "frecuencias";         // GPH: m used
inline constexpr const char* kRetardoMaximo = "retardo máximo";    // Higuchi: k_max used
inline constexpr const char* kVarianzaWhittle = "V";               // Whittle FGN: Var ≈ V/n'
inline constexpr const char* kConstante = "constante";             // Test T: 1 constant H, 0 not
inline constexpr const char* kRecta = "recta";                     // variance plot is a line
// Whittle FARIMA: the orders of the model, "p" and "q", and its coefficients φ and ψ
// (orders up to 1): "AR1", "MA1", found by prefix.
inline constexpr const char* kOrdenP = "p";
inline constexpr const char* kOrdenQ = "q";
inline constexpr const char* kAR1 = "AR1";
inline constexpr const char* kMA1 = "MA1";
inline constexpr const char* kPrefijoAR = "AR";
inline constexpr const char* kPrefijoMA = "MA";
}  // namespace cifra

// The status and, only when it is 0, the rest: the value (H, T0 or P), the 95 % interval of
// H for the methods that give one, the chart's points with the method's own fitted line at
// them (empty: the least-squares line through the points), and the method's own figures.
struct Estimacion {
  int estado = kEstadoOk;
  double valor = 0.0;
  bool hayIntervalo = false;
  double inferior = 0.0, superior = 0.0;
  Vector ejeX, ejeY, ajusteY;
  std::vector<Cifra> cifras;

  Estimacion() = default;
  // A refusal: the status alone (estimators return their status codes as they are).
  Estimacion(EstadoEstimador estado) : estado(estado) {}  // NOLINT: implicit on purpose
  // A refusal: the status alone.
  static Estimacion Rechazo(int estado) {
    Estimacion e;
    e.estado = estado;
    return e;
  }
  bool Exito() const { return estado == kEstadoOk; }
  // The figure of that name; NaN when the method gives none.
  double CifraDe(std::string_view nombre) const {
    const Cifra* c = Buscar(nombre);
    return c ? c->valor : std::nan("");
  }
  bool TieneCifra(std::string_view nombre) const { return Buscar(nombre) != nullptr; }
  // The value with its interval valor ± semiancho.
  void ValorConIntervalo(double v, double semiancho) {
    valor = v;
    hayIntervalo = true;
    inferior = v - semiancho;
    superior = v + semiancho;
  }
  void Puntos(Vector x, Vector y, Vector ajuste = Vector()) {
    ejeX = std::move(x);
    ejeY = std::move(y);
    ajusteY = std::move(ajuste);
  }

 private:
  const Cifra* Buscar(std::string_view nombre) const {
    for (const Cifra& c : cifras) {
      if (nombre == c.nombre) return &c;
    }
    return nullptr;
  }
};
