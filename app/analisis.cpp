#include "app/analisis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>

#include "app/comparacion.h"
#include "app/metodos.h"
#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/autocorrelacion.h"
#include "numeric/error.h"
#include "numeric/estadistica.h"
#include "numeric/fft.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"

namespace {

// Why an estimate of H outside [0, 1] is given with a warning.
constexpr const char* kCausaAviso =
    "La serie no se comporta como un proceso estacionario con dependencia a largo plazo: "
    "el valor de H no tiene sentido";

std::vector<double> AStd(const Vector& v) { return std::vector<double>(v.begin(), v.end()); }

// The clock of the command-line tool and of callers that give no hooks.
std::string Ahora(const char* patron) {
  const std::time_t t = std::time(nullptr);
  std::tm momento{};
  localtime_r(&t, &momento);
  return FormatearFechaHora(momento, patron);
}

// Shows the busy cursor for the life of the object.
class CursorOcupado {
 public:
  explicit CursorOcupado(ServiciosInterfaz* hooks) : hooks_(hooks) {
    if (hooks_) hooks_->FijarCursorOcupado(true);
  }
  ~CursorOcupado() {
    if (hooks_) hooks_->FijarCursorOcupado(false);
  }
  CursorOcupado(const CursorOcupado&) = delete;
  CursorOcupado& operator=(const CursorOcupado&) = delete;

 private:
  ServiciosInterfaz* hooks_;
};

// One analysis: the method block and the steps after it.
class Analisis {
 public:
  Analisis(EntornoAnalisis& entorno, const std::string& nombre, const Vector& serie,
           const SeleccionAnalisis& seleccion, const AnalysisParameters& parametros,
           const MarcasMenu& marcas, ResultadoAnalisis& resultado)
      : e_(entorno),
        log_(*entorno.log),
        nombre_(nombre),
        original_(serie),
        sel_(seleccion),
        par_(parametros),
        marcas_(marcas),
        res_(resultado),
        cuotaMetodo_(seleccion.autocorrelacion ? 0.8 : 1.0) {}

  // Runs the block of the selected method and writes its lines; returns its status.
  // "Ninguno" and any name outside the method list compute nothing; "Todos" compares
  // every method that yields H.
  int Bloque() {
    if (sel_.metodo == metodo::kTodos) return Comparacion();
    const DefinicionMetodo* metodo = BuscarMetodo(sel_.metodo);
    if (!metodo || !metodo->Calcula()) return kEstadoOk;
    MetodoEjecutado ejecutado;
    Calcular(0.0, cuotaMetodo_, [&] {
      ejecutado = EjecutarMetodo(*metodo, SerieDe(*metodo), par_, e_.separador);
    });
    Estimacion& r = ejecutado.estimacion;
    if (!r.Exito()) return r.estado;
    for (const std::string& linea : ejecutado.lineas) Linea(linea);
    if (metodo->daH) {
      res_.aviso = AvisoH(r.valor);
      if (!res_.aviso.empty()) Linea(res_.aviso);
    }
    res_.valor = r.valor;
    if (r.hayIntervalo) {
      res_.icBajo = r.inferior;
      res_.icAlto = r.superior;
    }
    res_.coeficientes = Coeficientes(r);
    if (r.TieneCifra(cifra::kConstante))
      res_.constante = static_cast<int>(r.CifraDe(cifra::kConstante));
    if (metodo->Dibuja()) {
      res_.x = AStd(r.ejeX);
      res_.y = AStd(r.ejeY);
      if (marcas_.graficaMetodo && e_.graficaMetodo) {
        grafica_ = [this, metodo, x = std::move(r.ejeX), y = std::move(r.ejeY),
                    ajuste = std::move(r.ajusteY)] {
          RellenarGraficaMetodo(*e_.graficaMetodo, x, y, metodo->nombre, ajuste);
        };
      }
    }
    return kEstadoOk;
  }

