// The four parameter dialogs: "Métodos H", "Métodos T0", "Estacionariedad" and
// "Autocorrelación". They hold the estimators' parameters as the texts and states of their
// controls; each opening snapshots the values and "Cancelar" (or Esc) writes them back.
// "Aceptar" is the default button and the window's close box acts like it.
//
// Every control that holds a parameter is created from the parameter table
// (app/parametros.h) with its control name, kind, list entries, default, label and hint.
// A page whose fields have no layout made by hand (so far only "Whittle" and the
// "Autocorrelación" dialog have one) is laid out from its rows, so a new method's page
// needs nothing here.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/parametros.h"
#include "ui/controles.h"

// The control of a field as its row describes it: kind, name, list entries or items,
// default, hint, and the label of a check box (its text) or a radio group (its title).
QWidget* NuevoControl(const DefinicionCampo& campo, QWidget* padre);
// An edit field or list with the values its row says it takes beside it, in grey.
QWidget* FilaConLimites(const DefinicionCampo& campo, QWidget* control);
// The group "Parámetros" of a page laid out from its rows, in their order: an edit field or
// list with its label on the left and its limits beside it, a check box or a radio group
// across the row.
QGroupBox* GrupoGenerado(const std::vector<std::pair<const DefinicionCampo*, QWidget*>>& campos);

class TDialogoParametros : public QDialog {
  Q_OBJECT
 public:
  QPushButton* BOK = nullptr;
  QPushButton* BCancelar = nullptr;

  void FormShow();        // snapshot of every field
  void BOKClick();        // close keeping the values
  void BCancelarClick();  // restore the snapshot, then close

  void reject() override;

  // The dialog's values into / from the parameter record (its own fields only).
  void LeerEn(AnalysisParameters& parametros) const;
  void Mostrar(const AnalysisParameters& parametros);
  // The control of one of its fields (nullptr for a field of another dialog).
  QWidget* Control(const char* clave) const;

 protected:
  TDialogoParametros(const QString& titulo, Dialogo dialogo, QWidget* padre);
  // The controls of the dialog's fields, created from the table.
  QLineEdit* Edicion(const char* clave) const;
  QComboBox* Lista(const char* clave) const;
  QCheckBox* Casilla(const char* clave) const;
  TRadioGroup* Opciones(const char* clave) const;
  // For a page made by hand: each field's label and the field with its limits beside it.
  std::vector<std::pair<QString, QWidget*>> Filas(std::initializer_list<const char*> claves) const;
  // A page made by hand: a field on it, and what makes it.
  using PaginaAMano = std::pair<const char*, std::function<QWidget*()>>;
  // One tab per page of the dialog's fields, in the table order of their first fields: the
  // page made by hand where there is one, else the group laid out from its rows
  // (GrupoGenerado) with "Valores por omisión" below.
  void AnadirPaginas(QTabWidget* paginas, const std::vector<PaginaAMano>& aMano = {});
  // "Valores por omisión": puts the fields of that page back to their defaults.
  QPushButton* BotonOmision(const QString& pagina);
  void ValoresPorOmision(const QString& pagina);
  // Restore order of the fields, as positions in table order (default: table order).
  void OrdenRestauracion(std::vector<int> orden);
  // Puts the body above the two buttons, fixes the size and the keyboard order: the
  // fields in reading order (table order), then "Aceptar" and "Cancelar".
  void Terminar(QWidget* cuerpo);

  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void EnfocarPrimerCampo();

  Dialogo dialogo_;
  std::vector<std::pair<const DefinicionCampo*, QWidget*>> campos_;  // table order
  std::vector<int> orden_;
  std::vector<QVariant> copia_;
};

class TFMetodosH : public TDialogoParametros {
  Q_OBJECT
 public:
  explicit TFMetodosH(QWidget* padre = nullptr);
  QTabWidget* PageControl;  // its tabs hidden: LMetodos, beside it, chooses the page
  QListWidget* LMetodos;
  QLineEdit *EMind, *EMinRS, *EBloques, *EDecadaRS;
  QLineEdit *EMinm, *EMinVar, *EDecadaVar;
  QCheckBox* ChLineal;
  QLineEdit *EMinmDif, *EMinVarDif, *EDecadaVarDif;
  QCheckBox* ChMismos;
  QComboBox* CBPorcentaje;
  TRadioGroup* RGModelo;
  TRadioGroup* RGDensidad;  // FGN density of Whittle Estándar and Whittle Agregado
  QLineEdit *EOrdenp, *EOrdenq;
  QComboBox *CBFactor, *CBNivel;
  QLineEdit *EMomentosOnd, *EOctavaIni, *EOctavaFin;
  QLineEdit *EOrdenDFA, *EMinCaja, *EDecadaDFA;
  QLineEdit *EMinmMom, *EMinBloquesMom, *EDecadaMom;
  QLineEdit *EKMax, *EDecadaHig;
  QLineEdit* EExponenteGPH;

  void ChMismosClick();
  void RGModeloClick();

 private:
  QWidget* PaginaWhittle();
};

class TFMetodosT0 : public TDialogoParametros {
  Q_OBJECT
 public:
  explicit TFMetodosT0(QWidget* padre = nullptr);
  QTabWidget* PageControl;
  QLineEdit *EInicial, *EFinal, *EDecada;

};

class TFEstacion : public TDialogoParametros {
  Q_OBJECT
 public:
  explicit TFEstacion(QWidget* padre = nullptr);
  QTabWidget* PageControl;
  QLineEdit *EBloques, *ESigni;
  QPlainTextEdit* MAyuda;
  static const char* const kLineasAyuda[21];

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

};
