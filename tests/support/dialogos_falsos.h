// Scripted stand-ins for every dialog the tests meet: the analysis driver's interfaces
// (chart, save prompt, messages, hooks) for the tests without Qt, and, where Qt Widgets is
// linked, the platform dialogs of the desktop program. Each answers from what the test
// set beforehand and records every call.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/analisis.h"
#include "app/interfaces.h"

class GraficaGrabadora : public DestinoGrafica {
 public:
  void ClearItems() override { ops.push_back("clear"); }
  void SetIdAbscissa(const std::string& t) override { ops.push_back("x:" + t); }
  void SetIdOrdinate(const std::string& t) override { ops.push_back("y:" + t); }
  void MoveTo(double x, double y) override {
    ops.push_back("move");
    puntos.push_back({x, y});
  }
  void LineTo(double x, double y) override {
    ops.push_back("line");
    puntos.push_back({x, y});
  }
  void Line(double x1, double y1, double x2, double y2) override {
    ops.push_back("segment");
    puntos.push_back({x1, y1});
    puntos.push_back({x2, y2});
  }
  void TextAt(double x, double y, int, const std::string& t) override {
    ops.push_back("text:" + t);
    puntos.push_back({x, y});
  }
  void MarkAt(double x, double y, std::uint8_t tipo) override {
    ops.push_back("mark" + std::to_string(tipo));
    puntos.push_back({x, y});
  }
  void SetLineItemsClass(std::uint8_t c) override { ops.push_back("class" + std::to_string(c)); }
  void AutoRange(double m) override { ops.push_back("auto" + std::to_string(static_cast<int>(m))); }
  void Label(double x, double y, Lugar lugar, int, const std::string& t) override {
    ops.push_back("label" + std::to_string(static_cast<int>(lugar)) + ":" + t);
    puntos.push_back({x, y});
  }
  void Whisker(double x1, double y1, double x2, double y2, int) override {
    ops.push_back("whisker");
    puntos.push_back({x1, y1});
    puntos.push_back({x2, y2});
  }
  void DotLine(double x1, double y1, double x2, double y2) override {
    ops.push_back("dots");
    puntos.push_back({x1, y1});
    puntos.push_back({x2, y2});
  }
  void SetStyle(std::optional<std::uint32_t> color, std::uint8_t clase) override {
    ops.push_back("style" + (color ? std::to_string(*color) : std::string("-")) + ":" +
                  std::to_string(clase));
  }
  void RestoreStyle() override { ops.push_back("restore"); }

  struct Punto {
    double x, y;
  };
  std::vector<std::string> ops;
  std::vector<Punto> puntos;
};

class PreguntaFija : public PreguntaGuardar {
 public:
  explicit PreguntaFija(std::optional<std::string> respuesta) : respuesta_(std::move(respuesta)) {}
  std::optional<std::string> PreguntarRuta(const std::string& titulo,
                                         const std::string& propuesto) override {
    titulos.push_back(titulo);
    propuestos.push_back(propuesto);
    return respuesta_;
  }
  std::vector<std::string> titulos, propuestos;

 private:
  std::optional<std::string> respuesta_;
};

class MensajesGrabados : public DestinoMensajes {
 public:
  void MostrarMensaje(const std::string& texto, TipoMensaje tipo) override {
    textos.push_back(texto);
    tipos.push_back(tipo);
  }
  std::vector<std::string> textos;
  std::vector<TipoMensaje> tipos;
};

class HooksFijos : public ServiciosInterfaz {
 public:
  void ProcesarEventos() override { ++eventos; }
  void FijarCursorOcupado(bool ocupado) override {
    ocupado_ = ocupado;
    ++cambiosCursor;
  }
  std::string FechaActual() override { return "08/12/2026"; }
  std::string HoraActual() override { return "10:11:12"; }
  bool Ocupado() const { return ocupado_; }
  int eventos = 0;
  int cambiosCursor = 0;

 private:
  bool ocupado_ = false;
};

// The analysis driver with every output recorded: the log, both charts, the messages, the
// hooks and a save prompt that cancels (unless the analysis is given another one).
struct BancoAnalisis {
  BancoAnalisis() : pregunta(std::nullopt) {}

  Analizador Driver(PreguntaGuardar* p = nullptr) {
    EntornoAnalisis e;
    e.log = &log;
    e.graficaMetodo = &plot1;
    e.graficaAuto = &plot2;
    e.guardarAuto = p ? p : &pregunta;
    e.mensajes = &mensajes;
    e.hooks = &hooks;
    e.creditos = "Créditos de prueba";
    return Analizador(e);
  }

  ResultadoAnalisis Analizar(const std::string& nombre, const Vector& serie,
                             PreguntaGuardar* p = nullptr) {
    return Driver(p).Analizar(nombre, serie, sel, par, marcas);
  }

  // Selection and menu marks with nothing extra: no statistics, no date, no credits.
  void SinExtras() {
    sel.media = sel.varianza = sel.autocorrelacion = false;
    marcas.fechaHora = marcas.creditos = false;
  }

  RegistroResultados log;
  GraficaGrabadora plot1, plot2;
  PreguntaFija pregunta;
  MensajesGrabados mensajes;
  HooksFijos hooks;
  SeleccionAnalisis sel;
  AnalysisParameters par;
  MarcasMenu marcas;
};

#if defined(QT_WIDGETS_LIB)

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QPrinter>
#include <chrono>
#include <deque>
#include <functional>
#include <thread>

#include "numeric/progreso.h"