  // Fills the method chart of a block that succeeded, once the analysis is over: a cancelled
  // analysis leaves the chart as it was.
  void GraficaPendiente() {
    const std::function<void()> grafica = std::move(grafica_);
    grafica_ = nullptr;
    if (grafica) grafica();
  }

  // Every method that yields H, each in its own guarded call: a refusal, a conversion
  // error or a library fault of one is written in its line and the others still run.
  // One line per method: its name, H and its interval, or why it gave none.
  int Comparacion() {
    std::vector<const DefinicionMetodo*> metodos;
    for (const DefinicionMetodo& m : TablaMetodos()) {
      if (m.daH && m.Calcula()) metodos.push_back(&m);
    }
    std::vector<ResultadoAnalisis::MetodoComparado> filas(metodos.size());
    Calcular(0.0, cuotaMetodo_, [&] {
      // The frequency-domain methods share one transform of the series.
      PeriodogramaCompartido periodograma(SerieEscalada());
      for (std::size_t i = 0; i < metodos.size(); ++i) {
        // Each method is an equal part of the progress.
        const double total = static_cast<double>(metodos.size());
        TramoProgreso tramo(static_cast<double>(i) / total, static_cast<double>(i + 1) / total);
        ResultadoAnalisis::MetodoComparado& c = filas[i];
        c.metodo = metodos[i]->nombre;
        try {
          // Only the value and the interval are kept: the chart's points go with the estimate.
          const Estimacion e =
              EjecutarMetodo(*metodos[i], SerieDe(*metodos[i]), par_, e_.separador).estimacion;
          c.estado = e.estado;
          if (e.Exito()) {
            c.valor = e.valor;
            c.aviso = AvisoH(e.valor);
            if (e.hayIntervalo) {
              c.icBajo = e.inferior;
              c.icAlto = e.superior;
            }
          } else {
            c.mensaje = MensajeEstado(c.estado);
          }
        } catch (const ErrorConversion& error) {
          c.estado = error.Estado();
          c.mensaje = error.Mensaje();
        } catch (const ErrorNumerico& error) {
          c.estado = kEstadoErrorNumerico;
          c.mensaje = error.Texto();
        }
      }
    });
    for (ResultadoAnalisis::MetodoComparado& c : filas) res_.metodos.push_back(std::move(c));
    const std::vector<std::string> tabla = TablaComparacion(res_.metodos, e_.separador);
    Linea(tabla.front());  // the title, then the columns
    for (std::size_t i = 1; i < tabla.size(); ++i) log_.AnadirTabla(tabla[i]);
    Linea(LineaExcluidosComparacion(par_.Opcion(campo::RGModelo)));
    comparacion_ = true;
    // One warning for every method whose H is outside [0, 1], after their lines.
    std::vector<std::string> fuera;
    for (const auto& c : res_.metodos) {
      if (!c.aviso.empty()) fuera.push_back(c.metodo);
    }
    if (!fuera.empty()) {
      std::string con = fuera[0];
      for (std::size_t i = 1; i < fuera.size(); ++i)
        con += (i + 1 < fuera.size() ? ", " : " y ") + fuera[i];
      res_.aviso = "Aviso: H fuera del intervalo [0, 1] con " + con + ". " + kCausaAviso;
      Linea(res_.aviso);
    }
    // With no estimate at all the comparison is refused, its lines standing as the reasons.
    const bool alguna = std::any_of(res_.metodos.begin(), res_.metodos.end(),
                                    [](const auto& c) { return c.valor.has_value(); });
    if (!alguna) return kEstadoNingunaEstimacion;
    if (marcas_.graficaMetodo && e_.graficaMetodo) {
      grafica_ = [this] {
        RellenarGraficaComparacion(*e_.graficaMetodo, res_.metodos,
                            TituloComparacion(nombre_, original_.Longitud()), e_.referencia,
                            e_.separador);
      };
    }
    return kEstadoOk;
  }

