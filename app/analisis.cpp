#include "app/analisis.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <ctime>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_periodograma.h"
#include "estimators/hurst_rs.h"
#include "estimators/hurst_var_diferenciada.h"
#include "estimators/hurst_varianza.h"
#include "estimators/hurst_whittle_agregado.h"
#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "estimators/t0_idc.h"
#include "estimators/test_t.h"
#include "numeric/error.h"
#include "numeric/estadistica.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"

const std::vector<std::string> kMetodos = {
    "Ninguno",          "Periodograma",     "R/S",
    "T0 (IDC)",         "Test T",           "Varianza",
    "Varianza Difer.",  "Whittle Agregado", "Whittle Estándar",
    "Whittle Local",
};

namespace {

constexpr const char* kSangria = "      ";  // report lines that begin with blanks: six

std::vector<double> AStd(const Vector& v) { return std::vector<double>(v.begin(), v.end()); }

// Minimum lag d and minimum level m go to the estimators as unsigned numbers; a negative
// text would turn into a huge value and be refused with an unrelated message. Passing 0
// makes the estimator refuse it with the message of that very parameter.
std::uint32_t SinSigno(int valor) { return valor < 0 ? 0u : static_cast<std::uint32_t>(valor); }

// Double to single precision without leaving the float range undefined.
float AFloat(double valor) {
  if (valor > FLT_MAX) return HUGE_VALF;
  if (valor < -FLT_MAX) return -HUGE_VALF;
  return static_cast<float>(valor);
}

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

