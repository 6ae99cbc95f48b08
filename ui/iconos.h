// Pictures of the main window's tool buttons and the program icon, painted in code.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

QIcon IconoCargarSerie();      // an open folder with a data curve
QIcon IconoGuardarResult();    // a floppy disk
QIcon IconoAnalizar();         // a magnifying glass over a curve
QIcon IconoGraficas();         // a small log-log chart; its own grey disabled picture
QIcon IconoPrograma();         // the program icon, in every size below

// The sizes of the program icon: the window icon's pictures and the installed PNG files.
inline constexpr int kLadosIconoPrograma[] = {16, 22, 24, 32, 48, 64, 128, 256};
QImage ImagenPrograma(int lado);  // the program icon, lado x lado pixels
QByteArray SvgPrograma();         // the same drawing as an SVG document