  // Steps 10 to 14: statistics, autocorrelation, date and credit lines. The sums run first,
  // as one computation; then the lines, the file and the chart.
  void Estadisticas(std::uint32_t puntos) {
    const bool guardar = par_.Marca(campo::ChGuardar);
    const bool autocorrelacion = sel_.autocorrelacion && (guardar || marcas_.graficaAuto);
    const int sesgada = par_.Opcion(campo::RGSesgo) == 0 ? 1 : 0;
    Estadistico media, varianza;
    Vector r;
    Calcular(cuotaMetodo_, 1.0, [&] {
      // On the scaled series, so that the sums neither overflow nor underflow.
      if (sel_.media || sel_.varianza) {
        const Vector& escalada = SerieEscalada();
        if (sel_.media) media = MediaDeEscalada(escalada, exponente_);
        if (sel_.varianza) varianza = VarianzaDeEscalada(escalada, exponente_);
      }
      if (autocorrelacion) r = Autocorrelacion(SerieEscalada(), puntos, sesgada);
    });
    GraficaPendiente();
    if (comparacion_ && (sel_.media || sel_.varianza)) Linea(kLineaEstadisticos);
    if (sel_.media) {
      if (media.representable) {
        res_.media = media.valor;
        Linea("Media = " + F(media.valor));
      } else {
        EstadisticoRechazado("Media", kEstadoMediaNoRepresentable);
      }
    }
    if (sel_.varianza) {
      if (varianza.representable) {
        res_.varianza = varianza.valor;
        Linea("Varianza = " + F(varianza.valor));
      } else {
        EstadisticoRechazado("Varianza", std::isinf(varianza.valor) ? kEstadoVarianzaDesborda
                                                                    : kEstadoVarianzaSubdesborda);
      }
    }
    if (autocorrelacion) {
      res_.autocorrelacion = AStd(r);
      if (guardar) ExportarAutocorrelacion(r, sesgada);
      if (marcas_.graficaAuto && e_.graficaAuto) RellenarGraficaAutocorrelacion(*e_.graficaAuto, r);
    }
    if (marcas_.fechaHora) {
      const std::string fecha = e_.hooks ? e_.hooks->FechaActual() : Ahora("dd/MM/yyyy");
      const std::string hora = e_.hooks ? e_.hooks->HoraActual() : Ahora("H:mm:ss");
      Linea(LineaFecha(fecha, hora));
    }
    if (marcas_.creditos) Linea(e_.creditos);
  }

 private:
  // The series the scale-free computations work on (the estimators of H and P, the
  // autocorrelation): the series itself, or a copy scaled by a power of two when its
  // magnitude would over- or underflow their sums of squares. Found on first use, inside
  // the computation.
  const Vector& SerieEscalada() {
    if (!escalaVista_) {
      escalaVista_ = true;
      exponente_ = ExponenteDeEscala(original_);
      if (exponente_ != 0) escalada_ = EscalarPotenciaDeDos(original_, exponente_);
    }
    return escalada_.Longitud() > 0 ? escalada_ : original_;
  }
  // The series a method works on: T0 is in the units of the counts.
  const Vector& SerieDe(const DefinicionMetodo& metodo) {
    return metodo.libreDeEscala ? SerieEscalada() : original_;
  }

  // A long computation, the part [desde, hasta] of the analysis' progress, through the hooks
  // (off the window thread in the desktop program).
  void Calcular(double desde, double hasta, const std::function<void()>& calculo) {
    const std::function<void()> parte = [&] {
      TramoProgreso tramo(desde, hasta);
      calculo();
    };
    if (e_.hooks) {
      e_.hooks->Calcular(parte);
    } else {
      parte();
    }
  }

  // A statistic that is not a double: its line says why, its message is shown, and its
  // status is the analysis' when the method had none (the report is complete all the same).
  void EstadisticoRechazado(const char* nombre, int estado) {
    Linea(std::string(nombre) + ": sin resultado (" + EnUnaLinea(MensajeEstado(estado)) + ")");
    if (res_.estado == kEstadoOk) {
      res_.estado = estado;
      res_.mensaje = MensajeEstado(estado);
    }
    if (e_.mensajes) e_.mensajes->MostrarMensaje(MensajeEstado(estado), TipoMensaje::Aviso);
  }

