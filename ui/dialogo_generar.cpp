#include "ui/dialogo_generar.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QShowEvent>
#include <QVBoxLayout>
#include <tuple>
#include <algorithm>
#include <utility>
#include <vector>

#include "chart/qt/plot_fuentes.h"
#include "ui/ayuda_campos.h"
#include "ui/dialogos.h"

namespace {

constexpr int kAnchoCampo = 80;

QLineEdit* NuevoCampo(QWidget* padre, const char* nombre) {
  auto* campo = new QLineEdit(padre);
  campo->setObjectName(QString::fromLatin1(nombre));
  campo->setFixedWidth(kAnchoCampo);
  return campo;
}

std::string S(const QLineEdit* campo) { return campo->text().toStdString(); }

// A field with the values it takes beside it, in grey, decimals with the regional separator.
QWidget* ConLimites(QLineEdit* campo, const char* limites, const char* ayuda) {
  const QString punto = QLocale().decimalPoint();
  const QChar separador = punto.size() == 1 ? punto.at(0) : QLatin1Char('.');
  campo->setToolTip(ConSeparador(ayuda, separador));
  auto* fila = new QWidget;
  auto* disposicion = new QHBoxLayout(fila);
  disposicion->setContentsMargins(0, 0, 0, 0);
  disposicion->addWidget(campo);
  auto* etiqueta = new QLabel(ConSeparador(limites, separador), fila);
  etiqueta->setObjectName(QStringLiteral("Limites") + campo->objectName());
  QPalette paleta = etiqueta->palette();
  paleta.setColor(QPalette::WindowText, paleta.color(QPalette::Disabled, QPalette::WindowText));
  etiqueta->setPalette(paleta);
  disposicion->addWidget(etiqueta);
  disposicion->addStretch(1);
  return fila;
}
QString Q(const std::string& texto) { return QString::fromStdString(texto); }

}  // namespace

TFGenerar::TFGenerar(PlatformDialogs& dialogos, QWidget* padre)
    : QDialog(padre), dialogos_(dialogos) {
  setObjectName(QStringLiteral("TFGenerar"));
  setWindowTitle(QStringLiteral("Generar serie"));
  setFont(FuenteFenwa(11));

  RGModelo = new TRadioGroup(QStringLiteral("Modelo"),
                             {QStringLiteral("Ruido Frac. Gaussiano (FGN)"),
                              QStringLiteral("FARIMA (p, d, q)"),
                              QStringLiteral("Ruido blanco gaussiano")});
  RGModelo->setObjectName(QStringLiteral("RGModelo"));
  EH = NuevoCampo(this, "EH");
  Ed = NuevoCampo(this, "Ed");
  EPhi = NuevoCampo(this, "EPhi");
  ETheta = NuevoCampo(this, "ETheta");
  ELongitud = NuevoCampo(this, "ELongitud");
  EMedia = NuevoCampo(this, "EMedia");
  EDesviacion = NuevoCampo(this, "EDesviacion");
  ESemilla = NuevoCampo(this, "ESemilla");

  auto* parametros = GrupoCampos(
      QStringLiteral("Parámetros del modelo"),
      {{QStringLiteral("Parámetro de Hurst (H):"),
        ConLimites(EH, "0 < H < 1", "Parámetro de Hurst del ruido fraccionario gaussiano.")},
       {QStringLiteral("Diferencia fraccionaria (d):"),
        ConLimites(Ed, "-0.5 < d < 0.5", "Diferencia fraccionaria del FARIMA; H = d + 0.5.")},
       {QStringLiteral("Coeficiente AR (φ):"),
        ConLimites(EPhi, "-1 < φ < 1", "Coeficiente autorregresivo; 0 es p = 0.")},
       {QStringLiteral("Coeficiente MA (θ):"),
        ConLimites(ETheta, "finito", "Coeficiente de media móvil; 0 es q = 0.")}});
  auto* serie = GrupoCampos(
      QStringLiteral("Serie"),
      {{QStringLiteral("Longitud (nº de muestras):"),
        ConLimites(ELongitud, "≥ 2", "Número de muestras; un entero, también como 1e7.")},
       {QStringLiteral("Media:"), ConLimites(EMedia, "finita", "Media de la serie.")},
       {QStringLiteral("Desviación típica:"),
        ConLimites(EDesviacion, "> 0", "Desviación típica de la serie misma.")},
       {QStringLiteral("Semilla:"),
        ConLimites(ESemilla, "entero ≥ 0",
                   "La misma semilla con los mismos valores da la misma serie.")}});

  std::tie(BOK, BCancelar) = BotonesAceptarCancelar(this);
  connect(BOK, &QPushButton::clicked, this, &TFGenerar::accept);
  connect(BCancelar, &QPushButton::clicked, this, &TFGenerar::reject);

  // The model on the left, its parameters and the series' values on the right.
  auto* cuerpo = new QGridLayout;
  cuerpo->addWidget(RGModelo, 0, 0, 2, 1, Qt::AlignTop);
  cuerpo->addWidget(parametros, 0, 1);
  cuerpo->addWidget(serie, 1, 1);
  auto* botones = new QHBoxLayout;
  botones->addStretch(1);
  botones->addWidget(BOK);
  botones->addWidget(BCancelar);
  auto* disposicion = new QVBoxLayout(this);
  disposicion->addLayout(cuerpo);
  disposicion->addLayout(botones);
  disposicion->setSizeConstraint(QLayout::SetFixedSize);

  // Keyboard order: the models, the fields top to bottom, then the two buttons.
  QWidget* anterior = nullptr;
  for (QWidget* w : std::initializer_list<QWidget*>{
           RGModelo->Boton(0), RGModelo->Boton(1), RGModelo->Boton(2), EH, Ed, EPhi, ETheta,
           ELongitud, EMedia, EDesviacion, ESemilla, BOK, BCancelar}) {
    if (anterior) QWidget::setTabOrder(anterior, w);
    anterior = w;
  }

  connect(RGModelo, &TRadioGroup::Click, this, &TFGenerar::RGModeloClick);
  // The defaults with the regional decimal separator, as a person writes them here.
  TextosGeneracion omision;
  const QString separador = QLocale().decimalPoint();
  for (std::string* t : {&omision.H, &omision.d, &omision.phi, &omision.theta, &omision.media,
                         &omision.desviacion})
    *t = QString::fromStdString(*t).replace(QLatin1Char('.'), separador).toStdString();
  Escribir(omision);
  RGModeloClick();
}

