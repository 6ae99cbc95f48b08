#include "ui/dialogos_parametros.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QShowEvent>
#include <QVBoxLayout>
#include <tuple>
#include <algorithm>
#include <string_view>

#include "app/metodos.h"
#include "ui/ayuda_campos.h"

#include "chart/qt/plot_fuentes.h"

namespace {

constexpr int kAnchoCampo = 64;

// A field's default as the dialog shows it: decimals with the regional separator, except
// the significance of the stationarity test, whose text ("0.05") is fixed by the original
// design.
QString OmisionMostrada(const DefinicionCampo& c) {
  const bool decimal = c.tipo == TipoCampo::Decimal || c.tipo == TipoCampo::ListaDecimal;
  if (!decimal || std::string_view(c.clave) == campo::ESigni) return QString::fromUtf8(c.omision);
  return ConSeparador(c.omision, SeparadorRegional());
}

QString Etiqueta(const DefinicionCampo& c) { return QString::fromUtf8(c.etiqueta); }

// Title of the page a field is on, from the parameter table.
QString PaginaDe(const char* clave) { return QString::fromUtf8(BuscarCampo(clave)->pagina); }

// Name of the method whose parameters begin with that field, from the method table.
QString MetodoDe(const char* clave) {
  for (const DefinicionMetodo& m : TablaMetodos()) {
    if (!m.campos.empty() && std::string_view(m.campos.front()) == clave)
      return QString::fromUtf8(m.nombre);
  }
  return {};
}

QWidget* Pagina(std::vector<QWidget*> hijos) {
  auto* pagina = new QWidget;
  auto* disposicion = new QVBoxLayout(pagina);
  for (QWidget* hijo : hijos) {
    // Buttons at their own width, on the left.
    if (qobject_cast<QPushButton*>(hijo))
      disposicion->addWidget(hijo, 0, Qt::AlignLeft);
    else
      disposicion->addWidget(hijo);
  }
  disposicion->addStretch(1);
  return pagina;
}

QVariant Valor(QWidget* campo) {
  if (auto* e = qobject_cast<QLineEdit*>(campo)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(campo)) return c->currentText();
  if (auto* ch = qobject_cast<QCheckBox*>(campo)) return ch->isChecked();
  if (auto* rg = qobject_cast<TRadioGroup*>(campo)) return rg->ItemIndex();
  return {};
}

// A control's value as the parameter record holds it.
std::string Texto(QWidget* campo) {
  const QVariant v = Valor(campo);
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? "1" : "0";
  if (v.typeId() == QMetaType::Int) return std::to_string(v.toInt());
  return v.toString().toStdString();
}

void Escribir(QWidget* campo, const QVariant& valor) {
  if (auto* e = qobject_cast<QLineEdit*>(campo)) e->setText(valor.toString());
  else if (auto* c = qobject_cast<QComboBox*>(campo)) c->setEditText(valor.toString());
  else if (auto* ch = qobject_cast<QCheckBox*>(campo)) ch->setChecked(valor.toBool());
  else if (auto* rg = qobject_cast<TRadioGroup*>(campo)) rg->SetItemIndex(valor.toInt());
}

}  // namespace

QWidget* NuevoControl(const DefinicionCampo& c, QWidget* padre) {
  QWidget* control = nullptr;
  QStringList entradas;
  for (const char* e : c.entradas) entradas << QString::fromUtf8(e);
  switch (c.tipo) {
    case TipoCampo::Entero:
    case TipoCampo::Decimal: {
      auto* campo = new QLineEdit(OmisionMostrada(c), padre);
      campo->setFixedWidth(kAnchoCampo);
      control = campo;
      break;
    }
    case TipoCampo::ListaEntera:
    case TipoCampo::ListaDecimal: {
      QComboBox* lista = NuevoComboEditable(padre, entradas, QString::fromUtf8(c.omision));
      lista->setFixedWidth(kAnchoCampo + 16);
      control = lista;
      break;
    }
    case TipoCampo::Casilla: {
      auto* casilla = new QCheckBox(Etiqueta(c), padre);
      casilla->setChecked(std::string_view(c.omision) == "1");
      control = casilla;
      break;
    }
    case TipoCampo::Opciones: {
      auto* grupo = new TRadioGroup(Etiqueta(c), entradas, padre);
      grupo->SetItemIndex(QString::fromUtf8(c.omision).toInt());
      control = grupo;
      break;
    }
  }
  control->setObjectName(QString::fromLatin1(c.control));
  control->setToolTip(AyudaMostrada(c));
  return control;
}

