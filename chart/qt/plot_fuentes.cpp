#include "chart/qt/plot_fuentes.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>

// The resources of a static library are linked in only when initialised by name.
static void IniciarRecursoFuentes() { Q_INIT_RESOURCE(plot_fuentes); }

QString FamiliaFenwa() { return QStringLiteral("DejaVu Sans"); }

void AjustarFuenteFenwa(QFont& f) {
  f.setFamilies({FamiliaFenwa()});
  f.setHintingPreference(QFont::PreferVerticalHinting);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
}

QFont FuenteFenwaMonoespaciada(int alturaPixeles) {
  QFont f = FuenteFenwa(alturaPixeles);
  f.setFamilies({QStringLiteral("DejaVu Sans Mono")});
  return f;
}

QFont FuenteFenwa(int alturaPixeles, bool negrita) {
  QFont f;
  AjustarFuenteFenwa(f);
  f.setPixelSize(alturaPixeles);
  f.setBold(negrita);
  return f;
}

bool RegistrarFuentes() {
  static const bool registradas = [] {
    IniciarRecursoFuentes();
    bool bien = true;
    for (const char* cara : {":/fuentes/DejaVuSans.ttf", ":/fuentes/DejaVuSans-Bold.ttf",
                             ":/fuentes/DejaVuSansMono.ttf"})
      bien = QFontDatabase::addApplicationFont(QString::fromLatin1(cara)) >= 0 && bien;
    return bien;
  }();
  QFont f = QGuiApplication::font();
  AjustarFuenteFenwa(f);
  // QApplication also keeps fonts per widget class; its setFont clears them.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    QApplication::setFont(f);
  else
    QGuiApplication::setFont(f);
  return registradas;
}
