#include "ui/graficas.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollArea>
#include <QShowEvent>
#include <charconv>
#include <cmath>

#include "app/escritura_atomica.h"
#include "app/formato.h"
#include "app/generacion.h"
#include "app/graficas.h"
#include "app/nombres_metodos.h"
#include "chart/qt/plot_fuentes.h"
#include "chart/qt/plot_render.h"
#include "ui/controles.h"
#include "ui/dialogos.h"
#include "ui/principal.h"

namespace {

QColor AQColor(TColor c) { return QColor::fromRgb(ColorQt(c)); }
TColor ATColor(const QColor& c) { return ColorDesdeRGB(c.red(), c.green(), c.blue()); }

}  // namespace

std::string TextoCoordenada(double valor, char separador) {
  if (!std::isfinite(valor)) return FormatoGeneral(valor, 4, separador);
  char buffer[64];
  // Round to 4 significant digits first.
  auto r = std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::scientific, 3);
  double redondeado = 0;
  std::from_chars(buffer, r.ptr, redondeado);
  if (std::fabs(redondeado) >= 10000.0) return FormatoGeneral(valor, 4, separador);
  if (redondeado == 0) redondeado = 0;  // no "-0"
  r = std::to_chars(buffer, buffer + sizeof buffer, redondeado, std::chars_format::fixed, 4);
  std::string texto(buffer, r.ptr);
  for (char& c : texto)
    if (c == '.') c = separador;
  return texto;
}

TFGraf::TFGraf(PlatformDialogs& dialogos, QWidget* padre)
    : QMainWindow(padre, Qt::Window), dialogos_(dialogos), colorRegresion_(Qt::black) {
  setObjectName(QStringLiteral("TFGraf"));
  setWindowTitle(QStringLiteral("Gráficas"));
  QFont fuente = FuenteFenwa(11);
  setFont(fuente);
  move(141, 68);
  resize(414, 347);

  auto accion = [this](QMenu* menu, const QString& texto, const char* nombre,
                       void (TFGraf::*manejador)()) {
    auto* a = new QAction(texto, this);
    a->setObjectName(QString::fromLatin1(nombre));
    menu->addAction(a);
    connect(a, &QAction::triggered, this, manejador);
    return a;
  };

  QMenu* archivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
  Cargar1 = accion(archivo, QStringLiteral("&Cargar..."), "Cargar1", &TFGraf::Cargar1Click);
  Guardarcomo1 = accion(archivo, QStringLiteral("&Guardar como..."), "Guardarcomo1",
                        &TFGraf::Guardarcomo1Click);
  archivo->addSeparator();
  Imprimir1 = accion(archivo, QStringLiteral("&Imprimir..."), "Imprimir1",
                     &TFGraf::Imprimir1Click);
  archivo->addSeparator();
  Cerrar1 = accion(archivo, QStringLiteral("C&errar"), "Cerrar1", &TFGraf::Cerrar1Click);

  QMenu* copiar = menuBar()->addMenu(QStringLiteral("&Copiar"));
  Formatobitmap1 = accion(copiar, QStringLiteral("&Bitmap"), "Formatobitmap1",
                          &TFGraf::Formatobitmap1Click);
  Formatobitmap1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));

  QMenu* opciones = menuBar()->addMenu(QStringLiteral("&Opciones"));
  Datos1 = accion(opciones, QStringLiteral("Color &datos"), "Datos1", &TFGraf::Datos1Click);
  Fondo1 = accion(opciones, QStringLiteral("Color &fondo"), "Fondo1", &TFGraf::Fondo1Click);
  Ejes1 = accion(opciones, QStringLiteral("Color &ejes y etiquetas"), "Ejes1",
                 &TFGraf::Ejes1Click);
  Regresion1 = accion(opciones, QStringLiteral("Color &línea regresión"), "Regresion1",
                      &TFGraf::Regresion1Click);
  opciones->addSeparator();
  Colorrejilla1 = accion(opciones, QStringLiteral("&Color rejilla"), "Colorrejilla1",
                         &TFGraf::Colorrejilla1Click);
  Rejilla1 = accion(opciones, QStringLiteral("&Rejilla"), "Rejilla1", &TFGraf::Rejilla1Click);
  Rejilla1->setCheckable(true);
  opciones->addSeparator();
  Coordenadas1 = accion(opciones, QStringLiteral("C&oordenadas"), "Coordenadas1",
                        &TFGraf::Coordenadas1Click);
  Coordenadas1->setCheckable(true);
  opciones->addSeparator();
  ReferenciaH1 = accion(opciones, QStringLiteral("H de &referencia..."), "ReferenciaH1",
                        &TFGraf::ReferenciaH1Click);

  QMenu* graficas = menuBar()->addMenu(QStringLiteral("&Gráficas"));
  Metodo1 = accion(graficas, QStringLiteral("&Método"), "Metodo1", &TFGraf::Metodo1Click);
  Auto1 = accion(graficas, QStringLiteral("&Autocorrelación"), "Auto1", &TFGraf::Auto1Click);
  General1 = accion(graficas, QStringLiteral("&General"), "General1", &TFGraf::General1Click);

  PopupMenu1 = new QMenu(this);
  Ninguna1 = accion(PopupMenu1, QStringLiteral("&Ninguna"), "Ninguna1", &TFGraf::Ninguna1Click);
  Zoom1 = accion(PopupMenu1, QStringLiteral("&Zoom"), "Zoom1", &TFGraf::Zoom1Click);
  Desplazar1 = accion(PopupMenu1, QStringLiteral("&Desplazar"), "Desplazar1",
                      &TFGraf::Desplazar1Click);
  Comprimir1 = accion(PopupMenu1, QStringLiteral("&Comprimir"), "Comprimir1",
                      &TFGraf::Comprimir1Click);
  Restaurar1 = accion(PopupMenu1, QStringLiteral("&Restaurar"), "Restaurar1",
                      &TFGraf::Restaurar1Click);

  auto* area = new QWidget(this);
  auto* rejilla = new QGridLayout(area);
  rejilla->setContentsMargins(0, 0, 0, 0);
  Plot1 = NuevaGrafica("Plot1", "Método");
  Plot2 = NuevaGrafica("Plot2", "Autocorrelación");
  Plot3 = NuevaGrafica("Plot3", "General");
  for (TPlot* p : {Plot1, Plot2, Plot3}) {
    p->setParent(area);
    rejilla->addWidget(p, 0, 0);
  }
  // A window smaller than the visible chart's minimum (the rows of the comparison want a
  // line of text each) scrolls it rather than cutting it or crowding its names.
  auto* desplazable = new QScrollArea(this);
  desplazable->setObjectName(QStringLiteral("AreaGraficas"));
  desplazable->setFrameShape(QFrame::NoFrame);
  desplazable->setWidgetResizable(true);
  desplazable->setWidget(area);
  setCentralWidget(desplazable);
  Plot2->hide();
  Plot3->hide();
  actual_ = Plot1;
  // Activation from another window of the program re-selects the chart.
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TFGraf::VentanaActivaCambiada);
}

