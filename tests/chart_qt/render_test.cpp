// Pixel checks of the chart drawing: items, marks, polylines, frame, shadow, outputs.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

#include "chart/plot_model.h"
#include "chart/qt/plot_render.h"
#include "chart/qt/tplot.h"

namespace {

constexpr QRgb kBlanco = 0xFFFFFFFFu;
constexpr QRgb kRojo = 0xFFFF0000u;
constexpr QRgb kVerde = 0xFF00FF00u;
constexpr QRgb kNegro = 0xFF000000u;

// A chart of 300 x 200 with a white data area (no scale border colour in the way).
void Preparar(TPlotModel& m, int w = 300, int h = 200) {
  m.SetControlSize(w, h);
  m.SetChartColor(clWhite);
  m.SetScaleColor(clBlack);
  m.SetDataColor(clRed);
  m.SetRange(0, 0, 10, 10);
}

QPoint EnDatos(const TPlotModel& m, double x, double y) {
  int px, py;
  m.WorldToPixel(x, y, px, py);
  return QPoint(px - m.LRim(), py - m.TRim());
}

QImage Datos(const TPlotModel& m, const OpcionesRender& o = {}) {
  RenderGrafica r(m, o);
  QImage d;
  r.BorrarAreaDatos(d);
  r.DibujarElementos(d, 0);
  return d;
}

// Pixels of one colour, inside the border of the data area.
std::vector<QPoint> PixelesDe(const QImage& img, QRgb c) {
  std::vector<QPoint> v;
  for (int y = 1; y < img.height() - 1; ++y)
    for (int x = 1; x < img.width() - 1; ++x)
      if (img.pixel(x, y) == c) v.emplace_back(x, y);
  return v;
}

TEST(ChartRender, LineWithBothEndsOnOnePixelSetsExactlyThatPixel) {
  TPlotModel m;
  Preparar(m);
  m.Line(5, 5, 5.000001, 5.000001);
  const QImage d = Datos(m);
  const auto px = PixelesDe(d, kRojo);
  ASSERT_EQ(px.size(), 1u);
  EXPECT_EQ(px[0], EnDatos(m, 5, 5));
}

TEST(ChartRender, LineLeavesOutItsLastPixel) {
  TPlotModel m;
  Preparar(m);
  m.Line(2, 5, 6, 5);
  const QImage d = Datos(m);
  const QPoint a = EnDatos(m, 2, 5), b = EnDatos(m, 6, 5);
  EXPECT_EQ(d.pixel(a), kRojo);
  EXPECT_EQ(d.pixel(b - QPoint(1, 0)), kRojo);
  EXPECT_EQ(d.pixel(b), kBlanco);
  EXPECT_EQ(PixelesDe(d, kRojo).size(), static_cast<size_t>(b.x() - a.x()));
}

TEST(ChartRender, RectangleCoversBothCornerPixels) {
  TPlotModel m;
  Preparar(m);
  m.SetRange(-1, -1, 10, 10);  // keeps the corners off the data-area border
  m.SetFillColor(clLime);
  m.Rectangle(0, 0, 1, 1);
  m.Rectangle(9, 9, 8, 8);  // corners given the other way round
  const QImage d = Datos(m);
  for (auto [x1, y1, x2, y2] : {std::tuple{0.0, 0.0, 1.0, 1.0}, std::tuple{9.0, 9.0, 8.0, 8.0}}) {
    const QPoint a = EnDatos(m, x1, y1), b = EnDatos(m, x2, y2);
    const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), bo = std::max(a.y(), b.y());
    // The outline in the item colour runs through both corner pixels; inside is the fill.
    if (l > 0 && t > 0) {
      EXPECT_EQ(d.pixel(l, t), kRojo);
    }
    EXPECT_EQ(d.pixel(r, bo), kRojo);
    EXPECT_EQ(d.pixel(r, t + 1), kRojo);
    EXPECT_EQ(d.pixel((l + r) / 2, (t + bo) / 2), kVerde);
    if (r + 1 < d.width() - 1) {
      EXPECT_EQ(d.pixel(r + 1, (t + bo) / 2), kBlanco);
    }
  }
}

