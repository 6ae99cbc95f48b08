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
  // Writes the chart to the path, whole or not at all. Returns "" or the message of the
  // failed write (MensajeNoPuedoGuardar, naming the file actually written).
  std::string (*guardar)(TPlotModel& grafica, const std::string& ruta);
};

const std::vector<FormatoGrafica>& FormatosGrafica();
