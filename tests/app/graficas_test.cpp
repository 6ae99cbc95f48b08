#include "app/graficas.h"

#include <gtest/gtest.h>

#include "app/analisis.h"

namespace {

TEST(DisenoGrafica, ValoresDeLaVentanaDeGraficas) {
  TPlotModel g;
  AplicarDisenoGrafica(g);
  EXPECT_EQ(g.RRim(), 20);
  EXPECT_EQ(g.TRim(), 30);
  EXPECT_EQ(g.BRim(), 40);
  EXPECT_EQ(g.BackgroundImage().FillMode(), bfStretch);
  EXPECT_EQ(g.ClassDefault(), 0);
  EXPECT_EQ(g.DecPlaceY(), 2);
  EXPECT_EQ(g.GridStyle(), gsNone);
  EXPECT_EQ(g.GridDx(), 1.0);
  EXPECT_EQ(g.GridDy(), 1.0);
  EXPECT_EQ(g.RangeHiX(), 10.0);
  EXPECT_EQ(g.RangeHiY(), 10.0);
  EXPECT_EQ(g.DataColor(), clYellow);
  EXPECT_EQ(g.ScaleColor(), clWhite);
  EXPECT_EQ(g.ChartColor(), clBlack);
  EXPECT_EQ(g.WindColor(), clBlack);
  EXPECT_EQ(g.GridColor(), clGray);
  EXPECT_EQ(g.MouseAction(), maNone);
  EXPECT_EQ(g.ShadowStyle(), ssFlying);
  EXPECT_EQ(g.ShadowColor(), clGrayText);
  EXPECT_EQ(g.ShadowBakColor(), clBtnFace);
  EXPECT_TRUE(g.ShortTicksX());
  EXPECT_TRUE(g.ShortTicksY());
  EXPECT_EQ(g.TextBkStyle(), tbClear);
  EXPECT_EQ(g.TextBkColor(), clWhite);
  EXPECT_EQ(g.XLabelType(), ftNum);
  EXPECT_EQ(g.YLabelType(), ftNum);
  EXPECT_EQ(g.Font().Name, "MS Sans Serif");
  EXPECT_EQ(g.Font().Height, 13);
  EXPECT_EQ(g.Font().Color, clWhite);
}

TEST(DestinoModelo, GraficaDelMetodoEnElModelo) {
  TPlotModel g;
  AplicarDisenoGrafica(g);
  DestinoModelo sink(g);
  Vector x(3), y(3);
  x[1] = 0;
  x[2] = 5;
  x[3] = 10;
  y[1] = 0;
  y[2] = 11;
  y[3] = 20;
  RellenarGraficaMetodo(sink, x, y, "Periodograma");
  EXPECT_EQ(g.IdAbscissa(), "log10 (frecuencia)");
  EXPECT_EQ(g.IdOrdinate(), "log10 (Periodograma)");
  ASSERT_EQ(g.ItemCount(), 5u);
  EXPECT_EQ(g.Item(0).Kind(), tkMoveTo);
  EXPECT_EQ(g.Item(0).ClassNum(), 0);  // only the line item takes the regression class
  EXPECT_EQ(g.Item(1).Kind(), tkLineto);
  EXPECT_EQ(g.Item(1).ClassNum(), 1);
  // Least-squares line y = 1/3 + 2x.
  EXPECT_NEAR(g.Item(0).Y1(), 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(g.Item(1).Y1(), 20.0 + 1.0 / 3.0, 1e-12);
  for (std::size_t i = 2; i < 5; ++i) {
    EXPECT_EQ(g.Item(i).Kind(), tkMarkAt);
    EXPECT_EQ(g.Item(i).MarkType(), 0);
    EXPECT_EQ(g.Item(i).Color(), clYellow);
  }
  // AutoRange(2) over every anchor point.
  EXPECT_NEAR(g.RangeLoX(), -0.2, 1e-12);
  EXPECT_NEAR(g.RangeHiX(), 10.2, 1e-12);
  const double span = 20.0 + 1.0 / 3.0;  // from 0 to the line's end
  EXPECT_NEAR(g.RangeLoY(), -0.02 * span, 1e-12);
  EXPECT_NEAR(g.RangeHiY(), span * 1.02, 1e-12);

  // Another method's titles replace these; an unknown method keeps them.
  RellenarGraficaMetodo(sink, x, y, "Sin título");
  EXPECT_EQ(g.IdAbscissa(), "log10 (frecuencia)");
  EXPECT_EQ(g.Item(2).MarkType(), 17);
  EXPECT_EQ(g.ItemCount(), 5u);
}

TEST(DestinoModelo, GraficaDeAutocorrelacion) {
  TPlotModel g;
  DestinoModelo sink(g);
  Vector r(4);
  r[1] = 1;
  r[2] = 0.5;
  r[3] = 0.25;
  r[4] = -0.5;
  RellenarGraficaAutocorrelacion(sink, r);
  ASSERT_EQ(g.ItemCount(), 4u);
  EXPECT_EQ(g.Item(0).Kind(), tkMoveTo);
  EXPECT_EQ(g.Item(3).Kind(), tkLineto);
  EXPECT_EQ(g.Item(3).X1(), 3.0);
  EXPECT_EQ(g.Item(3).Y1(), -0.5);
  EXPECT_NEAR(g.RangeLoX(), -0.06, 1e-12);
  EXPECT_NEAR(g.RangeHiX(), 3.06, 1e-12);
}

}  // namespace
