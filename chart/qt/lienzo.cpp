#include "chart/qt/lienzo.h"

#include <algorithm>
#include <cstdlib>

Lienzo::Lienzo(QImage& imagen) : img_(imagen), p_(&imagen), metricas_(QFont()) {
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  p_.setBrush(Qt::NoBrush);
  p_.setPen(Qt::NoPen);
  fuente_ = p_.font();
  metricas_ = QFontMetrics(fuente_, &img_);
}

void Lienzo::AplicarPluma() {
  // Square caps: polylines cover every vertex, so they never break where segments
  // meet; width 0 is the cosmetic one-pixel pen.
  QPen pen(QColor::fromRgb(pluma_), ancho_ <= 1 ? 0 : ancho_, Qt::SolidLine, Qt::SquareCap,
           Qt::MiterJoin);
  p_.setPen(pen);
  hayPluma_ = true;
}

void Lienzo::ColorPluma(QRgb c) {
  c |= 0xFF000000u;
  if (hayPluma_ && c == pluma_) return;
  pluma_ = c;
  AplicarPluma();
}

void Lienzo::AnchoPluma(int ancho) {
  if (ancho < 1) ancho = 1;
  if (hayPluma_ && ancho == ancho_) return;
  ancho_ = ancho;
  AplicarPluma();
}

void Lienzo::ColorBrocha(QRgb c) { p_.setBrush(QColor::fromRgb(c | 0xFF000000u)); }

void Lienzo::SinBrocha() { p_.setBrush(Qt::NoBrush); }

void Lienzo::Pixel(int x, int y, QRgb c) {
  if (x < 0 || y < 0 || x >= img_.width() || y >= img_.height()) return;
  reinterpret_cast<QRgb*>(img_.scanLine(y))[x] = c | 0xFF000000u;
}

void Lienzo::Linea(QPoint a, QPoint b) {
  if (a == b) return;
  if (!hayPluma_) AplicarPluma();
  if (ancho_ > 1) {
    p_.drawLine(a, b);
    return;
  }
  // One-pixel line from a towards b without b itself (Bresenham).
  const int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
  const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
  int err = dx + dy, x = a.x(), y = a.y();
  const int w = img_.width(), h = img_.height();
  while (x != b.x() || y != b.y()) {
    if (x >= 0 && y >= 0 && x < w && y < h) reinterpret_cast<QRgb*>(img_.scanLine(y))[x] = pluma_;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Lienzo::Polilinea(const QPoint* puntos, int n) {
  if (n < 2) return;
  if (!hayPluma_) AplicarPluma();
  p_.drawPolyline(puntos, n);
}

void Lienzo::Rectangulo(int l, int t, int r, int b) {
  if (r <= l || b <= t) return;
  const QBrush brocha = p_.brush();
  if (brocha.style() != Qt::NoBrush) p_.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), brocha);
  if (!hayPluma_) AplicarPluma();
  if (ancho_ <= 1) {
    // The outline runs along the outermost pixels of the area.
    p_.setBrush(Qt::NoBrush);
    if (r - l == 1 || b - t == 1)
      p_.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), QColor::fromRgb(pluma_));
    else
      p_.drawRect(QRect(l, t, r - l - 1, b - t - 1));
    p_.setBrush(brocha);
  } else {
    // A wide pen is centred on the outline.
    p_.setBrush(Qt::NoBrush);
    const qreal h = ancho_ / 2.0;
    p_.drawRect(QRectF(l + h - 0.5, t + h - 0.5, r - l - ancho_, b - t - ancho_));
    p_.setBrush(brocha);
  }
}

void Lienzo::Relleno(int l, int t, int r, int b, QRgb c) {
  if (r <= l || b <= t) return;
  p_.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), QColor::fromRgb(c | 0xFF000000u));
}

void Lienzo::Elipse(int l, int t, int r, int b) {
  if (r <= l || b <= t) return;
  if (!hayPluma_) AplicarPluma();
  p_.drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
}

void Lienzo::Poligono(const QPoint* puntos, int n) {
  if (n < 2) return;
  if (!hayPluma_) AplicarPluma();
  p_.drawPolygon(puntos, n);
}

void Lienzo::LineaPunteadaH(int x0, int x1, int y, QRgb c) {
  if (y < 0 || y >= img_.height()) return;
  if (x0 > x1) std::swap(x0, x1);
  QRgb* fila = reinterpret_cast<QRgb*>(img_.scanLine(y));
  const int desde = std::max(x0, 0), hasta = std::min(x1, img_.width() - 1);
  c |= 0xFF000000u;
  for (int x = desde + ((desde - x0) & 1); x <= hasta; x += 2) fila[x] = c;
}

void Lienzo::LineaPunteadaV(int x, int y0, int y1, QRgb c) {
  if (x < 0 || x >= img_.width()) return;
  if (y0 > y1) std::swap(y0, y1);
  const int desde = std::max(y0, 0), hasta = std::min(y1, img_.height() - 1);
  c |= 0xFF000000u;
  for (int y = desde + ((desde - y0) & 1); y <= hasta; y += 2)
    reinterpret_cast<QRgb*>(img_.scanLine(y))[x] = c;
}

void Lienzo::Fuente(const QFont& f) {
  if (f == fuente_) return;
  fuente_ = f;
  p_.setFont(f);
  metricas_ = QFontMetrics(f, &img_);
}

int Lienzo::AnchoTexto(const QString& s) const { return metricas_.horizontalAdvance(s); }

int Lienzo::AltoTexto() const { return metricas_.height(); }

void Lienzo::Texto(int x, int y, const QString& s, QRgb color, const QColor* fondo) {
  if (s.isEmpty()) return;
  if (fondo)
    p_.fillRect(QRect(x, y, AnchoTexto(s), AltoTexto()), *fondo);
  const QPen anterior = p_.pen();
  p_.setPen(QColor::fromRgb(color | 0xFF000000u));
  p_.drawText(QPoint(x, y + metricas_.ascent()), s);
  p_.setPen(anterior);
}