TEST(ChartRender, RectangleOnOnePixelSetsThatPixel) {
  TPlotModel m;
  Preparar(m);
  m.Rectangle(4, 4, 4.000001, 4.000001);
  const auto px = PixelesDe(Datos(m), kRojo);
  ASSERT_EQ(px.size(), 1u);
  EXPECT_EQ(px[0], EnDatos(m, 4, 4));
}

// 8-connected flood fill over the pixels of one colour; returns how many it reaches.
size_t Conectados(const QImage& img, QPoint desde, QRgb c) {
  std::set<std::pair<int, int>> visto;
  std::vector<QPoint> pila{desde};
  while (!pila.empty()) {
    const QPoint p = pila.back();
    pila.pop_back();
    if (p.x() < 0 || p.y() < 0 || p.x() >= img.width() || p.y() >= img.height()) continue;
    if (img.pixel(p) != c || !visto.insert({p.x(), p.y()}).second) continue;
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (dx || dy) pila.push_back(p + QPoint(dx, dy));
  }
  return visto.size();
}

TEST(ChartRender, PolylineOf450PointsIsOneUnbrokenLine) {
  TPlotModel m;
  Preparar(m, 560, 200);  // data area 500 x 152
  m.SetRange(-10, -1.2, 490, 1.2);
  m.MoveTo(0, 0);
  for (int i = 1; i <= 450; ++i) m.LineTo(i, std::sin(i / 7.0));
  const QImage d = Datos(m);
  const auto px = PixelesDe(d, kRojo);
  ASSERT_GT(px.size(), 450u);
  EXPECT_EQ(Conectados(d, EnDatos(m, 0, 0), kRojo), px.size());
  // Every column the line crosses holds some of it.
  for (int x = EnDatos(m, 0, 0).x(); x < EnDatos(m, 450, 0).x(); ++x) {
    bool hay = false;
    for (int y = 0; y < d.height() && !hay; ++y) hay = d.pixel(x, y) == kRojo;
    EXPECT_TRUE(hay) << "column " << x;
  }
}

TEST(ChartRender, DenseNoisyPolylineCoversTheSamePixelsAsAPlainPolyline) {
  // Thousands of points per pixel column are drawn shortened; the pixels must be those of
  // the plain polyline through every point.
  TPlotModel m;
  Preparar(m, 260, 200);
  m.SetRange(-50, -1.5, 20050, 1.5);
  std::vector<QPoint> puntos;
  double y = 0;
  unsigned s = 12345;
  m.MoveTo(0, 0);
  puntos.push_back(EnDatos(m, 0, 0));
  for (int i = 1; i <= 20000; ++i) {
    s = s * 1103515245u + 12345u;
    y = 0.97 * y + (static_cast<int>((s >> 16) % 1000) - 500) / 4000.0;
    m.LineTo(i, y);
    puntos.push_back(EnDatos(m, i, y));
  }
  const QImage d = Datos(m);
  QImage ref(d.size(), QImage::Format_RGB32);
  ref.fill(kBlanco);
  {
    QPainter p(&ref);
    p.setPen(QPen(QColor(kRojo), 0, Qt::SolidLine, Qt::SquareCap));
    p.drawPolyline(puntos.data(), static_cast<int>(puntos.size()));
  }
  int distintos = 0;
  for (int yy = 1; yy < d.height() - 1; ++yy)
    for (int x = 1; x < d.width() - 1; ++x) distintos += d.pixel(x, yy) != ref.pixel(x, yy);
  EXPECT_EQ(distintos, 0);
  EXPECT_GT(PixelesDe(d, kRojo).size(), 1000u);
}

TEST(ChartRender, LinetoWithoutMoveToStartsAtTheTopLeftCorner) {
  TPlotModel m;
  Preparar(m);
  m.SetChartColor(clWhite);
  m.SetScaleColor(clWhite);
  m.LineTo(5, 5);
  const QImage d = Datos(m);
  // The white border hides the corner pixel itself; the line starts right next to it.
  const auto px = PixelesDe(d, kRojo);
  ASSERT_FALSE(px.empty());
  EXPECT_LE(px.front().x(), 2);
  EXPECT_EQ(px.front().y(), 1);
  EXPECT_EQ(Conectados(d, px.front(), kRojo), px.size());
}

