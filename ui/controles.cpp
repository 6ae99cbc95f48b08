#include "ui/controles.h"

#include <QCollator>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

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

QComboBox* NuevaListaDesplegable(QWidget* padre, int ancho) {
  auto* lista = new QComboBox(padre);
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

QFont FuenteSans(int alturaPixeles, bool negrita) {
  QFont fuente(QStringLiteral("Sans Serif"));
  fuente.setStyleHint(QFont::SansSerif);
  fuente.setPixelSize(alturaPixeles);
  fuente.setBold(negrita);
  return fuente;
}
