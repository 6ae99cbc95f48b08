// Recording implementations of the driver's interfaces for tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/analisis.h"
#include "app/interfaces.h"

class GraficaGrabadora : public ChartSink {
 public:
  void ClearItems() override { ops.push_back("clear"); }
  void SetIdAbscissa(const std::string& t) override { ops.push_back("x:" + t); }
  void SetIdOrdinate(const std::string& t) override { ops.push_back("y:" + t); }
  void MoveTo(double x, double y) override {
    ops.push_back("move");
    puntos.push_back({x, y});
  }
  void LineTo(double x, double y) override {
    ops.push_back("line");
    puntos.push_back({x, y});
  }
  void MarkAt(double x, double y, std::uint8_t tipo) override {
    ops.push_back("mark" + std::to_string(tipo));
    puntos.push_back({x, y});
  }
  void SetLineItemsClass(std::uint8_t c) override { ops.push_back("class" + std::to_string(c)); }
  void AutoRange(double m) override { ops.push_back("auto" + std::to_string(static_cast<int>(m))); }

  struct Punto {
    double x, y;
  };
  std::vector<std::string> ops;
  std::vector<Punto> puntos;
};

class PreguntaFija : public SaveFilePrompt {
 public:
  explicit PreguntaFija(std::optional<std::string> respuesta) : respuesta_(std::move(respuesta)) {}
  std::optional<std::string> AskSavePath(const std::string& titulo,
                                         const std::string& propuesto) override {
    titulos.push_back(titulo);
    propuestos.push_back(propuesto);
    return respuesta_;
  }
  std::vector<std::string> titulos, propuestos;

 private:
  std::optional<std::string> respuesta_;
};

class MensajesGrabados : public MessageSink {
 public:
  void ShowMessage(const std::string& texto, TipoMensaje tipo) override {
    textos.push_back(texto);
    tipos.push_back(tipo);
  }
  std::vector<std::string> textos;
  std::vector<TipoMensaje> tipos;
};

class HooksFijos : public UiHooks {
 public:
  void ProcessEvents() override { ++eventos; }
  void SetBusyCursor(bool ocupado) override {
    ocupado_ = ocupado;
    ++cambiosCursor;
  }
  std::string FechaActual() override { return "08/12/2026"; }
  std::string HoraActual() override { return "10:11:12"; }
  bool Ocupado() const { return ocupado_; }
  int eventos = 0;
  int cambiosCursor = 0;

 private:
  bool ocupado_ = false;
};