TEST(ChartRender, PolylineChangesColourWithoutBreaking) {
  TPlotModel m;
  Preparar(m);
  m.MoveTo(1, 5);
  m.LineTo(5, 5);
  m.SetDataColor(clLime);
  m.LineTo(9, 5);
  const QImage d = Datos(m);
  const QPoint a = EnDatos(m, 1, 5), b = EnDatos(m, 5, 5), c = EnDatos(m, 9, 5);
  for (int x = a.x(); x < b.x(); ++x) EXPECT_EQ(d.pixel(x, a.y()), kRojo) << x;
  for (int x = b.x() + 1; x < c.x(); ++x) EXPECT_EQ(d.pixel(x, a.y()), kVerde) << x;
}

// The glyph rows of the mark table, written out independently of the drawing code.
const unsigned char kTabla[26][7] = {
    {},
    {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00}, {0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00},
    {0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08}, {0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00},
    {0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00}, {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41},
    {0x00, 0x00, 0x1C, 0x1C, 0x1C, 0x00, 0x00}, {0x00, 0x3E, 0x3E, 0x3E, 0x3E, 0x3E, 0x00},
    {0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F}, {0x00, 0x00, 0x1C, 0x14, 0x1C, 0x00, 0x00},
    {0x00, 0x3E, 0x22, 0x22, 0x22, 0x3E, 0x00}, {0x7F, 0x41, 0x41, 0x41, 0x41, 0x41, 0x7F},
    {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00}, {0x00, 0x08, 0x1C, 0x3E, 0x1C, 0x08, 0x00},
    {0x08, 0x1C, 0x3E, 0x7F, 0x3E, 0x1C, 0x08}, {0x00, 0x1C, 0x22, 0x22, 0x22, 0x1C, 0x00},
    {0x1C, 0x22, 0x41, 0x41, 0x41, 0x22, 0x1C}, {0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55},
    {0x08, 0x14, 0x22, 0x41, 0x22, 0x14, 0x08}, {0x00, 0x08, 0x14, 0x22, 0x00, 0x00, 0x00},
    {0x08, 0x14, 0x22, 0x41, 0x00, 0x00, 0x00}, {0x00, 0x22, 0x14, 0x08, 0x00, 0x00, 0x00},
    {0x41, 0x22, 0x14, 0x08, 0x00, 0x00, 0x00}, {0x1C, 0x3E, 0x7F, 0x7F, 0x7F, 0x3E, 0x1C},
    {0x63, 0x77, 0x3E, 0x1C, 0x3E, 0x77, 0x63},
};

TEST(ChartRender, MarkGlyphsMatchTheTableBitForBit) {
  for (int tipo = 1; tipo <= 25; ++tipo) {
    TPlotModel m;
    Preparar(m);
    m.MarkAt(5, 5, static_cast<std::uint8_t>(tipo));
    const QImage d = Datos(m);
    const QPoint c = EnDatos(m, 5, 5);
    int puestos = 0;
    for (int fila = 0; fila < 7; ++fila)
      for (int col = 0; col < 7; ++col) {
        const bool esperado = kTabla[tipo][fila] & (0x40 >> col);
        const bool hay = d.pixel(c.x() - 3 + col, c.y() - 3 + fila) == kRojo;
        EXPECT_EQ(hay, esperado) << "type " << tipo << " row " << fila << " col " << col;
        puestos += esperado;
      }
    EXPECT_EQ(PixelesDe(d, kRojo).size(), static_cast<size_t>(puestos)) << "type " << tipo;
  }
}

TEST(ChartRender, PixelMarkTypesDrawOnePixel) {
  for (int tipo : {0, 26, 30, 32}) {
    TPlotModel m;
    Preparar(m);
    m.MarkAt(3, 7, static_cast<std::uint8_t>(tipo));
    const auto px = PixelesDe(Datos(m), kRojo);
    ASSERT_EQ(px.size(), 1u) << tipo;
    EXPECT_EQ(px[0], EnDatos(m, 3, 7)) << tipo;
  }
}