#include "ui/dialogos.h"

// The platform dialogs for the widget tests: each kind of dialog answers from its own
// queue (an empty queue means "cancelled") and every call is recorded.
class DialogosFalsos : public PlatformDialogs {
 public:
  struct LlamadaFichero {
    bool guardar;
    OpcionesFichero opciones;
  };

  std::deque<QString> respuestasFichero;          // open and save dialogs, in call order
  // Index of the filter the user picks in the next save dialog (none: the initial one).
  std::deque<int> filtrosElegidos;
  std::deque<std::optional<QString>> respuestasTexto;
  std::deque<std::optional<QColor>> respuestasColor;
  std::deque<bool> respuestasImpresora;
  // Acts on a dialog shown modally (it is visible while this runs). Without a script the
  // dialog is closed with its accept().
  std::deque<std::function<void(QDialog*)>> guionesModales;
  // Runs while a file dialog is up, before it answers (lets a test look at the windows then).
  std::function<void(const OpcionesFichero&)> alPreguntarFichero;

  std::vector<LlamadaFichero> ficheros;
  std::vector<QString> mensajes;
  std::vector<IconoMensaje> iconos;
  std::vector<QString> modales;  // object names of the dialogs shown
  std::vector<QColor> coloresIniciales;
  QString pdfSalida;  // where an accepted print dialog sends the page
  int preguntasTexto = 0;
  int impresoras = 0;

  QString AbrirFichero(QWidget*, const OpcionesFichero& o) override { return Fichero(false, o); }
  QString GuardarFichero(QWidget*, const OpcionesFichero& o) override { return Fichero(true, o); }
  void Mensaje(QWidget*, const QString& texto, IconoMensaje icono) override {
    mensajes.push_back(texto);
    iconos.push_back(icono);
  }
  // Questions answered from respuestasConfirmar ("No" when it is empty).
  bool Confirmar(QWidget*, const QString& texto) override {
    preguntas.push_back(texto);
    if (respuestasConfirmar.empty()) return false;
    const bool r = respuestasConfirmar.front();
    respuestasConfirmar.pop_front();
    return r;
  }
  std::deque<bool> respuestasConfirmar;
  std::vector<QString> preguntas;
  std::optional<QString> PedirTexto(QWidget*, const QString&, const QString&,
                                    const QString&) override {
    ++preguntasTexto;
    if (respuestasTexto.empty()) return std::nullopt;
    const bool responde = respuestasTexto.front().has_value();
    const QString texto = responde ? *respuestasTexto.front() : QString();
    respuestasTexto.pop_front();
    if (!responde) return std::nullopt;
    return texto;
  }
  std::optional<QColor> ElegirColor(QWidget*, const QColor& inicial) override {
    coloresIniciales.push_back(inicial);
    if (respuestasColor.empty()) return std::nullopt;
    auto r = respuestasColor.front();
    respuestasColor.pop_front();
    return r;
  }
  bool ConfigurarImpresora(QWidget*, QPrinter& impresora) override {
    ++impresoras;
    if (respuestasImpresora.empty()) return false;
    bool r = respuestasImpresora.front();
    respuestasImpresora.pop_front();
    if (r && !pdfSalida.isEmpty()) {
      impresora.setOutputFormat(QPrinter::PdfFormat);
      impresora.setOutputFileName(pdfSalida);
    }
    return r;
  }
  // Waits for the computation, keeping the windows painting; "Cancelar" is pressed at the
  // start of the computation number cancelarCalculo (1 = the first one waited for).
  void EsperarCalculo(QWidget*, const QString& texto, ControlProgreso& control, double,
                      const std::function<bool()>& terminado) override {
    calculos.push_back(texto);
    if (cancelarCalculo && static_cast<int>(calculos.size()) == *cancelarCalculo) {
      control.Cancelar();
    }
    if (duranteCalculo) duranteCalculo();
    while (!terminado()) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  std::vector<QString> calculos;  // texts of the computations waited for
  std::optional<int> cancelarCalculo;
  std::function<void()> duranteCalculo;

  int EjecutarModal(QDialog* dialogo) override {
    modales.push_back(dialogo->objectName());
    dialogo->setResult(QDialog::Rejected);
    dialogo->show();
    if (!guionesModales.empty()) {
      auto guion = guionesModales.front();
      guionesModales.pop_front();
      guion(dialogo);
    }
    if (dialogo->isVisible()) dialogo->accept();
    return dialogo->result();
  }

 private:
  QString Fichero(bool guardar, const OpcionesFichero& o) {
    ficheros.push_back({guardar, o});
    if (alPreguntarFichero) alPreguntarFichero(o);
    if (respuestasFichero.empty()) return {};
    QString r = respuestasFichero.front();
    respuestasFichero.pop_front();
    // Like the real dialog: the extension of the filter picked, or the default one, is added
    // to a name typed without one.
    QString extension = o.extensionDefecto;
    if (guardar && !filtrosElegidos.empty()) {
      const int filtro = filtrosElegidos.front();
      filtrosElegidos.pop_front();
      const QString delFiltro =
          filtro >= 0 && filtro < o.filtros.size() ? ExtensionDeFiltro(o.filtros[filtro]) : "";
      if (!delFiltro.isEmpty()) extension = delFiltro;
    }
    if (!r.isEmpty() && !extension.isEmpty() && QFileInfo(r).suffix().isEmpty())
      r += QLatin1Char('.') + extension;
    return r;
  }
};

#endif  // QT_WIDGETS_LIB
