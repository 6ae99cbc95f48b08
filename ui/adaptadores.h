// The analysis workflow's outlets implemented with the widgets: the results log view,
// the charts, the autocorrelation save dialog, message boxes, busy cursor and clock.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QWidget>
#include <chrono>
#include <memory>

#include "app/interfaces.h"
#include "numeric/progreso.h"

class PlatformDialogs;

// MResult: lines, and its colours (grey, or the system window and window-text colours).
class VistaResultados : public DestinoResultados {
 public:
  explicit VistaResultados(QPlainTextEdit* memo) : memo_(memo) {}
  void Vaciar() override;
  void Anadir(const std::string& linea) override;
  void AnadirTabla(const std::string& linea) override;  // in the fixed-width face
  void FijarColores(ColorFondo fondo, ColorTexto texto) override;

 private:
  QPlainTextEdit* memo_;
};

class PreguntaGuardarAuto : public PreguntaGuardar {
 public:
  PreguntaGuardarAuto(PlatformDialogs& dialogos, QWidget* padre)
      : dialogos_(dialogos), padre_(padre) {}
  std::optional<std::string> PreguntarRuta(const std::string& titulo,
                                         const std::string& nombrePropuesto) override;

 private:
  PlatformDialogs& dialogos_;
  QWidget* padre_;
};

class CajaMensajes : public DestinoMensajes {
 public:
  CajaMensajes(PlatformDialogs& dialogos, QWidget* padre) : dialogos_(dialogos), padre_(padre) {}
  void MostrarMensaje(const std::string& texto, TipoMensaje tipo) override;

 private:
  PlatformDialogs& dialogos_;
  QWidget* padre_;
};

// Busy cursor counted so that every cursor pushed is popped again, event processing, the
// date and time in the regional formats, and the long computations: each runs on a worker
// thread with the progress control of the current operation installed there, while the
// window thread waits through PlatformDialogs::EsperarCalculo (windows keep painting, a
// progress dialog with "Cancelar" after half a second). An operation (a load, an analysis)
// is the span of one Operacion object; its computations share one control and one clock.
class GanchosQt : public ServiciosInterfaz {
 public:
  GanchosQt(PlatformDialogs& dialogos, QWidget* padre) : dialogos_(dialogos), padre_(padre) {}
  ~GanchosQt() override { RestaurarCursor(); }
  void ProcesarEventos() override;
  void FijarCursorOcupado(bool ocupado) override;
  std::string FechaActual() override;
  std::string HoraActual() override;
  // Throws what the computation threw; Cancelado also when "Cancelar" was pressed after
  // the computation's last check.
  void Calcular(const std::function<void()>& calculo) override;
  void RestaurarCursor();  // pops whatever is still pushed

  // One long operation with its progress text ("Analizando la serie...").
  class Operacion {
   public:
    Operacion(GanchosQt& ganchos, const QString& texto);
    ~Operacion();
    Operacion(const Operacion&) = delete;
    Operacion& operator=(const Operacion&) = delete;

   private:
    GanchosQt& ganchos_;
  };

 private:
  PlatformDialogs& dialogos_;
  QWidget* padre_;
  int pendientes_ = 0;
  // The operation under way (none: a computation gets a control of its own).
  std::unique_ptr<ControlProgreso> control_;
  QString texto_;
  std::chrono::steady_clock::time_point inicio_;
};

// The busy cursor for a scope (loading a series).
class CursorOcupado {
 public:
  CursorOcupado();
  ~CursorOcupado();
  CursorOcupado(const CursorOcupado&) = delete;
  CursorOcupado& operator=(const CursorOcupado&) = delete;
};
