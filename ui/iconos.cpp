#include "ui/iconos.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

QPixmap Pintar(int lado, const std::function<void(QPainter&)>& dibujo) {
  QPixmap imagen(lado, lado);
  imagen.fill(Qt::transparent);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(lado / 16.0, lado / 16.0);  // drawn on a 16 x 16 grid
  dibujo(p);
  return imagen;
}

QIcon Icono(const std::function<void(QPainter&)>& dibujo) {
  QIcon icono;
  for (int lado : {16, 32}) icono.addPixmap(Pintar(lado, dibujo));
  return icono;
}

void Carpeta(QPainter& p) {
  p.setPen(QPen(QColor(120, 90, 10), 0.8));
  p.setBrush(QColor(240, 200, 80));
  QPainterPath trasera;
  trasera.moveTo(1, 4);
  trasera.lineTo(5, 4);
  trasera.lineTo(6.5, 5.5);
  trasera.lineTo(13, 5.5);
  trasera.lineTo(13, 14);
  trasera.lineTo(1, 14);
  trasera.closeSubpath();
  p.drawPath(trasera);
  p.setBrush(QColor(255, 225, 120));
  p.drawPolygon(QPolygonF({QPointF(1, 14), QPointF(3.5, 8), QPointF(15.5, 8), QPointF(13, 14)}));
  // a data curve leaving the folder
  p.setPen(QPen(QColor(0, 70, 200), 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(4, 7), QPointF(6.5, 2.5), QPointF(8.5, 5), QPointF(11, 1),
                            QPointF(13, 3.5)}));
}

void Disquete(QPainter& p) {
  p.setPen(QPen(QColor(20, 30, 80), 0.8));
  p.setBrush(QColor(40, 70, 170));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 1.5, 8, 5.5));  // label
  p.setBrush(QColor(190, 190, 200));
  p.drawRect(QRectF(4.5, 9.5, 7, 5));  // shutter
  p.setBrush(QColor(40, 70, 170));
  p.drawRect(QRectF(9, 10.5, 1.5, 3));
  p.setPen(QPen(QColor(120, 120, 120), 0.6));
  p.drawLine(QPointF(5, 3.3), QPointF(11, 3.3));
  p.drawLine(QPointF(5, 5), QPointF(11, 5));
}

void Lupa(QPainter& p) {
  p.setPen(QPen(QColor(0, 120, 0), 1.2));
  p.drawPolyline(QPolygonF({QPointF(1, 14), QPointF(4, 9), QPointF(6, 11), QPointF(9, 5),
                            QPointF(11, 7)}));
  p.setPen(QPen(QColor(40, 40, 40), 1.6));
  p.setBrush(QColor(200, 230, 255, 170));
  p.drawEllipse(QPointF(9, 6), 4.2, 4.2);
  p.setPen(QPen(QColor(110, 60, 20), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12, 9.2), QPointF(15, 12.5));
}

void Grafica(QPainter& p, bool activa) {
  const QColor ejes = activa ? QColor(30, 30, 30) : QColor(150, 150, 150);
  const QColor linea = activa ? QColor(200, 0, 0) : QColor(170, 170, 170);
  const QColor marcas = activa ? QColor(0, 90, 220) : QColor(160, 160, 160);
  p.setBrush(activa ? QColor(255, 255, 230) : QColor(235, 235, 235));
  p.setPen(QPen(ejes, 0.8));
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setPen(QPen(ejes, 1.0));
  p.drawLine(QPointF(3.5, 2.5), QPointF(3.5, 12.5));
  p.drawLine(QPointF(3.5, 12.5), QPointF(13.5, 12.5));
  p.setPen(QPen(linea, 1.1));
  p.drawLine(QPointF(4, 11.5), QPointF(13, 3.5));
  p.setPen(Qt::NoPen);
  p.setBrush(marcas);
  for (QPointF c : {QPointF(5.5, 9.3), QPointF(7.5, 8.6), QPointF(9.2, 6.2), QPointF(11.5, 5.4)})
    p.drawEllipse(c, 1.0, 1.0);
}

}  // namespace

QIcon IconoCargarSerie() { return Icono(Carpeta); }
QIcon IconoGuardarResult() { return Icono(Disquete); }
QIcon IconoAnalizar() { return Icono(Lupa); }

QIcon IconoGraficas() {
  QIcon icono;
  for (int lado : {16, 32}) {
    icono.addPixmap(Pintar(lado, [](QPainter& p) { Grafica(p, true); }), QIcon::Normal);
    icono.addPixmap(Pintar(lado, [](QPainter& p) { Grafica(p, false); }), QIcon::Disabled);
  }
  return icono;
}

QIcon IconoPrograma() {
  QIcon icono;
  for (int lado : {16, 32, 48, 64}) {
    icono.addPixmap(Pintar(lado, [](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(10, 30, 90));
      p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
      p.setPen(QPen(QColor(255, 220, 0), 1.4));
      p.drawLine(QPointF(2.5, 13), QPointF(13.5, 3));
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      for (QPointF c : {QPointF(4, 10.8), QPointF(6.5, 9.6), QPointF(8.8, 6.4), QPointF(11.8, 5.2)})
        p.drawEllipse(c, 1.1, 1.1);
    }));
  }
  return icono;
}
