// Drawing of a chart's display list into its data area (RenderGrafica::DibujarElementos):
// the grid and the items, on the bitmap or on a vector surface.
#pragma once

#include <QPoint>
#include <QRgb>
#include <cstddef>

#include "chart/plot_model.h"
#include "chart/scales.h"

class Lienzo;

// The grid of the chart, in data-area pixels.
void DibujarRejilla(Lienzo& lz, const TPlotModel& m, const TChartGeometry& g, const TScaling& s);

// Items from `primero` to the end (or to the first tkNone): every one in black when
// `blancoNegro`, on a data area whose colour is `fondo`. `pluma` is the pen position in
// data-area pixels: where a tkLineto with no tkMoveTo before it starts, updated to the end
// position.
void DibujarListaElementos(Lienzo& lz, const TPlotModel& m, const TChartGeometry& g,
                           const TScaling& s, bool blancoNegro, QRgb fondo,
                           std::size_t primero, QPoint& pluma);
