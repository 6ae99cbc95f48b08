// The method table: one row per entry of the method list, holding everything particular
// to the method — its name as the list shows it, the fields it reads, the call of its
// estimator, its report lines, its chart, and what it yields. The analysis driver, the
// desktop program's method lists and dialog pages, fenwa-cli -m, the Python module and
// the JSON "metodo" names all come from here; the report, the JSON, the comparison and the
// charts are written once for every row (EjecutarMetodo, app/analisis.cpp).
//
// Adding a method: its estimator file (estimators/, returning an Estimacion), its fields in
// the parameter table (app/parametros.cpp, from which its dialog page is laid out), its row
// here (app/metodos.cpp), its tests and its section of the manual (docs/, with the man page).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/nombres_metodos.h"
#include "app/parametros.h"
#include "estimators/estimacion.h"
#include "numeric/vector.h"

// The fields as a method reads them: converted as the analysis reads them (Entero and Real
// throw ErrorConversion on a text that is not a number).
class LectorCampos {
 public:
  explicit LectorCampos(const AnalysisParameters& parametros) : par_(parametros) {}
  int Entero(const char* campo) const { return ConvertirEntero(par_[campo]); }
  double Real(const char* campo) const { return ConvertirReal(par_[campo]); }
  bool Marca(const char* campo) const { return par_.Marca(campo); }
  int Opcion(const char* campo) const { return par_.Opcion(campo); }
  // A check box as 0 or 1, a radio group as the index of its item.
  int Estado(const char* campo) const;
  // Minimum lag d and minimum level m go to the estimators as unsigned numbers; a negative
  // text would turn into a huge value and be refused with an unrelated message, so it
  // becomes 0, which the estimator refuses with the message of that very parameter.
  std::uint32_t SinSigno(const char* campo) const;
  // An integer passed on as unsigned as it is: a negative value becomes a huge one, which
  // the estimator refuses with its message.
  std::uint32_t ComoSinSigno(const char* campo) const {
    return static_cast<std::uint32_t>(Entero(campo));
  }
  // Double to single precision without leaving the float range undefined.
  float Simple(const char* campo) const;

 private:
  const AnalysisParameters& par_;
};

// A piece of a report line.
struct Pieza {
  enum class Tipo {
    Texto,       // the text a
    Valor,       // the estimate, 4 significant digits
    Entero,      // field a as an integer
    Real,        // field a with 15 significant digits
    Elegido,     // field b when check box a is checked, else field c, as an integer
    Cifra,       // figure a as an integer
    Cifras,      // every figure whose name starts with a, 4 significant digits, each
                 // followed by two blanks
    SegunCifra,  // b when figure a is 1, else c
    SegunCampo,  // b when field a is 0, else c
  };
  Tipo tipo;
  const char* a = nullptr;
  const char* b = nullptr;
  const char* c = nullptr;
};

// One line of a method's report. A parameter line starts with six blanks. A line with a
// condition is written only when field `campo` is in state `estado` (with `distinto`, in
// any other state); both conditions when there are two.
struct LineaInforme {
  struct Condicion {
    const char* campo = nullptr;
    int estado = 0;
    bool distinto = false;
  };
  bool parametro = false;
  std::vector<Pieza> piezas;
  Condicion si, y;
};

// Where the comparison chart puts a method: its family (the families go top to bottom in
// this order) and its place within the family. Methods of no family go last.
enum class Familia { Tiempo, Frecuencia, Ondiculas, Ninguna };
struct PuestoComparacion {
  Familia familia = Familia::Ninguna;
  int orden = 0;
};

struct DefinicionMetodo {
  const char* nombre;         // as the method list shows it
  const char* corto;          // short name for charts that show every method (nullptr:
                              // the name itself)
  // The fields it reads, those of its own dialog page first: that page is where its
  // parameters are.
  std::vector<const char*> campos;
  bool daH;                   // its value is an estimate of H
  bool intervalo;             // it gives a 95 % confidence interval of H
  // Method chart: axis titles (nullptr: the method draws no chart) and the mark kind.
  const char* tituloX;
  const char* tituloY;
  std::uint8_t marca;
  PuestoComparacion comparacion;
  // Reads its fields and calls its estimator on the series. nullptr for "Ninguno".
  Estimacion (*estimar)(const LectorCampos&, const Vector&);
  // Its report lines on success: the first gives the value; the interval line follows it
  // when the estimate has an interval.
  std::vector<LineaInforme> lineas;
  // Its result does not depend on the scale of the series (H, P), so a series too large
  // or too small for the sums of squares may be scaled by a power of two first. T0 is in
  // the units of the counts and is not.
  bool libreDeEscala = true;

  bool Dibuja() const { return tituloX != nullptr; }
  bool Calcula() const { return estimar != nullptr; }
  const char* Corto() const { return corto ? corto : nombre; }
  // The dialog page of its parameters: that of its first field (nullptr for "Ninguno").
  const DefinicionCampo* PrimerCampo() const {
    return campos.empty() ? nullptr : BuscarCampo(campos.front());
  }
};

// A method run on a series: the estimate and, on success, its report lines.
struct MetodoEjecutado {
  Estimacion estimacion;
  std::vector<std::string> lineas;
};

// Runs the method on the series with the parameters; the lines use the decimal separator.
// A value or interval that is not a finite number is refused (status 26) rather than
// reported. Throws ErrorConversion for a field that does not convert.
MetodoEjecutado EjecutarMetodo(const DefinicionMetodo& metodo, const Vector& serie,
                               const AnalysisParameters& parametros, char separador);
// The model coefficients of an estimate: its value, then its AR figures, then its MA ones;
// empty when it has none.
std::vector<double> Coeficientes(const Estimacion& estimacion);

// The rows in the order of the method list (sorted by name).
const std::vector<DefinicionMetodo>& TablaMetodos();
// The row with that name; nullptr when there is none.
const DefinicionMetodo* BuscarMetodo(const std::string& nombre);
// The names of the method list, in its order.
std::vector<std::string> NombresMetodos();
