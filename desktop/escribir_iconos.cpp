// Build-time tool: writes the program icon, as the program paints it, into a hicolor icon
// theme tree: DIR/NxN/apps/fenwa.png for every size of the window icon and
// DIR/scalable/apps/fenwa.svg.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <cstdio>

#include "ui/iconos.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: %s CARPETA\n", argv[0]);
    return 1;
  }
  // Painting needs no display; the offscreen platform keeps the build free of one.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QDir raiz(QString::fromLocal8Bit(argv[1]));
  for (int lado : kLadosIconoPrograma) {
    const QString carpeta = QStringLiteral("%1x%1/apps").arg(lado);
    const QString ruta = raiz.filePath(carpeta + QStringLiteral("/fenwa.png"));
    if (!raiz.mkpath(carpeta) || !ImagenPrograma(lado).save(ruta, "PNG")) {
      std::fprintf(stderr, "no se puede escribir %s\n", qPrintable(ruta));
      return 1;
    }
  }
  const QString ruta = raiz.filePath(QStringLiteral("scalable/apps/fenwa.svg"));
  QFile svg(ruta);
  if (!raiz.mkpath(QStringLiteral("scalable/apps")) || !svg.open(QIODevice::WriteOnly) ||
      svg.write(SvgPrograma()) < 0) {
    std::fprintf(stderr, "no se puede escribir %s\n", qPrintable(ruta));
    return 1;
  }
  return 0;
}