void TFGraf::ReferenciaH1Click() {
  const QString actual =
      referencia_ ? QString::fromStdString(FormatoG(*referencia_, TFPrinc::SeparadorDecimal()))
                  : QString();
  const std::optional<QString> texto = dialogos_.PedirTexto(
      this, QStringLiteral("H de referencia"),
      QStringLiteral("H de la línea de referencia de la comparación\n"
                     "(vacío: la del modelo de una serie generada):"),
      actual);
  if (!texto) return;
  if (texto->trimmed().isEmpty()) {
    referencia_.reset();
  } else {
    const std::optional<double> h = LeerDecimal(texto->toStdString());
    if (!h || *h < 0.0 || *h > 1.0) {
      dialogos_.Mensaje(this,
                        QStringLiteral("La H de referencia debe ser un número entre 0 y 1"),
                        IconoMensaje::Aviso);
      return;
    }
    referencia_ = *h;
  }
  if (alCambiarReferencia) alCambiarReferencia();
}

TPlot* TFGraf::NuevaGrafica(const char* nombre, const char* titulo) {
  auto* p = new TPlot(this);
  p->setObjectName(QString::fromLatin1(nombre));
  p->SetAutoRedraw(false);
  AplicarDisenoGrafica(*p);
  p->SetCaption(titulo);
  p->SetAutoRedraw(true);
  p->setToolTip(QString());
  p->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(p, &QWidget::customContextMenuRequested, this,
          [this, p](const QPoint& pos) { PopupMenu1->popup(p->mapToGlobal(pos)); });
  p->OnMouseMoveInChart = [this](TPlot* emisor, bool dentro, Qt::KeyboardModifiers, double x,
                                 double y) { Plot1MouseMoveInChart(emisor, dentro, x, y); };
  return p;
}