QWidget* FilaConLimites(const DefinicionCampo& c, QWidget* control) {
  if (!*c.limites) return control;
  // The field, then the values it takes in grey.
  auto* fila = new QWidget;
  auto* disposicion = new QHBoxLayout(fila);
  disposicion->setContentsMargins(0, 0, 0, 0);
  disposicion->addWidget(control);
  auto* limites = new QLabel(LimitesMostrados(c), fila);
  limites->setObjectName(QStringLiteral("Limites") + control->objectName());
  QPalette paleta = limites->palette();
  paleta.setColor(QPalette::WindowText, paleta.color(QPalette::Disabled, QPalette::WindowText));
  limites->setPalette(paleta);
  disposicion->addWidget(limites);
  disposicion->addStretch(1);
  return fila;
}

QGroupBox* GrupoGenerado(const std::vector<std::pair<const DefinicionCampo*, QWidget*>>& campos) {
  // The rows first, then the group that takes them, as GrupoCampos does.
  std::vector<std::pair<QString, QWidget*>> filas;  // no label: a row across
  for (const auto& [c, control] : campos) {
    if (c->EsTexto())
      filas.emplace_back(Etiqueta(*c), FilaConLimites(*c, control));
    else
      filas.emplace_back(QString(), control);
  }
  QGroupBox* grupo = GrupoCampos(QStringLiteral("Parámetros"), {});
  auto* formulario = static_cast<QFormLayout*>(grupo->layout());
  for (const auto& [etiqueta, fila] : filas) {
    if (etiqueta.isEmpty())
      formulario->addRow(fila);
    else
      formulario->addRow(etiqueta, fila);
  }
  return grupo;
}

TDialogoParametros::TDialogoParametros(const QString& titulo, Dialogo dialogo, QWidget* padre)
    : QDialog(padre), dialogo_(dialogo) {
  setWindowTitle(titulo);
  setFont(FuenteFenwa(11));
  for (const DefinicionCampo& c : TablaCampos()) {
    if (c.dialogo == dialogo_) campos_.emplace_back(&c, NuevoControl(c, this));
  }
  std::tie(BOK, BCancelar) = BotonesAceptarCancelar(this);
  connect(BOK, &QPushButton::clicked, this, &TDialogoParametros::BOKClick);
  connect(BCancelar, &QPushButton::clicked, this, &TDialogoParametros::BCancelarClick);
}

QWidget* TDialogoParametros::Control(const char* clave) const {
  for (const auto& [definicion, control] : campos_) {
    if (std::string_view(definicion->clave) == clave) return control;
  }
  return nullptr;
}

QLineEdit* TDialogoParametros::Edicion(const char* clave) const {
  return qobject_cast<QLineEdit*>(Control(clave));
}

QComboBox* TDialogoParametros::Lista(const char* clave) const {
  return qobject_cast<QComboBox*>(Control(clave));
}

QCheckBox* TDialogoParametros::Casilla(const char* clave) const {
  return qobject_cast<QCheckBox*>(Control(clave));
}

TRadioGroup* TDialogoParametros::Opciones(const char* clave) const {
  return qobject_cast<TRadioGroup*>(Control(clave));
}

void TDialogoParametros::LeerEn(AnalysisParameters& parametros) const {
  for (const auto& [definicion, control] : campos_) parametros[definicion->clave] = Texto(control);
}

