#include "ui/principal.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "app/comparacion.h"
#include "app/graficas.h"
#include "app/nombres_metodos.h"
#include "chart/qt/plot_fuentes.h"
#include "ui/adaptadores.h"
#include "ui/controles.h"
#include "ui/dialogo_captura.h"
#include "ui/dialogo_generar.h"
#include "ui/dialogo_series.h"
#include "ui/dialogos.h"
#include "ui/dialogos_parametros.h"
#include "ui/graficas.h"
#include "ui/iconos.h"

// The About box: program name and credits.
class TFAcercade : public QDialog {
 public:
  explicit TFAcercade(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("TFAcercade"));
    setWindowTitle(QStringLiteral("Acerca de FENWA"));
    setFont(FuenteFenwa(11));
    auto* icono = new QLabel(this);
    icono->setPixmap(IconoPrograma().pixmap(48, 48));
    auto* nombre = new QLabel(QStringLiteral("FENWA"), this);
    nombre->setFont(FuenteFenwa(20, true));
    auto* texto = new QLabel(
        QStringLiteral("Versión 1.0\n\n"
                       "Estimación del parámetro de Hurst H de series de tráfico\n"
                       "(autosemejanza y dependencia a largo plazo).\n\n"
                       "Métodos: R/S, varianza, varianza diferenciada, periodograma,\n"
                       "Whittle estándar, agregado y local, ondículas, DFA, momentos\n"
                       "absolutos, Higuchi, GPH, T0 (IDC) y test T; comparación de\n"
                       "todos ellos y series sintéticas con H conocido."),
        this);
    texto->setWordWrap(true);
    auto* boton = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    boton->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    connect(boton, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(icono);
    cabecera->addWidget(nombre, 1);
    auto* disposicion = new QVBoxLayout(this);
    disposicion->addLayout(cabecera);
    disposicion->addWidget(texto);
    disposicion->addWidget(boton);
    disposicion->setSizeConstraint(QLayout::SetFixedSize);
  }
};

struct TFPrinc::Adaptadores {
  VistaResultados vista;
  PreguntaGuardarAuto pregunta;
  CajaMensajes mensajes;
  GanchosQt ganchos;
  std::unique_ptr<DestinoModelo> metodo, autocorrelacion;
  Adaptadores(QPlainTextEdit* memo, PlatformDialogs& dialogos, QWidget* padre)
      : vista(memo), pregunta(dialogos, padre), mensajes(dialogos, padre),
        ganchos(dialogos, padre) {}
};

// The main window's menus and tool bar disabled while a long operation runs, as they were
// afterwards.
class TFPrinc::MenusOcupados {
 public:
  explicit MenusOcupados(TFPrinc* ventana)
      : menus_(ventana->menuBar()),
        barra_(ventana->SBCargarSerie->parentWidget()),
        menusAntes_(menus_->isEnabled()),
        barraAntes_(barra_->isEnabled()) {
    menus_->setEnabled(false);
    barra_->setEnabled(false);
  }
  ~MenusOcupados() {
    menus_->setEnabled(menusAntes_);
    barra_->setEnabled(barraAntes_);
  }

 private:
  QWidget* menus_;
  QWidget* barra_;
  bool menusAntes_, barraAntes_;
};

TFPrinc::TFPrinc(PlatformDialogs& dialogos, QWidget* padre)
    : QMainWindow(padre), dialogos_(dialogos) {
  setObjectName(QStringLiteral("TFPrinc"));
  setWindowTitle(QStringLiteral("FENWA"));
  setWindowIcon(IconoPrograma());
  setFont(FuenteFenwa(11));
  QPalette paleta = palette();
  paleta.setColor(QPalette::WindowText, Qt::black);
  setPalette(paleta);
  move(100, 67);
  resize(464, 341);

  CrearMenus();
  auto* central = new QWidget(this);
  auto* disposicion = new QVBoxLayout(central);
  disposicion->setContentsMargins(0, 0, 0, 0);
  disposicion->setSpacing(0);
  CrearBarra();
  disposicion->addWidget(SBCargarSerie->parentWidget());

  MResult = new QPlainTextEdit(central);
  MResult->setObjectName(QStringLiteral("MResult"));
  MResult->setReadOnly(true);
  MResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MResult->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MResult->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  MResult->setFocusPolicy(Qt::ClickFocus);
  MResult->viewport()->setCursor(Qt::ArrowCursor);
  MResult->setFont(FuenteFenwa(13));
  disposicion->addWidget(MResult, 1);
  setCentralWidget(central);

  adaptadores_ = std::make_unique<Adaptadores>(MResult, dialogos_, this);
  registro_.FijarVista(&adaptadores_->vista);
  adaptadores_->vista.FijarColores(ColorFondo::Gris, ColorTexto::TextoVentana);

  // FormCreate: empty store, no current series, the commands that need one disabled.
  almacen_.Clear();
  CBSeries->setEnabled(false);
  HabilitarAnalisis(false);
  Series1->setEnabled(false);
  Guardarcomo1->setEnabled(false);
  ActualizarComandos();
  CBMetodos->setCurrentIndex(CBMetodos->findText(QString::fromUtf8(metodo::kNinguno)));
}

