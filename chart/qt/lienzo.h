// A small drawing surface over a QImage with the pixel rules the chart needs:
// rectangles that cover [left, right) x [top, bottom), aliased 1-pixel lines
// whose last pixel is not set, polylines that cover all their vertices, single pixels, dotted grid lines and texts
// placed by their top-left corner. Keeps the current colours so they are
// only set on the painter when they change.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>

class Lienzo {
 public:
  explicit Lienzo(QImage& imagen);

  QPainter& Pintor() { return p_; }
  QImage& Imagen() { return img_; }

  // Pen: colour and width (0 and 1 both give a one-pixel line).
  void ColorPluma(QRgb c);
  void AnchoPluma(int ancho);
  QRgb ColorPlumaActual() const { return pluma_; }
  int AnchoPlumaActual() const { return ancho_; }
  // Brush: a colour, or none (transparent).
  void ColorBrocha(QRgb c);
  void SinBrocha();

  void Pixel(int x, int y, QRgb c);
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

  void Fuente(const QFont& f);
  const QFont& FuenteActual() const { return fuente_; }
  int AnchoTexto(const QString& s) const;
  int AltoTexto() const;
  // Text with its top-left corner at (x, y); with fondo the text box is filled first.
  void Texto(int x, int y, const QString& s, QRgb color, const QColor* fondo = nullptr);

 private:
  void AplicarPluma();

  QImage& img_;
  QPainter p_;
  QRgb pluma_ = 0;
  int ancho_ = 1;
  bool hayPluma_ = false;
  QFont fuente_;
  QFontMetrics metricas_;
};