void TFGraf::Conectar(QAction* graficaMetodo, QAction* graficaAuto, QComboBox* metodos,
                      QCheckBox* chAuto) {
  graficaMetodo_ = graficaMetodo;
  graficaAuto_ = graficaAuto;
  metodos_ = metodos;
  chAuto_ = chAuto;
}

void TFGraf::showEvent(QShowEvent* evento) {
  QMainWindow::showEvent(evento);
  FormShow();
}

void TFGraf::VentanaActivaCambiada(QWindow* ventana) {
  if (!ventana) return;  // another application is active: no change within the program
  QWindow* propia = windowHandle();
  if (ventana == propia && anteriorActiva_ && anteriorActiva_ != propia &&
      anteriorActiva_->transientParent() != propia)
    FormShow();  // came from another window of the program, not from one of its own dialogs
  anteriorActiva_ = ventana;
}

void TFGraf::FormShow() {
  const bool metodo = graficaMetodo_ && graficaMetodo_->isChecked() && metodos_ &&
                      metodos_->currentText() != QString::fromUtf8(metodo::kNinguno);
  const bool autoc = graficaAuto_ && graficaAuto_->isChecked() && chAuto_ && chAuto_->isChecked();
  if (metodo) {
    Metodo1Click();
    Metodo1->setEnabled(true);
    Auto1->setEnabled(autoc);
  } else {
    if (autoc) {
      Auto1Click();
      Auto1->setEnabled(true);
    } else {
      General1Click();
      Auto1->setEnabled(false);
    }
    Metodo1->setEnabled(false);
  }
  General1->setEnabled(true);
}

void TFGraf::Elegir(TPlot* grafica, const QString& nombre) {
  Rejilla1->setChecked(grafica->GridStyle() != gsNone);
  Coordenadas1->setChecked(grafica->Tag() != 0);
  for (TPlot* p : {Plot1, Plot2, Plot3}) p->setVisible(p == grafica);
  actual_ = grafica;
  nombre_ = nombre;
  if (!Coordenadas1->isChecked()) grafica->SetCaption(nombre.toStdString());
}

void TFGraf::Metodo1Click() { Elegir(Plot1, QStringLiteral("Método")); }
void TFGraf::Auto1Click() { Elegir(Plot2, QStringLiteral("Autocorrelación")); }
void TFGraf::General1Click() { Elegir(Plot3, QStringLiteral("General")); }

void TFGraf::Datos1Click() {
  const auto color = dialogos_.ElegirColor(this, AQColor(actual_->DataColor()));
  if (!color) return;
  actual_->SetDataColor(ATColor(*color));
  actual_->SetClassColor(ATColor(*color), 0);
  actual_->Redraw();
}

void TFGraf::Fondo1Click() {
  const auto color = dialogos_.ElegirColor(this, AQColor(actual_->ChartColor()));
  if (!color) return;
  actual_->SetChartColor(ATColor(*color));
  actual_->SetWindColor(ATColor(*color));
}

void TFGraf::Ejes1Click() {
  const auto color = dialogos_.ElegirColor(this, AQColor(actual_->ScaleColor()));
  if (!color) return;
  actual_->SetScaleColor(ATColor(*color));
  actual_->SetFontColor(ATColor(*color));
}

void TFGraf::Regresion1Click() {
  const auto color = dialogos_.ElegirColor(this, colorRegresion_);
  if (!color) return;
  colorRegresion_ = *color;
  actual_->SetClassColor(ATColor(*color), 1);
  actual_->Redraw();
}

void TFGraf::Colorrejilla1Click() {
  const auto color = dialogos_.ElegirColor(this, AQColor(actual_->GridColor()));
  if (!color) return;
  actual_->SetGridColor(ATColor(*color));
}

void TFGraf::Rejilla1Click() {
  // The action toggles its own check mark before this runs.
  actual_->SetGridStyle(Rejilla1->isChecked() ? gsDotLines : gsNone);
}

void TFGraf::Coordenadas1Click() {
  if (Coordenadas1->isChecked()) {
    actual_->SetTag(1);
  } else {
    actual_->SetTag(0);
    actual_->SetCaption(nombre_.toStdString());
  }
}

