#include "app/analisis.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include "app/metodos.h"
#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/error.h"
#include "numeric/estadistica.h"
#include "numeric/regresion.h"

namespace {

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
  explicit CursorOcupado(UiHooks* hooks) : hooks_(hooks) {
    if (hooks_) hooks_->SetBusyCursor(true);
  }
  ~CursorOcupado() {
    if (hooks_) hooks_->SetBusyCursor(false);
  }
  CursorOcupado(const CursorOcupado&) = delete;
  CursorOcupado& operator=(const CursorOcupado&) = delete;

 private:
  UiHooks* hooks_;
};

// One analysis: the method block and the steps after it.
class Analisis {
 public:
  Analisis(AnalysisEnvironment& entorno, const std::string& nombre, const Vector& serie,
           const AnalysisSelection& seleccion, const AnalysisParameters& parametros,
           const MenuMarks& marcas, AnalysisOutcome& resultado)
      : e_(entorno),
        log_(*entorno.log),
        nombre_(nombre),
        serie_(serie),
        sel_(seleccion),
        par_(parametros),
        marcas_(marcas),
        res_(resultado) {}

  // Runs the block of the selected method and writes its lines; returns its status.
  // "Ninguno" and any name outside the method list compute nothing.
  int Bloque() {
    const DefinicionMetodo* metodo = BuscarMetodo(sel_.metodo);
    if (!metodo || !metodo->bloque) return kEstadoOk;
    BloqueMetodo b(serie_, par_, e_.separador);
    const int estado = metodo->bloque(b);
    if (estado != kEstadoOk) return estado;
    for (const std::string& linea : b.lineas) Linea(linea);
    ResultadoMetodo& r = b.resultado;
    res_.valor = r.valor;
    if (r.hayIntervalo) {
      res_.icBajo = r.icBajo;
      res_.icAlto = r.icAlto;
    }
    res_.coeficientes = std::move(r.coeficientes);
    if (r.hayConstante) res_.constante = r.constante;
    if (metodo->Dibuja()) {
      res_.x = AStd(r.x);
      res_.y = AStd(r.y);
      if (marcas_.graficaMetodo && e_.graficaMetodo) {
        FillMethodChart(*e_.graficaMetodo, r.x, r.y, metodo->nombre, r.ajusteY);
      }
    }
    return kEstadoOk;
  }

  // Steps 10 to 14: statistics, autocorrelation, date and credit lines.
  void Estadisticas(std::uint32_t puntos) {
    if (sel_.media) {
      const double media = Media(serie_);
      res_.media = media;
      Linea("Media = " + F(media));
    }
    if (sel_.varianza) {
      const double varianza = Varianza(serie_);
      res_.varianza = varianza;
      Linea("Varianza = " + F(varianza));
    }
    const bool guardar = par_.Marca(campo::ChGuardar);
    if (sel_.autocorrelacion && (guardar || marcas_.graficaAuto)) {
      const int sesgada = par_.Opcion(campo::RGSesgo) == 0 ? 1 : 0;
      const Vector r = Autocorrelacion(serie_, puntos, sesgada);
      res_.autocorrelacion = AStd(r);
      if (guardar) ExportarAutocorrelacion(r, sesgada);
      if (marcas_.graficaAuto && e_.graficaAuto) FillAutocorrelationChart(*e_.graficaAuto, r);
    }
    if (marcas_.fechaHora) {
      const std::string fecha = e_.hooks ? e_.hooks->FechaActual() : Ahora("dd/MM/yyyy");
      const std::string hora = e_.hooks ? e_.hooks->HoraActual() : Ahora("H:mm:ss");
      Linea(LineaFecha(fecha, hora));
    }
    if (marcas_.creditos) Linea(e_.creditos);
  }

 private:
  std::string F(double x) const { return FormatoF(x, e_.separador); }
  static std::string I(long long n) { return FormatoI(n); }
  void Linea(const std::string& texto) { log_.Append(texto); }

