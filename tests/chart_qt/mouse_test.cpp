// Simulated mouse events on a chart: zoom window, pan, drag zoom, position read-out,
// cursors and the two-click mouse box.
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "chart/qt/plot_cursors.h"
#include "chart/qt/tplot.h"

namespace {

void Enviar(TPlot& p, QEvent::Type tipo, QPoint pos, Qt::MouseButton boton,
            Qt::MouseButtons botones) {
  QMouseEvent e(tipo, QPointF(pos), p.mapToGlobal(QPointF(pos)), boton, botones, Qt::NoModifier);
  QApplication::sendEvent(&p, &e);
}
void Pulsar(TPlot& p, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
  Enviar(p, QEvent::MouseButtonPress, pos, b, b);
  Enviar(p, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
}
void Mover(TPlot& p, QPoint pos, Qt::MouseButtons botones = Qt::NoButton) {
  Enviar(p, QEvent::MouseMove, pos, Qt::NoButton, botones);
}

struct Rangos {
  double loX, hiX, loY, hiY;
};
Rangos De(const TPlot& p) { return {p.RangeLoX(), p.RangeHiX(), p.RangeLoY(), p.RangeHiY()}; }
void EsperarIgual(const Rangos& a, const Rangos& b) {
  EXPECT_DOUBLE_EQ(a.loX, b.loX);
  EXPECT_DOUBLE_EQ(a.hiX, b.hiX);
  EXPECT_DOUBLE_EQ(a.loY, b.loY);
  EXPECT_DOUBLE_EQ(a.hiY, b.hiY);
}

// A 300 x 200 chart with the default rims (50, 10, 16, 32): data area x 50 ... 290,
// y 16 ... 168.
class ChartMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    plot.resize(300, 200);
    plot.show();
    plot.SetRange(0, 0, 10, 10);
  }
  TPlot plot;
};

TEST_F(ChartMouse, ZoomPressOutsideTheDataAreaStartsNothing) {
  plot.SetMouseAction(maZoomWindPos);
  for (QPoint p : {QPoint(10, 100), QPoint(100, 5), QPoint(295, 100), QPoint(100, 190)}) {
    Pulsar(plot, p);
    EXPECT_EQ(plot.ZoomState(), zsNormal) << p.x() << "," << p.y();
  }
  Pulsar(plot, QPoint(50, 16));  // the edges belong to the data area
  EXPECT_EQ(plot.ZoomState(), zsDrawWin);
}

TEST_F(ChartMouse, ZoomWindowGivesTheDrawnRectangle) {
  plot.SetMouseAction(maZoomWindPos);
  Pulsar(plot, QPoint(100, 50));
  Mover(plot, QPoint(200, 120));
  Pulsar(plot, QPoint(200, 120));
  EXPECT_EQ(plot.ZoomState(), zsNormal);
  // x: 50 + 24·v, y: 168 − 15.2·v
  EXPECT_NEAR(plot.RangeLoX(), 50.0 / 24, 1e-9);
  EXPECT_NEAR(plot.RangeHiX(), 150.0 / 24, 1e-9);
  EXPECT_NEAR(plot.RangeLoY(), 48.0 / 15.2, 1e-9);
  EXPECT_NEAR(plot.RangeHiY(), 118.0 / 15.2, 1e-9);
}

TEST_F(ChartMouse, ZoomWindPosIgnoresTheDrawingDirection) {
  plot.SetMouseAction(maZoomWindPos);
  Pulsar(plot, QPoint(80, 30));
  Mover(plot, QPoint(220, 140));
  Pulsar(plot, QPoint(220, 140));
  const Rangos directo = De(plot);

  plot.SetRange(0, 0, 10, 10);
  Pulsar(plot, QPoint(220, 140));
  Mover(plot, QPoint(80, 30));
  Pulsar(plot, QPoint(80, 30));
  EsperarIgual(De(plot), directo);
  EXPECT_LT(plot.RangeLoX(), plot.RangeHiX());
  EXPECT_LT(plot.RangeLoY(), plot.RangeHiY());
}