void TFGraf::Plot1MouseMoveInChart(TPlot*, bool dentro, double x, double y) {
  if (!Coordenadas1->isChecked() || !dentro || actual_->MouseAction() != maNone) return;
  const char separador = TFPrinc::SeparadorDecimal();
  actual_->SetCaption(nombre_.toStdString() + " (" + TextoCoordenada(x, separador) + "; " +
                      TextoCoordenada(y, separador) + ")");
}

void TFGraf::Guardarcomo1Click() {
  OpcionesFichero opciones;
  opciones.titulo = QStringLiteral("Guardar gráfica como");
  opciones.filtros = {QStringLiteral("Bitmap (.bmp) (*.bmp)"),
                      QStringLiteral("Formato propio (.grf) (*.grf)"),
                      QStringLiteral("Imagen PNG (*.png)"),
                      QStringLiteral("Gráfico vectorial SVG (*.svg)")};
  opciones.filtroInicial = 1;
  opciones.extensionDefecto = QStringLiteral("grf");
  const QString ruta = dialogos_.GuardarFichero(this, opciones);
  if (ruta.isEmpty()) return;
  const QString nombre = QFileInfo(ruta).fileName();
  const int punto = nombre.lastIndexOf(QLatin1Char('.'));
  const QString extension = punto < 0 ? QString() : nombre.mid(punto).toUpper();
  const std::string nombre8 = ruta.toStdString();
  std::string destino = nombre8;
  int error = 0;
  bool escrito = true;
  if (extension == QStringLiteral(".BMP")) {
    escrito = actual_->SaveAsBitmap(nombre8, &error);
    destino = NombreBitmap(nombre8);
  } else if (extension == QStringLiteral(".GRF")) {
    escrito = actual_->SaveToFile(nombre8, &error);
  } else if (extension == QStringLiteral(".PNG")) {
    escrito = actual_->SaveAsPng(nombre8, &error);
  } else if (extension == QStringLiteral(".SVG")) {
    escrito = actual_->SaveAsSvg(nombre8, &error);
  } else {
    dialogos_.Mensaje(this, QStringLiteral("La extensión indicada no es válida"));
    return;
  }
  if (!escrito)
    dialogos_.Mensaje(this, QString::fromStdString(MensajeNoPuedoGuardar(destino, error)));
}

void TFGraf::Cargar1Click() {
  OpcionesFichero opciones;
  opciones.titulo = QStringLiteral("Cargar gráfica");
  opciones.filtros = {QStringLiteral("Formato propio (*.grf)")};
  opciones.extensionDefecto = QStringLiteral("grf");
  const QString ruta = dialogos_.AbrirFichero(this, opciones);
  if (ruta.isEmpty()) return;
  if (QFileInfo(ruta).suffix().compare(QStringLiteral("grf"), Qt::CaseInsensitive) != 0) {
    dialogos_.Mensaje(this, QStringLiteral("La extensión indicada no es válida"));
    return;
  }
  if (!actual_->LoadFromFile(ruta.toStdString(), false))
    dialogos_.Mensaje(this, QStringLiteral("No puedo leer el fichero\n'") + ruta +
                                QStringLiteral("'"));
  actual_->AutoRange(2.0);
}

void TFGraf::Imprimir1Click() {
  QPrinter& impresora = actual_->Printer();
  if (!dialogos_.ConfigurarImpresora(this, impresora)) return;
  const TColor escala = actual_->ScaleColor();
  const TColor letra = actual_->Font().Color;
  actual_->SetScaleColor(clBlack);
  actual_->SetFontColor(clBlack);
  const bool impreso = actual_->Print(impresora, true, 1.0);
  actual_->SetScaleColor(escala);
  actual_->SetFontColor(letra);
  if (!impreso) dialogos_.Mensaje(this, QStringLiteral("No se ha podido imprimir la gráfica"));
}

void TFGraf::Formatobitmap1Click() { actual_->CopyToClipboard(); }

void TFGraf::Ninguna1Click() { actual_->SetMouseAction(maNone); }
void TFGraf::Zoom1Click() { actual_->SetMouseAction(maZoomWindPos); }
void TFGraf::Desplazar1Click() { actual_->SetMouseAction(maPan); }
void TFGraf::Comprimir1Click() { actual_->SetMouseAction(maZoomDrag); }

void TFGraf::Restaurar1Click() {
  actual_->AutoRange(2.0);
  actual_->SetMouseAction(maNone);
}

void TFGraf::Cerrar1Click() { close(); }
