// The chart as PNG and SVG: the PNG holds the pixels of the bitmap; the SVG draws the same
// items, scales, labels and colours as vectors, texts as text, cut to the data area.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "chart/plot_model.h"
#include "chart/qt/plot_render.h"
#include "chart/qt/tplot.h"
#include "support/lector_svg.h"

namespace {

using prueba::DocumentoSvg;
using prueba::ElementoSvg;
using prueba::LeerSvg;

// A chart with every kind of drawing the program makes: a regression line (red), a long
// polyline (green), glyph and character marks (yellow), axis titles, caption and grid.
void Preparar(TPlotModel& m) {
  m.SetControlSize(360, 260);
  m.SetTRim(30);
  m.SetBRim(40);
  m.SetRRim(20);
  m.SetWindColor(clNavy);
  m.SetChartColor(clWhite);
  m.SetScaleColor(clBlack);
  m.SetFontColor(clMaroon);
  m.SetGridStyle(gsDotLines);
  m.SetGridColor(clGray);
  m.SetCaption("Método");
  m.SetIdAbscissa("log10 (d)");
  m.SetIdOrdinate("log10 (R/S)");
  m.SetRange(0, 0, 10, 10);
  m.SetDataColor(clRed);
  m.MoveTo(0.5, 1);
  m.LineTo(9.5, 9);
  m.SetDataColor(clLime);
  m.MoveTo(0, 5);
  for (int i = 1; i <= 450; ++i) m.LineTo(i / 45.0, 5 + 3 * std::sin(i / 7.0));
  m.SetDataColor(clYellow);
  for (int i = 1; i <= 9; ++i) m.MarkAt(i, 2 + 0.5 * (i % 3), i % 2 ? 17 : 3);
  m.MarkAt(3, 7, 65);
}

QImage Rasterizar(const QByteArray& svg, QSize tamano) {
  QSvgRenderer r(svg);
  QImage img(tamano, QImage::Format_RGB32);
  img.fill(Qt::magenta);
  QPainter p(&img);
  r.render(&p, QRectF(QPointF(0, 0), tamano));
  return img;
}

TEST(SalidaVectorial, PngTieneLosPixelesDelBitmap) {
  QTemporaryDir dir;
  TPlotModel m;
  Preparar(m);
  const QString png = QDir(dir.path()).filePath("g.v2.png");
  ASSERT_TRUE(SavePlotPng(m, png.toStdString()));
  ASSERT_TRUE(SavePlotBitmap(m, QDir(dir.path()).filePath("g.bmp").toStdString()));
  QFile f(png);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
  const QImage dePng(png, "PNG"), deBmp(QDir(dir.path()).filePath("g.bmp"), "BMP");
  ASSERT_FALSE(dePng.isNull());
  EXPECT_EQ(dePng.convertToFormat(QImage::Format_RGB32),
            deBmp.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(dePng.size(), QSize(360, 260));
  EXPECT_FALSE(SavePlotPng(m, "/nonexistent-folder-xyz/g.png"));
}

TEST(SalidaVectorial, SvgDibujaLosMismosElementosComoVectores) {
  TPlotModel m;
  Preparar(m);
  const DocumentoSvg d = LeerSvg(RenderPlotSvg(m));
  ASSERT_TRUE(d.error.isEmpty()) << d.error.toStdString();
  EXPECT_EQ(d.viewBox, "0 0 360 260");
  // One stroked element per line: the regression line and the 450-point polyline.
  const auto rojos = d.Trazados("#ff0000");
  ASSERT_EQ(rojos.size(), 1u);
  EXPECT_EQ(rojos[0]->nombre, "polyline");
  EXPECT_EQ(rojos[0]->puntos.size(), 2);
  EXPECT_EQ(d.Trazados("#00ff00").size(), 1u);
  // Marks are filled shapes, never strokes; the character mark is a text.
  EXPECT_TRUE(d.Trazados("#ffff00").empty());
  EXPECT_TRUE(d.Relleno("#ffff00"));
  // Texts as text: caption, axis titles, numbers; scales in black, titles in maroon.
  const QStringList textos = d.Textos();
  for (const char* t : {"Método", "log10 (d)", "log10 (R/S)", "A", "0.0", "8.0", "10.0"})
    EXPECT_TRUE(textos.contains(QString::fromUtf8(t))) << t;
  for (const ElementoSvg& e : d.elementos) {
    if (e.texto == "log10 (d)" || e.texto == QStringLiteral("Método")) {
      EXPECT_EQ(e.relleno, "#800000");
    }
    if (e.texto == "0.0") {
      EXPECT_EQ(e.relleno, "#000000");
    }
  }
  // Background colours of the chart (navy) and of the data area (white); grey dotted grid.
  EXPECT_TRUE(d.Relleno("#000080"));
  EXPECT_TRUE(d.Relleno("#ffffff"));
  EXPECT_FALSE(d.Trazados("#808080").empty());
}

TEST(SalidaVectorial, LoQueSaleDelAreaDeDatosSeCorta) {
  TPlotModel m;
  Preparar(m);
  m.ClearItems();
  m.SetDataColor(clRed);
  // Out through the right edge and back in, then far below the area.
  m.MoveTo(5, 5);
  m.LineTo(15, 6);
  m.LineTo(8, 8);
  m.LineTo(8, -20);
  m.SetDataColor(clLime);
  m.Line(-5, -5, 20, 20);
  const DocumentoSvg d = LeerSvg(RenderPlotSvg(m));
  ASSERT_TRUE(d.error.isEmpty());
  // Pixel centres of the data area in document coordinates (+0.5).
  const double e = 1e-9;
  const QRectF area(QPointF(m.LRim() + 0.5 - e, m.TRim() + 0.5 - e),
                    QPointF(m.Width() - m.RRim() + 0.5 + e, m.Height() - m.BRim() + 0.5 + e));
  const auto rojos = d.Trazados("#ff0000");
  EXPECT_EQ(rojos.size(), 2u);  // the part before leaving and the part after coming back
  const auto verdes = d.Trazados("#00ff00");
  EXPECT_EQ(verdes.size(), 1u);
  for (const auto& trazados : {rojos, verdes})
    for (const ElementoSvg* t : trazados)
      for (const QPointF& p : t->puntos)
        EXPECT_TRUE(area.contains(p)) << p.x() << ", " << p.y();
}

// Rendered back with Qt, the SVG shows what the bitmap shows: the same pixels but for the
// smoothing of edges and letters.
TEST(SalidaVectorial, SvgRasterizadoCoincideConElBitmap) {
  TPlot plot;
  plot.resize(360, 260);
  Preparar(plot);
  plot.Rectangle(1, 8.5, 2, 9.5);
  plot.Ellipse(7, 8, 1, 0.7);
  plot.TextAt(5, 9, 0, "texto");
  const QImage bitmap = plot.RenderImage();
  QTemporaryDir dir;
  const QString ruta = QDir(dir.path()).filePath("g.svg");
  ASSERT_TRUE(plot.SaveAsSvg(ruta.toStdString()));
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QImage svg = Rasterizar(f.readAll(), bitmap.size());
  int iguales = 0;
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x) iguales += svg.pixel(x, y) == bitmap.pixel(x, y);
  // Qt smooths the edges of the SVG's lines and letters: about 93 % of this busy chart's
  // pixels come out identical; a frame, background or item out of place would cost more.
  EXPECT_GT(iguales, 0.9 * bitmap.width() * bitmap.height());
  EXPECT_FALSE(plot.SaveAsSvg("/nonexistent-folder-xyz/g.svg"));
}

}  // namespace