void TFGenerar::Escribir(const TextosGeneracion& t) {
  RGModelo->SetItemIndex(static_cast<int>(t.modelo));
  EH->setText(Q(t.H));
  Ed->setText(Q(t.d));
  EPhi->setText(Q(t.phi));
  ETheta->setText(Q(t.theta));
  ELongitud->setText(Q(t.longitud));
  EMedia->setText(Q(t.media));
  EDesviacion->setText(Q(t.desviacion));
  ESemilla->setText(Q(t.semilla));
}

TextosGeneracion TFGenerar::Textos() const {
  TextosGeneracion t;
  t.modelo = static_cast<ModeloGenerador>(RGModelo->ItemIndex());
  t.H = S(EH);
  t.d = S(Ed);
  t.phi = S(EPhi);
  t.theta = S(ETheta);
  t.longitud = S(ELongitud);
  t.media = S(EMedia);
  t.desviacion = S(EDesviacion);
  t.semilla = S(ESemilla);
  return t;
}

void TFGenerar::RGModeloClick() {
  const int modelo = RGModelo->ItemIndex();
  EH->setEnabled(modelo == static_cast<int>(ModeloGenerador::Fgn));
  const bool farima = modelo == static_cast<int>(ModeloGenerador::Farima);
  Ed->setEnabled(farima);
  EPhi->setEnabled(farima);
  ETheta->setEnabled(farima);
}

std::optional<ParametrosGenerador> TFGenerar::TomarParametros() {
  std::optional<ParametrosGenerador> p = std::move(parametros_);
  parametros_.reset();
  return p;
}

void TFGenerar::accept() {
  parametros_.reset();
  ParametrosGenerador p;
  const std::string error = LeerParametrosGeneracion(Textos(), p);
  if (!error.empty()) {
    dialogos_.Mensaje(this, Q(error), IconoMensaje::Aviso);
    return;
  }
  parametros_ = p;
  QDialog::accept();
}

void TFGenerar::reject() {
  Escribir(copia_);
  RGModeloClick();
  QDialog::reject();
}

void TFGenerar::showEvent(QShowEvent* evento) {
  if (!evento->spontaneous()) copia_ = Textos();
  QDialog::showEvent(evento);
  // Like the parameter dialogs: the focus starts on the chosen model.
  if (!evento->spontaneous())
    RGModelo->Boton(std::max(RGModelo->ItemIndex(), 0))->setFocus(Qt::TabFocusReason);
}
