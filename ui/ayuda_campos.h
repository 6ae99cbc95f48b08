// What the parameter dialogs say about each field besides its label: the values it takes
// (shown beside the field) and a short explanation of what it does (its hint).
#pragma once

#include <QString>

struct AyudaCampo {
  const char* clave;    // key of the field (app/parametros.h)
  const char* limites;  // the values it takes, decimals with a point; "" for none
  const char* ayuda;    // what it does, one or two short sentences
};

// The help of a field; nullptr for a key without one.
const AyudaCampo* BuscarAyuda(const char* clave);

// A text with each point between two digits written as `separador` ("0,3 a 0,9").
QString ConSeparador(const char* texto, QChar separador);
