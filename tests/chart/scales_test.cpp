#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "chart/plot_model.h"
#include "chart/scales.h"

namespace {

struct CasoPaso {
  double lo, hi;
  int minTick;
  double step, first;
  int subdiv;
};

TEST(Scales, NiceStep) {
  const CasoPaso casos[] = {
      {0, 10, 3, 2, 0, 4},       {0, 1, 3, 0.2, 0, 4},    {0, 100, 3, 20, 0, 4},
      {0, 7, 3, 2, 0, 4},        {10, 0, 3, -2, 10, 4},   {0, 3, 3, 1, 0, 5},
      {0, 20, 3, 5, 0, 5},       {0.3, 9.7, 3, 2, 2, 4},  {-7, 7, 2, 5, -5, 5},
      {1.5, 1.5, 3, 0, 1.5, 1},
  };
  for (const auto& c : casos) {
    const TNiceStep n = NiceStep(c.minTick, c.hi, c.lo);
    EXPECT_NEAR(n.Step, c.step, 1e-12) << c.lo << ".." << c.hi;
    EXPECT_NEAR(n.First, c.first, 1e-12) << c.lo << ".." << c.hi;
    EXPECT_EQ(n.Subdivisions, c.subdiv) << c.lo << ".." << c.hi;
    // The step never exceeds span / MinTick.
    EXPECT_LE(std::fabs(n.Step), std::fabs(c.hi - c.lo) / c.minTick + 1e-12);
  }
}

// Spans whose ratio to MinTick is exactly 2·10^k, 5·10^k or 10^k take that mantissa, not
// the next smaller one; their neighbours on either side keep theirs.
TEST(Scales, PasoEnLosLimitesExactosDeLaMantisa) {
  const CasoPaso casos[] = {
      {0, 150, 3, 50, 0, 5},       {0, 149.9, 3, 20, 0, 4},     {0, 150.1, 3, 50, 0, 5},
      {0, 1.5, 3, 0.5, 0, 5},      {0, 1.49, 3, 0.2, 0, 4},     {0, 1.51, 3, 0.5, 0, 5},
      {0, 0.6, 3, 0.2, 0, 4},      {0, 0.59, 3, 0.1, 0, 5},     {0, 0.61, 3, 0.2, 0, 4},
      {0, 15000, 3, 5000, 0, 5},   {0, 14990, 3, 2000, 0, 4},   {0, 15010, 3, 5000, 0, 5},
      {0, 0.3, 3, 0.1, 0, 5},      {0, 0.299, 3, 0.05, 0, 5},   {0, 30, 3, 10, 0, 5},
      {150, 0, 3, -50, 150, 5},    {0, 0.06, 3, 0.02, 0, 4},    {0, 1.5e-7, 3, 5e-8, 0, 5},
  };
  for (const auto& c : casos) {
    const TNiceStep n = NiceStep(c.minTick, c.hi, c.lo);
    EXPECT_NEAR(n.Step, c.step, 1e-9 * std::fabs(c.step)) << c.lo << ".." << c.hi;
    EXPECT_NEAR(n.First, c.first, 1e-9 * std::fabs(c.step)) << c.lo << ".." << c.hi;
    EXPECT_EQ(n.Subdivisions, c.subdiv) << c.lo << ".." << c.hi;
  }
}

TEST(Scales, NiceStepOnUnusableRangesStaysFinite) {
  for (double hi : {double(NAN), double(INFINITY), 1e308}) {
    const TNiceStep n = NiceStep(3, hi, -1e308);
    (void)n;  // must return
  }
  const TNiceStep n = NiceStep(3, NAN, 0);
  EXPECT_EQ(n.Step, 0);
}

TEST(Scales, RoundHalfToEvenAndClamp) {
  const std::pair<double, int> casos[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},   {-0.5, 0},
                                          {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {1e300, 2147483647},
                                          {-1e300, -2147483647},   {NAN, 0}};
  for (const auto& [v, e] : casos) EXPECT_EQ(RedondearPixel(v), e) << v;
}

TEST(Scales, MappingCorners) {
  TChartGeometry g;  // 240 x 160, rims 50/10/16/32, range 0..10
  const TScaling s = CalcScaling(g);
  int px, py;
  WorldToPixel(s, g, 0, 0, px, py);
  EXPECT_EQ(px, 50);
  EXPECT_EQ(py, 128);
  WorldToPixel(s, g, 10, 10, px, py);
  EXPECT_EQ(px, 230);
  EXPECT_EQ(py, 16);
  double x, y;
  PixelToWorld(s, g, 140, 72, x, y);
  EXPECT_DOUBLE_EQ(x, 5);
  EXPECT_DOUBLE_EQ(y, 5);
  // Reversed x: LoX still at the left edge.
  g.LoX = 10;
  g.HiX = 0;
  const TScaling r = CalcScaling(g);
  WorldToPixel(r, g, 10, 0, px, py);
  EXPECT_EQ(px, 50);
}

TEST(Scales, LogMapping) {
  TChartGeometry g;
  g.LoX = 1;
  g.HiX = 100;
  g.LogX = true;
  g.LoY = 1;
  g.HiY = 1000;
  g.LogY = true;
  const TScaling s = CalcScaling(g);
  int px, py;
  WorldToPixel(s, g, 10, 10, px, py);
  EXPECT_EQ(px, 140);
  WorldToPixel(s, g, 0, 0, px, py);  // not representable: fixed edges
  EXPECT_EQ(px, 0);
  EXPECT_EQ(py, 160);
  g.LoX = 100;
  g.HiX = 1;
  WorldToPixel(CalcScaling(g), g, 0, 5, px, py);
  EXPECT_EQ(px, 240);
  double x, y;
  PixelToWorld(s, g, 140, 16, x, y);
  EXPECT_NEAR(y, 1000, 1e-9);
}

TEST(Scales, NoDataAreaGivesTheMiddle) {
  TChartGeometry g;
  g.Width = 50;  // narrower than the rims
  const TScaling s = CalcScaling(g);
  EXPECT_EQ(s.kx, 0);
  EXPECT_EQ(s.ox, 25);
  double x, y;
  PixelToWorld(s, g, 3, 50, x, y);
  EXPECT_EQ(x, g.LoX);
}

TEST(Scales, Decimals) {
  EXPECT_EQ(AxisDecimals(2, false, 0, 1), 2);
  EXPECT_EQ(AxisDecimals(-1, false, 0, 1), kScientific);
  EXPECT_EQ(AxisDecimals(-3, false, 0, 50), 0);  // 2 - round(0.4 ln 50)
  EXPECT_EQ(AxisDecimals(-2, false, 0, 1), 2);
  EXPECT_EQ(AxisDecimals(-2, false, 0, 0.01), 4);
  EXPECT_EQ(AxisDecimals(-2, false, 0, 500), 0);
  EXPECT_EQ(AxisDecimals(-2, false, 0, 1e6), kScientific);
  EXPECT_EQ(AxisDecimals(-2, false, 0, 1e-4), kScientific);
  EXPECT_EQ(AxisDecimals(-2, true, 1, 1000), 0);
  EXPECT_EQ(AxisDecimals(-2, true, 0.01, 10), 3);
  EXPECT_EQ(AxisDecimals(-2, false, NAN, 1), kScientific);
}

TEST(Scales, NumberTexts) {
  EXPECT_EQ(NumberText(0.5, 2), "0.50");
  EXPECT_EQ(NumberText(-2, 0), "-2");
  EXPECT_EQ(NumberText(-1e-17, 2), "0.00");
  EXPECT_EQ(NumberText(1500, kScientific), "1.5E+03");
  EXPECT_EQ(NumberText(-0.00025, kScientific), "-2.5E-04");
  EXPECT_EQ(NumberText(1.5e100, kScientific), "********");
  EXPECT_EQ(NumberText(NAN, 2), "NAN");
}

TEST(Scales, TickLabels) {
  TAxisSpec a;
  a.Lo = 0;
  a.Hi = 1;
  a.DecPlace = 2;
  EXPECT_EQ(NumericTickLabel(a, 0.5, false), "0.50");
  a.Lo = 0;
  a.Hi = 1e6;
  a.DecPlace = 1;
  EXPECT_EQ(NumericTickLabel(a, 1e-4, false), "0.0");
  a.DecPlace = 0;
  EXPECT_EQ(NumericTickLabel(a, -1e-4, false), "0");
  EXPECT_EQ(NumericTickLabel(a, 123456789, false), "12345678");
  a.Inscription = "t=& s";
  EXPECT_EQ(NumericTickLabel(a, 3, false), "t=3 s");
  a.Inscription = "kg";
  EXPECT_EQ(NumericTickLabel(a, 3, false), "kg3");
  // Logarithmic axes.
  TAxisSpec l;
  l.Lo = 0.01;
  l.Hi = 100;
  l.Log = true;
  l.DecPlace = -2;
  EXPECT_EQ(NumericTickLabel(l, 0.5, true), "0.5");
  EXPECT_EQ(NumericTickLabel(l, 20, true), "20");
  l.DecPlace = -3;
  EXPECT_EQ(NumericTickLabel(l, 100, true), "2");
  EXPECT_EQ(NumericTickLabel(l, 0.01, true), "-2");
  EXPECT_EQ(NumericTickLabel(l, 50, true), "");
}

TEST(Scales, Inscriptions) {
  EXPECT_EQ(ApplyInscription("", "5"), "5");
  EXPECT_EQ(ApplyInscription("&%", "5"), "5%");
  EXPECT_EQ(ApplyInscription("a&b&c", "5"), "a5b&c");
  EXPECT_EQ(ApplyInscription("$", ""), "");
}

TEST(Scales, LinearAxesOfTheDefaultChart) {
  TPlotModel p;
  FixedFontMetrics fm(6, 13);
  const TAxisDrawing y = p.LayoutScaleY(fm);
  ASSERT_EQ(y.Ticks.size(), 6u);  // 0, 2, ..., 10
  ASSERT_EQ(y.Labels.size(), 6u);
  EXPECT_EQ(y.Labels[0].Text, "0.0");
  EXPECT_EQ(y.Labels[5].Text, "10.0");
  EXPECT_EQ(y.Ticks[0].X1, 50);
  EXPECT_EQ(y.Ticks[0].X2, 44);
  EXPECT_EQ(y.Ticks[0].Y1, 128);
  EXPECT_EQ(y.Labels[0].X, 50 - 18 - 8);
  EXPECT_EQ(y.Labels[0].Y, 128 - 6);
  const TAxisDrawing x = p.LayoutScaleX(fm);
  int largos = 0, cortos = 0;
  for (const auto& t : x.Ticks) {
    if (t.Labelled) {
      ++largos;
      EXPECT_EQ(t.Y2 - t.Y1, 7);
    } else {
      ++cortos;
      EXPECT_EQ(t.Y2 - t.Y1, 4);
      EXPECT_GE(t.Value, -1e-9);
    }
  }
  EXPECT_EQ(largos, 6);
  EXPECT_EQ(cortos, 21);  // 0, 0.5, ..., 10
  EXPECT_EQ(x.Labels[0].X, 50 - 9);
  EXPECT_EQ(x.Labels[0].Y, 128 + 7);
  // "10.0" would pass the right edge (230 + 12 >= 240): right-aligned instead.
  EXPECT_EQ(x.Labels.back().X, 240 - 24);
}

TEST(Scales, ReversedAxisLabels) {
  TPlotModel p;
  p.SetRange(10, 0, 0, 10);
  FixedFontMetrics fm;
  const TAxisDrawing x = p.LayoutScaleX(fm);
  std::vector<std::string> textos;
  for (const auto& l : x.Labels) textos.push_back(l.Text);
  // The same labelled ticks as the normal axis, both ends included.
  EXPECT_EQ(textos, (std::vector<std::string>{"10.0", "8.0", "6.0", "4.0", "2.0", "0.0"}));
  EXPECT_EQ(x.Ticks.size(), 21u + 6u);
  const TAxisDrawing y = p.LayoutScaleY(fm);
  EXPECT_EQ(y.Labels.size(), 6u);
  EXPECT_EQ(x.Ticks.back().X1, 230);  // LoX = 10 at the left edge, 0 at the right one
}

// Rounding allowances of the linear tick placement: 3 · 0.1 = 0.30000000000000004 is still
// the last tick of a 0 ... 0.3 axis, and the tick just before a negative start that lies
// within a thousandth of a step of it is the first one.
TEST(Scales, MargenesDeRedondeoDeLasMarcas) {
  struct Caso {
    double lo, hi;
    std::vector<std::string> etiquetas;
    double primeraCorta, ultimaCorta;
    std::size_t cortas;
  };
  const Caso casos[] = {
      {0, 0.3, {"0.0", "0.1", "0.2", "0.3"}, 0, 0.3, 16},
      {-0.9996, 2, {"-1.0", "-0.5", "0.0", "0.5", "1.0", "1.5", "2.0"}, -0.9, 2, 30},
  };
  FixedFontMetrics fm;
  for (const Caso& c : casos) {
    TPlotModel p;
    p.SetRange(c.lo, 0, c.hi, 10);
    const TAxisDrawing x = p.LayoutScaleX(fm);
    std::vector<std::string> etiquetas;
    std::vector<double> cortas;
    for (const auto& l : x.Labels) etiquetas.push_back(l.Text);
    for (const auto& t : x.Ticks)
      if (!t.Labelled) cortas.push_back(t.Value);
    EXPECT_EQ(etiquetas, c.etiquetas) << c.lo << ".." << c.hi;
    // Short ticks stay inside the axis, up to its end.
    ASSERT_EQ(cortas.size(), c.cortas) << c.lo << ".." << c.hi;
    EXPECT_NEAR(cortas.front(), c.primeraCorta, 1e-12) << c.lo << ".." << c.hi;
    EXPECT_NEAR(cortas.back(), c.ultimaCorta, 1e-12) << c.lo << ".." << c.hi;
  }
}

TEST(Scales, DecimalsOfTheModelAxes) {
  TPlotModel p;
  p.SetRange(0, 0, 10, 1);
  p.SetDecPlaceY(2);
  FixedFontMetrics fm;
  const TAxisDrawing y = p.LayoutScaleY(fm);
  ASSERT_EQ(y.Labels.size(), 6u);
  EXPECT_EQ(y.Labels[0].Text, "0.00");
  EXPECT_EQ(y.Labels[1].Text, "0.20");
  p.SetRange(0, 0, 10, 2.5);  // step 0.5
  EXPECT_EQ(p.LayoutScaleY(fm).Labels[1].Text, "0.50");
  p.SetDecPlaceX(-3);
  p.SetRange(0, 0, 50, 1);
  EXPECT_EQ(p.LayoutScaleX(fm).Labels[1].Text, "10");
}

TEST(Scales, MarkShapes) {
  EXPECT_EQ(MarkShapeOf(0), MarkShape::Pixel);
  EXPECT_EQ(MarkShapeOf(30), MarkShape::Pixel);
  EXPECT_EQ(MarkShapeOf(17), MarkShape::Glyph);
  EXPECT_EQ(MarkShapeOf(65), MarkShape::Character);
  EXPECT_EQ(MarkGlyphPixels(9).Count, 49);
  EXPECT_EQ(MarkGlyphPixels(0).Count, 0);
  const MarkPixels plus = MarkGlyphPixels(1);  // small plus: centre and its 4 neighbours
  ASSERT_EQ(plus.Count, 5);
  int centro = 0;
  for (int i = 0; i < plus.Count; ++i) {
    const auto [dx, dy] = plus.Offsets[i];
    EXPECT_LE(std::abs(dx) + std::abs(dy), 1);
    centro += dx == 0 && dy == 0;
  }
  EXPECT_EQ(centro, 1);
  const MarkPixels chevron = MarkGlyphPixels(21);  // top row is its apex, at dx 0, dy -3
  EXPECT_EQ(chevron.Offsets[0][0], 0);
  EXPECT_EQ(chevron.Offsets[0][1], -3);
}

TEST(Scales, NoFigsAndNoScales) {
  TPlotModel p;
  FixedFontMetrics fm;
  p.SetXLabelType(ftNoFigs);
  const TAxisDrawing x = p.LayoutScaleX(fm);
  EXPECT_TRUE(x.Labels.empty());
  for (const auto& t : x.Ticks) EXPECT_FALSE(t.Labelled);
  p.SetYLabelType(ftNoScales);
  EXPECT_TRUE(p.LayoutScaleY(fm).Ticks.empty());
  p.SetIdOrdinate("y");
  TPlacedText t;
  EXPECT_FALSE(p.OrdinateTitle(fm, t));
}

TEST(Scales, LogAxisTicks) {
  TPlotModel p;
  p.SetRange(0, 1, 10, 1000);
  p.SetLogScaleY(true);
  FixedFontMetrics fm;
  const TAxisDrawing y = p.LayoutScaleY(fm);
  // Three decades with MinTick 3 (3 <= 3.5): the decades only, both ends included.
  std::vector<double> valores;
  for (const auto& t : y.Ticks) valores.push_back(t.Value);
  EXPECT_EQ(valores, (std::vector<double>{1, 10, 100, 1000}));
  EXPECT_EQ(y.Labels[3].Text, "1000.0");
  p.SetMinTickY(10);
  const TAxisDrawing y2 = p.LayoutScaleY(fm);
  int cortos = 0;
  for (const auto& t : y2.Ticks) cortos += !t.Labelled;
  EXPECT_EQ(cortos, 3 * 6);
  // Less than one decade: linear rules.
  p.SetMinTickY(3);
  p.SetRange(0, 1, 10, 5);
  const TAxisDrawing lin = p.LayoutScaleY(fm);
  EXPECT_EQ(lin.Ticks.size(), 5u);  // 1, 2, 3, 4, 5
}

TEST(Scales, TimeAxis) {
  EXPECT_EQ(TimeAxisLabel(3725), " 01:02:05");
  EXPECT_EQ(TimeAxisLabel(-30), "-00:00:30");
  EXPECT_EQ(TimeAxisLabel(360000), " 100:00:00");
  TPlotModel p;
  p.SetYLabelType(ftTime);
  p.SetRange(0, 0, 10, 3600);  // span/3 = 1200: step 1200
  FixedFontMetrics fm;
  const TAxisDrawing y = p.LayoutScaleY(fm);
  ASSERT_EQ(y.Labels.size(), 4u);
  EXPECT_EQ(y.Labels[1].Text, " 00:20:00");
  p.SetRange(0, 0, 10, 2);  // below the first table step: numeric
  EXPECT_EQ(p.LayoutScaleY(fm).Labels[0].Text, "0.0");
}

TEST(Scales, DateTimeAxis) {
  TPlotModel p;
  FixedFontMetrics fm;
  p.SetXLabelType(ftDateTime);
  p.SetRange(0, 0, 1, 10);
  TAxisDrawing x = p.LayoutScaleX(fm);
  EXPECT_TRUE(x.Ticks.empty());
  ASSERT_EQ(x.Labels.size(), 1u);
  EXPECT_EQ(x.Labels[0].Text, "invalid DateTime scale");
  p.SetYLabelType(ftDateTime);
  p.SetRange(0, 40000, 1, 40000.00001);
  const TAxisDrawing y = p.LayoutScaleY(fm);
  ASSERT_EQ(y.Labels.size(), 4u);
  EXPECT_EQ(y.Labels[2].Text, "below 1");
  // Hours of one day (2019-01-01 is day 43466): 8 hours per MinTick, step 8 h.
  p.SetRange(43466, 0, 43467, 10);
  x = p.LayoutScaleX(fm);
  ASSERT_FALSE(x.Ticks.empty());
  EXPECT_EQ(x.Labels[0].Text, "00:00");
  EXPECT_EQ(x.Labels[1].Text, "01-ene-2019");  // one date per day, under the first tick
  EXPECT_EQ(x.Labels[2].Text, "08:00");
  EXPECT_EQ(x.Ticks.size(), 4u);  // 0, 8, 16, 24 h
  EXPECT_EQ(x.Labels.back().Text, "02-ene-2019");  // the next day gets its date
  // Months.
  p.SetRange(43466, 0, 43466 + 365, 10);
  x = p.LayoutScaleX(fm);
  ASSERT_FALSE(x.Labels.empty());
  EXPECT_EQ(x.Labels[0].Text, "01-ene-2019");
  EXPECT_EQ(x.Labels[1].Text, "01-abr-2019");
}

// The date line under the times of a date-time x axis and the x-axis title never share a
// line: the title moves under the dates; numeric axes keep it one line below the numbers.
TEST(Scales, LineaDeFechasYTituloDelEjeXNoSeSolapan) {
  FixedFontMetrics fm(6, 13);
  auto caja = [&](const TPlacedText& t) {
    return std::array<int, 4>{t.X, t.Y, t.X + fm.TextWidth(t.Text), t.Y + fm.TextHeight()};
  };
  auto solapan = [](const std::array<int, 4>& a, const std::array<int, 4>& b) {
    return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
  };
  for (DateForTimeType fechas : {dtOnePerChart, dtOnePerDay, dtAllTicks}) {
    TPlotModel p;
    p.SetControlSize(400, 200);
    p.SetBRim(60);
    p.SetXLabelType(ftDateTime);
    p.DTXFormat().SetDateForTime(fechas);
    p.SetIdAbscissa("hora del día");
    p.SetRange(43466, 0, 43467, 10);
    const TAxisDrawing x = p.LayoutScaleX(fm);
    TPlacedText titulo;
    ASSERT_TRUE(p.AbscissaTitle(fm, titulo));
    const int lineaFechas = p.Height() - p.BRim() + 7 + 13;  // under the times
    int conFecha = 0;
    for (const TPlacedText& l : x.Labels) {
      EXPECT_FALSE(solapan(caja(l), caja(titulo))) << l.Text;
      conFecha += l.Y == lineaFechas;
    }
    EXPECT_GE(conFecha, 1);
    EXPECT_EQ(titulo.Y, lineaFechas + 13);
  }
  TPlotModel numerico;
  numerico.SetIdAbscissa("log10 (d)");
  TPlacedText titulo;
  ASSERT_TRUE(numerico.AbscissaTitle(fm, titulo));
  EXPECT_EQ(titulo.Y, numerico.Height() - numerico.BRim() + 13 + 7);
}

TEST(Scales, DateAndTimeFormats) {
  TDateTimeLabel f;
  f.SetMonthName(false);
  f.SetDateOrder(doYYMMDD);
  f.SetDateSeparator("/");
  EXPECT_EQ(FormatDateLabel(43466.75, f), "2019/01/01");
  f.SetYearLength(ylNone);
  EXPECT_EQ(FormatDateLabel(43466.75, f), "01/01");
  f.SetYearLength(ylYY);
  f.SetDateOrder(doMMDDYY);
  EXPECT_EQ(FormatDateLabel(2, f), "01/01/00");
  EXPECT_EQ(FormatTimeLabel(0.75 + 5.0 / 1440, tfHHMMSS, 1), "18:05");
  EXPECT_EQ(FormatTimeLabel(0.75 + 5.0 / 1440, tfHHhMM, 1), "18h05");
  EXPECT_EQ(FormatTimeLabel(0.75, tfAMPM, 0), "6pm");
  EXPECT_EQ(FormatTimeLabel(0.5 / 24, tfAMPM, 2), "12:30.00am");
}

TEST(Scales, TitlesAndCaption) {
  TPlotModel p;
  FixedFontMetrics fm(6, 13);
  TPlacedText t;
  EXPECT_FALSE(p.AbscissaTitle(fm, t));
  p.SetIdAbscissa("log m");
  ASSERT_TRUE(p.AbscissaTitle(fm, t));
  EXPECT_EQ(t.X, (50 + 230 - 30) / 2);
  EXPECT_EQ(t.Y, 128 + 13 + 7);
  p.SetIdOrdinate("log R/S");
  ASSERT_TRUE(p.OrdinateTitle(fm, t));
  EXPECT_EQ(t.X, 50);
  EXPECT_EQ(t.Y, 3);
  p.SetCaption("Método");
  t = p.CaptionText(fm);
  EXPECT_EQ(t.X, 230 - 36);
}

TEST(Scales, GridPositions) {
  EXPECT_EQ(GridPositions(0, 10, 2.5, false), (std::vector<double>{0, 2.5, 5, 7.5}));
  EXPECT_EQ(GridPositions(10, -1, 3, false), (std::vector<double>{0, 3, 6, 9}));
  EXPECT_TRUE(GridPositions(0, 1e9, 1, false).empty());  // denser than any display
  EXPECT_EQ(GridPositions(1, 1000, -1, true), (std::vector<double>{1, 10, 100}));
  EXPECT_EQ(GridPositions(2, 60, -2, true), (std::vector<double>{2, 5, 10, 20, 50}));
  EXPECT_EQ(GridPositions(1, 10, -3, true).size(), 9u);
  TPlotModel p;
  p.SetGridStyle(gsPoints);
  p.SetGridDx(0.01);  // 1000 columns x 10 rows: capped
  const TGridDrawing g = p.LayoutGridLines();
  EXPECT_TRUE(g.Points);
  EXPECT_EQ(g.PointList.size(), 1000u);
  p.SetGridStyle(gsHorizDotLines);
  const TGridDrawing h = p.LayoutGridLines();
  EXPECT_TRUE(h.Horizontal && h.Dotted && !h.Vertical);
  EXPECT_EQ(h.Y.size(), 10u);
  EXPECT_EQ(h.Y[0], 128);
}

}  // namespace