  static std::string EnUnaLinea(std::string texto) {
    for (char& c : texto) {
      if (c == '\n') c = ' ';
    }
    return texto;
  }

  std::string F(double x) const { return FormatoF(x, e_.separador); }
  static std::string I(long long n) { return FormatoI(n); }
  void Linea(const std::string& texto) { log_.Anadir(texto); }

  void ExportarAutocorrelacion(const Vector& r, int sesgada) {
    if (!e_.guardarAuto) return;
    const std::optional<std::string> ruta =
        e_.guardarAuto->PreguntarRuta("Guardar autocorrelación como", log_.ResultsBaseName() + ".atc");
    if (!ruta) return;
    std::string mensaje;
    if (!WriteSampleFile(r, *ruta, mensaje)) {
      res_.escrituraFallida = true;
      if (e_.mensajes) e_.mensajes->MostrarMensaje(mensaje, TipoMensaje::Aviso);
    }
    Linea(std::string(sesgada ? "Autocorrelación sesgada (" : "Autocorrelación insesgada (") +
          I(r.Longitud()) + " puntos) en fichero " + *ruta);
  }

  EntornoAnalisis& e_;
  RegistroResultados& log_;
  const std::string& nombre_;
  const Vector& original_;
  bool escalaVista_ = false;
  int exponente_ = 0;  // the series scaled by 2^-exponente_
  Vector escalada_;  // empty while the series itself will do
  const SeleccionAnalisis& sel_;
  const AnalysisParameters& par_;
  const MarcasMenu& marcas_;
  ResultadoAnalisis& res_;
  double cuotaMetodo_;  // the method's part of the progress, the statistics have the rest
  std::function<void()> grafica_;  // the method chart, filled when the analysis ends
  bool comparacion_ = false;       // the block was the comparison of methods
};

}  // namespace

std::string AvisoH(double H) {
  if (H >= 0.0 && H <= 1.0) return {};
  return std::string("Aviso: H fuera del intervalo [0, 1]. ") + kCausaAviso;
}

void Analizador::ShowStatusMessage(int estado) {
  if (estado == kEstadoOk || !entorno_.mensajes) return;
  entorno_.mensajes->MostrarMensaje(MensajeEstado(estado), TipoMensaje::Aviso);
}

ResultadoAnalisis Analizador::Analizar(const SeriesStore& almacen,
                                         const SeleccionAnalisis& seleccion,
                                         const AnalysisParameters& parametros,
                                         const MarcasMenu& marcas) {
  const Series* actual = almacen.Current();
  if (!actual) {
    ResultadoAnalisis resultado;
    resultado.fin = ResultadoAnalisis::Fin::SinSerie;
    return resultado;
  }
  return Analizar(actual->name, actual->data, seleccion, parametros, marcas);
}

