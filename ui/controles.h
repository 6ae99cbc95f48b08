// Small controls shared by the windows: a radio group with an item index, a sorted
// drop-down list, a vertical separator and the fonts the forms use.
#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QStringList>
#include <utility>
#include <vector>
#include <QToolButton>

// Group box of radio buttons addressed by position, like a radio group.
class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  TRadioGroup(const QString& titulo, const QStringList& elementos, QWidget* padre = nullptr);
  int ItemIndex() const;
  void SetItemIndex(int indice);
  QAbstractButton* Boton(int indice) const;

 signals:
  void Click();  // the selection changed (by the user or by SetItemIndex)

 private:
  QButtonGroup grupo_;
};

// A toggle tool button ("M", "V", "A" of the main window) whose two states are told apart
// at a glance: up, a raised bevel on the plain face; down, a sunken bevel on a shaded face
// with the caption one pixel lower and to the right. Size, caption and font are the
// button's own.
class TBotonConmutador : public QToolButton {
  Q_OBJECT
 public:
  explicit TBotonConmutador(QWidget* padre = nullptr);

 protected:
  void paintEvent(QPaintEvent* evento) override;
};

// A group box with labelled fields, one per row, the fields at their own width.
QGroupBox* GrupoCampos(const QString& titulo,
                       const std::vector<std::pair<QString, QWidget*>>& filas);

// The dialogs' "Aceptar" (BOK, the default button) and "Cancelar" (BCancelar).
std::pair<QPushButton*, QPushButton*> BotonesAceptarCancelar(QWidget* dialogo);

// Inserts a text into a list kept in Spanish alphabetical order, ignoring case, with
// accented letters beside their base letter (after equal texts), and returns its position.
int InsertarOrdenado(QComboBox* lista, const QString& texto);

// A drop-down list that writes its chosen entry elided in the middle when it does not fit
// ("fgn_H0.8_…0000_s1"), so that both ends of a long series name stay visible; the open
// list shows every entry whole.
class TListaElidida : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent* evento) override;
};

// Drop-down list without typing (entries are added with InsertarOrdenado).
QComboBox* NuevaListaDesplegable(QWidget* padre, int ancho);
// The width at which a list shows its longest entry whole, kept between minimo and maximo.
int AnchoParaEntradas(const QComboBox* lista, int minimo, int maximo);

// Editable combo box: typed texts are kept as the value, never added to the list.
QComboBox* NuevoComboEditable(QWidget* padre, const QStringList& elementos, const QString& texto);

