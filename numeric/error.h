// Run-time error report of the numerical library.
//
// Misuse detected inside the library (bad index, singular matrix, exhausted iteration
// budget) ends in ErrorEjecucion. With nothing above prepared to handle it, the report is
// fatal: "error en tiempo de ejecución: " and the message go to standard error and the
// process exits with status 1. Code that can recover (the analysis driver) opens a
// CapturaErroresNumericos scope; inside it the same fault is thrown as ErrorNumerico,
// carrying the same code and message, so the caller can show it and go on.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// Message of a library error code ("" for codes outside the table).
const char* MensajeErrorEjecucion(std::uint8_t codigo);

// The full text of the report: "error en tiempo de ejecución: " + message.
std::string TextoErrorEjecucion(std::uint8_t codigo);

// Raised by ErrorEjecucion while a CapturaErroresNumericos scope is active.
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

// While an object of this type lives on the current thread, library faults throw
// ErrorNumerico instead of ending the process. Scopes nest.
class CapturaErroresNumericos {
 public:
  CapturaErroresNumericos();
  ~CapturaErroresNumericos();
  CapturaErroresNumericos(const CapturaErroresNumericos&) = delete;
  CapturaErroresNumericos& operator=(const CapturaErroresNumericos&) = delete;
  static bool Activa();
};

// Reports a library fault: throws ErrorNumerico inside a capture scope, otherwise writes
// the report to standard error and exits with status 1.
[[noreturn]] void ErrorEjecucion(std::uint8_t codigo);
