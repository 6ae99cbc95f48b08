// What the dialogs show of a field besides its control, from its row of the parameter table
// (app/parametros.h): the values it takes and its hint, with the decimals a person reads
// here.
#pragma once

#include <QChar>
#include <QString>

#include "app/parametros.h"

// The regional decimal separator, with which a person reads and writes numbers here.
QChar SeparadorRegional();

// A text with each point between two digits written as `separador` ("0,3 a 0,9").
QString ConSeparador(const char* texto, QChar separador);

// The values a field takes and its hint, with the regional decimal separator.
QString LimitesMostrados(const DefinicionCampo& campo);
QString AyudaMostrada(const DefinicionCampo& campo);