TFPrinc::~TFPrinc() { registro_.FijarVista(nullptr); }

void TFPrinc::CrearMenus() {
  auto accion = [this](QMenu* menu, const QString& texto, const char* nombre,
                       void (TFPrinc::*manejador)()) {
    auto* a = new QAction(texto, this);
    a->setObjectName(QString::fromLatin1(nombre));
    if (menu) menu->addAction(a); else menuBar()->addAction(a);
    connect(a, &QAction::triggered, this, manejador);
    return a;
  };
  auto marca = [this](QMenu* menu, const QString& texto, const char* nombre) {
    // FechaHora1Click: a click toggles the clicked item's check mark.
    auto* a = new QAction(texto, this);
    a->setObjectName(QString::fromLatin1(nombre));
    a->setCheckable(true);
    a->setChecked(true);
    menu->addAction(a);
    return a;
  };

  // The menu bar in the window's small font with tight items, so that every title fits
  // the window's width as designed.
  menuBar()->setFont(FuenteFenwa(11));
  menuBar()->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 4px; }"));
  QMenu* archivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
  Cargarserie1 = accion(archivo, QStringLiteral("&Cargar serie..."), "Cargarserie1",
                        &TFPrinc::Cargarserie1Click);
  Importarcaptura1 = accion(archivo, QStringLiteral("&Importar captura..."), "Importarcaptura1",
                            &TFPrinc::Importarcaptura1Click);
  Generarserie1 = accion(archivo, QStringLiteral("Ge&nerar serie..."), "Generarserie1",
                         &TFPrinc::Generarserie1Click);
  Guardarcomo1 = accion(archivo, QStringLiteral("&Guardar serie como..."), "Guardarcomo1",
                        &TFPrinc::Guardarcomo1Click);
  archivo->addSeparator();
  Guardarresult1 = accion(archivo, QStringLiteral("G&uardar resultado análisis"),
                          "Guardarresult1", &TFPrinc::Guardarresult1Click);
  Guardarresultcomo1 = accion(archivo, QStringLiteral("Guardar &resultado como..."),
                              "Guardarresultcomo1", &TFPrinc::Guardarresultcomo1Click);
  archivo->addSeparator();
  Salir1 = accion(archivo, QStringLiteral("&Salir"), "Salir1", &TFPrinc::Salir1Click);

  QMenu* metodos = menuBar()->addMenu(QStringLiteral("&Métodos"));
  MetodosH1 = accion(metodos, QStringLiteral("Métodos &H..."), "MetodosH1",
                     &TFPrinc::MetodosH1Click);
  MetodosT01 = accion(metodos, QStringLiteral("Métodos &T0..."), "MetodosT01",
                      &TFPrinc::MetodosT01Click);
  Estacion1 = accion(metodos, QStringLiteral("&Estacionariedad..."), "Estacion1",
                     &TFPrinc::Estacion1Click);
  metodos->addSeparator();
  CompararMetodos1 = accion(metodos, QStringLiteral("&Comparar métodos"), "CompararMetodos1",
                            &TFPrinc::CompararMetodos1Click);
  Autocorrelacion1 = accion(nullptr, QStringLiteral("Auto&correlación"), "Autocorrelacion1",
                            &TFPrinc::Autocorrelacion1Click);
  Series1 = accion(nullptr, QStringLiteral("&Series"), "Series1", &TFPrinc::Series1Click);

  QMenu* resultados = menuBar()->addMenu(QStringLiteral("&Resultados"));
  FechaHora1 = marca(resultados, QStringLiteral("&Fecha y hora"), "FechaHora1");
  Creditos1 = marca(resultados, QStringLiteral("C&réditos"), "Creditos1");
  resultados->addSeparator();
  Copiarresult1 = accion(resultados, QStringLiteral("&Copiar resultados"), "Copiarresult1",
                         &TFPrinc::Copiarresult1Click);
  Copiarresult1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  Borrarresult1 = accion(resultados, QStringLiteral("&Borrar resultados"), "Borrarresult1",
                         &TFPrinc::Borrarresult1Click);
  resultados->addSeparator();
  GuardarCsv1 = accion(resultados, QStringLiteral("Guardar comparación (C&SV)..."),
                       "GuardarCsv1", &TFPrinc::GuardarCsv1Click);

  QMenu* graficas = menuBar()->addMenu(QStringLiteral("&Gráficas"));
  Graficametodo1 = marca(graficas, QStringLiteral("Gráfica &método"), "Graficametodo1");
  Graficaauto1 = marca(graficas, QStringLiteral("Gráfica &autocorrelación"), "Graficaauto1");
  graficas->addSeparator();
  Iragraficas1 = accion(graficas, QStringLiteral("&Ir a gráficas"), "Iragraficas1",
                        &TFPrinc::Iragraficas1Click);

  Acercade1 = accion(nullptr, QStringLiteral("Acerca &de"), "Acercade1",
                     &TFPrinc::Acercade1Click);
}

