#include <gtest/gtest.h>

#include <cmath>

#include "chart/plot_model.h"

namespace {

// Counts the drawing hooks, as the widget would receive them.
class Espia : public TPlotModel {
 public:
  int repintados = 0, borrados = 0;
  void Repintar() override { ++repintados; }
  void BorrarAreaDatos() override { ++borrados; }
};

TEST(PlotModel, DefaultsOfANewChart) {
  TPlotModel p;
  EXPECT_EQ(p.Width(), 240);
  EXPECT_EQ(p.Height(), 160);
  EXPECT_EQ(p.LRim(), 50);
  EXPECT_EQ(p.RRim(), 10);
  EXPECT_EQ(p.TRim(), 16);
  EXPECT_EQ(p.BRim(), 32);
  EXPECT_TRUE(p.AutoRedraw());
  EXPECT_EQ(p.DecPlaceX(), 1);
  EXPECT_EQ(p.DecPlaceY(), 1);
  EXPECT_EQ(p.RangeLoX(), 0);
  EXPECT_EQ(p.RangeHiX(), 10);
  EXPECT_EQ(p.RangeLoY(), 0);
  EXPECT_EQ(p.RangeHiY(), 10);
  EXPECT_EQ(p.DataColor(), clBlack);
  EXPECT_EQ(p.FillColor(), 0xC0C0C0u);
  EXPECT_EQ(p.ChartColor(), clWhite);
  EXPECT_EQ(p.WindColor(), clBtnFace);
  EXPECT_EQ(p.ShadowColor(), clGrayText);
  EXPECT_EQ(p.ShadowBakColor(), clBtnFace);
  EXPECT_EQ(p.MinTickX(), 3);
  EXPECT_EQ(p.GridStyle(), gsNone);
  EXPECT_EQ(p.GridDx(), 1.0);
  EXPECT_EQ(p.XLabelType(), ftNum);
  EXPECT_TRUE(p.ShortTicksX());
  EXPECT_EQ(p.MouseAction(), maNone);
  EXPECT_EQ(p.DTXFormat().DateSeparator(), "-");
  EXPECT_EQ(p.DTXFormat().DateOrder(), doDDMMYY);
  EXPECT_EQ(p.DTYFormat().DateForTime(), dtOnePerDay);
  EXPECT_EQ(p.BackgroundImage().FillMode(), bfSimple);
  EXPECT_EQ(p.ItemCount(), 0u);
  EXPECT_EQ(p.FirstItemKind(), tkNone);
  EXPECT_EQ(p.LastItemKind(), tkNone);
}

TEST(PlotModel, EnumerationOrdinals) {
  EXPECT_EQ(int(tkMarkAt), 1);
  EXPECT_EQ(int(tkMoveTo), 8);
  EXPECT_EQ(int(tkEllipse), 9);
  EXPECT_EQ(int(tkEverything), 10);
  // Added after the first kinds, so that no stored ordinal changes.
  EXPECT_EQ(int(tkLabel), 11);
  EXPECT_EQ(int(tkLabelMore), 12);
  EXPECT_EQ(int(tkWhisker), 13);
  EXPECT_EQ(int(tkDotLine), 14);
  EXPECT_EQ(int(lpAbscissa), 4);
  EXPECT_EQ(int(rbEngraved), 3);
  EXPECT_EQ(int(ftDateTime), 4);
  EXPECT_EQ(int(gsDotLines), 7);
  EXPECT_EQ(int(maZoomDrag), 4);
  EXPECT_EQ(int(dtAllTicks), 3);
}

struct Clamp {
  const char* nombre;
  void (TPlotModel::*set)(int);
  int (TPlotModel::*get)() const;
  int valor, esperado;
};

TEST(PlotModel, ClampedProperties) {
  const Clamp casos[] = {
      {"DecPlaceX 9", &TPlotModel::SetDecPlaceX, &TPlotModel::DecPlaceX, 9, 6},
      {"DecPlaceX -5", &TPlotModel::SetDecPlaceX, &TPlotModel::DecPlaceX, -5, -3},
      {"DecPlaceY -2", &TPlotModel::SetDecPlaceY, &TPlotModel::DecPlaceY, -2, -2},
      {"MinTickY 1", &TPlotModel::SetMinTickY, &TPlotModel::MinTickY, 1, 2},
      {"MinTickX 11", &TPlotModel::SetMinTickX, &TPlotModel::MinTickX, 11, 10},
      {"ShadowWidth 40", &TPlotModel::SetShadowWidth, &TPlotModel::ShadowWidth, 40, 32},
      {"ShadowWidth -1", &TPlotModel::SetShadowWidth, &TPlotModel::ShadowWidth, -1, 0},
  };
  for (const auto& c : casos) {
    TPlotModel p;
    (p.*c.set)(c.valor);
    EXPECT_EQ((p.*c.get)(), c.esperado) << c.nombre;
  }
}

TEST(PlotModel, IgnoredAssignments) {
  TPlotModel p;
  p.SetClassDefault(7);
  p.SetClassDefault(255);
  EXPECT_EQ(p.ClassDefault(), 7);
  p.SetGridDx(0.5);
  p.SetGridDx(0);
  EXPECT_EQ(p.GridDx(), 0.5);
  p.SetGridDy(0);
  EXPECT_EQ(p.GridDy(), 1.0);
}

TEST(PlotModel, LabelTextsKeepTheirFirstCharacters) {
  TPlotModel p;
  p.SetIdAbscissa(std::string(60, 'a'));
  EXPECT_EQ(p.IdAbscissa().size(), 50u);
  p.SetScaleInscriptY("áéíóúñÁÉÍÓÚÑüÜçÇ");  // 16 characters, two bytes each
  EXPECT_EQ(p.ScaleInscriptY(), "áéíóúñÁÉÍÓÚÑüÜç");
}

TEST(PlotModel, SettersRepaintOnlyWithAutoRedraw) {
  Espia p;
  p.SetScaleColor(clRed);
  EXPECT_EQ(p.repintados, 1);
  p.SetDataColor(clBlue);  // affects new items only
  p.SetLineWidth(3);
  p.SetFillColor(clGreen);
  p.SetClassDefault(2);
  EXPECT_EQ(p.repintados, 1);
  p.SetAutoRedraw(false);
  p.SetCaption("x");
  p.SetRangeHiX(20);
  EXPECT_EQ(p.repintados, 1);
  p.SetAutoRedraw(true);
  p.DTXFormat().SetMonthName(false);
  p.BackgroundImage().SetFillMode(bfTile);
  EXPECT_EQ(p.repintados, 3);
}

TEST(PlotModel, AutoRangeEdgeCases) {
  TPlotModel vacio;
  vacio.AutoRange(2);
  EXPECT_DOUBLE_EQ(vacio.RangeLoX(), -1);
  EXPECT_DOUBLE_EQ(vacio.RangeHiX(), 1);
  EXPECT_DOUBLE_EQ(vacio.RangeLoY(), -1);
  EXPECT_DOUBLE_EQ(vacio.RangeHiY(), 1);

  TPlotModel uno;
  uno.MarkAt(3, 5, 17);
  uno.AutoRange(2);
  EXPECT_DOUBLE_EQ(uno.RangeLoX(), 2);
  EXPECT_DOUBLE_EQ(uno.RangeHiX(), 4);
  EXPECT_DOUBLE_EQ(uno.RangeLoY(), 4);
  EXPECT_DOUBLE_EQ(uno.RangeHiY(), 6);

  TPlotModel dos;
  dos.MarkAt(0, 0, 17);
  dos.MarkAt(10, 20, 17);
  dos.AutoRange(2);
  EXPECT_DOUBLE_EQ(dos.RangeLoX(), -0.2);
  EXPECT_DOUBLE_EQ(dos.RangeHiX(), 10.2);
  EXPECT_DOUBLE_EQ(dos.RangeLoY(), -0.4);
  EXPECT_DOUBLE_EQ(dos.RangeHiY(), 20.4);
}

TEST(PlotModel, AutoRangeUsesSecondPointsAndEllipseBoxes) {
  TPlotModel p;
  p.Line(0, 0, 4, 2);
  p.Ellipse(10, 10, 3, 5);
  p.TextAt(-1, -1, 8, "t");  // anchor only; its text bytes overlap X2/Y2
  p.AutoRange(0);
  EXPECT_DOUBLE_EQ(p.RangeLoX(), -1);
  EXPECT_DOUBLE_EQ(p.RangeHiX(), 13);
  EXPECT_DOUBLE_EQ(p.RangeLoY(), -1);
  EXPECT_DOUBLE_EQ(p.RangeHiY(), 15);
}

TEST(PlotModel, AutoRangeOnLogAxisKeepsNonPositiveEndsOut) {
  TPlotModel p;
  p.SetRangeLoX(1);
  p.SetLogScaleX(true);
  ASSERT_TRUE(p.LogScaleX());
  p.MarkAt(0, 0, 1);
  p.MarkAt(10, 20, 1);
  p.AutoRange(2);
  EXPECT_DOUBLE_EQ(p.RangeLoX(), 1);  // -0.2 not applied
  EXPECT_DOUBLE_EQ(p.RangeHiX(), 10.2);
}

TEST(PlotModel, AutoRangeIgnoresCoordinatesThatAreNotFinite) {
  TPlotModel p;
  p.MarkAt(NAN, 1, 1);
  p.MarkAt(INFINITY, 3, 1);
  p.MarkAt(2, -INFINITY, 1);
  p.AutoRange(0);
  EXPECT_DOUBLE_EQ(p.RangeLoX(), 1);
  EXPECT_DOUBLE_EQ(p.RangeHiX(), 3);
  EXPECT_DOUBLE_EQ(p.RangeLoY(), 1);
  EXPECT_DOUBLE_EQ(p.RangeHiY(), 3);
}

TEST(PlotModel, SingleEndAssignment) {
  TPlotModel p;
  p.SetRangeLoX(10);  // equal to the high end
  EXPECT_DOUBLE_EQ(p.RangeLoX(), 9);
  EXPECT_DOUBLE_EQ(p.RangeHiX(), 11);
  p.SetRangeHiY(1e-31);  // within 1e-30 of the low end 0
  EXPECT_DOUBLE_EQ(p.RangeLoY(), -1);
  EXPECT_DOUBLE_EQ(p.RangeHiY(), 1);
  p.SetRangeLoY(5);  // reversed axes are allowed
  EXPECT_DOUBLE_EQ(p.RangeLoY(), 5);
  p.SetRangeHiX(NAN);
  EXPECT_DOUBLE_EQ(p.RangeHiX(), 11);
}

TEST(PlotModel, LogAxisAcceptanceAndEnds) {
  TPlotModel p;
  p.SetLogScaleX(true);  // RangeLoX is 0
  EXPECT_FALSE(p.LogScaleX());
  p.SetRangeLoX(0.1);
  p.SetLogScaleX(true);
  EXPECT_TRUE(p.LogScaleX());
  p.SetRangeLoX(-5);  // below 1e-30 on a log axis: ignored
  EXPECT_DOUBLE_EQ(p.RangeLoX(), 0.1);
  p.SetXLabelType(ftDateTime);
  EXPECT_FALSE(p.LogScaleX());
  p.SetLogScaleX(true);
  EXPECT_FALSE(p.LogScaleX());
}

TEST(PlotModel, SetRangeRules) {
  TPlotModel p;
  p.SetRange(1, 2, 1, 8);  // x span zero: x unchanged
  EXPECT_DOUBLE_EQ(p.RangeLoX(), 0);
  EXPECT_DOUBLE_EQ(p.RangeHiX(), 10);
  EXPECT_DOUBLE_EQ(p.RangeLoY(), 2);
  EXPECT_DOUBLE_EQ(p.RangeHiY(), 8);
  p.SetRangeLoY(1);
  p.SetLogScaleY(true);
  p.SetRange(-3, -1, 3, 100);
  EXPECT_DOUBLE_EQ(p.RangeLoX(), -3);
  EXPECT_DOUBLE_EQ(p.RangeLoY(), 1);  // log end below 1e-30 not stored
  EXPECT_DOUBLE_EQ(p.RangeHiY(), 100);
  p.SetRange(NAN, 0, INFINITY, 0);
  EXPECT_DOUBLE_EQ(p.RangeLoX(), -3);
  EXPECT_DOUBLE_EQ(p.RangeHiX(), 3);
}

TEST(PlotModel, AddingItemsCopiesTheCurrentDefaults) {
  TPlotModel p;
  p.SetDataColor(clYellow);
  p.SetLineWidth(2);
  p.SetClassDefault(4);
  p.SetFillColor(clAqua);
  p.Rectangle(1, 2, 3, 4);
  p.RectFrame(0, 0, 1, 1, rbEmbossed, clRed, clWhite);
  p.Bar3D(0, 0, 1, 1, 12, 200);
  p.TextAt(1, 1, 10, "abcdefghijklmnopqrst");
  p.MarkAt(5, 6, 65);
  ASSERT_EQ(p.ItemCount(), 5u);
  const TPlotItem& r = p.Item(0);
  EXPECT_EQ(r.Kind(), tkRect);
  EXPECT_EQ(r.Color(), clYellow);
  EXPECT_EQ(r.LineWidth(), 2);
  EXPECT_EQ(r.ClassNum(), 4);
  EXPECT_EQ(r.FillColor(), clAqua);
  EXPECT_DOUBLE_EQ(r.X2(), 3);
  EXPECT_EQ(p.Item(1).LineWidth(), 1);  // a frame always has width 1
  EXPECT_EQ(p.Item(1).FrameStyle(), rbEmbossed);
  EXPECT_EQ(p.Item(1).ShadowColor(), clRed);
  EXPECT_EQ(p.Item(1).HiliteColor(), clWhite);
  EXPECT_EQ(p.Item(2).Angle(), 180);
  EXPECT_EQ(p.Item(2).Depth(), 12);
  EXPECT_EQ(p.Item(3).Text(), "abcdefghijklmno");
  EXPECT_EQ(p.Item(3).CharSize(), 10);
  EXPECT_EQ(p.Item(4).MarkType(), 65);
  EXPECT_EQ(p.FirstItemKind(), tkRect);
  EXPECT_EQ(p.LastItemKind(), tkMarkAt);
}

TEST(PlotModel, RemovingAndClearing) {
  Espia p;
  p.RemoveLastItem();
  p.RemoveFirstItem();
  p.MoveTo(0, 0);
  p.LineTo(1, 1);
  p.MarkAt(2, 2, 1);
  p.DrawNewItems();
  EXPECT_EQ(p.DrawnUpTo(), 3u);
  p.RemoveFirstItem();
  EXPECT_EQ(p.FirstItemKind(), tkLineto);
  EXPECT_EQ(p.DrawnUpTo(), 2u);
  p.RemoveLastItem();
  EXPECT_EQ(p.LastItemKind(), tkLineto);
  EXPECT_EQ(p.DrawnUpTo(), 1u);
  p.MarkAt(3, 3, 1);
  EXPECT_EQ(p.DrawnUpTo(), 1u);  // the new item is not drawn yet
  p.ClearItems();
  EXPECT_EQ(p.ItemCount(), 0u);
  EXPECT_EQ(p.DrawnUpTo(), 0u);
  EXPECT_EQ(p.borrados, 1);
}

TEST(PlotModel, ClassesAndColours) {
  TPlotModel p;
  p.MoveTo(0, 0);
  p.LineTo(1, 1);
  p.MarkAt(1, 1, 17);
  p.LineTo(2, 2);
  p.SetItemClass(tkLineto, 1);
  EXPECT_EQ(p.Item(0).ClassNum(), 0);
  EXPECT_EQ(p.Item(1).ClassNum(), 1);
  EXPECT_EQ(p.Item(2).ClassNum(), 0);
  EXPECT_EQ(p.Item(3).ClassNum(), 1);
  p.SetItemClass(tkEverything, 255);  // ignored
  p.SetItemClass(tkNone, 3);          // ignored
  EXPECT_EQ(p.Item(0).ClassNum(), 0);
  p.SetClassColor(clRed, 1);
  EXPECT_EQ(p.Item(1).Color(), clRed);
  EXPECT_EQ(p.Item(2).Color(), clBlack);
  p.SetClassColor(clLime, 255);
  for (std::size_t i = 0; i < p.ItemCount(); ++i) EXPECT_EQ(p.Item(i).Color(), clLime);
  // Closed rectangle, corners in any order.
  EXPECT_EQ(p.SetClassInRect(tkEverything, 7, 2, 2, 1, 1), 3);
  EXPECT_EQ(p.Item(0).ClassNum(), 0);
  EXPECT_EQ(p.SetClassInRect(tkMarkAt, 9, 0, 0, 5, 5), 1);
  EXPECT_EQ(p.Item(2).ClassNum(), 9);
  EXPECT_EQ(p.SetClassInRect(tkMarkAt, 255, 0, 0, 5, 5), 0);
  EXPECT_EQ(p.SetClassInRect(tkNone, 1, 0, 0, 5, 5), 0);
}

TEST(PlotModel, FindNearest) {
  TPlotModel p;
  p.MarkAt(1, 1, 1);
  p.MarkAt(3, 3, 1);
  p.LineTo(3, 3);
  p.MarkAt(-1, -1, 1);  // as near to (0,0) as the first: the first wins
  double d = 0;
  EXPECT_EQ(p.FindNearest(0, 0, tkEverything, 255, d), 0);
  EXPECT_DOUBLE_EQ(d, std::sqrt(2.0));
  EXPECT_EQ(p.FindNearest(3, 3.1, tkLineto, 255, d), 2);
  EXPECT_EQ(p.FindNearest(0, 0, tkEllipse, 255, d), -1);
  EXPECT_DOUBLE_EQ(d, std::sqrt(1.7e308));
  EXPECT_EQ(p.FindNearest(0, 0, tkEverything, 5, d), -1);
  // In pixels: 240 x 160 control, range 0..10: 18 px per x unit, 11.2 per y unit.
  EXPECT_EQ(p.FindNearestPixel(3, 2.5, tkMarkAt, 255, d), 1);
  EXPECT_NEAR(d, 6, 1e-12);  // mark at py 94 (94.4), query at py 100
}

TEST(PlotModel, Transforms) {
  TPlotModel p;
  p.Line(1, 2, 3, 4);
  p.TextAt(1, 1, 8, "texto");
  p.Ellipse(0, 0, 1, 1);
  p.TransformItem(0, 2, 1, 3, -1);
  EXPECT_DOUBLE_EQ(p.Item(0).X1(), 3);
  EXPECT_DOUBLE_EQ(p.Item(0).Y1(), 5);
  EXPECT_DOUBLE_EQ(p.Item(0).X2(), 7);
  EXPECT_DOUBLE_EQ(p.Item(0).Y2(), 11);
  p.TransformItem(99, 2, 1, 3, -1);  // no such item: nothing
  p.TransformAll(1, 10, 1, 0);
  EXPECT_EQ(p.Item(1).Text(), "texto");  // its second-point bytes hold the text
  EXPECT_DOUBLE_EQ(p.Item(1).X1(), 11);
  EXPECT_DOUBLE_EQ(p.Item(2).X2(), 11);
  p.SetItemClass(tkEllipse, 2);
  p.TransformClass(2, 2, 1, 2, 1);
  EXPECT_DOUBLE_EQ(p.Item(2).X1(), 21);
  EXPECT_DOUBLE_EQ(p.Item(2).X2(), 12);  // only shifted
  EXPECT_DOUBLE_EQ(p.Item(0).X1(), 13);  // other class untouched
  p.TransformClass(255, 1, 1, 1, 1);
  EXPECT_EQ(p.Item(1).Text(), "texto");
  EXPECT_DOUBLE_EQ(p.Item(1).X1(), 12);
}

TEST(PlotModel, ControlSizeHasAMinimum) {
  TPlotModel p;
  p.SetControlSize(10, 10);
  EXPECT_EQ(p.Width(), 50 + 10 + 50);
  EXPECT_EQ(p.Height(), 16 + 32 + 10);
  p.SetControlSize(414, 347);
  EXPECT_EQ(p.DataAreaWidth(), 414 - 60);
  EXPECT_EQ(p.DataBitmapHeight(), 347 - 48 + 1);
}

TEST(PlotModel, DesignTimeValuesOfTheChartsWindow) {
  TPlotModel p;
  p.SetRRim(20);
  p.SetTRim(30);
  p.SetBRim(40);
  p.SetDecPlaceY(2);
  p.SetDataColor(clYellow);
  p.SetScaleColor(clWhite);
  p.SetChartColor(clBlack);
  p.SetWindColor(clBlack);
  p.SetGridColor(clGray);
  p.SetCaption("Método");
  p.SetControlSize(406, 300);
  int px, py;
  p.WorldToPixel(0, 0, px, py);
  EXPECT_EQ(px, 50);
  EXPECT_EQ(py, 300 - 40);
  p.WorldToPixel(10, 10, px, py);
  EXPECT_EQ(px, 406 - 20);
  EXPECT_EQ(py, 30);
}

}  // namespace