ResultadoAnalisis Analizador::Analizar(const std::string& nombre, const Vector& serie,
                                         const SeleccionAnalisis& seleccion,
                                         const AnalysisParameters& parametros,
                                         const MarcasMenu& marcas) {
  ResultadoAnalisis resultado;
  RegistroResultados& log = *entorno_.log;

  log.Vaciar();
  log.FijarColores(ColorFondo::Gris, ColorTexto::Gris);
  if (entorno_.hooks) entorno_.hooks->ProcesarEventos();
  CursorOcupado cursor(entorno_.hooks);

  log.SetResultsBaseName(nombre);
  const auto cabecera = [&] {
    log.Anadir("Nombre: " + nombre);
    log.Anadir("Longitud: " + FormatoI(serie.Longitud()));
  };
  cabecera();

  Analisis analisis(entorno_, nombre, serie, seleccion, parametros, marcas, resultado);
  auto fallo = [&](ResultadoAnalisis::Fin fin, const std::string& texto) {
    resultado.fin = fin;
    resultado.mensaje = texto;
    if (entorno_.mensajes) entorno_.mensajes->MostrarMensaje(texto, TipoMensaje::Error);
    return resultado;
  };
  try {
    int estado = analisis.Bloque();
    std::uint32_t puntos = 0;
    if (estado == kEstadoOk && seleccion.autocorrelacion) {
      if (parametros.Marca(campo::ChLongitud)) {
        puntos = serie.Longitud();
      } else {
        const int valor = ConvertirEntero(parametros[campo::EPuntos]);
        if (valor < 1 || static_cast<std::uint32_t>(valor) > serie.Longitud()) {
          estado = kEstadoLongitudAutocorrelacion;
        } else {
          puntos = static_cast<std::uint32_t>(valor);
        }
      }
      // Every lag of a constant series divides zero by zero: refuse rather than save or
      // draw NaNs.
      if (estado == kEstadoOk && (parametros.Marca(campo::ChGuardar) || marcas.graficaAuto) &&
          SerieConstante(serie))
        estado = kEstadoAutocorrelacionConstante;
    }
    if (estado != kEstadoOk) {
      analisis.GraficaPendiente();
      resultado.fin = ResultadoAnalisis::Fin::Estado;
      resultado.estado = estado;
      resultado.mensaje = MensajeEstado(estado);
      ShowStatusMessage(estado);
      return resultado;
    }
    analisis.Estadisticas(puntos);
  } catch (const ErrorConversion& error) {
    analisis.GraficaPendiente();
    resultado.estado = error.Estado();
    return fallo(ResultadoAnalisis::Fin::Conversion, error.Mensaje());
  } catch (const ErrorNumerico& error) {
    analisis.GraficaPendiente();
    resultado.estado = kEstadoErrorNumerico;
    return fallo(ResultadoAnalisis::Fin::ErrorNumerico, error.Texto());
  } catch (const Cancelado&) {
    // No half result: the header lines and a line saying so, in the normal colours so
    // that they can be read; no chart, file or message, the commands as they were.
    log.Vaciar();
    cabecera();
    log.Anadir(kLineaCancelado);
    log.FijarColores(ColorFondo::Ventana, ColorTexto::TextoVentana);
    resultado.fin = ResultadoAnalisis::Fin::Cancelado;
    return resultado;
  }

  log.FijarColores(ColorFondo::Ventana, ColorTexto::TextoVentana);
  log.HabilitarComandos();
  return resultado;
}

void RellenarGraficaMetodo(DestinoGrafica& grafica, const Vector& x, const Vector& y,
                     const std::string& metodo, const Vector& ajusteY) {
  grafica.ClearItems();
  const DefinicionMetodo* definicion = BuscarMetodo(metodo);
  if (definicion && definicion->Dibuja()) {
    grafica.SetIdAbscissa(definicion->tituloX);
    grafica.SetIdOrdinate(definicion->tituloY);
  }
  const std::uint32_t n = x.Longitud();
  if (n > 0) {
    if (ajusteY.Longitud() == n) {
      // The method's own fit, as a polyline through the points' abscissas.
      grafica.MoveTo(x(1), ajusteY(1));
      for (std::uint32_t i = 2; i <= n; ++i) grafica.LineTo(x(i), ajusteY(i));
    } else {
      const Vector c = AjustePolinomio(x, y, 1);
      const double a = c(1);
      const double b = c(2);
      grafica.MoveTo(x(1), a + b * x(1));
      grafica.LineTo(x(n), a + b * x(n));
    }
    grafica.SetLineItemsClass(1);
    const std::uint8_t marca = definicion ? definicion->marca : 17;
    for (std::uint32_t i = 1; i <= n; ++i) grafica.MarkAt(x(i), y(i), marca);
  }
  grafica.AutoRange(2.0);
}

void RellenarGraficaAutocorrelacion(DestinoGrafica& grafica, const Vector& r) {
  grafica.ClearItems();
  const std::uint32_t n = r.Longitud();
  if (n > 0) {
    grafica.MoveTo(0.0, r(1));
    for (std::uint32_t i = 2; i <= n; ++i) grafica.LineTo(static_cast<double>(i - 1), r(i));
  }
  grafica.AutoRange(2.0);
}