void TFPrinc::CrearBarra() {
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("PanelBarra"));
  panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  panel->setFixedHeight(36);

  auto boton = [panel](int x, const char* nombre, const QString& pista) {
    auto* b = new QToolButton(panel);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setGeometry(x, 6, 25, 25);
    b->setToolTip(pista);
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(false);
    return b;
  };
  auto separador = [panel](int x) {
    auto* linea = new QFrame(panel);
    linea->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    linea->setGeometry(x, 4, 2, 28);
  };

  SBCargarSerie = boton(8, "SBCargarSerie", QStringLiteral("Cargar serie"));
  SBCargarSerie->setIcon(IconoCargarSerie());
  SBGuardarResult = boton(32, "SBGuardarResult", QStringLiteral("Guardar resultados"));
  SBGuardarResult->setIcon(IconoGuardarResult());
  separador(64);
  CBSeries = NuevaListaDesplegable(panel, 89);
  CBSeries->setObjectName(QStringLiteral("CBSeries"));
  CBSeries->setToolTip(QStringLiteral("Series cargadas"));
  CBSeries->setGeometry(72, 7, 89, 22);
  // Wider than designed (105 at x = 176) so that "Whittle Estándar" is not cut off in the
  // sans-serif font; it still ends before the analyse button.
  CBMetodos = NuevaListaDesplegable(panel, 126);
  CBMetodos->setObjectName(QStringLiteral("CBMetodos"));
  CBMetodos->setToolTip(QStringLiteral("Métodos"));
  CBMetodos->addItems(ListaMetodos());
  CBMetodos->setGeometry(166, 7, 126, 22);
  // The drop-down part is wide enough for the longest method name.
  CBMetodos->view()->setMinimumWidth(140);
  CBSeries->view()->setMinimumWidth(140);
  SBAnalizar = boton(296, "SBAnalizar", QStringLiteral("Analizar"));
  SBAnalizar->setIcon(IconoAnalizar());
  separador(328);

  // Designed in "Comic Sans MS"; drawn in the program's typeface like every text.
  const QFont fuenteToggle = FuenteFenwa(16, true);
  auto toggle = [&](int x, const char* nombre, const QString& texto, const QString& pista,
                    bool abajo) {
    auto* b = new TBotonConmutador(panel);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setGeometry(x, 6, 25, 25);
    b->setToolTip(pista);
    b->setText(texto);
    b->setChecked(abajo);
    b->setFont(fuenteToggle);
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, Qt::blue);
    b->setPalette(p);
    return b;
  };
  SBMedia = toggle(336, "SBMedia", QStringLiteral("M"), QStringLiteral("Media"), true);
  SBVar = toggle(360, "SBVar", QStringLiteral("V"), QStringLiteral("Varianza"), true);
  SBAuto = toggle(384, "SBAuto", QStringLiteral("A"), QStringLiteral("Autocorrelación"), false);
  separador(416);
  SBGraficas = boton(424, "SBGraficas", QStringLiteral("Gráficas"));
  SBGraficas->setIcon(IconoGraficas());

  connect(SBCargarSerie, &QToolButton::clicked, this, &TFPrinc::Cargarserie1Click);
  connect(SBGuardarResult, &QToolButton::clicked, this, &TFPrinc::Guardarresult1Click);
  connect(SBAnalizar, &QToolButton::clicked, this, &TFPrinc::SBAnalizarClick);
  connect(SBMedia, &QToolButton::clicked, this, &TFPrinc::SBMediaClick);
  connect(SBVar, &QToolButton::clicked, this, &TFPrinc::SBVarClick);
  connect(SBAuto, &QToolButton::clicked, this, &TFPrinc::SBAutoClick);
  connect(SBGraficas, &QToolButton::clicked, this, &TFPrinc::Iragraficas1Click);
  connect(CBSeries, &QComboBox::activated, this, [this] { CBSeriesChange(); });
  connect(CBSeries, &QComboBox::currentTextChanged, this, [this] { AjustarListaSeries(); });
  // What lies right of the series list moves with its width.
  for (QWidget* w : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->x() > CBSeries->x()) aLaDerecha_.emplace_back(w, w->x());
  connect(CBMetodos, &QComboBox::activated, this, [this] { CBMetodosChange(); });
}

