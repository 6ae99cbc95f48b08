#include "ui/dialogo_series.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QAbstractItemView>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/analisis.h"
#include "app/metodos.h"
#include "chart/qt/plot_fuentes.h"
#include "ui/controles.h"
#include "ui/dialogos.h"

QStringList ListaMetodos() {
  QStringList lista;
  for (const std::string& metodo : NombresMetodos()) lista << QString::fromStdString(metodo);
  lista << QString::fromUtf8(metodo::kTodos);
  return lista;
}

TFSeries::TFSeries(SeriesStore& almacen, PlatformDialogs& dialogos, QWidget* padre)
    : QDialog(padre), almacen_(almacen), dialogos_(dialogos) {
  setObjectName(QStringLiteral("TFSeries"));
  setWindowTitle(QStringLiteral("Series"));
  setFont(FuenteFenwa(11));

  CBSeries = NuevaListaDesplegable(this, 150);
  CBSeries->setObjectName(QStringLiteral("CBSeries"));
  CBMetodos = NuevaListaDesplegable(this, 150);
  CBMetodos->setObjectName(QStringLiteral("CBMetodos"));
  CBMetodos->addItems(ListaMetodos());
  CBMetodos->setCurrentIndex(CBMetodos->findText(QString::fromUtf8(metodo::kNinguno)));  // FormCreate

  ChMedia = new QCheckBox(QStringLiteral("Media"), this);
  ChMedia->setObjectName(QStringLiteral("ChMedia"));
  ChMedia->setChecked(true);
  ChVar = new QCheckBox(QStringLiteral("Varianza"), this);
  ChVar->setObjectName(QStringLiteral("ChVar"));
  ChVar->setChecked(true);
  ChAuto = new QCheckBox(QStringLiteral("Autocorrelación"), this);
  ChAuto->setObjectName(QStringLiteral("ChAuto"));

  auto boton = [this](const QString& texto, const char* nombre) {
    auto* b = new QPushButton(texto, this);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setAutoDefault(false);
    return b;
  };
  BAnalizar = boton(QStringLiteral("Analizar"), "BAnalizar");
  BRenombrar = boton(QStringLiteral("Renombrar"), "BRenombrar");
  BEliminar = boton(QStringLiteral("Eliminar"), "BEliminar");
  BOK = boton(QStringLiteral("Aceptar"), "BOK");
  BOK->setDefault(true);
  BCancelar = boton(QStringLiteral("Cancelar"), "BCancelar");
  HabilitarControlesSeries(false);

  auto* estadisticos = new QGroupBox(QStringLiteral("Estadísticos a calcular"), this);
  auto* disposicionEst = new QVBoxLayout(estadisticos);
  disposicionEst->addWidget(ChMedia);
  disposicionEst->addWidget(ChVar);
  disposicionEst->addWidget(ChAuto);

  // One group: the two lists on the left, the statistics on the right, the three series
  // buttons along the bottom.
  auto* grupo = new QGroupBox(this);
  auto* rejilla = new QGridLayout(grupo);
  auto* listas = new QVBoxLayout;
  listas->addWidget(new QLabel(QStringLiteral("Serie elegida:"), grupo));
  listas->addWidget(CBSeries);
  listas->addSpacing(6);
  listas->addWidget(new QLabel(QStringLiteral("Método a aplicar:"), grupo));
  listas->addWidget(CBMetodos);
  listas->addStretch(1);
  rejilla->addLayout(listas, 0, 0);
  rejilla->addWidget(estadisticos, 0, 1);
  auto* acciones = new QHBoxLayout;
  acciones->addWidget(BAnalizar);
  acciones->addWidget(BRenombrar);
  acciones->addWidget(BEliminar);
  rejilla->setRowStretch(1, 1);
  rejilla->addLayout(acciones, 2, 0, 1, 2);

  auto* botones = new QHBoxLayout;
  botones->addStretch(1);
  botones->addWidget(BOK);
  botones->addWidget(BCancelar);
  auto* disposicion = new QVBoxLayout(this);
  disposicion->addWidget(grupo, 1);
  disposicion->addLayout(botones);
  // Fixed frame of 367 x 247 (grown only if the fonts need more room).
  const QSize tamano = sizeHint().expandedTo(QSize(367, 247));
  setFixedSize(tamano);
  move(138, 141);

  connect(CBSeries, &QComboBox::activated, this, [this] { CBSeriesChange(); });
  // A name too long for the list is elided there; its hint and the open list show it whole.
  connect(CBSeries, &QComboBox::currentTextChanged, this, [this](const QString& nombre) {
    CBSeries->setToolTip(nombre);
    CBSeries->view()->setMinimumWidth(AnchoParaEntradas(CBSeries, 150, 1000));
  });
  connect(BRenombrar, &QPushButton::clicked, this, &TFSeries::BRenombrarClick);
  connect(BEliminar, &QPushButton::clicked, this, &TFSeries::BEliminarClick);
  connect(BOK, &QPushButton::clicked, this, &TFSeries::BOKClick);
  connect(BCancelar, &QPushButton::clicked, this, &TFSeries::BCancelarClick);
  connect(BAnalizar, &QPushButton::clicked, this, [this] { BAnalizarClick(BAnalizar); });
}

void TFSeries::HabilitarControlesSeries(bool habilitar) {
  BAnalizar->setEnabled(habilitar);
  BRenombrar->setEnabled(habilitar);
  BEliminar->setEnabled(habilitar);
  CBSeries->setEnabled(habilitar);
}

