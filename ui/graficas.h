// The charts window "Gráficas": three stacked charts (method, autocorrelation, general) of
// which one is visible; its menus recolour, grid, read out coordinates, save, load, print and
// copy the visible chart and choose what mouse drags do. Showing the window, and activating it
// from another window of the program, re-selects the visible chart.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <optional>
#include <string>

#include "chart/qt/tplot.h"

class PlatformDialogs;

// A mouse position for the caption: fixed point with 4 decimals after rounding to 4
// significant digits; 10000 and more in scientific notation.
std::string TextoCoordenada(double valor, char separador);

class TFGraf : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFGraf(PlatformDialogs& dialogos, QWidget* padre = nullptr);

  // What FormShow reads: the main window's chart switches and the series dialog's
  // method list and "Autocorrelación" box.
  void Conectar(QAction* graficaMetodo, QAction* graficaAuto, QComboBox* metodos,
                QCheckBox* chAuto);

  TPlot *Plot1, *Plot2, *Plot3;
  QAction *Cargar1, *Guardarcomo1, *Imprimir1, *Cerrar1, *Formatobitmap1;
  QAction *Datos1, *Fondo1, *Ejes1, *Regresion1, *Colorrejilla1, *Rejilla1, *Coordenadas1;
  QAction* ReferenciaH1;  // "H de &referencia..."

  QAction *Metodo1, *Auto1, *General1;
  QMenu* PopupMenu1;
  QAction *Ninguna1, *Zoom1, *Desplazar1, *Comprimir1, *Restaurar1;

  TPlot* Actual() const { return actual_; }
  const QString& NombreActual() const { return nombre_; }

  void FormShow();
  void Metodo1Click();
  void Auto1Click();
  void General1Click();
  void Datos1Click();
  void Fondo1Click();
  void Ejes1Click();
  void Regresion1Click();
  void Colorrejilla1Click();
  void Rejilla1Click();
  void Coordenadas1Click();
  // Asks for the H of the comparison chart's reference line (empty: the H of the model of a
  // generated series, or none); the main window draws the comparison again with it.
  void ReferenciaH1Click();
  const std::optional<double>& ReferenciaUsuario() const { return referencia_; }
  std::function<void()> alCambiarReferencia;
  void Plot1MouseMoveInChart(TPlot* emisor, bool dentro, double x, double y);
  void Guardarcomo1Click();
  void Cargar1Click();
  void Imprimir1Click();
  void Formatobitmap1Click();
  void Ninguna1Click();
  void Zoom1Click();
  void Desplazar1Click();
  void Comprimir1Click();
  void Restaurar1Click();
  void Cerrar1Click();

 protected:
  void showEvent(QShowEvent* evento) override;

 private:
  TPlot* NuevaGrafica(const char* nombre, const char* titulo);
  void VentanaActivaCambiada(QWindow* ventana);
  void Elegir(TPlot* grafica, const QString& nombre);

  PlatformDialogs& dialogos_;
  QAction* graficaMetodo_ = nullptr;
  QAction* graficaAuto_ = nullptr;
  QComboBox* metodos_ = nullptr;
  QCheckBox* chAuto_ = nullptr;
  TPlot* actual_ = nullptr;
  QString nombre_;
  QColor colorRegresion_;
  std::optional<double> referencia_;  // given by the user
  QPointer<QWindow> anteriorActiva_;  // the program's window that was active last  // what the colour dialog last held for the regression line
};
