#include "cli/salidas_grafica.h"

#include "app/escritura_atomica.h"
#include "chart/plot_model.h"
#include "cli/imagenes.h"

namespace {

std::string GuardarGrf(TPlotModel& grafica, const std::string& ruta) {
  int error = 0;
  return grafica.SaveToFile(ruta, &error) ? std::string() : MensajeNoPuedoGuardar(ruta, error);
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