TEST_F(ChartMouse, ZoomWindFollowsTheDrawingDirection) {
  plot.SetMouseAction(maZoomWind);
  Pulsar(plot, QPoint(220, 140));
  Mover(plot, QPoint(80, 30));
  Pulsar(plot, QPoint(80, 30));
  EXPECT_GT(plot.RangeLoX(), plot.RangeHiX());  // drawn right to left: reversed x
  EXPECT_LT(plot.RangeLoY(), plot.RangeHiY());  // drawn bottom to top: normal y
}

TEST_F(ChartMouse, RightClickWhileDrawingKeepsTheRanges) {
  plot.SetMouseAction(maZoomWindPos);
  const Rangos antes = De(plot);
  Pulsar(plot, QPoint(100, 50));
  Mover(plot, QPoint(200, 120));
  Pulsar(plot, QPoint(200, 120), Qt::RightButton);
  EXPECT_EQ(plot.ZoomState(), zsNormal);
  EsperarIgual(De(plot), antes);
  // The band is gone from the screen: the widget shows the plain chart again.
  EXPECT_EQ(plot.grab().toImage().convertToFormat(QImage::Format_RGB32), plot.ChartImage());
}

TEST_F(ChartMouse, RubberBandInvertsTheOutlineThroughBothCorners) {
  plot.SetMouseAction(maZoomWindPos);
  const QImage limpia = plot.ChartImage();
  Pulsar(plot, QPoint(100, 50));
  Mover(plot, QPoint(200, 120));
  const QImage con = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
  auto invertido = [&](int x, int y) { return con.pixel(x, y) == (limpia.pixel(x, y) ^ 0x00FFFFFFu); };
  for (QPoint p : {QPoint(100, 50), QPoint(200, 120), QPoint(150, 50), QPoint(100, 90),
                   QPoint(200, 90), QPoint(150, 120)})
    EXPECT_TRUE(invertido(p.x(), p.y())) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(201, 120), QPoint(200, 121), QPoint(150, 90), QPoint(99, 50)})
    EXPECT_EQ(con.pixel(p), limpia.pixel(p)) << p.x() << "," << p.y();
}

TEST_F(ChartMouse, ZeroWidthOrHeightRectanglesAreIgnored) {
  plot.SetMouseAction(maZoomWindPos);
  const Rangos antes = De(plot);
  for (QPoint fin : {QPoint(100, 120), QPoint(200, 50), QPoint(100, 50)}) {
    Pulsar(plot, QPoint(100, 50));
    Mover(plot, fin);
    Pulsar(plot, fin);
    EXPECT_EQ(plot.ZoomState(), zsNormal);
    EsperarIgual(De(plot), antes);
  }
}

TEST_F(ChartMouse, RubberBandStaysInsideTheDataArea) {
  plot.SetMouseAction(maZoomWindPos);
  Pulsar(plot, QPoint(100, 50));
  Mover(plot, QPoint(400, 400));
  Pulsar(plot, QPoint(400, 400));
  EXPECT_NEAR(plot.RangeHiX(), 10.0, 1e-9);
  EXPECT_NEAR(plot.RangeLoY(), 0.0, 1e-9);
}

TEST_F(ChartMouse, PanningLinearAxesByTheFullDataAreaShiftsByOneSpan) {
  plot.SetMouseAction(maPan);
  Enviar(plot, QEvent::MouseButtonPress, QPoint(50, 16), Qt::LeftButton, Qt::LeftButton);
  Mover(plot, QPoint(50, 16), Qt::LeftButton);    // the drag starts here
  Mover(plot, QPoint(290, 168), Qt::LeftButton);  // W = 240, H = 152 further
  EXPECT_NEAR(plot.RangeLoX(), -10.0, 1e-9);
  EXPECT_NEAR(plot.RangeHiX(), 0.0, 1e-9);
  EXPECT_NEAR(plot.RangeLoY(), 10.0, 1e-9);
  EXPECT_NEAR(plot.RangeHiY(), 20.0, 1e-9);
  Enviar(plot, QEvent::MouseButtonRelease, QPoint(290, 168), Qt::LeftButton, Qt::NoButton);
  Mover(plot, QPoint(100, 100));  // button up: the drag ends, ranges stay
  EXPECT_NEAR(plot.RangeLoX(), -10.0, 1e-9);
}