void TFPrinc::AjustarListaSeries() {
  // As designed (89) unless a name needs more, up to a width that leaves the bar usable;
  // beyond it the list writes the name elided in the middle, and the hint shows it whole.
  constexpr int kAnchoDisenado = 89, kAnchoMaximo = 180, kFinBarra = 424 + 25 + 8;
  const int ancho = AnchoParaEntradas(CBSeries, kAnchoDisenado, kAnchoMaximo);
  const int desplazamiento = ancho - kAnchoDisenado;
  CBSeries->setFixedWidth(ancho);
  CBSeries->move(72, 7);
  for (const auto& [w, x] : aLaDerecha_) w->move(x + desplazamiento, w->y());
  CBSeries->view()->setMinimumWidth(AnchoParaEntradas(CBSeries, 140, 1000));
  const QString actual = CBSeries->currentText();
  CBSeries->setToolTip(actual.isEmpty() ? QStringLiteral("Series cargadas")
                                        : QStringLiteral("Series cargadas: ") + actual);
  if (width() < kFinBarra + desplazamiento) resize(kFinBarra + desplazamiento, height());
}

void TFPrinc::Conectar(const VentanasFenwa& ventanas) {
  ventanas_ = ventanas;
  TFSeries* series = ventanas_.series;
  series->alComprometer = [this] { SincronizarConDialogo(); };
  series->alCambiarMenusSeries = [this](bool habilitar) { MenusSeries(habilitar); };
  series->analizar = [this] { Analizar(); };

  EntornoAnalisis entorno;
  entorno.log = &registro_;
  if (ventanas_.graficas) {
    adaptadores_->metodo = std::make_unique<DestinoModelo>(*ventanas_.graficas->Plot1);
    adaptadores_->autocorrelacion = std::make_unique<DestinoModelo>(*ventanas_.graficas->Plot2);
    entorno.graficaMetodo = adaptadores_->metodo.get();
    entorno.graficaAuto = adaptadores_->autocorrelacion.get();
    ventanas_.graficas->alCambiarReferencia = [this] { RedibujarComparacion(); };
  }
  entorno.guardarAuto = &adaptadores_->pregunta;
  entorno.mensajes = &adaptadores_->mensajes;
  entorno.hooks = &adaptadores_->ganchos;
  driver_ = std::make_unique<Analizador>(entorno);
}

char TFPrinc::SeparadorDecimal() {
  const QString separador = QLocale().decimalPoint();
  if (separador.size() == 1 && separador.at(0).unicode() < 128) return separador.at(0).toLatin1();
  return '.';
}

// ---- loading and saving series ---------------------------------------------------------------

bool TFPrinc::HayHueco() {
  if (almacen_.FreeSlots() > 0) return true;
  dialogos_.Mensaje(this, QStringLiteral("No pueden cargarse más series.\nEs necesario "
                                         "eliminar alguna de\nlas que están cargadas."));
  return false;
}

void TFPrinc::Cargarserie1Click() {
  if (!HayHueco()) return;
  OpcionesFichero opciones;
  opciones.titulo = QStringLiteral("Cargar serie");
  opciones.filtros = {QStringLiteral("Series de tráfico (*.sam)"),
                      QStringLiteral("Series (*.sam *.txt *.npy)"),
                      QStringLiteral("Todos los archivos (*.*)")};
  opciones.filtroInicial = 2;
  const QString ruta = dialogos_.AbrirFichero(this, opciones);
  if (ruta.isEmpty()) return;
  LeerSerie(ruta);
}