namespace {

TEST(PlotText, Latin1Conversions) {
  const std::pair<std::string, std::string> casos[] = {
      {"abc", "abc"},
      {"año", "a\xF1o"},
      {"€", "?"},             // outside Latin-1
      {"a\xC3", "a?"},        // truncated sequence
      {"\x80z", "?z"},        // stray continuation byte
      {"\xF0\x9F\x98\x80", "?"},
  };
  for (const auto& [utf8, latin1] : casos) EXPECT_EQ(Utf8ALatin1(utf8), latin1) << utf8;
  std::string todos;
  for (int c = 1; c < 256; ++c) todos += char(c);
  EXPECT_EQ(Utf8ALatin1(Latin1AUtf8(todos)), todos);
  EXPECT_EQ(PrimerosCaracteres("ñandú", 4), "ñand");
  EXPECT_EQ(PrimerosCaracteres("ab", 5), "ab");
  TPlotItem it;
  it.SetText("€uro y más texto largo");
  EXPECT_EQ(it.Text(), "?uro y más text");
}

}  // namespace

namespace {

// A label of any length goes into one tkLabel and as many tkLabelMore records as it needs,
// all at its point, and reads back whole; a text beyond the limit is cut before a whole
// character. The interval and the dotted line have second points, which the range fit and
// the transforms use.
TEST(PlotModel, EtiquetasLargasIntervalosYLineasDePuntos) {
  struct Caso {
    std::string texto;
    std::size_t registros;
  };
  const std::string largo(2000, 'a');
  const Caso casos[] = {
      {"", 1},
      {"R/S", 1},
      {std::string(32, 'x'), 1},
      {std::string(33, 'x'), 2},
      {"Momentos Absolutos, Whittle Estándar y Ondículas: 0,802 [0,789; 0,815]", 3},
      {largo, 1 + (1000 - 32 + 34) / 35},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto.size());
    TPlotModel m;
    m.SetDataColor(clAqua);
    m.SetClassDefault(4);
    m.Label(0.5, -3.0, lpLeftRim, laCenter | laAbove, 8, c.texto);
    ASSERT_EQ(m.ItemCount(), c.registros);
    EXPECT_EQ(m.Item(0).Kind(), tkLabel);
    for (std::size_t i = 0; i < m.ItemCount(); ++i) {
      EXPECT_EQ(m.Item(i).Kind(), i == 0 ? tkLabel : tkLabelMore);
      EXPECT_EQ(m.Item(i).X1(), 0.5);
      EXPECT_EQ(m.Item(i).Y1(), -3.0);
      EXPECT_EQ(m.Item(i).Color(), clAqua);
      EXPECT_EQ(m.Item(i).ClassNum(), 4);
    }
    EXPECT_EQ(m.Item(0).LabelPlace(), lpLeftRim);
    EXPECT_EQ(m.Item(0).LabelAlign(), laCenter | laAbove);
    EXPECT_EQ(m.Item(0).LabelSize(), 8);
    EXPECT_EQ(m.LabelText(0), c.texto.substr(0, 1000));
    EXPECT_EQ(m.LabelText(1), "");  // not a tkLabel
    EXPECT_TRUE(m.HasLabels(lpLeftRim));
    EXPECT_FALSE(m.HasLabels(lpRightRim));
  }
  // Cut before a character of two bytes that would not fit whole.
  TPlotModel m;
  m.Label(0, 0, lpData, 0, 0, std::string(999, 'a') + "é");
  EXPECT_EQ(m.LabelText(0), std::string(999, 'a'));

