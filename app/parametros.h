// The parameter fields of the four parameter dialogs, described once in a table, and the
// values they hold.
//
// Each field has a key (its control name; "Estacion.EBloques" for the stationarity dialog's
// EBloques, which shares its control name with the R/S one), the dialog and page it sits
// on, its kind, its default text, and what the dialog says about it: its label, the values
// it takes and a short help. The dialogs create, label and bind their controls from the
// table and lay out a page from its rows where they have no layout of their own;
// AnalysisParameters starts from its defaults, and fenwa-cli -p sets fields by key.
//
// Values are held as texts, as the controls hold them; a check box is "0" or "1", a radio
// group the index of its selected item. The analysis converts a text only when it uses
// it, strictly: a text that is not a whole integer, or a whole decimal number for a decimal
// field, stops the analysis with "'<text>' no es un número entero válido" (or "decimal").
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class Dialogo {
  MetodosH,         // "Métodos H" (TFMetodosH)
  MetodosT0,        // "Métodos T0" (TFMetodosT0)
  Estacion,         // "Estacionariedad" (TFEstacion)
  Autocorrelacion,  // "Autocorrelación" (TFAuto)
};

enum class TipoCampo {
  Entero,        // edit field read as an integer
  Decimal,       // edit field read as a decimal number
  ListaEntera,   // editable list (its entries below) read as an integer
  ListaDecimal,  // editable list read as a decimal number
  Casilla,       // check box
  Opciones,      // radio group (its items below)
};

// Field keys, written once: the table and the dialogs use these names.
namespace campo {
// Métodos H
inline constexpr const char* EMind = "EMind";
inline constexpr const char* EMinRS = "EMinRS";
inline constexpr const char* EBloques = "EBloques";
inline constexpr const char* EDecadaRS = "EDecadaRS";
inline constexpr const char* EMinm = "EMinm";
inline constexpr const char* EMinVar = "EMinVar";
inline constexpr const char* EDecadaVar = "EDecadaVar";
inline constexpr const char* ChLineal = "ChLineal";
inline constexpr const char* EMinmDif = "EMinmDif";
inline constexpr const char* EMinVarDif = "EMinVarDif";
inline constexpr const char* EDecadaVarDif = "EDecadaVarDif";
inline constexpr const char* ChMismos = "ChMismos";
inline constexpr const char* CBPorcentaje = "CBPorcentaje";
inline constexpr const char* RGModelo = "RGModelo";
inline constexpr const char* RGDensidad = "RGDensidad";
inline constexpr const char* EOrdenp = "EOrdenp";
inline constexpr const char* EOrdenq = "EOrdenq";
inline constexpr const char* CBFactor = "CBFactor";
inline constexpr const char* CBNivel = "CBNivel";
inline constexpr const char* EMomentosOnd = "EMomentosOnd";
inline constexpr const char* EOctavaIni = "EOctavaIni";
inline constexpr const char* EOctavaFin = "EOctavaFin";
inline constexpr const char* EOrdenDFA = "EOrdenDFA";
inline constexpr const char* EMinCaja = "EMinCaja";
inline constexpr const char* EDecadaDFA = "EDecadaDFA";
inline constexpr const char* EMinmMom = "EMinmMom";
inline constexpr const char* EMinBloquesMom = "EMinBloquesMom";
inline constexpr const char* EDecadaMom = "EDecadaMom";
inline constexpr const char* EKMax = "EKMax";
inline constexpr const char* EDecadaHig = "EDecadaHig";
inline constexpr const char* EExponenteGPH = "EExponenteGPH";
// Métodos T0
inline constexpr const char* EInicial = "EInicial";
inline constexpr const char* EFinal = "EFinal";
inline constexpr const char* EDecada = "EDecada";
// Estacionariedad
inline constexpr const char* EstacionEBloques = "Estacion.EBloques";
inline constexpr const char* ESigni = "ESigni";
// Autocorrelación
inline constexpr const char* RGSesgo = "RGSesgo";
inline constexpr const char* EPuntos = "EPuntos";
inline constexpr const char* ChLongitud = "ChLongitud";
inline constexpr const char* ChGuardar = "ChGuardar";
}  // namespace campo

