// Desktop program entry point (placeholder window until the main window exists).
#include <QApplication>
#include <QLabel>
#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("FENWA");
  QLabel etiqueta("FENWA");
  etiqueta.setWindowTitle("FENWA");
  etiqueta.resize(320, 120);
  etiqueta.show();
  return app.exec();
}
