#include "cli/imagenes.h"

#include <QGuiApplication>
#include <clocale>
#include <cstdio>
#include <string>

#include "app/escritura_atomica.h"
#include "chart/plot_model.h"
#include "chart/qt/plot_fuentes.h"
#include "chart/qt/plot_render.h"

namespace {

// Qt's own diagnostics (missing runtime folder, font fallbacks) are not the tool's
// messages: only critical and fatal ones reach standard error.
void MensajesQt(QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
  if (tipo == QtCriticalMsg || tipo == QtFatalMsg) {
    const QByteArray t = texto.toLocal8Bit();
    std::fprintf(stderr, "fenwa-cli: %s\n", t.constData());
  }
}

// The Qt application object, made on first use only: analyses never need Qt.
void AsegurarAplicacionQt() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(MensajesQt);
  // Qt sets the whole C locale from the environment; the tool's output keeps its own.
  const char* actual = std::setlocale(LC_ALL, nullptr);
  const std::string anterior = actual ? actual : "C";
  static int argc = 1;
  static char nombre[] = "fenwa-cli";
  static char* argv[] = {nombre, nullptr};
  // Never destroyed: it lives until the process ends.
  new QGuiApplication(argc, argv);
  // The program's typeface, before any chart is drawn.
  RegistrarFuentes();
  std::setlocale(LC_ALL, anterior.c_str());
}

}  // namespace

std::string GuardarBmp(TPlotModel& grafica, const std::string& ruta) {
  AsegurarAplicacionQt();
  int error = 0;
  if (SavePlotBitmap(grafica, ruta, kAnchoGraficaCli, kAltoGraficaCli, &error)) return {};
  return MensajeNoPuedoGuardar(NombreBitmap(ruta), error);
}

std::string GuardarPng(TPlotModel& grafica, const std::string& ruta) {
  AsegurarAplicacionQt();
  int error = 0;
  if (SavePlotPng(grafica, ruta, kAnchoGraficaCli, kAltoGraficaCli, &error)) return {};
  return MensajeNoPuedoGuardar(ruta, error);
}

std::string GuardarSvg(TPlotModel& grafica, const std::string& ruta) {
  AsegurarAplicacionQt();
  int error = 0;
  if (SavePlotSvg(grafica, ruta, kAnchoGraficaCli, kAltoGraficaCli, &error)) return {};
  return MensajeNoPuedoGuardar(ruta, error);
}
