// Start-up of the desktop program: the out-of-memory handler, Qt's Spanish texts, the
// seven windows created once in their fixed order, and the files named on the command line.
#pragma once

#include <QStringList>
#include <memory>

class PlatformDialogs;
class TFPrinc;
class TFMetodosH;
class TFAuto;
class TFSeries;
class TFMetodosT0;
class TFEstacion;
class TFGraf;
class QTranslator;

// Shows "No hay suficiente memoria.\nEl programa se cerrará" and ends with status 1 when a
// memory request cannot be met.
void InstalarManejadorMemoria();

// Loads Qt's own Spanish texts ("Sí", "Cancelar") into the application.
void CargarTraducciones(QTranslator& traductor);

class Aplicacion {
 public:
  // Creates the windows: TFPrinc, TFMetodosH, TFAuto, TFSeries, TFMetodosT0, TFEstacion, TFGraf.
  explicit Aplicacion(PlatformDialogs& dialogos);
  ~Aplicacion();

  // Loads each file as "&Cargar serie..." would after its dialog.
  void CargarFicheros(const QStringList& rutas);

  TFPrinc* Principal() const { return principal_.get(); }
  TFMetodosH* MetodosH() const { return metodosH_; }
  TFAuto* Auto() const { return auto_; }
  TFSeries* Series() const { return series_; }
  TFMetodosT0* MetodosT0() const { return metodosT0_; }
  TFEstacion* Estacion() const { return estacion_; }
  TFGraf* Graficas() const { return graficas_; }

 private:
  std::unique_ptr<TFPrinc> principal_;  // parent of the other six
  TFMetodosH* metodosH_;
  TFAuto* auto_;
  TFSeries* series_;
  TFMetodosT0* metodosT0_;
  TFEstacion* estacion_;
  TFGraf* graficas_;
};