void TDialogoParametros::Mostrar(const AnalysisParameters& parametros) {
  for (const int i : orden_) {
    const auto& [definicion, control] = campos_[static_cast<std::size_t>(i)];
    const std::string& texto = parametros[definicion->clave];
    if (definicion->EsTexto()) {
      Escribir(control, QString::fromStdString(texto));
    } else if (definicion->tipo == TipoCampo::Casilla) {
      Escribir(control, texto == "1");
    } else {
      Escribir(control, parametros.Opcion(definicion->clave));
    }
  }
}

std::vector<std::pair<QString, QWidget*>> TDialogoParametros::Filas(
    std::initializer_list<const char*> claves) const {
  std::vector<std::pair<QString, QWidget*>> filas;
  for (const char* clave : claves) {
    const DefinicionCampo& c = *BuscarCampo(clave);
    filas.emplace_back(Etiqueta(c), FilaConLimites(c, Control(clave)));
  }
  return filas;
}

void TDialogoParametros::AnadirPaginas(QTabWidget* paginas, const std::vector<PaginaAMano>& aMano) {
  // The pages in the order of their first fields, each with its fields in table order.
  std::vector<std::pair<QString, std::vector<std::pair<const DefinicionCampo*, QWidget*>>>> lista;
  for (const auto& campo : campos_) {
    const QString titulo = QString::fromUtf8(campo.first->pagina);
    auto p = std::find_if(lista.begin(), lista.end(),
                          [&titulo](const auto& pagina) { return pagina.first == titulo; });
    if (p == lista.end()) p = lista.insert(lista.end(), {titulo, {}});
    p->second.push_back(campo);
  }
  for (const auto& [titulo, campos] : lista) {
    auto hecha = std::find_if(aMano.begin(), aMano.end(), [&titulo](const PaginaAMano& a) {
      return PaginaDe(a.first) == titulo;
    });
    QWidget* pagina = hecha != aMano.end()
                          ? hecha->second()
                          : Pagina({GrupoGenerado(campos), BotonOmision(titulo)});
    paginas->addTab(pagina, titulo);
  }
}

QPushButton* TDialogoParametros::BotonOmision(const QString& pagina) {
  auto* boton = new QPushButton(QStringLiteral("Valores por omisión"));
  boton->setObjectName(QStringLiteral("BOmision"));
  boton->setAutoDefault(false);
  boton->setToolTip(QStringLiteral("Devuelve los campos de esta página a sus valores por omisión"));
  connect(boton, &QPushButton::clicked, this, [this, pagina] { ValoresPorOmision(pagina); });
  return boton;
}

void TDialogoParametros::ValoresPorOmision(const QString& pagina) {
  for (const int i : orden_) {
    const auto& [definicion, control] = campos_[static_cast<std::size_t>(i)];
    if (QString::fromUtf8(definicion->pagina) != pagina) continue;
    if (definicion->EsTexto())
      Escribir(control, OmisionMostrada(*definicion));
    else if (definicion->tipo == TipoCampo::Casilla)
      Escribir(control, std::string_view(definicion->omision) == "1");
    else
      Escribir(control, QString::fromUtf8(definicion->omision).toInt());
  }
}

void TDialogoParametros::OrdenRestauracion(std::vector<int> orden) { orden_ = std::move(orden); }

void TDialogoParametros::Terminar(QWidget* cuerpo) {
  if (orden_.empty()) {
    for (int i = 0; i < static_cast<int>(campos_.size()); ++i) orden_.push_back(i);
  }
  auto* botones = new QHBoxLayout;
  botones->addStretch(1);
  botones->addWidget(BOK);
  botones->addWidget(BCancelar);
  auto* disposicion = new QVBoxLayout(this);
  disposicion->addWidget(cuerpo);
  disposicion->addLayout(botones);
  disposicion->setSizeConstraint(QLayout::SetFixedSize);  // fixed dialog border
  // Keyboard order: every field in reading order, then the two buttons.
  QWidget* anterior = nullptr;
  auto encadenar = [&anterior](QWidget* w) {
    if (anterior) QWidget::setTabOrder(anterior, w);
    anterior = w;
  };
  for (const auto& [definicion, control] : campos_) {
    if (auto* grupo = qobject_cast<TRadioGroup*>(control)) {
      for (int i = 0; grupo->Boton(i); ++i) encadenar(grupo->Boton(i));
    } else {
      encadenar(control);
    }
  }
  encadenar(BOK);
  encadenar(BCancelar);
}

