// The dialog "Generar serie": a synthetic series of a chosen model (FGN, FARIMA(p, d, q) or
// Gaussian white noise), length, mean, standard deviation and seed. "Aceptar" reads and
// checks the fields and closes the dialog, handing the parameters over to the main window,
// which generates the series like an analysis (off the window thread, with progress and
// "Cancelar"); a bad value shows its message and leaves the dialog open. "Cancelar", Esc
// and the close box restore the fields as they were when the dialog was opened. The fields
// keep their values between openings; decimals are shown with the regional separator and
// read with a point or a comma.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

#include "app/generacion.h"
#include "ui/controles.h"

class PlatformDialogs;

class TFGenerar : public QDialog {
  Q_OBJECT
 public:
  explicit TFGenerar(PlatformDialogs& dialogos, QWidget* padre = nullptr);

  TRadioGroup* RGModelo;  // FGN, FARIMA, white noise, in that order
  QLineEdit *EH, *Ed, *EPhi, *ETheta;
  QLineEdit *ELongitud, *EMedia, *EDesviacion, *ESemilla;
  QPushButton *BOK, *BCancelar;

  void RGModeloClick();  // enables the fields of the chosen model only

  TextosGeneracion Textos() const;

  // The parameters read by the last "Aceptar", handed over once.
  std::optional<ParametrosGenerador> TomarParametros();

  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* evento) override;

 private:
  PlatformDialogs& dialogos_;
  TextosGeneracion copia_;  // the fields when the dialog was shown
  std::optional<ParametrosGenerador> parametros_;
  void Escribir(const TextosGeneracion& textos);
};
