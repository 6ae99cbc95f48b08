// FENWA, the desktop program: `fenwa [FICHERO...]` opens the main window and loads the
// sample files given, as "&Cargar serie..." would; `fenwa --help` and `fenwa --version`
// answer without a display.
//
// FENWA_CAPTURA=ruta.png saves a picture of the main window once it is up (with the files
// loaded); FENWA_CAPTURA_SALIR=1 then ends the program.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <exception>
#include <optional>

#include "chart/qt/plot_fuentes.h"
#include "chart/qt/plot_render.h"
#include "numeric/error.h"
#include "numeric/fichero_atomico.h"
#include "ui/aplicacion.h"
#include "ui/dialogos.h"
#include "ui/iconos.h"
#include "ui/linea_ordenes.h"
#include "ui/principal.h"

int main(int argc, char** argv) {
  if (const std::optional<int> salida = OpcionesInformativas(argc, argv)) return *salida;
  InstalarManejadorMemoria();
  // Ended by a signal while it saves a file, the program leaves no temporary file behind.
  BorrarTemporalesAlInterrumpir();
  QApplication app(argc, argv);
  // The program's typeface, before any window exists.
  RegistrarFuentes();
  // Qt set the C locale from the environment; numbers in files and reports never go
  // through it, but keep the C library on the point anyway.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("FENWA"));
  QApplication::setWindowIcon(IconoPrograma());
  QTranslator traductor;
  CargarTraducciones(traductor);

  try {
    QtPlatformDialogs dialogos;
    Aplicacion aplicacion(dialogos);
    aplicacion.Principal()->show();

    // The files named on the command line load once the event loop runs, as if chosen
    // with "&Cargar serie..." one after the other.
    bool saliendo = false;
    const QStringList argumentos = QApplication::arguments().mid(1);
    QTimer::singleShot(0, &app, [&aplicacion, &saliendo, argumentos] {
      for (const QString& ruta : argumentos) {
        if (saliendo) break;
        aplicacion.CargarFicheros({ruta});
      }
    });

    const QString captura = qEnvironmentVariable("FENWA_CAPTURA");
    if (!captura.isEmpty()) {
      const bool salir = qEnvironmentVariable("FENWA_CAPTURA_SALIR") == QStringLiteral("1");
      QTimer::singleShot(300, &app, [&aplicacion, &saliendo, captura, salir] {
        GuardarImagen(aplicacion.Principal()->grab().toImage(), captura.toStdString(),
                      QFileInfo(captura).suffix().toUpper().toLatin1().constData());
        if (!salir) return;
        // A message box left open by a load must not keep the program running.
        saliendo = true;
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        QCoreApplication::quit();
      });
    }
    return app.exec();
  } catch (const ErrorNumerico& e) {
    // A library fault outside an analysis (the driver shows those and goes on).
    std::fprintf(stderr, "\n%s\n", e.Texto().c_str());
    QMessageBox::critical(nullptr, QStringLiteral("FENWA"), QString::fromStdString(e.Texto()));
    return 1;
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("FENWA"), QString::fromUtf8(e.what()));
    return 1;
  }
}
