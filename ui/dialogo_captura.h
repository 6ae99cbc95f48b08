// The dialog "Importar captura": one or more packet capture files (the parts of one trace),
// the width of the intervals with its unit, packets or bytes, an optional libpcap filter and
// whether the files are text packet traces. "Aceptar" checks the list and the width and
// closes the dialog, handing the request to the main window, which counts the captures like
// an analysis (off the window thread, with progress and "Cancelar"); a bad value shows its
// message and leaves the dialog open. The fields keep their values between openings.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <optional>
#include <string>
#include <vector>

#include "capturas/capturas.h"
#include "ui/controles.h"

class PlatformDialogs;

// What the dialog hands over: the files and how to count them.
struct PeticionCaptura {
  std::vector<std::string> rutas;
  OpcionesConteo opciones;
};

class TFCaptura : public QDialog {
  Q_OBJECT
 public:
  explicit TFCaptura(PlatformDialogs& dialogos, QWidget* padre = nullptr);

  QListWidget* LBCapturas;
  QPushButton *BAnadir, *BQuitar;
  QLineEdit* EIntervalo;
  QComboBox* CBUnidad;    // s, ms, us, ns
  TRadioGroup* RGContar;  // packets, bytes
  QLineEdit* EFiltro;
  QCheckBox* ChTexto;
  QPushButton *BOK, *BCancelar;

  void BAnadirClick();
  void BQuitarClick();

  // The request read by the last "Aceptar", handed over once.
  std::optional<PeticionCaptura> TomarPeticion();

  void accept() override;

 private:
  PlatformDialogs& dialogos_;
  std::optional<PeticionCaptura> peticion_;
};