void TDialogoParametros::FormShow() {
  copia_.clear();
  for (const auto& campo : campos_) copia_.push_back(Valor(campo.second));
}

void TDialogoParametros::BOKClick() { accept(); }

void TDialogoParametros::BCancelarClick() { reject(); }

void TDialogoParametros::reject() {
  if (copia_.size() == campos_.size()) {
    for (const int i : orden_) {
      Escribir(campos_[static_cast<std::size_t>(i)].second, copia_[static_cast<std::size_t>(i)]);
    }
  }
  QDialog::reject();
}

void TDialogoParametros::EnfocarPrimerCampo() {
  // The first field of the page on show that can take the focus.
  for (const auto& campo : campos_) {
    QWidget* w = campo.second;
    if (auto* grupo = qobject_cast<TRadioGroup*>(w)) {
      const int i = std::max(grupo->ItemIndex(), 0);
      w = grupo->Boton(i);
    }
    if (w && w->isVisibleTo(this) && w->isEnabled()) {
      w->setFocus(Qt::TabFocusReason);
      if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
      return;
    }
  }
}

void TDialogoParametros::showEvent(QShowEvent* evento) {
  if (!evento->spontaneous()) FormShow();
  QDialog::showEvent(evento);
  if (!evento->spontaneous()) EnfocarPrimerCampo();
}

void TDialogoParametros::closeEvent(QCloseEvent* evento) {
  // The close box keeps the values, like "Aceptar".
  if (isVisible()) accept();
  evento->accept();
}

// ---------------------------------------------------------------------------------------------

TFMetodosH::TFMetodosH(QWidget* padre)
    : TDialogoParametros(QStringLiteral("Métodos H"), Dialogo::MetodosH, padre) {
  setObjectName(QStringLiteral("TFMetodosH"));
  PageControl = new QTabWidget;
  EMind = Edicion(campo::EMind);
  EMinRS = Edicion(campo::EMinRS);
  EBloques = Edicion(campo::EBloques);
  EDecadaRS = Edicion(campo::EDecadaRS);
  EMinm = Edicion(campo::EMinm);
  EMinVar = Edicion(campo::EMinVar);
  EDecadaVar = Edicion(campo::EDecadaVar);
  ChLineal = Casilla(campo::ChLineal);
  EMinmDif = Edicion(campo::EMinmDif);
  EMinVarDif = Edicion(campo::EMinVarDif);
  EDecadaVarDif = Edicion(campo::EDecadaVarDif);
  ChMismos = Casilla(campo::ChMismos);
  CBPorcentaje = Lista(campo::CBPorcentaje);
  RGModelo = Opciones(campo::RGModelo);
  RGDensidad = Opciones(campo::RGDensidad);
  EOrdenp = Edicion(campo::EOrdenp);
  EOrdenq = Edicion(campo::EOrdenq);
  CBFactor = Lista(campo::CBFactor);
  CBNivel = Lista(campo::CBNivel);
  EMomentosOnd = Edicion(campo::EMomentosOnd);
  EOctavaIni = Edicion(campo::EOctavaIni);
  EOctavaFin = Edicion(campo::EOctavaFin);
  EOrdenDFA = Edicion(campo::EOrdenDFA);
  EMinCaja = Edicion(campo::EMinCaja);
  EDecadaDFA = Edicion(campo::EDecadaDFA);
  EMinmMom = Edicion(campo::EMinmMom);
  EMinBloquesMom = Edicion(campo::EMinBloquesMom);
  EDecadaMom = Edicion(campo::EDecadaMom);
  EKMax = Edicion(campo::EKMax);
  EDecadaHig = Edicion(campo::EDecadaHig);
  EExponenteGPH = Edicion(campo::EExponenteGPH);
  AnadirPaginas(PageControl, {{campo::RGModelo, [this] { return PaginaWhittle(); }}});
  PageControl->setCurrentIndex(0);

  // Every page at a glance: a list of the methods beside the page instead of the tabs.
  LMetodos = new QListWidget;
  LMetodos->setObjectName(QStringLiteral("LMetodos"));
  for (int i = 0; i < PageControl->count(); ++i) LMetodos->addItem(PageControl->tabText(i));
  LMetodos->setCurrentRow(0);
  LMetodos->setFixedWidth(LMetodos->sizeHintForColumn(0) + 2 * LMetodos->frameWidth() + 12);
  PageControl->tabBar()->hide();
  connect(LMetodos, &QListWidget::currentRowChanged, PageControl, &QTabWidget::setCurrentIndex);
  connect(PageControl, &QTabWidget::currentChanged, LMetodos,
          [this](int pagina) { LMetodos->setCurrentRow(pagina); });
  auto* cuerpo = new QWidget;
  auto* lado = new QHBoxLayout(cuerpo);
  lado->setContentsMargins(0, 0, 0, 0);
  lado->addWidget(LMetodos);
  lado->addWidget(PageControl, 1);

  connect(ChMismos, &QCheckBox::toggled, this, &TFMetodosH::ChMismosClick);
  connect(RGModelo, &TRadioGroup::Click, this, &TFMetodosH::RGModeloClick);
  ChMismosClick();
  RGModeloClick();
  Terminar(cuerpo);
}