TEST(ChartRender, CharacterMarkIsDrawnInItsColourCentredOnThePoint) {
  TPlotModel m;
  Preparar(m);
  TPlotFont f = m.Font();
  f.Height = 20;
  m.SetFont(f);
  m.MarkAt(5, 5, 65);
  const QImage d = Datos(m);
  // Anti-aliased glyph edges blend with the background: take the strongly red pixels.
  int l = 1 << 20, r = -1, t = 1 << 20, b = -1, n = 0;
  for (int y = 1; y < d.height() - 1; ++y)
    for (int x = 1; x < d.width() - 1; ++x) {
      const QColor c = QColor::fromRgb(d.pixel(x, y));
      if (c.red() > 200 && c.green() < 120) {
        l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y), ++n;
      }
    }
  ASSERT_GT(n, 10);
  const QPoint c = EnDatos(m, 5, 5);
  EXPECT_NEAR((l + r) / 2.0, c.x(), 2.5);
  EXPECT_NEAR((t + b) / 2.0, c.y(), 4.0);  // capital letters sit above the line's middle
}

TEST(ChartRender, BlackWhiteDrawsItemsBlackOnWhiteAndKeepsFills) {
  TPlotModel m;
  Preparar(m);
  m.SetChartColor(clNavy);
  m.SetWindColor(clTeal);
  m.SetScaleColor(clYellow);
  m.SetFillColor(clLime);
  m.Line(1, 1, 4, 1);
  m.Rectangle(5, 5, 9, 9);
  m.MarkAt(2, 8, 9);
  OpcionesRender o;
  o.BlancoNegro = true;
  o.WindColor = clWhite;
  o.ChartColor = clWhite;
  o.ScaleColor = clBlack;
  const QImage img = RenderPlotImage(m, 0, 0, o);
  const QPoint dl(m.LRim(), m.TRim());
  EXPECT_EQ(img.pixel(EnDatos(m, 2, 1) + dl), kNegro);
  EXPECT_EQ(img.pixel(EnDatos(m, 2, 8) + dl), kNegro);
  EXPECT_EQ(img.pixel(EnDatos(m, 7, 7) + dl), kVerde);
  EXPECT_EQ(img.pixel(EnDatos(m, 5, 9) + dl), kNegro);  // outline corner
  EXPECT_EQ(img.pixel(EnDatos(m, 3, 5) + dl), kBlanco);  // background
  EXPECT_EQ(img.pixel(2, 2), kBlanco);                   // margin
  EXPECT_EQ(img.pixel(m.LRim(), m.TRim()), kNegro);      // data-area border
  // No colour other than black, white, lime and grey shades of anti-aliased text remains.
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = QColor::fromRgb(img.pixel(x, y));
      const bool gris = c.red() == c.green() && c.green() == c.blue();
      ASSERT_TRUE(gris || img.pixel(x, y) == kVerde) << x << "," << y;
    }
}

TEST(ChartRender, ZeroShadowWidthDrawsNoShadowNorBorder) {
  TPlotModel m;
  Preparar(m);
  m.SetWindColor(clTeal);
  m.SetShadowWidth(0);
  const QImage img = RenderPlotImage(m);
  const QRgb teal = ColorQt(clTeal);
  for (int x = 0; x < img.width(); ++x) {
    EXPECT_EQ(img.pixel(x, 0), teal);
    EXPECT_EQ(img.pixel(x, img.height() - 1), teal);
  }
  for (int y = 0; y < img.height(); ++y) {
    EXPECT_EQ(img.pixel(0, y), teal);
    EXPECT_EQ(img.pixel(img.width() - 1, y), teal);
  }
}

TEST(ChartRender, ShadowStripsAndBlackBorder) {
  for (TShadowStyle estilo : {ssFlying, ssBox}) {
    TPlotModel m;
    Preparar(m);
    m.SetWindColor(clTeal);
    m.SetShadowWidth(6);
    m.SetShadowStyle(estilo);
    m.SetShadowColor(clMaroon);
    m.SetShadowBakColor(clOlive);
    const QImage img = RenderPlotImage(m);
    const int w = img.width(), h = img.height(), s = 6;
    EXPECT_EQ(img.pixel(0, 0), kNegro);
    EXPECT_EQ(img.pixel(w - s, h / 2), kNegro);
    EXPECT_EQ(img.pixel(w / 2, h - s), kNegro);
    EXPECT_EQ(img.pixel(w - 3, h / 2), ColorQt(clMaroon)) << estilo;  // right shadow
    EXPECT_EQ(img.pixel(w / 2, h - 3), ColorQt(clMaroon)) << estilo;  // bottom shadow
    EXPECT_EQ(img.pixel(w - 1, 0), ColorQt(clOlive)) << estilo;       // beyond the shadow
    EXPECT_EQ(img.pixel(1, 1), ColorQt(clTeal));
  }
}