void TFPrinc::CargarFichero(const QString& ruta) {
  if (!HayHueco()) return;
  LeerSerie(QFileInfo(ruta).absoluteFilePath());
}

void TFPrinc::LeerSerie(const QString& ruta) {
  std::string mensaje;
  Vector datos;
  // A cancelled load is as if it had not been asked for.
  if (!CalcularFueraDeVentana(QStringLiteral("Leyendo la serie..."),
                              [&] { datos = ReadSampleFile(ruta.toStdString(), mensaje); }))
    return;
  if (datos.Longitud() == 0) {
    if (!mensaje.empty()) dialogos_.Mensaje(this, QString::fromStdString(mensaje));
    return;
  }
  AnadirSerie(NombreSerieDeRuta(ruta.toStdString()), std::move(datos));
}

bool TFPrinc::CalcularFueraDeVentana(const QString& texto, const std::function<void()>& calculo) {
  CursorOcupado cursor;
  MenusOcupados ocupado(this);
  GanchosQt::Operacion operacion(adaptadores_->ganchos, texto);
  try {
    adaptadores_->ganchos.Calcular(calculo);
  } catch (const Cancelado&) {
    return false;
  }
  return true;
}

void TFPrinc::InformeDeSerie(const std::string& nombre, const std::vector<std::string>& lineas) {
  registro_.Vaciar();
  registro_.SetResultsBaseName(nombre);
  for (const std::string& linea : lineas) registro_.Anadir(linea);
  registro_.FijarColores(ColorFondo::Ventana, ColorTexto::TextoVentana);
  registro_.HabilitarComandos();
  ActualizarComandos();
}

TFCaptura* TFPrinc::DialogoCaptura() {
  if (!captura_) captura_ = new TFCaptura(dialogos_, this);
  return captura_;
}

void TFPrinc::Importarcaptura1Click() {
  if (!HayHueco()) return;
  TFCaptura* dialogo = DialogoCaptura();
  if (dialogos_.EjecutarModal(dialogo) != QDialog::Accepted) return;
  std::optional<PeticionCaptura> peticion = dialogo->TomarPeticion();
  if (!peticion) return;
  ResultadoConteo r;
  const bool contada = CalcularFueraDeVentana(QStringLiteral("Contando la captura..."), [&] {
    // The count reports the bytes read to the control installed on this thread, whose
    // "Cancelar" stops it at its next report.
    OpcionesConteo opciones = peticion->opciones;
    opciones.progreso = [](const AvanceConteo& a) { Avance(a.Fraccion()); };
    r = ContarCapturas(peticion->rutas, opciones);
    Avance(1.0);  // a "Cancelar" after the last report still adds nothing
  });
  if (!contada) return;
  if (!r.Exito()) {
    QString texto = QString::fromStdString(r.error);
    if (r.pareceTexto)
      texto += QStringLiteral("\nSi es una traza de texto (tiempo y tamaño por línea), marque "
                              "«Trazas de texto».");
    dialogos_.Mensaje(this, texto, IconoMensaje::Aviso);
    return;
  }
  for (const std::string& aviso : r.avisos)
    dialogos_.Mensaje(this, QString::fromStdString(aviso), IconoMensaje::Aviso);
  const bool bytes = peticion->opciones.bytes;
  const std::string nombre =
      NombreSerieCaptura(peticion->rutas.front(), bytes, peticion->opciones.intervalo);
  Vector datos(static_cast<std::uint32_t>(r.cuentas.size()));
  std::copy(r.cuentas.begin(), r.cuentas.end(), datos.begin());
  AnadirSerie(nombre, std::move(datos));
  const std::string sangria = "      ";
  std::vector<std::string> lineas = {
      "Serie importada: " + nombre,
      std::string(bytes ? "Bytes" : "Paquetes") + " por intervalo de " +
          NombreIntervalo(peticion->opciones.intervalo) + ". Capturas:"};
  for (const std::string& ruta : peticion->rutas) lineas.push_back(sangria + ruta);
  if (!peticion->opciones.filtro.empty()) lineas.push_back("Filtro: " + peticion->opciones.filtro);
  for (const std::string& linea : LineasResumen(r.resumen, bytes)) lineas.push_back(sangria + linea);
  InformeDeSerie(nombre, lineas);
}

