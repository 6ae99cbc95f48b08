// The four parameter dialogs: "Métodos H", "Métodos T0", "Estacionariedad" and
// "Autocorrelación". They hold the estimators' parameters as the texts and states of their
// controls; each opening snapshots the values and "Cancelar" (or Esc) writes them back.
// "Aceptar" is the default button and the window's close box acts like it.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVariant>
#include <vector>

#include "app/parametros.h"
#include "ui/controles.h"

class TDialogoParametros : public QDialog {
  Q_OBJECT
 public:
  QPushButton* BOK = nullptr;
  QPushButton* BCancelar = nullptr;

  void FormShow();        // snapshot of every field
  void BOKClick();        // close keeping the values
  void BCancelarClick();  // restore the snapshot, then close

  void reject() override;

 protected:
  TDialogoParametros(const QString& titulo, QWidget* padre);
  // Fields in snapshot order; `orden` (if given) is the order in which they are restored.
  void Campos(std::vector<QWidget*> campos, std::vector<int> orden = {});
  // Puts the body above the two buttons and fixes the size.
  void Terminar(QWidget* cuerpo);

  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  std::vector<QWidget*> campos_;
  std::vector<int> orden_;
  std::vector<QVariant> copia_;
  bool restaurando_ = false;
};

class TFMetodosH : public TDialogoParametros {
  Q_OBJECT
 public:
  explicit TFMetodosH(QWidget* padre = nullptr);
  QTabWidget* PageControl;
  QLineEdit *EMind, *EMinRS, *EBloques, *EDecadaRS;
  QLineEdit *EMinm, *EMinVar, *EDecadaVar;
  QCheckBox* ChLineal;
  QLineEdit *EMinmDif, *EMinVarDif, *EDecadaVarDif;
  QCheckBox* ChMismos;
  QComboBox* CBPorcentaje;
  TRadioGroup* RGModelo;
  QLineEdit *EOrdenp, *EOrdenq;
  QComboBox *CBFactor, *CBNivel;

  void ChMismosClick();
  void RGModeloClick();

  ParametrosMetodosH Valores() const;
  void AsignarValores(const ParametrosMetodosH& valores);
};

class TFMetodosT0 : public TDialogoParametros {
  Q_OBJECT
 public:
  explicit TFMetodosT0(QWidget* padre = nullptr);
  QTabWidget* PageControl;
  QLineEdit *EInicial, *EFinal, *EDecada;

  ParametrosMetodosT0 Valores() const;
  void AsignarValores(const ParametrosMetodosT0& valores);
};

class TFEstacion : public TDialogoParametros {
  Q_OBJECT
 public:
  explicit TFEstacion(QWidget* padre = nullptr);
  QTabWidget* PageControl;
  QLineEdit *EBloques, *ESigni;
  QPlainTextEdit* MAyuda;
  static const char* const kLineasAyuda[21];

  ParametrosEstacion Valores() const;
  void AsignarValores(const ParametrosEstacion& valores);
};

class TFAuto : public TDialogoParametros {
  Q_OBJECT
 public:
  explicit TFAuto(QWidget* padre = nullptr);
  TRadioGroup* RGSesgo;
  QLineEdit* EPuntos;
  QCheckBox* ChLongitud;
  QCheckBox* ChGuardar;

  void ChLongitudClick();

  ParametrosAuto Valores() const;
  void AsignarValores(const ParametrosAuto& valores);
};