TEST(ChartRender, RectFrameDrawsShadowAndHighlightEdges) {
  TPlotModel m;
  Preparar(m);
  m.SetFillColor(clSilver);
  m.RectFrame(2, 2, 8, 8, rbLowered, clMaroon, clLime);
  const QImage d = Datos(m);
  const QPoint a = EnDatos(m, 2, 8), b = EnDatos(m, 8, 2);  // top-left, bottom-right
  const int my = (a.y() + b.y()) / 2, mx = (a.x() + b.x()) / 2;
  EXPECT_EQ(d.pixel(a.x(), my), ColorQt(clMaroon));  // left edge
  EXPECT_EQ(d.pixel(mx, a.y()), ColorQt(clMaroon));  // top edge
  EXPECT_EQ(d.pixel(b.x(), my), kVerde);             // right edge
  EXPECT_EQ(d.pixel(mx, b.y()), kVerde);             // bottom edge
  EXPECT_EQ(d.pixel(mx, my), ColorQt(clSilver));
}

TEST(ChartRender, TextItemOnSolidBackground) {
  TPlotModel m;
  Preparar(m);
  m.SetTextBkStyle(tbSolid);
  m.SetTextBkColor(clLime);
  m.TextAt(5, 5, 10, "Hola");
  const QImage d = Datos(m);
  const QPoint c = EnDatos(m, 5, 5);
  EXPECT_GT(PixelesDe(d, kVerde).size(), 50u);
  // The box is centred on the point.
  bool izq = false, der = false;
  for (int x = c.x() - 30; x < c.x(); ++x) izq |= d.pixel(x, c.y()) != kBlanco;
  for (int x = c.x(); x < c.x() + 30; ++x) der |= d.pixel(x, c.y()) != kBlanco;
  EXPECT_TRUE(izq && der);
}

TEST(ChartRender, DottedGridSetsEveryOtherPixel) {
  TPlotModel m;
  Preparar(m);
  m.SetGridStyle(gsVertDotLines);
  m.SetGridColor(clRed);
  const QImage d = Datos(m);
  const QPoint p = EnDatos(m, 4, 0);
  int seguidos = 0, puestos = 0;
  for (int y = 1; y < d.height() - 1; ++y) {
    const bool a = d.pixel(p.x(), y) == kRojo, b = d.pixel(p.x(), y + 1) == kRojo;
    seguidos += a && b;
    puestos += a;
  }
  EXPECT_EQ(seguidos, 0);
  EXPECT_GT(puestos, d.height() / 2 - 3);
}

TEST(ChartRender, DataAreaHasItsSizeAndBorder) {
  TPlotModel m;
  Preparar(m);
  const QImage d = Datos(m);
  EXPECT_EQ(d.width(), m.DataAreaWidth() + 1);
  EXPECT_EQ(d.height(), m.DataAreaHeight() + 1);
  EXPECT_EQ(d.pixel(0, 0), kNegro);
  EXPECT_EQ(d.pixel(d.width() - 1, d.height() - 1), kNegro);
  EXPECT_EQ(d.pixel(d.width() / 2, d.height() / 2), kBlanco);
}

TEST(ChartRender, RendersAtAGivenSizeWithoutTouchingTheModel) {
  TPlotModel m;
  Preparar(m);
  const QImage img = RenderPlotImage(m, 414, 300);
  EXPECT_EQ(img.size(), QSize(414, 300));
  EXPECT_EQ(m.Width(), 300);
}

TEST(ChartRender, CoordinatesFarOutsideAreLimitedNotLost) {
  TPlotModel m;
  Preparar(m);
  m.Line(-1e12, 5, 1e12, 5);
  m.MoveTo(-1e300, 2);
  m.LineTo(1e300, 2);
  const QImage d = Datos(m);
  const int y5 = EnDatos(m, 0, 5).y(), y2 = EnDatos(m, 0, 2).y();
  for (int x = 1; x < d.width() - 1; ++x) {
    EXPECT_EQ(d.pixel(x, y5), kRojo) << x;
    EXPECT_EQ(d.pixel(x, y2), kRojo) << x;
  }
}

