// The values of the four parameter dialogs, held as the texts and states of their controls.
//
// The analysis converts a text only when it uses it: integer fields strictly (a bad text
// stops the analysis with "'<text>' is not a valid integer value"), decimal fields
// leniently (the longest leading decimal number with a point, 0 when there is none).
// Each dialog's values form one sub-record, so a dialog can snapshot and restore its own
// values by copying it.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "Métodos H" (TFMetodosH): pages R/S, Varianza, Var. Diferenciada, Periodograma, Whittle.
struct ParametrosMetodosH {
  // R/S
  std::string EMind = "10";
  std::string EMinRS = "4";
  std::string EBloques = "8";
  std::string EDecadaRS = "6";
  // Varianza
  std::string EMinm = "10";
  std::string EMinVar = "20";
  std::string EDecadaVar = "6";
  bool ChLineal = false;
  // Var. Diferenciada
  std::string EMinmDif = "5";
  std::string EMinVarDif = "20";
  std::string EDecadaVarDif = "6";
  bool ChMismos = false;
  // Periodograma: editable list "0.1", "1", "5", "10", "15", "20"
  std::string CBPorcentaje = "10";
  // Whittle: RGModelo 0 = "Ruido Frac. Gaussiano (FGN)", 1 = "FARIMA (p, d, q)"
  int RGModelo = 0;
  std::string EOrdenp = "0";
  std::string EOrdenq = "0";
  std::string CBFactor = "4";   // editable list "4" .. "256"
  std::string CBNivel = "10";   // editable list "10" .. "1000"

  bool operator==(const ParametrosMetodosH&) const = default;
};

// "Métodos T0" (TFMetodosT0): IDC.
struct ParametrosMetodosT0 {
  std::string EInicial = "0";
  std::string EFinal = "0";
  std::string EDecada = "2";

  bool operator==(const ParametrosMetodosT0&) const = default;
};

// "Estacionariedad" (TFEstacion): Test T.
struct ParametrosEstacion {
  std::string EBloques = "10";
  std::string ESigni = "0.05";

  bool operator==(const ParametrosEstacion&) const = default;
};

// "Autocorrelación" (TFAuto).
struct ParametrosAuto {
  int RGSesgo = 0;  // 0 "Sesgada", 1 "Insesgada"
  std::string EPuntos = "100";
  bool ChLongitud = false;
  bool ChGuardar = true;

  bool operator==(const ParametrosAuto&) const = default;
};

struct AnalysisParameters {
  ParametrosMetodosH metodosH;
  ParametrosMetodosT0 metodosT0;
  ParametrosEstacion estacion;
  ParametrosAuto autocorrelacion;

  bool operator==(const AnalysisParameters&) const = default;
};

// Editable-list entries of the combo boxes, in display order.
extern const std::vector<std::string> kListaPorcentaje;  // "0.1" "1" "5" "10" "15" "20"
extern const std::vector<std::string> kListaFactor;      // "4" "8" "16" "32" "64" "128" "256"
extern const std::vector<std::string> kListaNivel;       // "10" "50" "100" "500" "1000"

// The conversion error of an integer field; what() is "'<text>' is not a valid integer value".
class ErrorConversion : public std::exception {
 public:
  explicit ErrorConversion(std::string_view texto);
  const char* what() const noexcept override { return mensaje_.c_str(); }
  const std::string& Mensaje() const noexcept { return mensaje_; }
  const std::string& Texto() const noexcept { return texto_; }

 private:
  std::string texto_;
  std::string mensaje_;
};

// Strict: optional blanks, optional sign, decimal digits, optional blanks, and nothing
// else; the value must fit a signed 32-bit integer. Otherwise nullopt.
std::optional<int> LeerEntero(std::string_view texto);
// As LeerEntero, but throws ErrorConversion on a bad text.
int ConvertirEntero(std::string_view texto);
// Lenient, C atof with a point whatever the locale: leading white space skipped, the
// longest leading decimal (or hexadecimal, inf, nan) number read, 0 when there is none.
// A text with no point takes its first comma as the decimal separator ("0,05" is 0.05).
double ConvertirReal(std::string_view texto);

// Sets a field by its control name ("EMind", ..., "ChGuardar"; the stationarity blocks
// field is "Estacion.EBloques", plain "EBloques" is the R/S one). Text fields take the
// value as is; check boxes and radio groups take "0" or "1". Returns an error text
// (empty on success) for an unknown name or a bad 0/1 value.
std::string AsignarCampo(AnalysisParameters& parametros, std::string_view nombre,
                         std::string_view valor);
// Every name AsignarCampo accepts, in dialog order.
const std::vector<std::string>& NombresCampos();
