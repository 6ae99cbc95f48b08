#include "ui/dialogo_captura.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <tuple>

#include "chart/qt/plot_fuentes.h"
#include "ui/dialogos.h"

TFCaptura::TFCaptura(PlatformDialogs& dialogos, QWidget* padre)
    : QDialog(padre), dialogos_(dialogos) {
  setObjectName(QStringLiteral("TFCaptura"));
  setWindowTitle(QStringLiteral("Importar captura"));
  setFont(FuenteFenwa(11));

  LBCapturas = new QListWidget(this);
  LBCapturas->setObjectName(QStringLiteral("LBCapturas"));
  LBCapturas->setMinimumWidth(360);
  LBCapturas->setFixedHeight(90);
  BAnadir = new QPushButton(QStringLiteral("&Añadir..."), this);
  BAnadir->setObjectName(QStringLiteral("BAnadir"));
  BQuitar = new QPushButton(QStringLiteral("&Quitar"), this);
  BQuitar->setObjectName(QStringLiteral("BQuitar"));
  auto* ficheros = new QGroupBox(QStringLiteral("Capturas (las partes de una misma traza)"), this);
  {
    auto* botones = new QVBoxLayout;
    botones->addWidget(BAnadir);
    botones->addWidget(BQuitar);
    botones->addStretch(1);
    auto* fila = new QHBoxLayout(ficheros);
    fila->addWidget(LBCapturas, 1);
    fila->addLayout(botones);
  }

  EIntervalo = new QLineEdit(QStringLiteral("10"), this);
  EIntervalo->setObjectName(QStringLiteral("EIntervalo"));
  EIntervalo->setFixedWidth(80);
  CBUnidad = new QComboBox(this);
  CBUnidad->setObjectName(QStringLiteral("CBUnidad"));
  CBUnidad->addItems({QStringLiteral("s"), QStringLiteral("ms"), QStringLiteral("us"),
                      QStringLiteral("ns")});
  CBUnidad->setCurrentIndex(1);
  auto* anchura = new QWidget(this);
  {
    auto* fila = new QHBoxLayout(anchura);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->addWidget(EIntervalo);
    fila->addWidget(CBUnidad);
    fila->addStretch(1);
  }
  RGContar = new TRadioGroup(QStringLiteral("Contar"),
                             {QStringLiteral("Paquetes por intervalo"),
                              QStringLiteral("Bytes por intervalo (longitud original)")});
  RGContar->setObjectName(QStringLiteral("RGContar"));
  RGContar->SetItemIndex(0);
  EFiltro = new QLineEdit(this);
  EFiltro->setObjectName(QStringLiteral("EFiltro"));
  EFiltro->setPlaceholderText(QStringLiteral("por ejemplo: tcp port 80"));
  EFiltro->setMinimumWidth(220);
  ChTexto = new QCheckBox(QStringLiteral("Trazas de texto (tiempo en segundos y tamaño en bytes por línea)"),
                          this);
  ChTexto->setObjectName(QStringLiteral("ChTexto"));
  auto* conteo = GrupoCampos(QStringLiteral("Serie"),
                             {{QStringLiteral("Anchura del intervalo:"), anchura},
                              {QStringLiteral("Filtro (sintaxis de tcpdump, opcional):"), EFiltro}});

  auto* regla = new QLabel(
      QStringLiteral("Los tiempos se cuentan en nanosegundos enteros. El origen es el instante del "
                     "primer paquete de todas las capturas (también los que el filtro descarta), "
                     "redondeado hacia abajo a un múltiplo de la anchura; cada paquete va al "
                     "intervalo que contiene su instante. El intervalo del último paquete queda "
                     "incompleto y se descarta. Los bytes son la longitud original de cada "
                     "paquete, no la capturada."),
      this);
  regla->setObjectName(QStringLiteral("LRegla"));
  regla->setWordWrap(true);

  std::tie(BOK, BCancelar) = BotonesAceptarCancelar(this);
  connect(BOK, &QPushButton::clicked, this, &TFCaptura::accept);
  connect(BCancelar, &QPushButton::clicked, this, &TFCaptura::reject);
  connect(BAnadir, &QPushButton::clicked, this, &TFCaptura::BAnadirClick);
  connect(BQuitar, &QPushButton::clicked, this, &TFCaptura::BQuitarClick);

  auto* botones = new QHBoxLayout;
  botones->addStretch(1);
  botones->addWidget(BOK);
  botones->addWidget(BCancelar);
  auto* disposicion = new QVBoxLayout(this);
  disposicion->addWidget(ficheros);
  auto* medio = new QHBoxLayout;
  medio->addWidget(conteo, 1);
  medio->addWidget(RGContar);
  disposicion->addLayout(medio);
  disposicion->addWidget(ChTexto);
  disposicion->addWidget(regla);
  disposicion->addLayout(botones);
}

void TFCaptura::BAnadirClick() {
  OpcionesFichero opciones;
  opciones.titulo = QStringLiteral("Añadir captura");
  opciones.filtros = {QStringLiteral("Capturas de paquetes (*.pcap *.pcapng *.cap *.gz *.zst)"),
                      QStringLiteral("Todos los archivos (*.*)")};
  const QString ruta = dialogos_.AbrirFichero(this, opciones);
  if (ruta.isEmpty()) return;
  const QString absoluta = QFileInfo(ruta).absoluteFilePath();
  if (LBCapturas->findItems(absoluta, Qt::MatchExactly).isEmpty()) LBCapturas->addItem(absoluta);
  LBCapturas->setCurrentRow(LBCapturas->count() - 1);
}

void TFCaptura::BQuitarClick() { delete LBCapturas->takeItem(LBCapturas->currentRow()); }

std::optional<PeticionCaptura> TFCaptura::TomarPeticion() {
  std::optional<PeticionCaptura> p = std::move(peticion_);
  peticion_.reset();
  return p;
}

void TFCaptura::accept() {
  if (LBCapturas->count() == 0) {
    dialogos_.Mensaje(this, QStringLiteral("Añada al menos una captura."), IconoMensaje::Aviso);
    return;
  }
  const std::string texto = EIntervalo->text().trimmed().toStdString() + CBUnidad->currentText().toStdString();
  std::string error;
  const std::optional<std::int64_t> intervalo = LeerIntervalo(texto, error);
  if (!intervalo) {
    dialogos_.Mensaje(this, QString::fromStdString(error), IconoMensaje::Aviso);
    EIntervalo->setFocus();
    return;
  }
  PeticionCaptura p;
  for (int i = 0; i < LBCapturas->count(); ++i)
    p.rutas.push_back(LBCapturas->item(i)->text().toStdString());
  p.opciones.intervalo = *intervalo;
  p.opciones.bytes = RGContar->ItemIndex() == 1;
  p.opciones.filtro = EFiltro->text().trimmed().toStdString();
  p.opciones.formato = ChTexto->isChecked() ? FormatoEntrada::Texto : FormatoEntrada::Captura;
  peticion_ = std::move(p);
  QDialog::accept();
}