// A 3 x 2 picture: top row red, bottom row lime.
QString Dibujo(const QTemporaryDir& dir) {
  QImage img(3, 2, QImage::Format_RGB32);
  for (int x = 0; x < 3; ++x) {
    img.setPixel(x, 0, kRojo);
    img.setPixel(x, 1, kVerde);
  }
  const QString ruta = QDir(dir.path()).filePath("fondo.bmp");
  EXPECT_TRUE(img.save(ruta, "BMP"));
  return ruta;
}

TEST(ChartRender, BackgroundPictureInItsThreeFillModes) {
  QTemporaryDir dir;
  const QString ruta = Dibujo(dir);
  TPlotModel m;
  Preparar(m);
  m.BackgroundImage().SetName(ruta.toStdString());

  m.BackgroundImage().SetFillMode(bfSimple);
  QImage d = Datos(m);
  // Natural size at the top-left corner (its top row lies under the data-area border).
  EXPECT_EQ(d.pixel(1, 1), kVerde);
  EXPECT_EQ(d.pixel(2, 1), kVerde);
  EXPECT_EQ(d.pixel(1, 2), kBlanco);
  EXPECT_EQ(d.pixel(5, 1), kBlanco);

  m.BackgroundImage().SetFillMode(bfTile);
  d = Datos(m);
  for (int y = 1; y < d.height() - 1; ++y)
    ASSERT_EQ(d.pixel(d.width() / 2, y), y % 2 ? kVerde : kRojo) << y;

  m.BackgroundImage().SetFillMode(bfStretch);
  d = Datos(m);
  EXPECT_EQ(d.pixel(d.width() / 2, d.height() / 4), kRojo);
  EXPECT_EQ(d.pixel(d.width() / 2, 3 * d.height() / 4), kVerde);
  EXPECT_EQ(d.pixel(d.width() - 2, d.height() - 2), kVerde);
}

TEST(ChartRender, UnreadableBackgroundPictureIsDroppedSilently) {
  TPlot plot;
  plot.resize(300, 200);
  plot.SetChartColor(clWhite);
  plot.BackgroundImage().SetName("/nonexistent-folder-xyz/fondo.bmp");
  const QImage img = plot.ChartImage();
  EXPECT_EQ(plot.BackgroundImage().Name(), "");
  EXPECT_EQ(img.pixel(150, 100), kBlanco);
}

TEST(ChartRender, PrintScaleFollowsPrinterAndScreenResolution) {
  EXPECT_DOUBLE_EQ(EscalaImpresion(1200, 96, 1.0), 12.5);
  EXPECT_DOUBLE_EQ(EscalaImpresion(600, 96, 2.0), 12.5);
  EXPECT_DOUBLE_EQ(EscalaImpresion(300, 120, 0.5), 150.0 / 120);
  EXPECT_DOUBLE_EQ(EscalaImpresion(300, 96, 0.333), 100.0 / 96);  // 99.9 dots round to 100
}

TEST(ChartRender, ArbitraryRecordsDrawWithoutHarm) {
  // Records as a chart file may hold them: any kind byte, extreme or non-finite
  // coordinates, widths, depths, angles, sizes and text lengths.
  unsigned s = 2024;
  auto azar = [&] {
    s = s * 1664525u + 1013904223u;
    return s;
  };
  const double extremos[] = {0.0, 5.0, -1e300, 1e300, NAN, INFINITY, -INFINITY, 1e-300, 7.5};
  TPlotModel m;
  Preparar(m);
  std::vector<std::uint8_t> bytes(64 * 400);
  for (std::size_t i = 0; i < 400; ++i) {
    TPlotItem it;
    for (auto& b : it.Bytes) b = static_cast<std::uint8_t>(azar() >> 24);
    it.SetKind(static_cast<ItemType>(1 + azar() % 12));
    it.SetX1(extremos[azar() % 9]);
    it.SetY1(extremos[azar() % 9]);
    it.SetX2(extremos[azar() % 9]);
    it.SetY2(extremos[azar() % 9]);
    std::copy(it.Bytes.begin(), it.Bytes.end(), bytes.begin() + 64 * i);
  }
  m.AppendFromBytes(bytes.data(), bytes.size());
  ASSERT_GT(m.ItemCount(), 0u);
  for (bool log : {false, true}) {
    m.SetRange(1, 1, 10, 10);
    m.SetLogScaleX(log);
    m.SetLogScaleY(log);
    const QImage d = Datos(m);
    EXPECT_EQ(d.pixel(0, 0), kNegro);  // drawing reached the border at the end
    EXPECT_EQ(d.pixel(d.width() - 1, d.height() - 1), kNegro);
  }
}

