// The program's typeface. Charts, bitmaps and windows draw all their text in DejaVu Sans,
// shipped inside the program (chart/qt/plot_fuentes.qrc), so that they look the same on every
// machine whatever fonts it has installed and however its font configuration renders them.
#pragma once

#include <QFont>
#include <QString>

// Family name of the shipped typeface.
QString FamiliaFenwa();

// Registers the shipped faces (regular, bold and fixed-width) with Qt and makes the shipped typeface the
// application's default font, at the size the platform gives it. Call it right after
// creating the QGuiApplication or QApplication, before any widget, chart or font is made:
// faces registered later do not replace a system copy of the same family that is already
// in use. Further calls only set the default font again. False when a face could not be
// registered.
bool RegistrarFuentes();

// The shipped typeface at a pixel height, with the rendering fixed: light (vertical-only)
// hinting, as most desktops use, and grey-level anti-aliasing, whatever the font
// configuration of the machine asks for.
QFont FuenteFenwa(int alturaPixeles, bool negrita = false);

// The shipped fixed-width face (DejaVu Sans Mono) at a pixel height, rendered the same way:
// for tables whose columns are padded with blanks.
QFont FuenteFenwaMonoespaciada(int alturaPixeles);

// Gives `f` the shipped family and the fixed rendering of FuenteFenwa, keeping its size and
// styles.
void AjustarFuenteFenwa(QFont& f);
