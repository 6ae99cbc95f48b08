#include "ui/iconos.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <utility>

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

// The program icon on the 16 x 16 grid: a dark blue rounded square crossed by a yellow
// regression line through four white points. Painted by Programa and written as SVG by
// SvgPrograma from the same figures.
struct Rgb {
  int r, g, b;
};
constexpr struct {
  double x, y, lado, radio;
  Rgb color;
} kFondo{0.5, 0.5, 15, 2.5, {10, 30, 90}};
constexpr struct {
  double x1, y1, x2, y2, grosor;
  Rgb color;
} kRecta{2.5, 13, 13.5, 3, 1.4, {255, 220, 0}};
constexpr std::pair<double, double> kPuntos[] = {{4, 10.8}, {6.5, 9.6}, {8.8, 6.4}, {11.8, 5.2}};
constexpr double kRadioPunto = 1.1;
constexpr Rgb kColorPunto{255, 255, 255};

void Programa(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kFondo.color.r, kFondo.color.g, kFondo.color.b));
  p.drawRoundedRect(QRectF(kFondo.x, kFondo.y, kFondo.lado, kFondo.lado), kFondo.radio,
                    kFondo.radio);
  p.setPen(QPen(QColor(kRecta.color.r, kRecta.color.g, kRecta.color.b), kRecta.grosor));
  p.drawLine(QPointF(kRecta.x1, kRecta.y1), QPointF(kRecta.x2, kRecta.y2));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kColorPunto.r, kColorPunto.g, kColorPunto.b));
  for (const auto& [x, y] : kPuntos) p.drawEllipse(QPointF(x, y), kRadioPunto, kRadioPunto);
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
  for (int lado : kLadosIconoPrograma) icono.addPixmap(Pintar(lado, Programa));
  return icono;
}

QImage ImagenPrograma(int lado) {
  QImage imagen(lado, lado, QImage::Format_ARGB32_Premultiplied);
  imagen.fill(Qt::transparent);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(lado / 16.0, lado / 16.0);
  Programa(p);
  return imagen;
}

QByteArray SvgPrograma() {
  const auto n = [](double v) { return QByteArray::number(v, 'g', 6); };
  const auto color = [](const Rgb& c) {
    return QColor(c.r, c.g, c.b).name(QColor::HexRgb).toLatin1();
  };
  QByteArray svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
      "viewBox=\"0 0 16 16\">\n";
  svg += "  <rect x=\"" + n(kFondo.x) + "\" y=\"" + n(kFondo.y) + "\" width=\"" +
         n(kFondo.lado) + "\" height=\"" + n(kFondo.lado) + "\" rx=\"" + n(kFondo.radio) +
         "\" fill=\"" + color(kFondo.color) + "\"/>\n";
  // QPen's default cap is square; SVG's is butt.
  svg += "  <line x1=\"" + n(kRecta.x1) + "\" y1=\"" + n(kRecta.y1) + "\" x2=\"" +
         n(kRecta.x2) + "\" y2=\"" + n(kRecta.y2) + "\" stroke=\"" + color(kRecta.color) +
         "\" stroke-width=\"" + n(kRecta.grosor) + "\" stroke-linecap=\"square\"/>\n";
  for (const auto& [x, y] : kPuntos) {
    svg += "  <circle cx=\"" + n(x) + "\" cy=\"" + n(y) + "\" r=\"" + n(kRadioPunto) +
           "\" fill=\"" + color(kColorPunto) + "\"/>\n";
  }
  svg += "</svg>\n";
  return svg;
}