TEST(ChartRender, BitmapNameRule) {
  const std::pair<const char*, const char*> casos[] = {
      {"/tmp/x/graf.v2.BMP", "/tmp/x/graf.bmp"},
      {"graf", "graf.bmp"},
      {"dir.d/graf", "dir.d/graf.bmp"},
      {"dir/graf.grf", "dir/graf.bmp"},
      {"dir/a.b.c.bmp", "dir/a.bmp"},
  };
  for (auto [entrada, salida] : casos) EXPECT_EQ(NombreBitmap(entrada), salida) << entrada;
}

TEST(ChartOutput, SaveAsBitmapWritesARealBmpUnderTheShortName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TPlot plot;
  plot.resize(320, 240);
  plot.MarkAt(5, 5, 17);
  const std::string nombre = QDir(dir.path()).filePath("graf.v2.BMP").toStdString();
  ASSERT_TRUE(plot.SaveAsBitmap(nombre));
  const QString esperado = QDir(dir.path()).filePath("graf.bmp");
  QFile f(esperado);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(2), QByteArray("BM"));
  f.close();
  EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("graf.v2.BMP")));
  QImage leida(esperado, "BMP");
  ASSERT_FALSE(leida.isNull());
  EXPECT_EQ(leida.size(), QSize(320, 240));
  EXPECT_EQ(leida.convertToFormat(QImage::Format_RGB32), plot.RenderImage());
}

TEST(ChartOutput, SaveAsBitmapReportsAFolderThatDoesNotExist) {
  TPlot plot;
  EXPECT_FALSE(plot.SaveAsBitmap("/nonexistent-folder-xyz/graf.bmp"));
}

TEST(ChartOutput, CopyToClipboardPlacesTheChartImage) {
  TPlot plot;
  plot.resize(200, 150);
  plot.Line(0, 0, 10, 10);
  plot.CopyToClipboard();
  const QImage img = QApplication::clipboard()->image();
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(200, 150));
  EXPECT_EQ(img.convertToFormat(QImage::Format_RGB32), plot.RenderImage());
}

TEST(ChartOutput, PrintToPdfRestoresTheColours) {
  QTemporaryDir dir;
  TPlot plot;
  plot.resize(300, 200);
  plot.SetChartColor(clNavy);
  plot.Line(0, 0, 10, 10);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString pdf = QDir(dir.path()).filePath("g.pdf");
  printer.setOutputFileName(pdf);
  ASSERT_TRUE(plot.Print(printer, true, 1.0));
  QFile f(pdf);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(4), QByteArray("%PDF"));
  EXPECT_EQ(plot.ChartColor(), clNavy);
  EXPECT_EQ(plot.WindColor(), clBtnFace);
}

TEST(ChartOutput, PrintedPageIsTheBlackWhiteChartScaledByResolution) {
  TPlot plot;
  plot.resize(200, 150);
  plot.SetChartColor(clNavy);
  plot.SetWindColor(clTeal);
  plot.SetDataColor(clRed);
  plot.SetFillColor(clLime);
  plot.Rectangle(2, 2, 6, 6);
  plot.MarkAt(8, 8, 9);
  OpcionesRender bn;
  bn.BlancoNegro = true;
  bn.WindColor = clWhite;
  bn.ChartColor = clWhite;
  bn.ScaleColor = clBlack;
  const QImage esperado = plot.RenderImage(bn);
  const int pantalla = plot.logicalDpiX();
  for (double aumento : {1.0, 1.5}) {
    QImage pagina(700, 600, QImage::Format_RGB32);
    pagina.fill(Qt::gray);
    // A page with twice the screen's resolution.
    pagina.setDotsPerMeterX(qRound(2 * pantalla / 0.0254));
    pagina.setDotsPerMeterY(qRound(2 * pantalla / 0.0254));
    ASSERT_TRUE(plot.PrintTo(pagina, true, aumento));
    const double k = EscalaImpresion(pagina.logicalDpiX(), pantalla, aumento);
    ASSERT_NEAR(k, 2 * aumento, 0.02);
    int distintos = 0;
    for (int y = 0; y < esperado.height(); y += 3)
      for (int x = 0; x < esperado.width(); x += 3) {
        const QPoint centro(static_cast<int>((x + 0.5) * k), static_cast<int>((y + 0.5) * k));
        distintos += pagina.pixel(centro) != esperado.pixel(x, y);
      }
    EXPECT_EQ(distintos, 0) << aumento;
    EXPECT_EQ(pagina.pixel(static_cast<int>(210 * k), 10), QColor(Qt::gray).rgb());
  }
  EXPECT_EQ(plot.ChartColor(), clNavy);  // the chart's own colours are untouched
  EXPECT_EQ(plot.WindColor(), clTeal);
}

