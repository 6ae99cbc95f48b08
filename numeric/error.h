// Run-time faults of the numerical library.
//
// Misuse detected inside the library (bad index, singular matrix, exhausted iteration
// budget) is reported by throwing ErrorNumerico, which carries the fault's code and its
// Spanish text. The library never ends the process: each program decides in its own
// main (or its analysis driver) what a fault means for it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// Codes of the library's faults. The numbers are the historical ones and are kept.
enum FalloEjecucion : std::uint8_t {
  kFalloIndiceVector = 0,            // index outside the vector
  kFalloSubvectorInvertido = 1,      // sub-vector whose first index follows its last
  kFalloLongitudesDistintas = 2,     // vectors of different lengths in one operation
  kFalloIndiceMatriz = 3,            // element index outside the matrix
  kFalloFilaMatriz = 4,              // row outside the matrix
  kFalloColumnaMatriz = 5,           // column outside the matrix
  kFalloProductoVectorMatriz = 6,    // vector length differs from the matrix's rows
  kFalloMatrizSingular = 7,          // Gauss-Jordan elimination met a singular matrix
  kFalloIteracionesGamma = 8,        // Gcf or Gser ran out of iterations
  kFalloGserNegativo = 9,            // Gser asked for x < 0
  kFalloArgumentosGammp = 10,        // Gammp asked for x < 0 or a <= 0
  kFalloIteracionesAmoeba = 11,      // the simplex ran out of iterations
  kFalloIteracionesMinUnaVble = 12,  // the one-variable minimisation ran out of iterations
  kFalloSaltoRampa = 13,             // Rampa with a step not positive
  kFalloExtremosRampa = 14,          // Rampa whose ends are too close
  kFalloNivelAgregacion = 15,        // Agregar with level 0
  kFalloPuntosAutocorrelacion = 16,  // autocorrelation of 0 points or more than the series
};

// Message of a library fault ("" for values outside the enumeration).
const char* MensajeErrorEjecucion(FalloEjecucion codigo);

// The full text of the report: "error en tiempo de ejecución: " + message.
std::string TextoErrorEjecucion(FalloEjecucion codigo);

class ErrorNumerico : public std::exception {
 public:
  explicit ErrorNumerico(FalloEjecucion codigo);
  FalloEjecucion Codigo() const noexcept { return codigo_; }
  // The table message, without the "error en tiempo de ejecución: " prefix.
  const char* what() const noexcept override;
  // The full report text, prefix included.
  const std::string& Texto() const noexcept { return texto_; }

 private:
  FalloEjecucion codigo_;
  std::string texto_;
};

// Reports a library fault: throws ErrorNumerico with the code.
[[noreturn]] void ErrorEjecucion(FalloEjecucion codigo);