QStringList TFSeries::Entradas() const {
  QStringList entradas;
  for (int i = 0; i < CBSeries->count(); ++i) entradas << CBSeries->itemText(i);
  return entradas;
}

std::uint32_t TFSeries::SlotDeEntrada(const QString& texto) const {
  const std::string nombre = texto.toStdString();
  for (std::uint32_t slot = 0; slot < MaxSeries; ++slot) {
    if (pendingRemoval_[slot]) continue;
    const std::string actual = pendingName_[slot].isEmpty() ? almacen_.Slot(slot).name
                                                            : pendingName_[slot].toStdString();
    if (!actual.empty() && actual == nombre) return slot;
  }
  return MaxSeries;
}

void TFSeries::showEvent(QShowEvent* evento) {
  if (!evento->spontaneous()) FormShow();
  QDialog::showEvent(evento);
}

void TFSeries::FormShow() {
  savedEntries_ = Entradas();
  savedSeriesPosition_ = CBSeries->currentIndex();
  savedMethodPosition_ = CBMetodos->currentIndex();
  savedChecks_ = {ChMedia->isChecked(), ChVar->isChecked(), ChAuto->isChecked()};
  savedCurrentSlot_ = almacen_.CurrentSlot();
  abierto_ = true;
}

void TFSeries::CBSeriesChange() {
  if (CBSeries->currentIndex() < 0) return;
  almacen_.SetCurrentSlot(SlotDeEntrada(CBSeries->currentText()));
}

void TFSeries::BRenombrarClick() {
  const auto respuesta = dialogos_.PedirTexto(this, QStringLiteral("Renombrar"),
                                              QStringLiteral("Nuevo nombre:"), QString());
  if (!respuesta || respuesta->isEmpty()) return;
  const std::uint32_t slot = almacen_.CurrentSlot();
  if (slot >= MaxSeries || CBSeries->currentIndex() < 0) return;
  CBSeries->removeItem(CBSeries->currentIndex());
  pendingName_[slot] = *respuesta;
  CBSeries->setCurrentIndex(InsertarOrdenado(CBSeries, *respuesta));
}

void TFSeries::BEliminarClick() {
  if (CBSeries->count() == 0) return;
  const std::uint32_t slot = almacen_.CurrentSlot();
  CBSeries->removeItem(CBSeries->currentIndex());
  if (CBSeries->count() == 0) {
    if (alCambiarMenusSeries) alCambiarMenusSeries(false);
    HabilitarControlesSeries(false);
  }
  if (slot < MaxSeries) pendingRemoval_[slot] = true;
  CBSeries->setCurrentIndex(CBSeries->count() - 1);
  almacen_.SetCurrentSlot(CBSeries->count() == 0 ? MaxSeries
                                                 : SlotDeEntrada(CBSeries->currentText()));
}

void TFSeries::BOKClick() {
  Comprometer();
  if (isVisible()) QDialog::accept();
}

void TFSeries::Comprometer() {
  const std::uint32_t actual = almacen_.CurrentSlot();
  for (std::uint32_t slot = 0; slot < MaxSeries; ++slot) {
    if (pendingName_[slot].isEmpty()) continue;
    almacen_.Rename(slot, pendingName_[slot].toStdString());
    pendingName_[slot].clear();
  }
  for (std::uint32_t slot = 0; slot < MaxSeries; ++slot) {
    if (!pendingRemoval_[slot]) continue;
    almacen_.Remove(slot);
    pendingRemoval_[slot] = false;
  }
  if (actual < MaxSeries && !almacen_.Slot(actual).Libre()) almacen_.SetCurrentSlot(actual);
  savedEntries_.clear();
  abierto_ = false;
  if (alComprometer) alComprometer();
}

void TFSeries::BCancelarClick() { reject(); }

void TFSeries::reject() {
  if (abierto_) {
    const bool habiaSeries = !savedEntries_.isEmpty();
    CBSeries->clear();
    CBSeries->addItems(savedEntries_);
    pendingName_.fill(QString());
    pendingRemoval_.fill(false);
    savedEntries_.clear();
    CBSeries->setCurrentIndex(savedSeriesPosition_);
    CBMetodos->setCurrentIndex(savedMethodPosition_);
    almacen_.SetCurrentSlot(savedCurrentSlot_);
    if (habiaSeries) {
      if (alCambiarMenusSeries) alCambiarMenusSeries(true);
      HabilitarControlesSeries(true);
    }
    ChMedia->setChecked(savedChecks_[0]);
    ChVar->setChecked(savedChecks_[1]);
    ChAuto->setChecked(savedChecks_[2]);
    abierto_ = false;
  }
  QDialog::reject();
}

void TFSeries::BAnalizarClick(QObject* emisor) {
  // Pressed in the dialog: commit first; the dialog stays on screen until the analysis,
  // with its autocorrelation save dialog, has finished.
  const bool propio = emisor == BAnalizar;
  if (propio) Comprometer();
  if (analizar) analizar();
  if (propio && isVisible()) QDialog::accept();
}

void TFSeries::AnadirSerie(const QString& nombre, bool primeraCarga) {
  CBSeries->setCurrentIndex(InsertarOrdenado(CBSeries, nombre));
  if (primeraCarga) HabilitarControlesSeries(true);
}

SeleccionAnalisis TFSeries::Seleccion() const {
  SeleccionAnalisis seleccion;
  seleccion.metodo = CBMetodos->currentText().toStdString();
  seleccion.media = ChMedia->isChecked();
  seleccion.varianza = ChVar->isChecked();
  seleccion.autocorrelacion = ChAuto->isChecked();
  return seleccion;
}