  // Runs the block of the selected method; returns its status.
  int Bloque() {
    const std::string& m = sel_.metodo;
    if (m == "R/S") return RS();
    if (m == "Varianza") return VarianzaAgregada();
    if (m == "Varianza Difer.") return VarianzaDiferenciada();
    if (m == "T0 (IDC)") return IDC();
    if (m == "Periodograma") return Periodograma();
    if (m == "Whittle Estándar") return WhittleEstandar();
    if (m == "Whittle Agregado") return WhittleAgregado();
    if (m == "Whittle Local") return WhittleLocal();
    if (m == "Test T") return TestEstacionariedad();
    return kEstadoOk;  // "Ninguno" and any unknown text: nothing computed
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
    const ParametrosAuto& pa = par_.autocorrelacion;
    if (sel_.autocorrelacion && (pa.ChGuardar || marcas_.graficaAuto)) {
      const int sesgada = pa.RGSesgo == 0 ? 1 : 0;
      const Vector r = Autocorrelacion(serie_, puntos, sesgada);
      res_.autocorrelacion = AStd(r);
      if (pa.ChGuardar) ExportarAutocorrelacion(r, sesgada);
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
  std::string G(double x) const { return FormatoG(x, e_.separador); }
  static std::string I(long long n) { return FormatoI(n); }
  void Linea(const std::string& texto) { log_.Append(texto); }
  void Parametro(const std::string& texto) { log_.Append(kSangria + texto); }

  void GraficaMetodo(const Vector& x, const Vector& y) {
    res_.x = AStd(x);
    res_.y = AStd(y);
    if (marcas_.graficaMetodo && e_.graficaMetodo) {
      FillMethodChart(*e_.graficaMetodo, x, y, sel_.metodo);
    }
  }

  void Intervalo(double bajo, double alto) {
    res_.icBajo = bajo;
    res_.icAlto = alto;
    Linea("Intervalo de confianza (95%): [" + F(bajo) + "; " + F(alto) + "]");
  }

  int RS() {
    const ParametrosMetodosH& p = par_.metodosH;
    const int minD = ConvertirEntero(p.EMind);
    const int minMuestras = ConvertirEntero(p.EMinRS);
    const int bloques = ConvertirEntero(p.EBloques);
    const int decada = ConvertirEntero(p.EDecadaRS);
    double H = 0;
    Vector x, y;
    const int estado = HurstRS(serie_, decada, bloques, SinSigno(minD), minMuestras, H, x, y);
    if (estado != kEstadoOk) return estado;
    res_.valor = H;
    Linea("Parámetro Hurst H = " + F(H));
    Linea("Método R/S. Parámetros:");
    Parametro("Mínimo valor de 'd': " + I(minD));
    Parametro("Mínimo nº de muestras R/S: " + I(minMuestras));
    Parametro("Número de bloques: " + I(bloques));
    Parametro("Puntos por década: " + I(decada));
    GraficaMetodo(x, y);
    return kEstadoOk;
  }

  int VarianzaAgregada() {
    const ParametrosMetodosH& p = par_.metodosH;
    const int minM = ConvertirEntero(p.EMinm);
    const int minMuestras = ConvertirEntero(p.EMinVar);
    const int decada = ConvertirEntero(p.EDecadaVar);
    double H = 0;
    Vector x, y;
    int estado = HurstVarianza(serie_, decada, SinSigno(minM), minMuestras, H, x, y);
    if (estado != kEstadoOk) return estado;
    int esRecta = 1;
    if (p.ChLineal) {
      estado = ComprobarLineal(x, y, 8.0f, esRecta);
      if (estado != kEstadoOk) return estado;
    }
    res_.valor = H;
    Linea("Parámetro Hurst H = " + F(H));
    Linea("Método de la varianza. Parámetros:");
    Parametro("Mínimo valor de 'm': " + I(minM));
    Parametro("Mínimo nº de muestras para la varianza: " + I(minMuestras));
    Parametro("Puntos por década: " + I(decada));
    if (p.ChLineal) {
      Linea(esRecta == 1
                ? "La gráfica log10 (Var.) vs log10 (m) es aprox. una línea recta. No existen "
                  "saltos en la media ni tendencias lentamente decrecientes (no "
                  "estacionariedades)"
                : "La gráfica log10 (Var.) vs log10 (m) no es una línea recta. No "
                  "estacionariedad presente");
    }
    GraficaMetodo(x, y);
    return kEstadoOk;
  }

  int VarianzaDiferenciada() {
    const ParametrosMetodosH& p = par_.metodosH;
    const bool mismos = p.ChMismos;
    const int minM = ConvertirEntero(mismos ? p.EMinm : p.EMinmDif);
    const int minMuestras = ConvertirEntero(mismos ? p.EMinVar : p.EMinVarDif);
    const int decada = ConvertirEntero(mismos ? p.EDecadaVar : p.EDecadaVarDif);
    double H = 0;
    Vector x, y;
    const int estado =
        HurstVarDiferenciada(serie_, decada, SinSigno(minM), minMuestras, H, x, y);
    if (estado != kEstadoOk) return estado;
    res_.valor = H;
    Linea("Parámetro Hurst H = " + F(H));
    Linea("Método de la varianza diferenciada. Parámetros:");
    Parametro("Mínimo valor de 'm': " + I(minM));
    Parametro("Mínimo nº de muestras para la varianza: " + I(minMuestras));
    Parametro("Puntos por década: " + I(decada));
    GraficaMetodo(x, y);
    return kEstadoOk;
  }

  int IDC() {
    const ParametrosMetodosT0& p = par_.metodosT0;
    const double inicial = ConvertirReal(p.EInicial);
    const double final_ = ConvertirReal(p.EFinal);
    const int decada = ConvertirEntero(p.EDecada);
    double T0 = 0;
    Vector x, y;
    const int estado = T0IDC(serie_, decada, inicial, final_, T0, x, y);
    if (estado != kEstadoOk) return estado;
    res_.valor = T0;
    Linea("Tiempo de comienzo fractal : T0 = " + F(T0) + " seg.");
    Linea("Método de IDC (T0). Parámetros:");
    Parametro("Escala de tiempos inicial: " + G(inicial) + " seg.");
    Parametro("Escala de tiempos final: " + G(final_) + " seg.");
    Parametro("Puntos por década: " + I(decada));
    GraficaMetodo(x, y);
    return kEstadoOk;
  }

  int Periodograma() {
    const double porcentaje = ConvertirReal(par_.metodosH.CBPorcentaje);
    double H = 0;
    Vector x, y;
    const int estado = HurstPeriodograma(serie_, AFloat(porcentaje), H, x, y);
    if (estado != kEstadoOk) return estado;
    res_.valor = H;
    Linea("Parámetro Hurst H = " + F(H));
    Linea("Método del periodograma. Parámetros:");
    Parametro("Porcentaje de frecuencias: " + G(porcentaje));
    GraficaMetodo(x, y);
    return kEstadoOk;
  }

  int WhittleEstandar() {
    const ParametrosMetodosH& p = par_.metodosH;
    if (p.RGModelo == 0) {
      double H = 0, bajo = 0, alto = 0;
      const int estado = HurstWhittleFgn(serie_, H, bajo, alto);
      if (estado != kEstadoOk) return estado;
      res_.valor = H;
      Linea("Parámetro Hurst: H = " + F(H));
      Intervalo(bajo, alto);
      Linea("Método de Whittle estándar. Modelo FGN");
      return kEstadoOk;
    }
    const int ordenP = ConvertirEntero(p.EOrdenp);
    const int ordenQ = ConvertirEntero(p.EOrdenq);
    Vector eta;
    double bajo = 0, alto = 0;
    const int estado = HurstWhittleFarima(serie_, ordenP, ordenQ, eta, bajo, alto);
    if (estado != kEstadoOk) return estado;
    res_.valor = eta(1);
    res_.coeficientes = AStd(eta);
    Linea("Parámetro Hurst: H = " + F(eta(1)));
    Intervalo(bajo, alto);
    std::string ar = "Parámetros AR: ";
    for (int k = 1; k <= ordenP; ++k) ar += F(eta(static_cast<std::uint32_t>(k + 1))) + "  ";
    Linea(ar);
    std::string ma = "Parámetros MA: ";
    for (int k = 1; k <= ordenQ; ++k) {
      ma += F(eta(static_cast<std::uint32_t>(ordenP + k + 1))) + "  ";
    }
    Linea(ma);
    Linea("Método de Whittle estándar. Modelo FARIMA");
    return kEstadoOk;
  }

  int WhittleAgregado() {
    const int nivel = ConvertirEntero(par_.metodosH.CBNivel);
    double H = 0, bajo = 0, alto = 0;
    // A negative level becomes a huge one, which the estimator refuses with its message.
    const int estado =
        HurstWhittleAgregado(serie_, static_cast<std::uint32_t>(nivel), H, bajo, alto);
    if (estado != kEstadoOk) return estado;
    res_.valor = H;
    Linea("Parámetro Hurst: H = " + F(H));
    Intervalo(bajo, alto);
    Linea("Método de Whittle agregado. Parámetros:");
    Parametro("Nivel de agregación: " + I(nivel));
    return kEstadoOk;
  }

  int WhittleLocal() {
    const int factor = ConvertirEntero(par_.metodosH.CBFactor);
    double H = 0, bajo = 0, alto = 0;
    const int estado =
        HurstWhittleLocal(serie_, static_cast<std::uint32_t>(factor), H, bajo, alto);
    if (estado != kEstadoOk) return estado;
    res_.valor = H;
    Linea("Parámetro Hurst: H = " + F(H));
    Intervalo(bajo, alto);
    Linea("Método de Whittle local. Parámetros:");
    Parametro("Factor m: " + I(factor));
    return kEstadoOk;
  }

  int TestEstacionariedad() {
    const ParametrosEstacion& p = par_.estacion;
    const int bloques = ConvertirEntero(p.EBloques);
    const double significancia = ConvertirReal(p.ESigni);
    double P = 0;
    int constante = 0;
    const int estado =
        TestT(serie_, static_cast<std::uint32_t>(bloques), significancia, P, constante);
    if (estado != kEstadoOk) return estado;
    res_.valor = P;
    res_.constante = constante;
    Linea("Probabilidad: P = " + F(P) + "    Parámetro Hurst " +
          (constante == 1 ? "constante" : "no constante"));
    Linea("Test de estacionariedad. Parámetros:");
    Parametro("Número de bloques: " + I(bloques));
    Parametro("Significancia: " + G(significancia));
    return kEstadoOk;
  }

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
    // Progress: the method's part, then the statistics (the autocorrelation may be long).
    const double cuotaMetodo = seleccion.autocorrelacion ? 0.8 : 1.0;
    int estado;
    {
      TramoProgreso tramo(0.0, cuotaMetodo);
      estado = analisis.Bloque();
    }
    std::uint32_t puntos = 0;
    if (estado == kEstadoOk && seleccion.autocorrelacion) {
      const ParametrosAuto& pa = parametros.autocorrelacion;
      if (pa.ChLongitud) {
        puntos = serie.Longitud();
      } else {
        const int valor = ConvertirEntero(pa.EPuntos);
        if (valor < 1 || static_cast<std::uint32_t>(valor) > serie.Longitud()) {
          estado = kEstadoLongitudAutocorrelacion;
        } else {
          puntos = static_cast<std::uint32_t>(valor);
        }
      }
      // Every lag of a constant series divides zero by zero: refuse rather than save or
      // draw NaNs.
      if (estado == kEstadoOk && (pa.ChGuardar || marcas.graficaAuto) && SerieConstante(serie))
        estado = kEstadoAutocorrelacionConstante;
    }
    if (estado != kEstadoOk) {
      resultado.fin = AnalysisOutcome::Fin::Estado;
      resultado.estado = estado;
      resultado.mensaje = MensajeEstado(estado);
      ShowStatusMessage(estado);
      return resultado;
    }
    TramoProgreso tramo(cuotaMetodo, 1.0);
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
                     const std::string& metodo) {
  grafica.ClearItems();
  struct Titulos {
    const char* metodo;
    const char* abscisa;
    const char* ordenada;
  };
  static const Titulos kTitulos[] = {
      {"R/S", "log10 (d)", "log10 (R/S)"},
      {"Varianza", "log10 (m)", "log10 (Varianza)"},
      {"Varianza Difer.", "log10 (m)", "log10 (Varianza diferenciada)"},
      {"Periodograma", "log10 (frecuencia)", "log10 (Periodograma)"},
      {"T0 (IDC)", "log10 t (segs)", "log10 (IDC-1)"},
  };
  for (const Titulos& t : kTitulos) {
    if (metodo == t.metodo) {
      grafica.SetIdAbscissa(t.abscisa);
      grafica.SetIdOrdinate(t.ordenada);
      break;
    }
  }
  const std::uint32_t n = x.Longitud();
  if (n > 0) {
    const Vector c = AjustePolinomio(x, y, 1);
    const double a = c(1);
    const double b = c(2);
    grafica.MoveTo(x(1), a + b * x(1));
    grafica.LineTo(x(n), a + b * x(n));
    grafica.SetLineItemsClass(1);
    const std::uint8_t marca = metodo == "R/S" ? 3 : metodo == "Periodograma" ? 0 : 17;
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
