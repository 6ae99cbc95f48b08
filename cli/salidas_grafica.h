// Chart file formats fenwa-cli can write. Each entry gives the tool two options:
// --<opcion> RUTA saves the method chart, --<opcion>-auto RUTA the autocorrelation chart.
// A new format is one more entry in FormatosGrafica() (salidas_grafica.cpp).
#pragma once

#include <string>
#include <vector>

class TPlotModel;

struct FormatoGrafica {
  std::string opcion;       // "grf" gives --grf and --grf-auto
  std::string descripcion;  // for --help, in Spanish
  // Writes the chart to the path; false when the file cannot be written.
  bool (*guardar)(TPlotModel& grafica, const std::string& ruta);
};

const std::vector<FormatoGrafica>& FormatosGrafica();
