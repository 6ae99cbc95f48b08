// The analysis workflow's outlets implemented with the widgets: the results log view,
// the charts, the autocorrelation save dialog, message boxes, busy cursor and clock.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include "app/interfaces.h"

class PlatformDialogs;

// MResult: lines, and its colours (grey, or the system window and window-text colours).
class VistaResultados : public ResultsSink {
 public:
  explicit VistaResultados(QPlainTextEdit* memo) : memo_(memo) {}
  void Clear() override;
  void Append(const std::string& linea) override;
  void SetColors(ColorFondo fondo, ColorTexto texto) override;

 private:
  QPlainTextEdit* memo_;
};

class PreguntaGuardarAuto : public SaveFilePrompt {
 public:
  PreguntaGuardarAuto(PlatformDialogs& dialogos, QWidget* padre)
      : dialogos_(dialogos), padre_(padre) {}
  std::optional<std::string> AskSavePath(const std::string& titulo,
                                         const std::string& nombrePropuesto) override;

 private:
  PlatformDialogs& dialogos_;
  QWidget* padre_;
};

class CajaMensajes : public MessageSink {
 public:
  CajaMensajes(PlatformDialogs& dialogos, QWidget* padre) : dialogos_(dialogos), padre_(padre) {}
  void ShowMessage(const std::string& texto, TipoMensaje tipo) override;

 private:
  PlatformDialogs& dialogos_;
  QWidget* padre_;
};

// Busy cursor counted so that every cursor pushed is popped again, event processing, and
// the date and time in the regional formats.
class GanchosQt : public UiHooks {
 public:
  ~GanchosQt() override { RestaurarCursor(); }
  void ProcessEvents() override;
  void SetBusyCursor(bool ocupado) override;
  std::string FechaActual() override;
  std::string HoraActual() override;
  void RestaurarCursor();  // pops whatever is still pushed
  int CursoresPendientes() const { return pendientes_; }

 private:
  int pendientes_ = 0;
};

// The busy cursor for a scope (loading a series).
class CursorOcupado {
 public:
  CursorOcupado();
  ~CursorOcupado();
  CursorOcupado(const CursorOcupado&) = delete;
  CursorOcupado& operator=(const CursorOcupado&) = delete;
};