// The three Whittle methods share a page: Whittle Estándar with its model and ARMA orders
// on top, Whittle Local and Whittle Agregado side by side below, the FGN density of the
// first and the last across the bottom.
QWidget* TFMetodosH::PaginaWhittle() {
  auto* estandar = new QGroupBox(MetodoDe(campo::RGModelo));
  auto* disposicion = new QHBoxLayout(estandar);
  disposicion->addWidget(RGModelo);
  disposicion->addWidget(
      GrupoCampos(QStringLiteral("Órdenes ARMA"), Filas({campo::EOrdenp, campo::EOrdenq})));
  auto* local = GrupoCampos(MetodoDe(campo::CBFactor), Filas({campo::CBFactor}));
  auto* agregado = GrupoCampos(MetodoDe(campo::CBNivel), Filas({campo::CBNivel}));
  auto* pagina = new QWidget;
  auto* rejilla = new QGridLayout(pagina);
  rejilla->addWidget(estandar, 0, 0, 1, 2);
  rejilla->addWidget(local, 1, 0);
  rejilla->addWidget(agregado, 1, 1);
  rejilla->addWidget(RGDensidad, 2, 0, 1, 2);
  rejilla->addWidget(BotonOmision(PaginaDe(campo::RGModelo)), 3, 0, 1, 2, Qt::AlignLeft);
  rejilla->setRowStretch(4, 1);
  return pagina;
}

void TFMetodosH::ChMismosClick() {
  const bool propios = !ChMismos->isChecked();
  EMinmDif->setEnabled(propios);
  EMinVarDif->setEnabled(propios);
  EDecadaVarDif->setEnabled(propios);
}

void TFMetodosH::RGModeloClick() {
  const bool farima = RGModelo->ItemIndex() == 1;
  EOrdenp->setEnabled(farima);
  EOrdenq->setEnabled(farima);
}

// ---------------------------------------------------------------------------------------------

TFMetodosT0::TFMetodosT0(QWidget* padre)
    : TDialogoParametros(QStringLiteral("Métodos T0"), Dialogo::MetodosT0, padre) {
  setObjectName(QStringLiteral("TFMetodosT0"));
  PageControl = new QTabWidget;
  EInicial = Edicion(campo::EInicial);
  EFinal = Edicion(campo::EFinal);
  EDecada = Edicion(campo::EDecada);
  AnadirPaginas(PageControl);
  Terminar(PageControl);
}

// ---------------------------------------------------------------------------------------------