TFGenerar* TFPrinc::DialogoGenerar() {
  if (!generar_) generar_ = new TFGenerar(dialogos_, this);
  return generar_;
}

void TFPrinc::Generarserie1Click() {
  if (!HayHueco()) return;
  TFGenerar* dialogo = DialogoGenerar();
  if (dialogos_.EjecutarModal(dialogo) != QDialog::Accepted) return;
  const std::optional<ParametrosGenerador> p = dialogo->TomarParametros();
  if (!p) return;
  // Like an analysis: off the window thread, the menus disabled, the progress dialog with
  // "Cancelar" after half a second; a cancelled generation adds nothing.
  Vector datos;
  std::string error;
  if (!CalcularFueraDeVentana(QStringLiteral("Generando la serie..."),
                              [&] { error = GenerarSerieSintetica(*p, datos); }))
    return;
  if (!error.empty()) {
    dialogos_.Mensaje(this, QString::fromStdString(error), IconoMensaje::Aviso);
    return;
  }
  const std::string nombre = NombreSerieGenerada(*p);
  AnadirSerie(nombre, std::move(datos), *p);
  InformeDeSerie(nombre, LineasSerieGenerada(*p, nombre, SeparadorDecimal()));
}

void TFPrinc::AnadirSerie(const std::string& nombre, Vector datos,
                          std::optional<ParametrosGenerador> generada) {
  if (almacen_.Add(nombre, std::move(datos), std::move(generada)) >= MaxSeries) return;
  const QString texto = QString::fromStdString(nombre);
  const bool primera = !Series1->isEnabled();
  ventanas_.series->AnadirSerie(texto, primera);
  CBSeries->setCurrentIndex(InsertarOrdenado(CBSeries, texto));
  AjustarListaSeries();
  if (primera) {
    MenusSeries(true);
    CBSeries->setEnabled(true);
    HabilitarAnalisis(true);
  }
}

void TFPrinc::Guardarcomo1Click() {
  const Series* actual = almacen_.Current();
  if (!actual) return;
  OpcionesFichero opciones;
  opciones.titulo = QStringLiteral("Guardar serie como");
  opciones.nombre = QString::fromStdString(actual->name);
  // The name as typed unless a filter with an extension is picked.
  opciones.filtros = {QStringLiteral("Series de tráfico (*.sam)"), QStringLiteral("Texto (*.txt)"),
                      QStringLiteral("Serie NumPy (*.npy)"),
                      QStringLiteral("Todos los archivos (*.*)")};
  opciones.filtroInicial = 3;
  const QString ruta = dialogos_.GuardarFichero(this, opciones);
  if (ruta.isEmpty()) return;
  std::string mensaje;
  if (!WriteSampleFile(actual->data, ruta.toStdString(), mensaje)) {
    dialogos_.Mensaje(this, QString::fromStdString(mensaje), IconoMensaje::Error);
    return;
  }
  almacen_.MarcarGuardada(almacen_.CurrentSlot());
}

// ---- results commands ------------------------------------------------------------------------

void TFPrinc::ActualizarComandos() {
  const ComandosResultados& c = registro_.Comandos();
  Copiarresult1->setEnabled(c.copiar);
  Borrarresult1->setEnabled(c.borrar);
  Guardarresult1->setEnabled(c.guardar);
  Guardarresultcomo1->setEnabled(c.guardarComo);
  SBGuardarResult->setEnabled(c.sbGuardarResult);
  GuardarCsv1->setEnabled(ultimo_.has_value());
}

void TFPrinc::Guardarresult1Click() {
  if (!Guardarresult1->isEnabled()) return;
  const std::string error = registro_.GuardarResultado();
  if (!error.empty()) dialogos_.Mensaje(this, QString::fromStdString(error), IconoMensaje::Error);
  ActualizarComandos();
}

void TFPrinc::Guardarresultcomo1Click() {
  OpcionesFichero opciones;
  opciones.titulo = QStringLiteral("Guardar resultado como");
  opciones.nombre = QString::fromStdString(registro_.NombreRsl());
  const QString ruta = dialogos_.GuardarFichero(this, opciones);
  if (ruta.isEmpty()) return;
  const std::string error = registro_.GuardarResultadoComo(ruta.toStdString());
  if (!error.empty()) dialogos_.Mensaje(this, QString::fromStdString(error), IconoMensaje::Error);
}

