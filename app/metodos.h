// The method table: one row per entry of the method list, holding everything particular
// to the method — its name as the list shows it, where its parameters are, the call of
// its estimator with its report lines, its chart, and what it yields. The analysis
// driver, the desktop program's method lists, fenwa-cli -m and the JSON "metodo" names
// all come from here.
//
// Adding a method: its estimator file (estimators/), its fields in the parameter table
// (app/parametros.cpp), its row and block here (app/metodos.cpp), and its dialog page
// (ui/dialogos_parametros.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/nombres_metodos.h"
#include "app/parametros.h"
#include "numeric/vector.h"

// What a block hands back besides its report lines.
struct ResultadoMetodo {
  double valor = 0.0;                    // H, T0 or P
  bool hayIntervalo = false;
  double icBajo = 0.0, icAlto = 0.0;     // 95 % confidence interval of H
  std::vector<double> coeficientes;      // FARIMA: H, AR..., MA...
  bool hayConstante = false;
  int constante = 0;                     // Test T verdict
  Vector x, y;                           // log-log points of the methods that draw
  Vector ajusteY;                        // the method's own fitted line at x (empty: the
                                         // least-squares line through the points)
};

// What a block works with: the series, the parameters with their conversions, the
// report's number formats, and where its lines and results go.
class BloqueMetodo {
 public:
  BloqueMetodo(const Vector& serie, const AnalysisParameters& parametros, char separador)
      : serie_(serie), par_(parametros), separador_(separador) {}

  const Vector& Serie() const { return serie_; }
  // Field values, converted as the analysis reads them (Entero throws ErrorConversion).
  int Entero(const char* campo) const { return ConvertirEntero(par_[campo]); }
  double Real(const char* campo) const { return ConvertirReal(par_[campo]); }
  bool Marca(const char* campo) const { return par_.Marca(campo); }
  int Opcion(const char* campo) const { return par_.Opcion(campo); }

  std::string F(double x) const;   // 4 significant digits
  std::string G(double x) const;   // 15 significant digits
  static std::string I(long long n);

  void Linea(const std::string& texto) { lineas.push_back(texto); }
  // A parameter line: six blanks, then the text.
  void Parametro(const std::string& texto);
  // "Intervalo de confianza (95%): [lo; hi]", and the interval in the result.
  void Intervalo(double bajo, double alto);

  std::vector<std::string> lineas;  // the block's report lines, in order
  ResultadoMetodo resultado;

 private:
  const Vector& serie_;
  const AnalysisParameters& par_;
  char separador_;
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
  // Reads its fields, calls the estimator and, on status 0, writes its lines and results.
  // nullptr for "Ninguno". Returns the status.
  int (*bloque)(BloqueMetodo&);
  // Its result does not depend on the scale of the series (H, P), so a series too large
  // or too small for the sums of squares may be scaled by a power of two first. T0 is in
  // the units of the counts and is not.
  bool libreDeEscala = true;

  bool Dibuja() const { return tituloX != nullptr; }
  const char* Corto() const { return corto ? corto : nombre; }
  // The dialog page of its parameters: that of its first field (nullptr for "Ninguno").
  const DefinicionCampo* PrimerCampo() const {
    return campos.empty() ? nullptr : BuscarCampo(campos.front());
  }
};

// The rows in the order of the method list (sorted by name).
const std::vector<DefinicionMetodo>& TablaMetodos();
// The row with that name; nullptr when there is none.
const DefinicionMetodo* BuscarMetodo(const std::string& nombre);
// The names of the method list, in its order.
std::vector<std::string> NombresMetodos();
