// The series dialog "Series": picks the series and the method of the next analysis, the
// statistics to compute, and renames or removes loaded series. Renames and removals stay
// pending until "Aceptar" (or "Analizar") commits them to the store; "Cancelar", Esc and the
// close box restore the state the dialog was opened with.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QStringList>
#include <array>
#include <functional>

#include "app/interfaces.h"
#include "app/series.h"

class PlatformDialogs;

class TFSeries : public QDialog {
  Q_OBJECT
 public:
  TFSeries(SeriesStore& almacen, PlatformDialogs& dialogos, QWidget* padre = nullptr);

  QComboBox* CBSeries;
  QComboBox* CBMetodos;
  QCheckBox *ChMedia, *ChVar, *ChAuto;
  QPushButton *BAnalizar, *BRenombrar, *BEliminar, *BOK, *BCancelar;

  // What the owner (the main window) provides.
  std::function<void()> alComprometer;               // bring the main window in step
  std::function<void(bool)> alCambiarMenusSeries;    // "&Series", "&Guardar serie como..."
  std::function<void()> analizar;                    // run the analysis driver

  void FormShow();
  void CBSeriesChange();
  void BRenombrarClick();
  void BEliminarClick();
  void BOKClick();
  void BCancelarClick();
  // The analysis; when pressed in the dialog itself it commits first and closes the dialog
  // once the analysis has finished.
  void BAnalizarClick(QObject* emisor);

  // A series was loaded: add its name to the list, select it and, on the first load,
  // enable the dialog's series controls.
  void AnadirSerie(const QString& nombre, bool primeraCarga);

  SeleccionAnalisis Seleccion() const;
  // Slot of a list entry, taking pending renames and removals into account.
  std::uint32_t SlotDeEntrada(const QString& texto) const;
  QStringList Entradas() const;

  void reject() override;

 protected:
  void showEvent(QShowEvent* evento) override;

 private:
  void HabilitarControlesSeries(bool habilitar);
  // "Aceptar" without closing: applies pending renames and removals to the store and brings
  // the main window in step.
  void Comprometer();

  SeriesStore& almacen_;
  PlatformDialogs& dialogos_;
  std::array<QString, MaxSeries> pendingName_;
  std::array<bool, MaxSeries> pendingRemoval_{};
  bool abierto_ = false;  // a snapshot is held (shown and not yet closed)
  QStringList savedEntries_;
  int savedSeriesPosition_ = -1;
  int savedMethodPosition_ = 0;
  std::array<bool, 3> savedChecks_{};
  std::uint32_t savedCurrentSlot_ = MaxSeries;
};

// The entries of the method lists: the methods in display order, then "Todos" (every method
// that yields H, side by side).
QStringList ListaMetodos();