  void ExportarAutocorrelacion(const Vector& r, int sesgada) {
    if (!e_.guardarAuto) return;
    const std::optional<std::string> ruta =
        e_.guardarAuto->AskSavePath("Guardar autocorrelación como", log_.ResultsBaseName() + ".atc");
    if (!ruta) return;
    std::string mensaje;
    if (!WriteSampleFile(r, *ruta, mensaje) && e_.mensajes) {
      e_.mensajes->ShowMessage(mensaje, TipoMensaje::Aviso);
    }
    Linea(std::string(sesgada ? "Autocorrelación sesgada (" : "Autocorrelación insesgada (") +
          I(r.Longitud()) + " puntos) en fichero " + *ruta);
  }

  AnalysisEnvironment& e_;
  ResultsLog& log_;
  const std::string& nombre_;
  const Vector& serie_;
  const AnalysisSelection& sel_;
  const AnalysisParameters& par_;
  const MenuMarks& marcas_;
  AnalysisOutcome& res_;
};

}  // namespace

void AnalysisDriver::ShowStatusMessage(int estado) {
  if (estado == kEstadoOk || !entorno_.mensajes) return;
  entorno_.mensajes->ShowMessage(MensajeEstado(estado), TipoMensaje::Aviso);
}

AnalysisOutcome AnalysisDriver::Analizar(const SeriesStore& almacen,
                                         const AnalysisSelection& seleccion,
                                         const AnalysisParameters& parametros,
                                         const MenuMarks& marcas) {
  const Series* actual = almacen.Current();
  if (!actual) {
    AnalysisOutcome resultado;
    resultado.fin = AnalysisOutcome::Fin::SinSerie;
    return resultado;
  }
  return Analizar(actual->name, actual->data, seleccion, parametros, marcas);
}

AnalysisOutcome AnalysisDriver::Analizar(const std::string& nombre, const Vector& serie,
                                         const AnalysisSelection& seleccion,
                                         const AnalysisParameters& parametros,
                                         const MenuMarks& marcas) {
  AnalysisOutcome resultado;
  ResultsLog& log = *entorno_.log;

  log.Clear();
  log.SetColors(ColorFondo::Gris, ColorTexto::Gris);
  if (entorno_.hooks) entorno_.hooks->ProcessEvents();
  CursorOcupado cursor(entorno_.hooks);

  log.SetResultsBaseName(nombre);
  log.Append("Nombre: " + nombre);
  log.Append("Longitud: " + FormatoI(serie.Longitud()));

  Analisis analisis(entorno_, nombre, serie, seleccion, parametros, marcas, resultado);
  auto fallo = [&](AnalysisOutcome::Fin fin, const std::string& texto) {
    resultado.fin = fin;
    resultado.mensaje = texto;
    if (entorno_.mensajes) entorno_.mensajes->ShowMessage(texto, TipoMensaje::Error);
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
      resultado.fin = AnalysisOutcome::Fin::Estado;
      resultado.estado = estado;
      resultado.mensaje = MensajeEstado(estado);
      ShowStatusMessage(estado);
      return resultado;
    }
    analisis.Estadisticas(puntos);
  } catch (const ErrorConversion& error) {
    return fallo(AnalysisOutcome::Fin::Conversion, error.Mensaje());
  } catch (const ErrorNumerico& error) {
    resultado.estado = kEstadoErrorNumerico;
    return fallo(AnalysisOutcome::Fin::ErrorNumerico, error.Texto());
  }

  log.SetColors(ColorFondo::Ventana, ColorTexto::TextoVentana);
  log.HabilitarComandos();
  return resultado;
}

void FillMethodChart(ChartSink& grafica, const Vector& x, const Vector& y,
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

void FillAutocorrelationChart(ChartSink& grafica, const Vector& r) {
  grafica.ClearItems();
  const std::uint32_t n = r.Longitud();
  if (n > 0) {
    grafica.MoveTo(0.0, r(1));
    for (std::uint32_t i = 2; i <= n; ++i) grafica.LineTo(static_cast<double>(i - 1), r(i));
  }
  grafica.AutoRange(2.0);
}