TEST_F(ChartMouse, PanningALogarithmicAxisMultipliesTheEnds) {
  plot.SetRange(1, 1, 100, 10);
  plot.SetLogScaleX(true);
  ASSERT_TRUE(plot.LogScaleX());
  plot.SetMouseAction(maPan);
  Mover(plot, QPoint(170, 100), Qt::LeftButton);
  Mover(plot, QPoint(50, 100), Qt::LeftButton);  // half the width to the left
  EXPECT_NEAR(plot.RangeLoX(), 10.0, 1e-9);
  EXPECT_NEAR(plot.RangeHiX(), 1000.0, 1e-7);
}

TEST_F(ChartMouse, PanOutsideTheDataAreaDoesNothing) {
  plot.SetMouseAction(maPan);
  const Rangos antes = De(plot);
  Mover(plot, QPoint(100, 100), Qt::LeftButton);
  Mover(plot, QPoint(5, 100), Qt::LeftButton);
  EsperarIgual(De(plot), antes);
}

TEST_F(ChartMouse, DragZoomCompressesAndExpandsAboutTheCentre) {
  plot.SetMouseAction(maZoomDrag);
  Mover(plot, QPoint(100, 100), Qt::LeftButton);
  Mover(plot, QPoint(250, 60), Qt::LeftButton);  // right by Width/2, up by Height/5
  EXPECT_NEAR(plot.RangeLoX(), 2.5, 1e-9);
  EXPECT_NEAR(plot.RangeHiX(), 7.5, 1e-9);
  EXPECT_NEAR(plot.RangeLoY(), 1.0, 1e-9);
  EXPECT_NEAR(plot.RangeHiY(), 9.0, 1e-9);
  Mover(plot, QPoint(50, 140), Qt::LeftButton);  // left and down: wider than at the start
  EXPECT_LT(plot.RangeLoX(), 0.0);
  EXPECT_GT(plot.RangeHiY(), 10.0);
}

TEST_F(ChartMouse, MousePositionStaysAtTheLastInsideValue) {
  std::vector<bool> dentro;
  std::vector<double> xs;
  plot.OnMouseMoveInChart = [&](TPlot* s, bool in, Qt::KeyboardModifiers, double x, double) {
    EXPECT_EQ(s, &plot);
    dentro.push_back(in);
    xs.push_back(x);
  };
  Mover(plot, QPoint(110, 92));
  EXPECT_NEAR(plot.MousePosX(), 2.5, 1e-9);
  EXPECT_NEAR(plot.MousePosY(), 5.0, 1e-9);
  Mover(plot, QPoint(295, 195));
  EXPECT_NEAR(plot.MousePosX(), 2.5, 1e-9);
  EXPECT_NEAR(plot.MousePosY(), 5.0, 1e-9);
  ASSERT_EQ(dentro.size(), 2u);
  EXPECT_TRUE(dentro[0]);
  EXPECT_FALSE(dentro[1]);
  EXPECT_NEAR(xs[1], 245.0 / 24, 1e-9);  // the event still reports where the pointer is
}

TEST_F(ChartMouse, ReportedPositionUsesTheRangesAfterThePan) {
  plot.SetMouseAction(maPan);
  double ultimo = 0;
  plot.OnMouseMoveInChart = [&](TPlot*, bool, Qt::KeyboardModifiers, double x, double) {
    ultimo = x;
  };
  Mover(plot, QPoint(50, 100), Qt::LeftButton);
  Mover(plot, QPoint(170, 100), Qt::LeftButton);
  // The content follows the pointer: the point under it is still x = 0.
  EXPECT_NEAR(ultimo, 0.0, 1e-9);
  EXPECT_NEAR(plot.MousePosX(), 0.0, 1e-9);
}

