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

// Message of a library error code ("" for codes outside the table).
const char* MensajeErrorEjecucion(std::uint8_t codigo);

// The full text of the report: "error en tiempo de ejecución: " + message.
std::string TextoErrorEjecucion(std::uint8_t codigo);

class ErrorNumerico : public std::exception {
 public:
  explicit ErrorNumerico(std::uint8_t codigo);
  std::uint8_t Codigo() const noexcept { return codigo_; }
  // The table message, without the "error en tiempo de ejecución: " prefix.
  const char* what() const noexcept override;
  // The full report text, prefix included.
  const std::string& Texto() const noexcept { return texto_; }

 private:
  std::uint8_t codigo_;
  std::string texto_;
};

// Reports a library fault: throws ErrorNumerico with the code.
[[noreturn]] void ErrorEjecucion(std::uint8_t codigo);
