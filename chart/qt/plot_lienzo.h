// A small drawing surface with the pixel rules the chart needs: rectangles that cover
// [left, right) x [top, bottom), 1-pixel lines whose last pixel is not set, polylines that
// cover all their vertices, single pixels, mark glyphs, dotted grid lines and texts placed
// by their top-left corner. Keeps the current colours so they are only set on the painter
// when they change.
//
// It draws in one of two ways with the same calls:
// - raster, into a QImage, setting exactly the pixels of those rules;
// - vector, with a painter on any device (an SVG generator): lines, paths, rectangles and
//   texts that cover what the raster drawing sets. Pixel (x, y) is the unit square around
//   (x + 0.5, y + 0.5) of the surface, strokes run through pixel centres. What falls
//   outside the surface is cut off by geometry when asked to (an SVG generator ignores
//   the painter's clipping).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <QSize>
#include <QString>

class Lienzo {
 public:
  // Raster drawing into the image.
  explicit Lienzo(QImage& imagen);
  // Vector drawing with `pintor` on a surface of `tamano` pixels whose top-left corner lies
  // at `origen` of the device; with `recortar`, nothing is drawn outside the surface. The
  // painter's state is restored when the surface is destroyed.
  Lienzo(QPainter& pintor, QPoint origen, QSize tamano, bool recortar);
  ~Lienzo();
  Lienzo(const Lienzo&) = delete;
  Lienzo& operator=(const Lienzo&) = delete;

  bool Vectorial() const { return img_ == nullptr; }
  int Ancho() const { return ancho_; }
  int Alto() const { return alto_; }

  // Pen: colour and width (0 and 1 both give a one-pixel line).
  void ColorPluma(QRgb c);
  void AnchoPluma(int ancho);
  QRgb ColorPlumaActual() const { return pluma_; }
  // Brush: a colour, or none (transparent).
  void ColorBrocha(QRgb c);

  void Pixel(int x, int y, QRgb c);
  // A mark glyph of seven rows (top first) of seven bits: bit j (value 2^(j-1)) of row i
  // sets pixel (px - j + 4, py + i - 4).
  void Glifo(int px, int py, const unsigned char* filas, QRgb c);
  // Line from a to b without its last pixel; a zero-length line draws nothing.
  void Linea(QPoint a, QPoint b);
  void Polilinea(const QPoint* puntos, int n);
  // Filled and outlined rectangle covering x in [l, r) and y in [t, b).
  void Rectangulo(int l, int t, int r, int b);
  // Filled area only, no outline.
  void Relleno(int l, int t, int r, int b, QRgb c);
  void Elipse(int l, int t, int r, int b);
  void Poligono(const QPoint* puntos, int n);
  // Dotted lines: every other pixel, starting at the first one.
  void LineaPunteadaH(int x0, int x1, int y, QRgb c);
  void LineaPunteadaV(int x, int y0, int y1, QRgb c);
  // A picture stretched over the rectangle `destino`.
  void Dibujo(const QRect& destino, const QImage& dibujo);

  void Fuente(const QFont& f);
  int AnchoTexto(const QString& s) const;
  int AltoTexto() const;
  // Text with its top-left corner at (x, y); with fondo the text box is filled first.
  // A vector surface that cuts leaves out a text whose box's centre lies outside it.
  void Texto(int x, int y, const QString& s, QRgb color, const QColor* fondo = nullptr);

 private:
  void AplicarPluma();
  // Vector drawing: the fill of an area cut to the surface, and a stroked polyline cut
  // into the pieces that lie on it.
  void RellenarVectorial(const QPainterPath& area, const QBrush& brocha);
  void TrazarVectorial(const QPolygonF& linea);
  // A vector line from a to b, dotted one pixel on, one off.
  void TrazoPunteado(const QPointF& a, const QPointF& b, QRgb c);
  bool Dentro(const QRectF& caja) const;

  QImage* img_ = nullptr;
  QPainter propio_;
  QPainter* p_ = nullptr;
  int ancho_ = 0, alto_ = 0;
  bool recortar_ = false;
  QRgb pluma_ = 0;
  int grosor_ = 1;
  bool hayPluma_ = false;
  QFont fuente_;
  QFontMetrics metricas_;
};