TEST(ChartWidget, DrawNewItemsMatchesAFullDrawing) {
  TPlot plot;
  plot.resize(300, 200);
  plot.show();
  plot.MoveTo(0, 0);
  for (int i = 1; i <= 150; ++i) plot.LineTo(i / 15.0, 5 + 4 * std::sin(i / 9.0));
  plot.ChartImage();  // everything drawn so far
  EXPECT_EQ(plot.DrawnUpTo(), plot.ItemCount());
  for (int i = 151; i <= 300; ++i) plot.LineTo(i / 30.0, 5 + 4 * std::cos(i / 9.0));
  plot.MarkAt(3, 3, 17);
  plot.DrawNewItems();
  EXPECT_EQ(plot.DrawnUpTo(), plot.ItemCount());
  EXPECT_EQ(plot.ChartImage(), plot.RenderImage());
}

TEST(ChartWidget, FollowsTheWidgetSizeDownToTheModelMinimum) {
  TPlot plot;
  plot.resize(350, 260);
  plot.MarkAt(5, 5, 9);
  EXPECT_EQ(plot.ChartImage().size(), QSize(350, 260));
  EXPECT_EQ(plot.Width(), 350);
  plot.resize(500, 300);
  plot.show();
  EXPECT_EQ(plot.ChartImage().size(), QSize(500, 300));
  EXPECT_EQ(plot.ChartImage(), plot.RenderImage());
  plot.resize(20, 20);  // below LRim + RRim + 50 by TRim + BRim + 10
  EXPECT_EQ(plot.ChartImage().size(), QSize(plot.MinWidth(), plot.MinHeight()));
}

TEST(ChartWidget, TamanoMinimoEsElDelModeloYSigueALosBordes) {
  TPlot plot;
  EXPECT_EQ(plot.minimumSize(), QSize(plot.MinWidth(), plot.MinHeight()));
  plot.SetAutoRedraw(false);  // the rims also set the minimum without repainting
  plot.SetLRim(80);
  plot.SetRRim(25);
  plot.SetTRim(35);
  plot.SetBRim(45);
  EXPECT_EQ(plot.minimumSize(), QSize(80 + 25 + 50, 35 + 45 + 10));
  plot.resize(20, 20);
  EXPECT_EQ(plot.size(), QSize(155, 90));
}

TEST(ChartWidget, RepaintsAreCoalescedIntoOneDrawing) {
  TPlot plot;
  plot.resize(300, 200);
  plot.show();
  plot.ChartImage();
  const int antes = plot.RenderCount();
  plot.SetScaleColor(clRed);
  plot.SetChartColor(clBlue);
  plot.SetCaption("Método");
  plot.SetRangeHiX(20);
  plot.ChartImage();
  EXPECT_EQ(plot.RenderCount(), antes + 1);
}

TEST(ChartWidget, ClearItemsThenDrawNewItemsShowsOnlyTheNewOnes) {
  TPlot plot;
  plot.resize(300, 200);
  plot.show();
  plot.SetChartColor(clWhite);
  plot.SetDataColor(clRed);
  plot.Line(1, 1, 9, 9);
  plot.ChartImage();
  plot.ClearItems();
  plot.Line(1, 9, 9, 1);
  plot.DrawNewItems();
  EXPECT_EQ(plot.ChartImage(), plot.RenderImage());
}

}  // namespace
