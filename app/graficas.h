// The driver's charts on the chart model: a DestinoGrafica over a TPlotModel, and the property
// values the charts window gives its three charts when it is created.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "app/interfaces.h"
#include "chart/plot_model.h"

// Forwards the driver's chart operations to a chart model (Plot1 or Plot2).
static_assert(static_cast<int>(DestinoGrafica::Lugar::Abscisa) == lpAbscissa);
class DestinoModelo : public DestinoGrafica {
 public:
  explicit DestinoModelo(TPlotModel& modelo) : modelo_(modelo) {}

  void ClearItems() override { modelo_.ClearItems(); }
  void SetIdAbscissa(const std::string& titulo) override { modelo_.SetIdAbscissa(titulo); }
  void SetIdOrdinate(const std::string& titulo) override { modelo_.SetIdOrdinate(titulo); }
  void MoveTo(double x, double y) override { modelo_.MoveTo(x, y); }
  void LineTo(double x, double y) override { modelo_.LineTo(x, y); }
  void Line(double x1, double y1, double x2, double y2) override {
    modelo_.Line(x1, y1, x2, y2);
  }
  void TextAt(double x, double y, int tamano, const std::string& texto) override {
    modelo_.TextAt(x, y, tamano, texto);
  }
  void MarkAt(double x, double y, std::uint8_t tipoMarca) override {
    modelo_.MarkAt(x, y, tipoMarca);
  }
  void SetLineItemsClass(std::uint8_t clase) override {
    modelo_.SetItemClass(tkLineto, clase);
    modelo_.SetItemClass(tkLine, clase);
  }
  void AutoRange(double margenPorcentaje) override { modelo_.AutoRange(margenPorcentaje); }
  void Label(double x, double y, Lugar lugar, int tamano, const std::string& texto) override {
    modelo_.Label(x, y, static_cast<TLabelPlace>(lugar), laRight | laMiddle, tamano, texto);
  }
  void Whisker(double x1, double y1, double x2, double y2, int semialtura) override {
    modelo_.Whisker(x1, y1, x2, y2, semialtura);
  }
  void DotLine(double x1, double y1, double x2, double y2) override {
    modelo_.DotLine(x1, y1, x2, y2);
  }
  void SetStyle(std::optional<std::uint32_t> color, std::uint8_t clase) override {
    if (!guardado_) guardado_ = {modelo_.DataColor(), modelo_.ClassDefault()};
    modelo_.SetDataColor(color.value_or(guardado_->first));
    modelo_.SetClassDefault(clase);
  }
  void RestoreStyle() override {
    if (!guardado_) return;
    modelo_.SetDataColor(guardado_->first);
    modelo_.SetClassDefault(guardado_->second);
    guardado_.reset();
  }

  TPlotModel& Modelo() { return modelo_; }

 private:
  TPlotModel& modelo_;
  std::optional<std::pair<TColor, std::uint8_t>> guardado_;  // before the first SetStyle
};

// The charts window's settings of each chart: rims 20/30/40 (right, top, bottom), stretched
// background, class 0 for new items, 2 decimals on y, no grid, grid steps 1, upper ranges
// 10, yellow data, white scales and font, black chart and window, grey grid, no mouse
// action, flying grey-text shadow on button face, short ticks, clear text background
// (white), numeric labels, MS Sans Serif 13 px.
void AplicarDisenoGrafica(TPlotModel& grafica);
