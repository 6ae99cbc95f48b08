#include "ui/dialogos_parametros.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include "chart/qt/fuentes.h"

namespace {

constexpr int kAnchoCampo = 64;

QLineEdit* NuevoCampo(QWidget* padre, const QString& texto, const char* nombre) {
  auto* campo = new QLineEdit(texto, padre);
  campo->setObjectName(QString::fromLatin1(nombre));
  campo->setFixedWidth(kAnchoCampo);
  return campo;
}

// A group box with labelled fields, one per row.
QGroupBox* GrupoCampos(const QString& titulo, const std::vector<std::pair<QString, QWidget*>>& filas) {
  auto* grupo = new QGroupBox(titulo);
  auto* formulario = new QFormLayout(grupo);
  formulario->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  formulario->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (const auto& [etiqueta, campo] : filas) formulario->addRow(etiqueta, campo);
  return grupo;
}

QWidget* Pagina(std::vector<QWidget*> hijos) {
  auto* pagina = new QWidget;
  auto* disposicion = new QVBoxLayout(pagina);
  for (QWidget* hijo : hijos) disposicion->addWidget(hijo);
  disposicion->addStretch(1);
  return pagina;
}

QString Q(const std::string& texto) { return QString::fromStdString(texto); }
std::string S(const QLineEdit* campo) { return campo->text().toStdString(); }
std::string S(const QComboBox* campo) { return campo->currentText().toStdString(); }

QStringList Lista(const std::vector<std::string>& elementos) {
  QStringList lista;
  for (const auto& e : elementos) lista << Q(e);
  return lista;
}

QVariant Valor(QWidget* campo) {
  if (auto* e = qobject_cast<QLineEdit*>(campo)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(campo)) return c->currentText();
  if (auto* ch = qobject_cast<QCheckBox*>(campo)) return ch->isChecked();
  if (auto* rg = qobject_cast<TRadioGroup*>(campo)) return rg->ItemIndex();
  return {};
}

void Escribir(QWidget* campo, const QVariant& valor) {
  if (auto* e = qobject_cast<QLineEdit*>(campo)) e->setText(valor.toString());
  else if (auto* c = qobject_cast<QComboBox*>(campo)) c->setEditText(valor.toString());
  else if (auto* ch = qobject_cast<QCheckBox*>(campo)) ch->setChecked(valor.toBool());
  else if (auto* rg = qobject_cast<TRadioGroup*>(campo)) rg->SetItemIndex(valor.toInt());
}

}  // namespace

TDialogoParametros::TDialogoParametros(const QString& titulo, QWidget* padre) : QDialog(padre) {
  setWindowTitle(titulo);
  setFont(FuenteFenwa(11));
  BOK = new QPushButton(QStringLiteral("Aceptar"), this);
  BOK->setObjectName(QStringLiteral("BOK"));
  BOK->setDefault(true);
  BCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  BCancelar->setObjectName(QStringLiteral("BCancelar"));
  BCancelar->setAutoDefault(false);
  connect(BOK, &QPushButton::clicked, this, &TDialogoParametros::BOKClick);
  connect(BCancelar, &QPushButton::clicked, this, &TDialogoParametros::BCancelarClick);
}

void TDialogoParametros::Campos(std::vector<QWidget*> campos, std::vector<int> orden) {
  campos_ = std::move(campos);
  if (orden.empty())
    for (int i = 0; i < static_cast<int>(campos_.size()); ++i) orden.push_back(i);
  orden_ = std::move(orden);
}

void TDialogoParametros::Terminar(QWidget* cuerpo) {
  auto* botones = new QHBoxLayout;
  botones->addStretch(1);
  botones->addWidget(BOK);
  botones->addWidget(BCancelar);
  auto* disposicion = new QVBoxLayout(this);
  disposicion->addWidget(cuerpo);
  disposicion->addLayout(botones);
  disposicion->setSizeConstraint(QLayout::SetFixedSize);  // fixed dialog border
}

void TDialogoParametros::FormShow() {
  copia_.clear();
  for (QWidget* campo : campos_) copia_.push_back(Valor(campo));
}

void TDialogoParametros::BOKClick() { accept(); }

void TDialogoParametros::BCancelarClick() { reject(); }

void TDialogoParametros::reject() {
  if (copia_.size() == campos_.size())
    for (int i : orden_) Escribir(campos_[i], copia_[i]);
  QDialog::reject();
}

void TDialogoParametros::showEvent(QShowEvent* evento) {
  if (!evento->spontaneous()) FormShow();
  QDialog::showEvent(evento);
}

void TDialogoParametros::closeEvent(QCloseEvent* evento) {
  // The close box keeps the values, like "Aceptar".
  if (isVisible()) accept();
  evento->accept();
}

