// Chart pictures for fenwa-cli (--bmp, --png, --svg and their -auto forms): the chart as the
// charts window shows it when it opens at its design size, written as a BMP, PNG or SVG
// file.
#pragma once

#include <string>

class TPlotModel;

// Size of each chart in the charts window at its design size: the window's 414 x 347
// client area less its 18-pixel menu bar.
inline constexpr int kAnchoGraficaCli = 414;
inline constexpr int kAltoGraficaCli = 329;

// Writes the chart at that size under the bitmap name of `ruta` (its folder, its file name
// up to the first ".", then ".bmp"). Creates the Qt application object it needs (offscreen
// unless QT_QPA_PLATFORM says otherwise) and keeps the process locale as it was. Returns ""
// or the message of the failed write.
std::string GuardarBmp(TPlotModel& grafica, const std::string& ruta);
// The same chart as a PNG file (the pixels of the bitmap) or an SVG file (the same drawing as
// vectors), written under `ruta` itself.
std::string GuardarPng(TPlotModel& grafica, const std::string& ruta);
std::string GuardarSvg(TPlotModel& grafica, const std::string& ruta);