const char* const TFEstacion::kLineasAyuda[21] = {
    "    Este método se basa en el uso conjunto de dos ",
    "métodos de estimación del parámetro H: el de la ",
    "varianza y el de la varianza diferenciada.",
    "    Para aplicarlo seleccione la pestaña 'Varianza' ",
    "en la opción 'Estacionariedad' del menú 'Métodos'. ",
    "Marque la casilla para la comprobación de la ",
    "estacionariedad e introduzca un valor bajo para el ",
    "mínimo valor del eje m (p.e. m=1). Cierre la ",
    "ventana, seleccione el método de la varianza en la ",
    "lista de métodos y pulse el botón 'Analizar'.",
    "    En los resultados se informará de si existen ",
    "desplazamientos en la media de la serie o bien ",
    "tendencias lentamente decrecientes.",
    "    Si es así, podrá comprobar que la gráfica del ",
    "método (menú 'Gráficas', opción 'Ir a gráficas') ",
    "tiene un aspecto exponencial.",
    "    En ese caso, el valor del parámetro H ",
    "presentado en los resultados no tendrá sentido. ",
    "Puede obtener un valor no muy exacto de H ",
    "aplicando el método de la varianza diferenciada, ",
    "con un valor mínimo del eje m no demasiado bajo."};

TFEstacion::TFEstacion(QWidget* padre)
    : TDialogoParametros(QStringLiteral("Estacionariedad"), Dialogo::Estacion, padre) {
  setObjectName(QStringLiteral("TFEstacion"));
  PageControl = new QTabWidget;
  EBloques = Edicion(campo::EstacionEBloques);
  ESigni = Edicion(campo::ESigni);
  AnadirPaginas(PageControl);
  MAyuda = new QPlainTextEdit;
  MAyuda->setObjectName(QStringLiteral("MAyuda"));
  MAyuda->setReadOnly(true);
  MAyuda->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  MAyuda->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MAyuda->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QStringList lineas;
  for (const char* linea : kLineasAyuda) lineas << QString::fromUtf8(linea);
  MAyuda->setPlainText(lineas.join(QLatin1Char('\n')));
  MAyuda->setMinimumSize(340, 180);
  PageControl->addTab(Pagina({MAyuda}), QStringLiteral("Varianza y Var. Diferenciada"));
  PageControl->setCurrentIndex(0);
  Terminar(PageControl);
}

// ---------------------------------------------------------------------------------------------

TFAuto::TFAuto(QWidget* padre)
    : TDialogoParametros(QStringLiteral("Autocorrelación"), Dialogo::Autocorrelacion, padre) {
  setObjectName(QStringLiteral("TFAuto"));
  RGSesgo = Opciones(campo::RGSesgo);
  EPuntos = Edicion(campo::EPuntos);
  ChLongitud = Casilla(campo::ChLongitud);
  ChGuardar = Casilla(campo::ChGuardar);

  // The number of points alone in a group titled with its label.
  const auto [etiqueta, fila] = Filas({campo::EPuntos}).front();
  auto* puntos = new QGroupBox(etiqueta);
  auto* disposicionPuntos = new QVBoxLayout(puntos);
  disposicionPuntos->addWidget(fila);
  disposicionPuntos->addWidget(ChLongitud);

  auto* cuerpo = new QWidget;
  auto* rejilla = new QGridLayout(cuerpo);
  rejilla->setContentsMargins(0, 0, 0, 0);
  rejilla->addWidget(RGSesgo, 0, 0);
  rejilla->addWidget(puntos, 0, 1);
  rejilla->addWidget(ChGuardar, 1, 0, 1, 2);

  connect(ChLongitud, &QCheckBox::toggled, this, &TFAuto::ChLongitudClick);
  ChLongitudClick();
  // Fields in table order RGSesgo, EPuntos, ChLongitud, ChGuardar; restored as RGSesgo,
  // ChLongitud, EPuntos, ChGuardar.
  OrdenRestauracion({0, 2, 1, 3});
  Terminar(cuerpo);
}

void TFAuto::ChLongitudClick() { EPuntos->setEnabled(!ChLongitud->isChecked()); }
