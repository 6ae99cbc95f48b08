// The items of a chart of rows (a forest plot): the names of the rows in the left rim, a
// column of values in the right rim, a title and an x title given as labels, intervals with
// end caps, dotted lines, and notes in the data area. They never overlap one another, the
// rims make room for them as far as the width allows, and the caps of an interval stand out
// of the circle drawn on it however narrow the interval is.
#include <QImage>
#include <QRect>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "chart/plot_model.h"
#include "chart/qt/plot_render.h"

namespace {

// Twelve rows as the comparison of methods draws them, in the charts window's design.
void Bosque(TPlotModel& m, int ancho, int alto) {
  m.SetControlSize(ancho, alto);
  m.SetRRim(20);
  m.SetTRim(30);
  m.SetBRim(40);
  m.SetChartColor(clBlack);
  m.SetWindColor(clBlack);
  m.SetScaleColor(clWhite);
  m.SetDataColor(clYellow);
  TPlotFont f = m.Font();
  f.Height = 13;
  f.Color = clWhite;
  m.SetFont(f);
  m.SetCaption("Método");
  const char* nombres[] = {"R/S", "Varianza", "Varianza Difer.", "Momentos Absolutos", "DFA",
                           "Higuchi", "Periodograma", "GPH", "Whittle Estándar",
                           "Whittle Agregado", "Whittle Local", "Ondículas"};
  for (int i = 0; i < 12; ++i) {
    const double y = -i;
    m.Label(0.5, y, lpLeftRim, laRight, 8, nombres[i]);
    m.Whisker(0.7, y, 0.9, y, 5);
    m.MarkAt(0.8, y, 17);
    m.Label(0.5, y, lpRightRim, laRight, 8, "0,802 [0,789; 0,815]");
    m.Label(0.8, y, lpData, laRight, 8, "sin IC");
  }
  m.DotLine(0.5, -11.5, 0.5, 0.5);
  m.Label(0.5, 0.5, lpTitle, laRight, 0, "fgn_H0.8_n10000_s1 (10000 muestras)");
  m.Label(0.5, 0.5, lpAbscissa, laRight, 0, "H");
  m.SetRange(0.4, -11.6, 1.0, 1.3);
}

// At every size the rim labels, the title, the x title and the caption lie inside the
// chart and off the data area, none over another; the right column is there while the
// data area keeps its minimum width beside it, and the left names get at most four tenths.
TEST(ChartBosque, EtiquetasSinSolaparseEnCadaTamano) {
  struct Caso {
    int ancho, alto;
    bool columna;
  };
  for (const Caso& c : {Caso{414, 329, true}, Caso{1200, 800, true}, Caso{300, 329, false},
                        Caso{414, 150, true}, Caso{180, 120, false}}) {
    SCOPED_TRACE(std::to_string(c.ancho) + "x" + std::to_string(c.alto));
    TPlotModel m;
    Bosque(m, c.ancho, c.alto);
    const MargenesEtiquetas mg = MedirMargenesEtiquetas(m, c.ancho);
    EXPECT_EQ(mg.columnaDerecha, c.columna);
    EXPECT_LE(mg.anchoIzquierda, std::max(40, c.ancho * 4 / 10));
    RenderGrafica r(m);
    const TChartGeometry& g = r.Geometria();
    EXPECT_GE(g.DataWidth(), c.columna ? kDatosMinimosConColumna : 1);
    const QRect datos(g.DataLeft(), g.DataTop(), g.DataWidth() + 1, g.DataHeight() + 1);
    const std::vector<EtiquetaColocada> e = r.EtiquetasDelMarco();
    int izquierda = 0, derecha = 0;
    for (std::size_t i = 0; i < e.size(); ++i) {
      SCOPED_TRACE(e[i].texto.toStdString());
      EXPECT_TRUE(QRect(0, 0, c.ancho, c.alto).contains(e[i].caja));
      EXPECT_FALSE(e[i].caja.intersects(datos));
      for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(e[i].caja.intersects(e[j].caja));
      izquierda += e[i].caja.right() < g.DataLeft() && e[i].caja.top() >= g.DataTop();
      derecha += e[i].caja.left() > g.DataRight();
    }
    // Every row when they are a line of text apart; when closer, some rows keep theirs.
    if (c.alto >= 300) {
      EXPECT_EQ(izquierda, 12);
    } else {
      EXPECT_GE(izquierda, 2);
      EXPECT_LT(izquierda, 12);
    }
    EXPECT_EQ(derecha, c.columna ? izquierda : 0);
    // The title never reaches the caption.
    const QFontMetrics fm(FuenteQt(m.Font()));
    const TPlacedText cap = CaptionPosition(m.Caption(), g, MetricasQt(FuenteQt(m.Font())));
    const QRect caja(cap.X, cap.Y, fm.horizontalAdvance("Método"), fm.height());
    for (const EtiquetaColocada& x : e) EXPECT_FALSE(x.caja.intersects(caja));
  }
}

// An interval of any width, down to both ends on one pixel, shows its caps above and below
// the circle drawn over it; a note is drawn once even when two fall on one place.
TEST(ChartBosque, CapuchonesVisiblesYNotasSinSolaparse) {
  for (const double ancho : {0.2, 0.01, 0.0}) {
    SCOPED_TRACE(ancho);
    TPlotModel m;
    m.SetControlSize(300, 200);
    m.SetChartColor(clWhite);
    m.SetScaleColor(clBlack);
    m.SetRange(0, 0, 10, 10);
    m.SetDataColor(clRed);
    m.Whisker(5 - ancho / 2, 5, 5 + ancho / 2, 5, 5);
    m.SetDataColor(clBlue);
    m.MarkAt(5, 5, 17);
    RenderGrafica r(m);
    QImage d;
    r.BorrarAreaDatos(d);
    r.DibujarElementos(d, 0);
    int px, py;
    m.WorldToPixel(5 + ancho / 2, 5, px, py);
    px -= m.Geometry().LRim;
    py -= m.Geometry().TRim;
    // The circle takes rows py - 3 .. py + 3; the cap reaches py - 5 .. py + 5.
    for (int dy : {-5, -4, 4, 5}) EXPECT_EQ(d.pixel(px, py + dy), 0xFFFF0000u) << dy;
  }
  TPlotModel m;
  m.SetControlSize(300, 200);
  m.SetChartColor(clWhite);
  m.SetRange(0, 0, 10, 10);
  m.SetDataColor(clRed);
  m.Label(5, 5, lpData, laRight, 8, "sin IC");
  const QImage una = RenderPlotImage(m);
  m.SetDataColor(clBlue);
  m.Label(5, 5, lpData, laRight, 8, "sin IC");
  const QImage dos = RenderPlotImage(m);
  EXPECT_EQ(una, dos);  // the second note, on the first one, is left out
}

}  // namespace