TEST_F(ChartMouse, CursorsFollowTheMouseAction) {
  const struct {
    MouseActMode accion;
    CursorGrafica cursor;
  } casos[] = {{maNone, CursorGrafica::Cruz},
               {maPan, CursorGrafica::Mano},
               {maZoomWind, CursorGrafica::ZoomVentana},
               {maZoomDrag, CursorGrafica::ZoomArrastre},
               {maZoomWindPos, CursorGrafica::ZoomCaja}};
  for (const auto& c : casos) {
    plot.SetMouseAction(c.accion);
    Mover(plot, QPoint(100, 100));
    const QCursor esperado = CursorDeGrafica(c.cursor);
    EXPECT_EQ(plot.cursor().shape(), esperado.shape()) << int(c.accion);
    if (c.accion != maNone) {
      EXPECT_EQ(plot.cursor().pixmap().toImage(), esperado.pixmap().toImage()) << int(c.accion);
    }
    Mover(plot, QPoint(5, 5));
    EXPECT_EQ(plot.cursor().shape(), Qt::ArrowCursor);
  }
  plot.SetMouseAction(maPan);
  plot.SetMouseCursorFixed(true);
  Mover(plot, QPoint(100, 100));
  EXPECT_EQ(plot.cursor().shape(), Qt::ArrowCursor);
}

TEST(ChartCursors, DrawnCursorsAreDistinct32x32Pictures) {
  std::vector<QImage> vistos;
  for (CursorGrafica c : {CursorGrafica::Mano, CursorGrafica::ZoomVentana,
                          CursorGrafica::ZoomArrastre, CursorGrafica::ZoomCaja}) {
    const QImage img = DibujoCursor(c).toImage();
    ASSERT_EQ(img.size(), QSize(32, 32));
    for (const QImage& otro : vistos) EXPECT_NE(img, otro);
    vistos.push_back(img);
  }
}

TEST_F(ChartMouse, GetMouseBoxReturnsTheOrderedCorners) {
  QTimer::singleShot(0, [&] {
    Pulsar(plot, QPoint(200, 40));
    Mover(plot, QPoint(74, 130));
    EXPECT_EQ(plot.MouseBoxState(), msRectDraw);
    Pulsar(plot, QPoint(74, 130));
  });
  QTimer guardia;  // never hang: cancel after a while
  guardia.setSingleShot(true);
  QObject::connect(&guardia, &QTimer::timeout, [&] { plot.CancelMouseBox(); });
  guardia.start(5000);
  double x1, y1, x2, y2;
  ASSERT_TRUE(plot.GetMouseBox(x1, y1, x2, y2));
  EXPECT_NEAR(x1, 1.0, 1e-9);
  EXPECT_NEAR(x2, 150.0 / 24, 1e-9);
  EXPECT_NEAR(y1, 38.0 / 15.2, 1e-9);
  EXPECT_NEAR(y2, 128.0 / 15.2, 1e-9);
  EXPECT_EQ(plot.MouseBoxState(), msNormal);
}

TEST_F(ChartMouse, GetMouseBoxRightClickCancels) {
  for (int clicsAntes : {0, 1}) {
    QTimer::singleShot(0, [&, clicsAntes] {
      if (clicsAntes) Pulsar(plot, QPoint(100, 40));
      Pulsar(plot, QPoint(150, 100), Qt::RightButton);
    });
    QTimer guardia;
    guardia.setSingleShot(true);
    QObject::connect(&guardia, &QTimer::timeout, [&] { plot.CancelMouseBox(); });
    guardia.start(5000);
    const Rangos antes = De(plot);
    double x1, y1, x2, y2;
    EXPECT_FALSE(plot.GetMouseBox(x1, y1, x2, y2)) << clicsAntes;
    EXPECT_EQ(plot.MouseBoxState(), msNormal);
    EsperarIgual(De(plot), antes);
  }
}

TEST(ChartMouseBox, AHiddenChartGivesNoBoxInsteadOfWaiting) {
  TPlot plot;
  double x1, y1, x2, y2;
  EXPECT_FALSE(plot.GetMouseBox(x1, y1, x2, y2));
  EXPECT_EQ(plot.MouseBoxState(), msNormal);
}

TEST(ChartMouseBox, HidingTheChartCancelsThePendingBox) {
  TPlot plot;
  plot.resize(300, 200);
  plot.show();
  QTimer::singleShot(0, [&] {
    Pulsar(plot, QPoint(100, 40));
    plot.hide();
  });
  double x1, y1, x2, y2;
  EXPECT_FALSE(plot.GetMouseBox(x1, y1, x2, y2));
  EXPECT_EQ(plot.MouseBoxState(), msNormal);
}

}  // namespace