// ---------------------------------------------------------------------------------------------

TFMetodosH::TFMetodosH(QWidget* padre) : TDialogoParametros(QStringLiteral("Métodos H"), padre) {
  setObjectName(QStringLiteral("TFMetodosH"));
  PageControl = new QTabWidget;

  EMind = NuevoCampo(this, QStringLiteral("10"), "EMind");
  EMinRS = NuevoCampo(this, QStringLiteral("4"), "EMinRS");
  EBloques = NuevoCampo(this, QStringLiteral("8"), "EBloques");
  EDecadaRS = NuevoCampo(this, QStringLiteral("6"), "EDecadaRS");
  PageControl->addTab(Pagina({GrupoCampos(QStringLiteral("Parámetros"),
                                          {{QStringLiteral("Mínimo valor del eje d:"), EMind},
                                           {QStringLiteral("Mínimo nº muestras R/S:"), EMinRS},
                                           {QStringLiteral("Número de bloques:"), EBloques},
                                           {QStringLiteral("Número de puntos por década:"), EDecadaRS}})}),
                      QStringLiteral("R/S"));

  EMinm = NuevoCampo(this, QStringLiteral("10"), "EMinm");
  EMinVar = NuevoCampo(this, QStringLiteral("20"), "EMinVar");
  EDecadaVar = NuevoCampo(this, QStringLiteral("6"), "EDecadaVar");
  ChLineal = new QCheckBox(
      QStringLiteral("Comprobar si log (Var) vs. log (m) es no lineal (no estacionariedad)"));
  ChLineal->setObjectName(QStringLiteral("ChLineal"));
  {
    auto* grupo = GrupoCampos(QStringLiteral("Parámetros"),
                              {{QStringLiteral("Mínimo valor del eje m:"), EMinm},
                               {QStringLiteral("Mínimo nº muestras para la varianza:"), EMinVar},
                               {QStringLiteral("Número de puntos por década:"), EDecadaVar}});
    static_cast<QFormLayout*>(grupo->layout())->addRow(ChLineal);
    PageControl->addTab(Pagina({grupo}), QStringLiteral("Varianza"));
  }

  EMinmDif = NuevoCampo(this, QStringLiteral("5"), "EMinmDif");
  EMinVarDif = NuevoCampo(this, QStringLiteral("20"), "EMinVarDif");
  EDecadaVarDif = NuevoCampo(this, QStringLiteral("6"), "EDecadaVarDif");
  ChMismos = new QCheckBox(QStringLiteral("Mismos parámetros que el método de la varianza"));
  ChMismos->setObjectName(QStringLiteral("ChMismos"));
  {
    auto* grupo = GrupoCampos(QStringLiteral("Parámetros"),
                              {{QStringLiteral("Mínimo valor del eje m:"), EMinmDif},
                               {QStringLiteral("Mínimo nº muestras para la varianza:"), EMinVarDif},
                               {QStringLiteral("Número de puntos por década:"), EDecadaVarDif}});
    static_cast<QFormLayout*>(grupo->layout())->addRow(ChMismos);
    PageControl->addTab(Pagina({grupo}), QStringLiteral("Var. Diferenciada"));
  }

  CBPorcentaje = NuevoComboEditable(this, Lista(kListaPorcentaje), QString());
  CBPorcentaje->setObjectName(QStringLiteral("CBPorcentaje"));
  CBPorcentaje->setFixedWidth(kAnchoCampo + 16);
  PageControl->addTab(
      Pagina({GrupoCampos(QStringLiteral("Parámetros"),
                          {{QStringLiteral("Porcentaje de frecuencias (%):"), CBPorcentaje}})}),
      QStringLiteral("Periodograma"));

  RGModelo = new TRadioGroup(QStringLiteral("Modelo fractal"),
                             {QStringLiteral("Ruido Frac. Gaussiano (FGN)"),
                              QStringLiteral("FARIMA (p, d, q)")});
  RGModelo->setObjectName(QStringLiteral("RGModelo"));
  RGModelo->SetItemIndex(0);
  EOrdenp = NuevoCampo(this, QStringLiteral("0"), "EOrdenp");
  EOrdenq = NuevoCampo(this, QStringLiteral("0"), "EOrdenq");
  CBFactor = NuevoComboEditable(this, Lista(kListaFactor), QString());
  CBFactor->setObjectName(QStringLiteral("CBFactor"));
  CBFactor->setFixedWidth(kAnchoCampo + 16);
  CBNivel = NuevoComboEditable(this, Lista(kListaNivel), QString());
  CBNivel->setObjectName(QStringLiteral("CBNivel"));
  CBNivel->setFixedWidth(kAnchoCampo + 16);
  {
    auto* estandar = new QGroupBox(QStringLiteral("Whittle Estándar"));
    auto* disposicion = new QHBoxLayout(estandar);
    disposicion->addWidget(RGModelo);
    disposicion->addWidget(GrupoCampos(QStringLiteral("Órdenes ARMA"),
                                       {{QStringLiteral("Orden AR (p):"), EOrdenp},
                                        {QStringLiteral("Orden MA (q):"), EOrdenq}}));
    auto* local = GrupoCampos(QStringLiteral("Whittle Local"), {{QStringLiteral("Factor m:"), CBFactor}});
    auto* agregado = GrupoCampos(QStringLiteral("Whittle Agregado"),
                                 {{QStringLiteral("Nivel de agregación:"), CBNivel}});
    auto* pagina = new QWidget;
    auto* rejilla = new QGridLayout(pagina);
    rejilla->addWidget(estandar, 0, 0, 1, 2);
    rejilla->addWidget(local, 1, 0);
    rejilla->addWidget(agregado, 1, 1);
    rejilla->setRowStretch(2, 1);
    PageControl->addTab(pagina, QStringLiteral("Whittle"));
  }
  PageControl->setCurrentIndex(0);

  connect(ChMismos, &QCheckBox::toggled, this, &TFMetodosH::ChMismosClick);
  connect(RGModelo, &TRadioGroup::Click, this, &TFMetodosH::RGModeloClick);
  AsignarValores(ParametrosMetodosH{});
  ChMismosClick();
  RGModeloClick();

  Campos({EMind, EMinRS, EBloques, EDecadaRS, EMinm, EMinVar, EDecadaVar, ChLineal, EMinmDif,
          EMinVarDif, EDecadaVarDif, ChMismos, CBPorcentaje, RGModelo, EOrdenp, EOrdenq, CBFactor,
          CBNivel});
  Terminar(PageControl);
}

