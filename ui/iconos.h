// Pictures of the main window's tool buttons and the program icon, painted in code.
#pragma once

#include <QIcon>

QIcon IconoCargarSerie();      // an open folder with a data curve
QIcon IconoGuardarResult();    // a floppy disk
QIcon IconoAnalizar();         // a magnifying glass over a curve
QIcon IconoGraficas();         // a small log-log chart; its own grey disabled picture
QIcon IconoPrograma();         // the program icon
