#include "ui/ayuda_campos.h"

#include <QLocale>

QChar SeparadorRegional() {
  const QString s = QLocale().decimalPoint();
  return s.size() == 1 ? s.at(0) : QLatin1Char('.');
}

QString ConSeparador(const char* original, QChar separador) {
  QString texto = QString::fromUtf8(original);
  // A point between digits is a decimal separator.
  for (qsizetype i = 1; i + 1 < texto.size(); ++i)
    if (texto[i] == QLatin1Char('.') && texto[i - 1].isDigit() && texto[i + 1].isDigit())
      texto[i] = separador;
  return texto;
}

QString LimitesMostrados(const DefinicionCampo& campo) {
  return ConSeparador(campo.limites, SeparadorRegional());
}

QString AyudaMostrada(const DefinicionCampo& campo) {
  return ConSeparador(campo.ayuda, SeparadorRegional());
}