void TFPrinc::Copiarresult1Click() {
  MResult->selectAll();
  MResult->copy();
  QTextCursor cursor = MResult->textCursor();
  cursor.setPosition(0);
  MResult->setTextCursor(cursor);
}

void TFPrinc::Borrarresult1Click() {
  registro_.BorrarResultados();
  ultimo_.reset();
  ActualizarComandos();
}

void TFPrinc::GuardarCsv1Click() {
  if (!ultimo_) return;
  OpcionesFichero opciones;
  opciones.titulo = QStringLiteral("Guardar comparación (CSV)");
  opciones.nombre = QString::fromStdString(registro_.ResultsBaseName() + ".csv");
  opciones.filtros = {QStringLiteral("Valores separados por comas (*.csv)"),
                      QStringLiteral("Todos los archivos (*.*)")};
  opciones.extensionDefecto = QStringLiteral("csv");
  const QString ruta = dialogos_.GuardarFichero(this, opciones);
  if (ruta.isEmpty()) return;
  const std::string error = EscribirTextoCompleto(
      ruta.toStdString(), CsvResultados(ultimo_->metodo, ultimo_->resultado));
  if (!error.empty()) dialogos_.Mensaje(this, QString::fromStdString(error), IconoMensaje::Error);
}

// ---- analysis --------------------------------------------------------------------------------

void TFPrinc::HabilitarAnalisis(bool habilitar) {
  SBAnalizar->setEnabled(habilitar);
  CompararMetodos1->setEnabled(habilitar);
}

void TFPrinc::CompararMetodos1Click() {
  if (!CompararMetodos1->isEnabled()) return;
  // The method lists say what was done, so that the charts window opens on its chart.
  const int todos = CBMetodos->findText(QString::fromUtf8(metodo::kTodos));
  CBMetodos->setCurrentIndex(todos);
  ventanas_.series->CBMetodos->setCurrentIndex(todos);
  Analizar(true);
}

void TFPrinc::Analizar(bool comparar) {
  if (!driver_) return;
  AnalysisParameters parametros;
  ventanas_.metodosH->LeerEn(parametros);
  ventanas_.metodosT0->LeerEn(parametros);
  ventanas_.estacion->LeerEn(parametros);
  ventanas_.autocorrelacion->LeerEn(parametros);
  MarcasMenu marcas;
  marcas.fechaHora = FechaHora1->isChecked();
  marcas.creditos = Creditos1->isChecked();
  marcas.graficaMetodo = Graficametodo1->isChecked();
  marcas.graficaAuto = Graficaauto1->isChecked();
  driver_->Entorno().separador = SeparadorDecimal();
  MenusOcupados ocupado(this);
  SeleccionAnalisis seleccion = ventanas_.series->Seleccion();
  if (comparar) seleccion.metodo = metodo::kTodos;
  GanchosQt::Operacion operacion(adaptadores_->ganchos,
                                 seleccion.metodo == metodo::kTodos
                                     ? QStringLiteral("Comparando los métodos...")
                                     : QStringLiteral("Analizando la serie..."));
  try {
    ultimo_.reset();
    const Series* actual = almacen_.Current();
    std::optional<double> hModelo;
    if (actual && actual->generada) hModelo = HDelModelo(*actual->generada);
    driver_->Entorno().referencia = Referencia(hModelo);
    ResultadoAnalisis resultado = driver_->Analizar(almacen_, seleccion, parametros, marcas);
    if (resultado.Exito() && seleccion.metodo != metodo::kNinguno && actual)
      ultimo_ = UltimoAnalisis{seleccion.metodo, std::move(resultado), actual->name,
                               actual->data.Longitud(), hModelo, marcas.graficaMetodo};
  } catch (const std::exception& error) {
    // Nothing may escape into the event loop: shown like the application's error box.
    adaptadores_->ganchos.RestaurarCursor();
    dialogos_.Mensaje(this, QString::fromUtf8(error.what()), IconoMensaje::Error);
  }
  // The busy cursor is off on every path, whatever the driver did.
  adaptadores_->ganchos.RestaurarCursor();
  ActualizarComandos();
}

std::optional<double> TFPrinc::Referencia(std::optional<double> hModelo) const {
  if (ventanas_.graficas && ventanas_.graficas->ReferenciaUsuario())
    return ventanas_.graficas->ReferenciaUsuario();
  return hModelo;
}