  TPlotModel r;
  r.Whisker(0.25, 1.0, 0.75, 1.0, 5);
  r.DotLine(0.5, -2.0, 0.5, 3.0);
  EXPECT_EQ(r.Item(0).CapSize(), 5);
  EXPECT_TRUE(r.Item(0).HasSecondPoint());
  EXPECT_TRUE(r.Item(1).HasSecondPoint());
  r.AutoRange(0);
  EXPECT_EQ(r.RangeLoX(), 0.25);
  EXPECT_EQ(r.RangeHiX(), 0.75);
  EXPECT_EQ(r.RangeLoY(), -2.0);
  EXPECT_EQ(r.RangeHiY(), 3.0);
  r.TransformAll(2, 1, 1, 0);
  EXPECT_EQ(r.Item(0).X2(), 2.5);
  EXPECT_EQ(r.Item(1).Y2(), 3.0);
}

// The rims the labels take are kept apart from the rims of the properties: LRim and RRim
// keep their values, the geometry and the mapping use both.
TEST(PlotModel, BordesDeLasEtiquetas) {
  TPlotModel m;
  m.SetLRim(50);
  m.SetRRim(20);
  m.SetLabelRims(70, 130);
  EXPECT_EQ(m.LRim(), 50);
  EXPECT_EQ(m.RRim(), 20);
  EXPECT_EQ(m.Geometry().LRim, 120);
  EXPECT_EQ(m.Geometry().RRim, 150);
  EXPECT_EQ(m.LabelRimLeft(), 70);
  EXPECT_EQ(m.MinWidth(), 50 + 20 + 50);
  m.SetLRim(40);  // a property change keeps the labels' room
  EXPECT_EQ(m.Geometry().LRim, 110);
  m.SetLabelRims(0, 0);
  EXPECT_EQ(m.Geometry().LRim, 40);
  EXPECT_EQ(m.Geometry().RRim, 20);
}

}  // namespace
