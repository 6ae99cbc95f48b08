// app/: the analysis workflow over estimators/ and chart/ (no Qt; out through interfaces.h).
//
// The analysis driver: one analysis from the selection to the report, the charts and the
// autocorrelation file (the series dialog's BAnalizarClick, from the method name on; the
// dialog's own commit runs before it in the desktop program).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/formato.h"
#include "app/interfaces.h"
#include "app/parametros.h"
#include "app/resultados.h"
#include "app/series.h"
#include "estimators/estado.h"
#include "numeric/vector.h"



// The line that follows the header lines of a cancelled analysis.
inline constexpr const char* kLineaCancelado = "Análisis cancelado";

// What one analysis produced, beyond the report lines (used by the command-line tool).
struct ResultadoAnalisis {
  enum class Fin {
    Completo,        // report complete, commands enabled
    Estado,          // refused by a non-zero status (estimator, ComprobarLineal or 255)
    Conversion,      // a field did not hold a number of its kind
    ErrorNumerico,   // the numerical library reported a fault
    SinSerie,        // no current series in the store
    Cancelado,       // the user stopped the computation (numeric/progreso.h)
  };
  Fin fin = Fin::Completo;
  int estado = kEstadoOk;  // status code: kEstadoOk on success; kEstadoConversion for a field
                           // that is not an integer, kEstadoErrorNumerico for a fault of
                           // the numerical library; on a complete report, that of a mean or
                           // variance that is not a double (the rest of the report stands)
  std::string mensaje;     // the text shown for a failure or that statistic; else empty

  std::optional<double> valor;                  // H, T0 or P
  std::optional<double> icBajo, icAlto;         // 95 % confidence interval of H
  std::vector<double> coeficientes;             // FARIMA: H, AR..., MA...
  std::optional<int> constante;                 // Test T verdict
  std::optional<std::vector<double>> x, y;      // log-log points of the methods that draw
  std::optional<double> media, varianza;
  std::optional<std::vector<double>> autocorrelacion;  // when it was computed
  bool escrituraFallida = false;  // the .atc file could not be written (its message shown)
  // The warning of an estimate of H outside [0, 1] (of some method of the comparison);
  // empty when there is none.
  std::string aviso;

  // The comparison of every method that yields H, in list order.
  struct MetodoComparado {
    std::string metodo;
    int estado = kEstadoOk;      // kEstadoConversion or kEstadoErrorNumerico for a field that
                                 // is not an integer or a library fault
    std::string mensaje;         // refusal, conversion error or fault; empty on success
    std::optional<double> valor, icBajo, icAlto;
    std::string aviso;           // AvisoH of its estimate; empty when it is in [0, 1]
  };
  std::vector<MetodoComparado> metodos;

  bool Exito() const { return fin == Fin::Completo; }
  // Everything asked for was computed: a complete report without a refused statistic.
  bool Todo() const { return Exito() && estado == kEstadoOk; }
};

// Where the driver's output goes. The log is required; a null chart is not drawn, a null
// prompt cancels the export, null messages are dropped, null hooks give no date.
struct EntornoAnalisis {
  RegistroResultados* log = nullptr;
  DestinoGrafica* graficaMetodo = nullptr;  // Plot1
  DestinoGrafica* graficaAuto = nullptr;    // Plot2
  PreguntaGuardar* guardarAuto = nullptr;
  DestinoMensajes* mensajes = nullptr;
  ServiciosInterfaz* hooks = nullptr;
  char separador = '.';                // decimal separator of the report
  std::string creditos = kLineaCreditos;
  // The H of the comparison chart's reference line (the generator's H of the series, or
  // one the user gives); none draws no such line.
  std::optional<double> referencia;
};

// The long computations run through ServiciosInterfaz::Calcular (off the window thread in the desktop
// program). One cancelled through the progress control (numeric/progreso.h) ends the analysis
// with Fin::Cancelado: the log holds the two header lines and kLineaCancelado in the normal
// colours, the commands keep their state; no chart, file or message has been touched. The method chart is filled when the analysis ends, so
// that a cancel during the statistics leaves it unchanged too.
class Analizador {
 public:
  explicit Analizador(EntornoAnalisis entorno) : entorno_(std::move(entorno)) {}

  // Analyses the store's current series.
  ResultadoAnalisis Analizar(const SeriesStore& almacen, const SeleccionAnalisis& seleccion,
                           const AnalysisParameters& parametros, const MarcasMenu& marcas);
  // Analyses the given series under the given name.
  ResultadoAnalisis Analizar(const std::string& nombre, const Vector& serie,
                           const SeleccionAnalisis& seleccion,
                           const AnalysisParameters& parametros, const MarcasMenu& marcas);

  // Shows the message of a non-zero status code.
  void ShowStatusMessage(int estado);

  const EntornoAnalisis& Entorno() const { return entorno_; }
  EntornoAnalisis& Entorno() { return entorno_; }

 private:
  EntornoAnalisis entorno_;
};

// The warning for an estimate of H outside [0, 1] (kept as the regression gives it): the
// series does not behave as a stationary process with long-range dependence. Empty for an
// estimate in [0, 1].
std::string AvisoH(double H);

// Plot1: the method's axis titles (a name outside the method table keeps the titles), its
// fitted line in class 1 — the least-squares line from the first to the last point, or the
// polyline (x, ajusteY) when the method hands back its own fit — and one mark per point of
// the method's kind (17 for a name outside the table); then AutoRange(2).
void RellenarGraficaMetodo(DestinoGrafica& grafica, const Vector& x, const Vector& y,
                     const std::string& metodo, const Vector& ajusteY = Vector());
// Plot1 for the comparison of methods: a forest plot (app/comparacion.h).
// Plot2: the autocorrelation r(1..n) as a polyline over lags 0..n-1, AutoRange(2).
void RellenarGraficaAutocorrelacion(DestinoGrafica& grafica, const Vector& r);