void TFPrinc::RedibujarComparacion() {
  if (!ultimo_ || ultimo_->metodo != metodo::kTodos || !ultimo_->grafica ||
      !adaptadores_->metodo)
    return;
  RellenarGraficaComparacion(*adaptadores_->metodo, ultimo_->resultado.metodos,
                      TituloComparacion(ultimo_->serie, ultimo_->longitud),
                      Referencia(ultimo_->hModelo), SeparadorDecimal());
}

void TFPrinc::SBAnalizarClick() { ventanas_.series->BAnalizarClick(SBAnalizar); }

// ---- dialogs and mirrors ---------------------------------------------------------------------

void TFPrinc::MetodosH1Click() { dialogos_.EjecutarModal(ventanas_.metodosH); }
void TFPrinc::MetodosT01Click() { dialogos_.EjecutarModal(ventanas_.metodosT0); }
void TFPrinc::Estacion1Click() { dialogos_.EjecutarModal(ventanas_.estacion); }
void TFPrinc::Autocorrelacion1Click() { dialogos_.EjecutarModal(ventanas_.autocorrelacion); }

void TFPrinc::Series1Click() {
  if (!Series1->isEnabled()) return;
  dialogos_.EjecutarModal(ventanas_.series);
}

void TFPrinc::CBSeriesChange() {
  ventanas_.series->CBSeries->setCurrentIndex(CBSeries->currentIndex());
  ventanas_.series->CBSeriesChange();
}

void TFPrinc::CBMetodosChange() {
  ventanas_.series->CBMetodos->setCurrentIndex(CBMetodos->currentIndex());
}

void TFPrinc::SBMediaClick() {
  ventanas_.series->ChMedia->setChecked(!ventanas_.series->ChMedia->isChecked());
}
void TFPrinc::SBVarClick() {
  ventanas_.series->ChVar->setChecked(!ventanas_.series->ChVar->isChecked());
}
void TFPrinc::SBAutoClick() {
  ventanas_.series->ChAuto->setChecked(!ventanas_.series->ChAuto->isChecked());
}

void TFPrinc::SincronizarConDialogo() {
  TFSeries* d = ventanas_.series;
  HabilitarAnalisis(d->BAnalizar->isEnabled());
  CBMetodos->setCurrentIndex(d->CBMetodos->currentIndex());
  CBSeries->clear();
  CBSeries->addItems(d->Entradas());
  CBSeries->setCurrentIndex(d->CBSeries->currentIndex());
  CBSeries->setEnabled(d->CBSeries->isEnabled());
  AjustarListaSeries();
  SBMedia->setChecked(d->ChMedia->isChecked());
  SBVar->setChecked(d->ChVar->isChecked());
  SBAuto->setChecked(d->ChAuto->isChecked());
}

void TFPrinc::MenusSeries(bool habilitar) {
  Series1->setEnabled(habilitar);
  Guardarcomo1->setEnabled(habilitar);
}

void TFPrinc::Iragraficas1Click() {
  TFGraf* graf = ventanas_.graficas;
  if (!graf) return;
  if (graf->isMinimized()) graf->showNormal();
  graf->show();
  graf->raise();
  graf->activateWindow();
  graf->FormShow();
}

void TFPrinc::Acercade1Click() {
  TFAcercade caja(this);
  dialogos_.EjecutarModal(&caja);
}

void TFPrinc::Salir1Click() { close(); }

void TFPrinc::closeEvent(QCloseEvent* evento) {
  // Generated series live only here until saved: like any program with unsaved work, ask.
  const std::vector<std::string> sinGuardar = almacen_.SinGuardar();
  if (!sinGuardar.empty()) {
    QString lista;
    for (const std::string& nombre : sinGuardar) lista += QStringLiteral("\n      ") + QString::fromStdString(nombre);
    const QString texto =
        (sinGuardar.size() == 1 ? QStringLiteral("La serie generada siguiente no se ha guardado:")
                                : QStringLiteral("Las series generadas siguientes no se han guardado:")) +
        lista + QStringLiteral("\n\n¿Salir de todos modos?");
    if (!dialogos_.Confirmar(this, texto)) {
      evento->ignore();
      return;
    }
  }
  evento->accept();
  // Closing the main window ends the program, even with the charts window open.
  if (ventanas_.graficas) ventanas_.graficas->hide();
  QCoreApplication::quit();
}
