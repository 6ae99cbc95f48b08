#include "chart/qt/plot_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Strokes the path twice: a wide white halo, then the black line, so the
// cursor stays visible over both dark and light chart backgrounds.
void Trazar(QPainter& p, const QPainterPath& camino, qreal ancho = 1.5) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, ancho + 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(camino);
  p.setPen(QPen(Qt::black, ancho, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(camino);
}

// Magnifying glass with its lens centred at (12, 12), radius 8, handle to the lower right.
void Lupa(QPainter& p) {
  QPainterPath lente;
  lente.addEllipse(QPointF(12, 12), 8, 8);
  QPainterPath mango;
  mango.moveTo(18, 18);
  mango.lineTo(28, 28);
  p.setPen(QPen(Qt::white, 6.5, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(mango);
  p.setPen(QPen(Qt::black, 4.0, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(mango);
  p.setBrush(QColor(255, 255, 255, 160));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(12, 12), 8, 8);
  Trazar(p, lente);
}

QPixmap Mano() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // Open hand: palm and four fingers, thumb to the left.
  QPainterPath mano;
  mano.moveTo(9, 17);
  mano.lineTo(6, 13);
  mano.quadTo(4, 10, 7, 10);
  mano.lineTo(10, 14);
  mano.lineTo(10, 5);
  mano.quadTo(10, 3, 12, 3);
  mano.quadTo(14, 3, 14, 5);
  mano.lineTo(14, 12);
  mano.lineTo(14, 3);
  mano.quadTo(14, 1, 16, 1);
  mano.quadTo(18, 1, 18, 3);
  mano.lineTo(18, 12);
  mano.lineTo(18, 4);
  mano.quadTo(18, 2, 20, 2);
  mano.quadTo(22, 2, 22, 4);
  mano.lineTo(22, 13);
  mano.lineTo(22, 7);
  mano.quadTo(22, 5, 24, 5);
  mano.quadTo(26, 5, 26, 7);
  mano.lineTo(26, 19);
  mano.quadTo(26, 27, 19, 28);
  mano.lineTo(15, 28);
  mano.quadTo(11, 27, 9, 17);
  mano.closeSubpath();
  p.setPen(QPen(Qt::black, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(mano);
  p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(mano);
  return pm;
}

QPixmap ZoomVentana() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  Lupa(p);
  // A small dashed window inside the lens.
  p.setPen(QPen(Qt::black, 1.0, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(8, 9, 8, 6));
  return pm;
}

QPixmap ZoomArrastre() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  Lupa(p);
  // Two arrows inside the lens: outwards and inwards (compress / expand).
  QPainterPath flechas;
  flechas.moveTo(6, 12);
  flechas.lineTo(18, 12);
  flechas.moveTo(6, 12);
  flechas.lineTo(9, 9);
  flechas.moveTo(6, 12);
  flechas.lineTo(9, 15);
  flechas.moveTo(18, 12);
  flechas.lineTo(15, 9);
  flechas.moveTo(18, 12);
  flechas.lineTo(15, 15);
  p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(flechas);
  return pm;
}

QPixmap ZoomCaja() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  Lupa(p);
  // A plus sign inside the lens.
  QPainterPath mas;
  mas.moveTo(8, 12);
  mas.lineTo(16, 12);
  mas.moveTo(12, 8);
  mas.lineTo(12, 16);
  p.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(mas);
  return pm;
}

}  // namespace

QPixmap DibujoCursor(CursorGrafica c) {
  switch (c) {
    case CursorGrafica::Mano: return Mano();
    case CursorGrafica::ZoomVentana: return ZoomVentana();
    case CursorGrafica::ZoomArrastre: return ZoomArrastre();
    case CursorGrafica::ZoomCaja: return ZoomCaja();
    case CursorGrafica::Cruz: break;
  }
  return QPixmap();
}

const QCursor& CursorDeGrafica(CursorGrafica c) {
  // Hot spots: the middle of the palm for the hand, the lens centre for the magnifiers.
  static const QCursor cruz(Qt::CrossCursor);
  static const QCursor mano(DibujoCursor(CursorGrafica::Mano), 16, 15);
  static const QCursor zoomV(DibujoCursor(CursorGrafica::ZoomVentana), 12, 12);
  static const QCursor zoomD(DibujoCursor(CursorGrafica::ZoomArrastre), 12, 12);
  static const QCursor zoomP(DibujoCursor(CursorGrafica::ZoomCaja), 12, 12);
  switch (c) {
    case CursorGrafica::Mano: return mano;
    case CursorGrafica::ZoomVentana: return zoomV;
    case CursorGrafica::ZoomArrastre: return zoomD;
    case CursorGrafica::ZoomCaja: return zoomP;
    case CursorGrafica::Cruz: break;
  }
  return cruz;
}
