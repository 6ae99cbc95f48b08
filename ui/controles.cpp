#include "ui/controles.h"

#include <QCollator>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <qdrawutil.h>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QStyleOptionComboBox>
#include <algorithm>

TRadioGroup::TRadioGroup(const QString& titulo, const QStringList& elementos, QWidget* padre)
    : QGroupBox(titulo, padre) {
  auto* disposicion = new QVBoxLayout(this);
  int i = 0;
  for (const QString& texto : elementos) {
    auto* boton = new QRadioButton(texto, this);
    grupo_.addButton(boton, i++);
    disposicion->addWidget(boton);
  }
  grupo_.setExclusive(true);
  connect(&grupo_, &QButtonGroup::idToggled, this, [this](int, bool marcado) {
    if (marcado) emit Click();
  });
}

int TRadioGroup::ItemIndex() const { return grupo_.checkedId(); }

void TRadioGroup::SetItemIndex(int indice) {
  if (auto* boton = grupo_.button(indice)) boton->setChecked(true);
}

QAbstractButton* TRadioGroup::Boton(int indice) const { return grupo_.button(indice); }

TBotonConmutador::TBotonConmutador(QWidget* padre) : QToolButton(padre) {
  setCheckable(true);
  setAutoRaise(false);
}

void TBotonConmutador::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  const QPalette& paleta = palette();
  const bool abajo = isChecked() || isDown();
  const QRect r = rect();
  p.fillRect(r, paleta.button());
  if (abajo) {
    // Shaded face: a fine checkerboard of a darker shade over the face.
    p.fillRect(r.adjusted(2, 2, -2, -2),
               QBrush(paleta.color(QPalette::Button).darker(135), Qt::Dense4Pattern));
  }
  qDrawWinButton(&p, r, paleta, abajo, nullptr);
  p.setFont(font());
  p.setPen(paleta.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                        QPalette::ButtonText));
  p.drawText(abajo ? r.translated(1, 1) : r, Qt::AlignCenter, text());
  if (hasFocus()) {
    QStyleOptionFocusRect foco;
    foco.initFrom(this);
    foco.rect = r.adjusted(3, 3, -3, -3);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, foco);
  }
}

int InsertarOrdenado(QComboBox* lista, const QString& texto) {
  // Spanish collation whatever the desktop's language: "árbol" beside "arce", "ñu" after
  // "nube"; capitals and small letters sort together.
  static const QCollator orden = [] {
    QCollator c(QLocale(QLocale::Spanish, QLocale::Spain));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  int posicion = 0;
  while (posicion < lista->count() && orden.compare(lista->itemText(posicion), texto) <= 0)
    ++posicion;
  lista->insertItem(posicion, texto);
  return posicion;
}

void TListaElidida::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  p.setPen(palette().color(QPalette::Text));
  QStyleOptionComboBox opcion;
  initStyleOption(&opcion);
  p.drawComplexControl(QStyle::CC_ComboBox, opcion);
  const QRect texto =
      style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxEditField, this);
  opcion.currentText = fontMetrics().elidedText(opcion.currentText, Qt::ElideMiddle,
                                                std::max(texto.width() - 2, 0));
  p.drawControl(QStyle::CE_ComboBoxLabel, opcion);
}

int AnchoParaEntradas(const QComboBox* lista, int minimo, int maximo) {
  int texto = 0;
  for (int i = 0; i < lista->count(); ++i)
    texto = std::max(texto, lista->fontMetrics().horizontalAdvance(lista->itemText(i)));
  // The frame, the margins and the arrow: what the style adds to the text of a list.
  QStyleOptionComboBox opcion;
  opcion.initFrom(lista);
  const QSize conTexto = lista->style()->sizeFromContents(
      QStyle::CT_ComboBox, &opcion, QSize(texto, lista->fontMetrics().height()), lista);
  return std::clamp(conTexto.width() + 4, minimo, maximo);
}

QComboBox* NuevaListaDesplegable(QWidget* padre, int ancho) {
  auto* lista = new TListaElidida(padre);
  lista->setEditable(false);
  lista->setFixedWidth(ancho);
  lista->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
  return lista;
}

QComboBox* NuevoComboEditable(QWidget* padre, const QStringList& elementos, const QString& texto) {
  auto* combo = new QComboBox(padre);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->addItems(elementos);
  combo->setEditText(texto);
  return combo;
}

QGroupBox* GrupoCampos(const QString& titulo,
                       const std::vector<std::pair<QString, QWidget*>>& filas) {
  auto* grupo = new QGroupBox(titulo);
  auto* formulario = new QFormLayout(grupo);
  formulario->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  formulario->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (const auto& [etiqueta, campo] : filas) formulario->addRow(etiqueta, campo);
  return grupo;
}

std::pair<QPushButton*, QPushButton*> BotonesAceptarCancelar(QWidget* dialogo) {
  auto* aceptar = new QPushButton(QStringLiteral("Aceptar"), dialogo);
  aceptar->setObjectName(QStringLiteral("BOK"));
  aceptar->setDefault(true);
  auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), dialogo);
  cancelar->setObjectName(QStringLiteral("BCancelar"));
  cancelar->setAutoDefault(false);
  return {aceptar, cancelar};
}
