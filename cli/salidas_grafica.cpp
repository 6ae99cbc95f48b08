#include "cli/salidas_grafica.h"

#include "chart/plot_model.h"
#include "cli/imagenes.h"

namespace {

bool GuardarGrf(TPlotModel& grafica, const std::string& ruta) {
  return grafica.SaveToFile(ruta);
}

}  // namespace

// Formats that draw with Qt (pictures) add their entry below; their function creates the
// Qt application object it needs itself, so analyses never depend on Qt.
const std::vector<FormatoGrafica>& FormatosGrafica() {
  static const std::vector<FormatoGrafica> formatos = {
      {"grf", "formato propio de gráficas (.grf)", GuardarGrf},
      {"bmp", "mapa de bits (.bmp)", GuardarBmp},
      {"png", "imagen PNG (.png)", GuardarPng},
      {"svg", "gráfico vectorial SVG (.svg)", GuardarSvg},
  };
  return formatos;
}