ParametrosMetodosH TFMetodosH::Valores() const {
  ParametrosMetodosH v;
  v.EMind = S(EMind);
  v.EMinRS = S(EMinRS);
  v.EBloques = S(EBloques);
  v.EDecadaRS = S(EDecadaRS);
  v.EMinm = S(EMinm);
  v.EMinVar = S(EMinVar);
  v.EDecadaVar = S(EDecadaVar);
  v.ChLineal = ChLineal->isChecked();
  v.EMinmDif = S(EMinmDif);
  v.EMinVarDif = S(EMinVarDif);
  v.EDecadaVarDif = S(EDecadaVarDif);
  v.ChMismos = ChMismos->isChecked();
  v.CBPorcentaje = S(CBPorcentaje);
  v.RGModelo = RGModelo->ItemIndex();
  v.EOrdenp = S(EOrdenp);
  v.EOrdenq = S(EOrdenq);
  v.CBFactor = S(CBFactor);
  v.CBNivel = S(CBNivel);
  return v;
}

void TFMetodosH::AsignarValores(const ParametrosMetodosH& v) {
  EMind->setText(Q(v.EMind));
  EMinRS->setText(Q(v.EMinRS));
  EBloques->setText(Q(v.EBloques));
  EDecadaRS->setText(Q(v.EDecadaRS));
  EMinm->setText(Q(v.EMinm));
  EMinVar->setText(Q(v.EMinVar));
  EDecadaVar->setText(Q(v.EDecadaVar));
  ChLineal->setChecked(v.ChLineal);
  EMinmDif->setText(Q(v.EMinmDif));
  EMinVarDif->setText(Q(v.EMinVarDif));
  EDecadaVarDif->setText(Q(v.EDecadaVarDif));
  ChMismos->setChecked(v.ChMismos);
  CBPorcentaje->setEditText(Q(v.CBPorcentaje));
  RGModelo->SetItemIndex(v.RGModelo);
  EOrdenp->setText(Q(v.EOrdenp));
  EOrdenq->setText(Q(v.EOrdenq));
  CBFactor->setEditText(Q(v.CBFactor));
  CBNivel->setEditText(Q(v.CBNivel));
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
    : TDialogoParametros(QStringLiteral("Métodos T0"), padre) {
  setObjectName(QStringLiteral("TFMetodosT0"));
  PageControl = new QTabWidget;
  EInicial = NuevoCampo(this, QStringLiteral("0"), "EInicial");
  EFinal = NuevoCampo(this, QStringLiteral("0"), "EFinal");
  EDecada = NuevoCampo(this, QStringLiteral("2"), "EDecada");
  PageControl->addTab(
      Pagina({GrupoCampos(QStringLiteral("Parámetros"),
                          {{QStringLiteral("Escala de tiempos inicial (seg.):"), EInicial},
                           {QStringLiteral("Escala de tiempos final (seg.):"), EFinal},
                           {QStringLiteral("Número de puntos por década:"), EDecada}})}),
      QStringLiteral("IDC"));
  AsignarValores(ParametrosMetodosT0{});
  Campos({EInicial, EFinal, EDecada});
  Terminar(PageControl);
}

ParametrosMetodosT0 TFMetodosT0::Valores() const { return {S(EInicial), S(EFinal), S(EDecada)}; }

void TFMetodosT0::AsignarValores(const ParametrosMetodosT0& v) {
  EInicial->setText(Q(v.EInicial));
  EFinal->setText(Q(v.EFinal));
  EDecada->setText(Q(v.EDecada));
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
    : TDialogoParametros(QStringLiteral("Estacionariedad"), padre) {
  setObjectName(QStringLiteral("TFEstacion"));
  PageControl = new QTabWidget;
  EBloques = NuevoCampo(this, QStringLiteral("10"), "EBloques");
  ESigni = NuevoCampo(this, QStringLiteral("0.05"), "ESigni");
  PageControl->addTab(Pagina({GrupoCampos(QStringLiteral("Parámetros"),
                                          {{QStringLiteral("Número de bloques:"), EBloques},
                                           {QStringLiteral("Significancia:"), ESigni}})}),
                      QStringLiteral("Test T"));
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
  AsignarValores(ParametrosEstacion{});
  Campos({EBloques, ESigni});
  Terminar(PageControl);
}

ParametrosEstacion TFEstacion::Valores() const { return {S(EBloques), S(ESigni)}; }

void TFEstacion::AsignarValores(const ParametrosEstacion& v) {
  EBloques->setText(Q(v.EBloques));
  ESigni->setText(Q(v.ESigni));
}

// ---------------------------------------------------------------------------------------------

TFAuto::TFAuto(QWidget* padre) : TDialogoParametros(QStringLiteral("Autocorrelación"), padre) {
  setObjectName(QStringLiteral("TFAuto"));
  RGSesgo = new TRadioGroup(QStringLiteral("Sesgo"),
                            {QStringLiteral("Sesgada"), QStringLiteral("Insesgada")});
  RGSesgo->setObjectName(QStringLiteral("RGSesgo"));
  RGSesgo->SetItemIndex(0);
  EPuntos = NuevoCampo(this, QStringLiteral("100"), "EPuntos");
  ChLongitud = new QCheckBox(QStringLiteral("Longitud de la serie"));
  ChLongitud->setObjectName(QStringLiteral("ChLongitud"));
  ChGuardar = new QCheckBox(QStringLiteral("Guardar en fichero (*.atc)"));
  ChGuardar->setObjectName(QStringLiteral("ChGuardar"));
  ChGuardar->setChecked(true);

  auto* puntos = new QGroupBox(QStringLiteral("Número de puntos"));
  auto* disposicionPuntos = new QVBoxLayout(puntos);
  disposicionPuntos->addWidget(EPuntos);
  disposicionPuntos->addWidget(ChLongitud);

  auto* cuerpo = new QWidget;
  auto* rejilla = new QGridLayout(cuerpo);
  rejilla->setContentsMargins(0, 0, 0, 0);
  rejilla->addWidget(RGSesgo, 0, 0);
  rejilla->addWidget(puntos, 0, 1);
  rejilla->addWidget(ChGuardar, 1, 0, 1, 2);

  connect(ChLongitud, &QCheckBox::toggled, this, &TFAuto::ChLongitudClick);
  AsignarValores(ParametrosAuto{});
  ChLongitudClick();
  // Snapshot order: RGSesgo, EPuntos, ChLongitud, ChGuardar; restored as
  // RGSesgo, ChLongitud, EPuntos, ChGuardar.
  Campos({RGSesgo, EPuntos, ChLongitud, ChGuardar}, {0, 2, 1, 3});
  Terminar(cuerpo);
}

ParametrosAuto TFAuto::Valores() const {
  ParametrosAuto v;
  v.RGSesgo = RGSesgo->ItemIndex();
  v.EPuntos = S(EPuntos);
  v.ChLongitud = ChLongitud->isChecked();
  v.ChGuardar = ChGuardar->isChecked();
  return v;
}

void TFAuto::AsignarValores(const ParametrosAuto& v) {
  RGSesgo->SetItemIndex(v.RGSesgo);
  ChLongitud->setChecked(v.ChLongitud);
  EPuntos->setText(Q(v.EPuntos));
  ChGuardar->setChecked(v.ChGuardar);
}

void TFAuto::ChLongitudClick() { EPuntos->setEnabled(!ChLongitud->isChecked()); }
