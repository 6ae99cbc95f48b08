// How the analysis workflow reaches the outside world (windows, dialogs, charts, clock).
// The desktop program implements these with its widgets; the command-line tool and the
// tests with plain objects.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/nombres_metodos.h"

// Colours of the results log.
enum class ColorFondo { Gris, Ventana };           // grey (128,128,128) / system window colour
enum class ColorTexto { Gris, TextoVentana };      // grey / system window-text colour

// Receives the changes of the results log (the desktop program's MResult view).
class DestinoResultados {
 public:
  virtual ~DestinoResultados() = default;
  virtual void Vaciar() = 0;
  virtual void Anadir(const std::string& linea) = 0;  // one whole line, UTF-8
  // A line of a table whose columns are padded with blanks: the same text as any line,
  // shown in a fixed-width face where the view has one.
  virtual void AnadirTabla(const std::string& linea) { Anadir(linea); }
  virtual void FijarColores(ColorFondo fondo, ColorTexto texto) = 0;
};

// A chart the driver fills (the charts window's Plot1 and Plot2). The operations are the
// chart model's; titles are UTF-8.
class DestinoGrafica {
 public:
  virtual ~DestinoGrafica() = default;
  virtual void ClearItems() = 0;
  virtual void SetIdAbscissa(const std::string& titulo) = 0;
  virtual void SetIdOrdinate(const std::string& titulo) = 0;
  virtual void MoveTo(double x, double y) = 0;
  virtual void LineTo(double x, double y) = 0;
  virtual void Line(double x1, double y1, double x2, double y2) = 0;
  virtual void TextAt(double x, double y, int tamano, const std::string& texto) = 0;
  virtual void MarkAt(double x, double y, std::uint8_t tipoMarca) = 0;
  // SetItemClass(tkLineto and tkLine, clase): the class of every line item drawn so far.
  virtual void SetLineItemsClass(std::uint8_t clase) = 0;
  virtual void AutoRange(double margenPorcentaje) = 0;

  // The items the charts of every method side by side add to the chart model's first ones.
  // Where a label goes (chart/plot_common.h): in the data area, in the left rim (the names
  // of the rows, which replace the y numbers), in the right rim, as a title, as the x title.
  enum class Lugar : std::uint8_t { Datos, MargenIzquierdo, MargenDerecho, Titulo, Abscisa };
  // A text of any length at (x, y); in the data area after the point (before it when it does
  // not fit), vertically centred; `tamano` in points (0: the chart font's).
  virtual void Label(double x, double y, Lugar lugar, int tamano, const std::string& texto) = 0;
  // An interval with end caps of 2·semialtura + 1 pixels, visible however short it is.
  virtual void Whisker(double x1, double y1, double x2, double y2, int semialtura) = 0;
  // A line dotted one pixel on, one off.
  virtual void DotLine(double x1, double y1, double x2, double y2) = 0;
  // The colour (0x00BBGGRR; none keeps the data colour) and class of the items added from
  // now on; RestoreStyle gives the chart back the colour and class it had before the first
  // SetStyle.
  virtual void SetStyle(std::optional<std::uint32_t> color, std::uint8_t clase) = 0;
  virtual void RestoreStyle() = 0;
};

// The save dialog of the autocorrelation export ("Guardar autocorrelación como").
class PreguntaGuardar {
 public:
  virtual ~PreguntaGuardar() = default;
  // Returns the chosen path, or nullopt when the user cancels.
  virtual std::optional<std::string> PreguntarRuta(const std::string& titulo,
                                                 const std::string& nombrePropuesto) = 0;
};

enum class TipoMensaje {
  Aviso,  // message box of a status code or a file the writer could not create
  Error,  // the application's error box: conversion error, numerical library fault
};

class DestinoMensajes {
 public:
  virtual ~DestinoMensajes() = default;
  virtual void MostrarMensaje(const std::string& texto, TipoMensaje tipo) = 0;
};

// Busy cursor, event processing and the clock with the regional date and time formats.
class ServiciosInterfaz {
 public:
  virtual ~ServiciosInterfaz() = default;
  virtual void ProcesarEventos() {}
  virtual void FijarCursorOcupado(bool /*ocupado*/) {}
  // Runs a long computation (the sums of a method, the statistics): here and now by
  // default; the desktop program runs it off the window thread, with a progress dialog
  // that can cancel it. What the computation throws, Cancelado included, comes out here.
  virtual void Calcular(const std::function<void()>& calculo) { calculo(); }
  virtual std::string FechaActual() = 0;  // today's date, regional short format
  virtual std::string HoraActual() = 0;   // current time, regional long format
};

// Check marks of the main window's menus that the driver reads.
struct MarcasMenu {
  bool fechaHora = true;        // "&Fecha y hora"
  bool creditos = true;         // "C&réditos"
  bool graficaMetodo = true;    // "Gráfica &método"
  bool graficaAuto = true;      // "Gráfica &autocorrelación"

  bool operator==(const MarcasMenu&) const = default;
};

// The series dialog's selection: method list entry and the three statistics check boxes.
struct SeleccionAnalisis {
  std::string metodo = ::metodo::kNinguno;  // CBMetodos text
  bool media = true;               // ChMedia
  bool varianza = true;            // ChVar
  bool autocorrelacion = false;    // ChAuto

  bool operator==(const SeleccionAnalisis&) const = default;
};