struct DefinicionCampo {
  const char* clave;     // unique key (campo::...)
  const char* control;   // name of the control in its dialog
  Dialogo dialogo;
  const char* pagina;    // title of the dialog page it is on; "" in a dialog without pages
  TipoCampo tipo;
  const char* omision;   // default text
  std::vector<const char*> entradas;  // entries of an editable list, items of a radio group
  // Its label as the dialog shows it: beside an edit field or list (with its colon), the
  // text of a check box, the title of a radio group.
  const char* etiqueta;
  // The values it takes, shown in grey beside an edit field or list, decimals with a point;
  // "" for a check box or a radio group, whose states say it.
  const char* limites;
  const char* ayuda;     // what it does, one or two short sentences (the control's hint)

  bool EsTexto() const { return tipo != TipoCampo::Casilla && tipo != TipoCampo::Opciones; }
};

// Every field, dialog by dialog, in the reading order of each page; a dialog's pages (and
// the "Métodos H" list of them) follow the order of their first fields.
const std::vector<DefinicionCampo>& TablaCampos();
// The field with that key; nullptr when there is none.
const DefinicionCampo* BuscarCampo(std::string_view clave);

// The values of the four dialogs, one text per field of the table.
class AnalysisParameters {
 public:
  AnalysisParameters();  // every field at its default

  // Text of a field by key; an unknown key is a programming error (std::out_of_range).
  const std::string& operator[](std::string_view clave) const;
  std::string& operator[](std::string_view clave);
  // A check box is checked when its text is "1".
  bool Marca(std::string_view clave) const { return (*this)[clave] == "1"; }
  // The selected item of a radio group (0 when the text is not an index).
  int Opcion(std::string_view clave) const;

  bool operator==(const AnalysisParameters&) const = default;

 private:
  std::vector<std::string> valores_;
};

// The conversion error of a field; what() is "'<text>' no es un número entero válido", or
// "... decimal válido" for a decimal field.
class ErrorConversion : public std::exception {
 public:
  explicit ErrorConversion(std::string_view texto, bool decimal = false);
  const char* what() const noexcept override { return mensaje_.c_str(); }
  const std::string& Mensaje() const noexcept { return mensaje_; }
  const std::string& Texto() const noexcept { return texto_; }
  // The analysis status: kEstadoConversion, or kEstadoConversionDecimal for a decimal field.
  int Estado() const noexcept { return estado_; }

 private:
  std::string texto_;
  std::string mensaje_;
  int estado_;
};

// Strict: optional blanks, optional sign, decimal digits, optional blanks, and nothing
// else; the value must fit a signed 32-bit integer. Otherwise nullopt.
std::optional<int> LeerEntero(std::string_view texto);
// As LeerEntero, but throws ErrorConversion on a bad text.
int ConvertirEntero(std::string_view texto);
// A decimal number, whatever the locale: optional sign, digits with one point or one comma
// as decimal separator ("0,05" is 0.05), optional exponent, blanks around it. Anything else
// (hexadecimal, inf, nan, trailing characters) and values that are not finite give nullopt.
std::optional<double> LeerDecimal(std::string_view texto);
// As LeerDecimal, but throws ErrorConversion (decimal) on a bad text.
double ConvertirReal(std::string_view texto);

// Sets a field by key. Text fields take the value as is; check boxes take "0" or "1",
// radio groups the index of an item. Returns an error text (empty on success) for an
// unknown key or a bad value.
std::string AsignarCampo(AnalysisParameters& parametros, std::string_view clave,
                         std::string_view valor);
// Every key AsignarCampo accepts, in table order.
const std::vector<std::string>& NombresCampos();
