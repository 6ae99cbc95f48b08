#include "chart/qt/plot_lienzo.h"

#include <QFontInfo>
#include <algorithm>
#include <cstdlib>

namespace {

// Liang-Barsky: the part [t0, t1] of the segment a -> b (a + t (b - a)) inside the
// rectangle; false when none of it is.
bool RecortarSegmento(QPointF a, QPointF b, const QRectF& r, double& t0, double& t1) {
  t0 = 0;
  t1 = 1;
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(),
                       r.bottom() - a.y()};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  return true;
}

}  // namespace

Lienzo::Lienzo(QImage& imagen)
    : img_(&imagen), ancho_(imagen.width()), alto_(imagen.height()), metricas_(QFont()) {
  propio_.begin(&imagen);
  p_ = &propio_;
  p_->setRenderHint(QPainter::Antialiasing, false);
  p_->setRenderHint(QPainter::TextAntialiasing, true);
  p_->setBrush(Qt::NoBrush);
  p_->setPen(Qt::NoPen);
  fuente_ = p_->font();
  metricas_ = QFontMetrics(fuente_, &imagen);
}

Lienzo::Lienzo(QPainter& pintor, QPoint origen, QSize tamano, bool recortar)
    : p_(&pintor),
      ancho_(std::max(tamano.width(), 0)),
      alto_(std::max(tamano.height(), 0)),
      recortar_(recortar),
      metricas_(QFont()) {
  p_->save();
  // Surface pixel (x, y) is the unit square around (x + 0.5, y + 0.5).
  p_->translate(origen.x() + 0.5, origen.y() + 0.5);
  p_->setBrush(Qt::NoBrush);
  p_->setPen(Qt::NoPen);
  fuente_ = p_->font();
  metricas_ = QFontMetrics(fuente_);
}

Lienzo::~Lienzo() {
  if (Vectorial()) p_->restore();
}

void Lienzo::AplicarPluma() {
  // Square caps: polylines cover every vertex, so they never break where segments meet.
  // On an image width 0 is the cosmetic one-pixel pen; vectors get a one-pixel stroke that
  // scales with the picture.
  const qreal ancho = Vectorial() ? std::max(grosor_, 1) : (grosor_ <= 1 ? 0 : grosor_);
  p_->setPen(QPen(QColor::fromRgb(pluma_), ancho, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
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
  if (hayPluma_ && ancho == grosor_) return;
  grosor_ = ancho;
  AplicarPluma();
}

void Lienzo::ColorBrocha(QRgb c) { p_->setBrush(QColor::fromRgb(c | 0xFF000000u)); }

bool Lienzo::Dentro(const QRectF& caja) const {
  return QRectF(-0.5, -0.5, ancho_, alto_).contains(caja);
}

void Lienzo::RellenarVectorial(const QPainterPath& area, const QBrush& brocha) {
  if (brocha.style() == Qt::NoBrush) return;
  if (!recortar_ || Dentro(area.boundingRect())) {
    p_->fillPath(area, brocha);
    return;
  }
  QPainterPath superficie;
  superficie.addRect(QRectF(-0.5, -0.5, ancho_, alto_));
  const QPainterPath cortada = area.intersected(superficie);
  if (!cortada.isEmpty()) p_->fillPath(cortada, brocha);
}

void Lienzo::TrazarVectorial(const QPolygonF& linea) {
  if (linea.size() < 2) return;
  if (!hayPluma_) AplicarPluma();
  // Pixel centres of the surface: a stroke cut there ends with its square cap on the edge.
  const QRectF centros(QPointF(0, 0), QPointF(ancho_ - 1, alto_ - 1));
  if (!recortar_ || centros.contains(linea.boundingRect())) {
    p_->drawPolyline(linea);
    return;
  }
  if (ancho_ < 1 || alto_ < 1) return;
  QPolygonF tramo;
  auto terminar = [&] {
    if (tramo.size() >= 2) p_->drawPolyline(tramo);
    tramo.clear();
  };
  for (qsizetype i = 0; i + 1 < linea.size(); ++i) {
    const QPointF a = linea[i], b = linea[i + 1];
    double t0, t1;
    if (!RecortarSegmento(a, b, centros, t0, t1)) {
      terminar();
      continue;
    }
    if (tramo.isEmpty() || t0 > 0) {
      terminar();
      tramo << a + (b - a) * t0;
    }
    tramo << a + (b - a) * t1;
    if (t1 < 1) terminar();
  }
  terminar();
}

void Lienzo::Pixel(int x, int y, QRgb c) {
  if (x < 0 || y < 0 || x >= ancho_ || y >= alto_) return;
  if (Vectorial()) {
    p_->fillRect(QRectF(x - 0.5, y - 0.5, 1, 1), QColor::fromRgb(c | 0xFF000000u));
    return;
  }
  reinterpret_cast<QRgb*>(img_->scanLine(y))[x] = c | 0xFF000000u;
}

void Lienzo::Glifo(int px, int py, const unsigned char* filas, QRgb c) {
  if (!Vectorial()) {
    for (int fila = 1; fila <= 7; ++fila)
      for (int bit = 1; bit <= 7; ++bit)
        if (filas[fila - 1] & (1 << (bit - 1))) Pixel(px - bit + 4, py + fila - 4, c);
    return;
  }
  // One filled outline per mark.
  QPainterPath marca;
  for (int fila = 1; fila <= 7; ++fila)
    for (int bit = 1; bit <= 7; ++bit) {
      const int x = px - bit + 4, y = py + fila - 4;
      if ((filas[fila - 1] & (1 << (bit - 1))) && x >= 0 && y >= 0 && x < ancho_ && y < alto_)
        marca.addRect(QRectF(x - 0.5, y - 0.5, 1, 1));
    }
  if (!marca.isEmpty()) p_->fillPath(marca.simplified(), QColor::fromRgb(c | 0xFF000000u));
}

void Lienzo::Linea(QPoint a, QPoint b) {
  if (a == b) return;
  if (!hayPluma_) AplicarPluma();
  if (Vectorial()) {
    if (grosor_ > 1) {
      TrazarVectorial(QPolygonF({QPointF(a), QPointF(b)}));
      return;
    }
    // The pixels from a up to the one before b: n pixels along the longer direction.
    const int n = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    if (n == 1) {
      Pixel(a.x(), a.y(), pluma_);
      return;
    }
    const QPointF fin = QPointF(a) + QPointF(b - a) * ((n - 1.0) / n);
    TrazarVectorial(QPolygonF({QPointF(a), fin}));
    return;
  }
  if (grosor_ > 1) {
    p_->drawLine(a, b);
    return;
  }
  // One-pixel line from a towards b without b itself (Bresenham).
  const int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
  const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
  int err = dx + dy, x = a.x(), y = a.y();
  const int w = ancho_, h = alto_;
  while (x != b.x() || y != b.y()) {
    if (x >= 0 && y >= 0 && x < w && y < h) reinterpret_cast<QRgb*>(img_->scanLine(y))[x] = pluma_;
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
  if (Vectorial()) {
    QPolygonF linea;
    linea.reserve(n);
    for (int i = 0; i < n; ++i) linea << QPointF(puntos[i]);
    TrazarVectorial(linea);
    return;
  }
  p_->drawPolyline(puntos, n);
}

void Lienzo::Rectangulo(int l, int t, int r, int b) {
  if (r <= l || b <= t) return;
  const QBrush brocha = p_->brush();
  if (!hayPluma_) AplicarPluma();
  if (Vectorial()) {
    QPainterPath area;
    area.addRect(QRectF(l - 0.5, t - 0.5, r - l, b - t));
    RellenarVectorial(area, brocha);
    if (grosor_ <= 1) {
      if (r - l == 1 || b - t == 1) {
        RellenarVectorial(area, QColor::fromRgb(pluma_));
      } else {
        TrazarVectorial(QPolygonF({QPointF(l, t), QPointF(r - 1, t), QPointF(r - 1, b - 1),
                                   QPointF(l, b - 1), QPointF(l, t)}));
      }
    } else {
      // A wide pen runs inside the area, along its edges.
      const qreal h = grosor_ / 2.0;
      const qreal L = l - 0.5 + h, R = r - 0.5 - h, T = t - 0.5 + h, B = b - 0.5 - h;
      TrazarVectorial(QPolygonF({QPointF(L, T), QPointF(R, T), QPointF(R, B), QPointF(L, B),
                                 QPointF(L, T)}));
    }
    return;
  }
  if (brocha.style() != Qt::NoBrush)
    p_->fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), brocha);
  if (grosor_ <= 1) {
    // The outline runs along the outermost pixels of the area.
    p_->setBrush(Qt::NoBrush);
    if (r - l == 1 || b - t == 1)
      p_->fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), QColor::fromRgb(pluma_));
    else
      p_->drawRect(QRect(l, t, r - l - 1, b - t - 1));
    p_->setBrush(brocha);
  } else {
    // A wide pen is centred on the outline.
    p_->setBrush(Qt::NoBrush);
    const qreal h = grosor_ / 2.0;
    p_->drawRect(QRectF(l + h - 0.5, t + h - 0.5, r - l - grosor_, b - t - grosor_));
    p_->setBrush(brocha);
  }
}

void Lienzo::Relleno(int l, int t, int r, int b, QRgb c) {
  if (r <= l || b <= t) return;
  const QColor color = QColor::fromRgb(c | 0xFF000000u);
  if (Vectorial()) {
    QPainterPath area;
    area.addRect(QRectF(l - 0.5, t - 0.5, r - l, b - t));
    RellenarVectorial(area, color);
    return;
  }
  p_->fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), color);
}

void Lienzo::Elipse(int l, int t, int r, int b) {
  if (r <= l || b <= t) return;
  if (!hayPluma_) AplicarPluma();
  if (!Vectorial()) {
    p_->drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
    return;
  }
  const QRectF caja(l, t, r - l - 1, b - t - 1);
  const qreal h = grosor_ / 2.0;
  if (!recortar_ || Dentro(caja.adjusted(-h, -h, h, h))) {
    p_->drawEllipse(caja);
    return;
  }
  QPainterPath elipse;
  elipse.addEllipse(caja);
  RellenarVectorial(elipse, p_->brush());
  QPolygonF borde = elipse.toFillPolygon();
  if (!borde.isEmpty() && borde.first() != borde.last()) borde << borde.first();
  TrazarVectorial(borde);
}

void Lienzo::Poligono(const QPoint* puntos, int n) {
  if (n < 2) return;
  if (!hayPluma_) AplicarPluma();
  if (!Vectorial()) {
    p_->drawPolygon(puntos, n);
    return;
  }
  QPolygonF poligono;
  for (int i = 0; i < n; ++i) poligono << QPointF(puntos[i]);
  const qreal h = grosor_ / 2.0;
  if (!recortar_ || Dentro(poligono.boundingRect().adjusted(-h, -h, h, h))) {
    p_->drawPolygon(poligono);
    return;
  }
  QPainterPath area;
  area.addPolygon(poligono);
  area.closeSubpath();
  RellenarVectorial(area, p_->brush());
  poligono << poligono.first();
  TrazarVectorial(poligono);
}

void Lienzo::TrazoPunteado(const QPointF& a, const QPointF& b, QRgb c) {
  const QPen anterior = p_->pen();
  QPen punteada(QColor::fromRgb(c), 1, Qt::CustomDashLine, Qt::FlatCap);
  punteada.setDashPattern({1, 1});
  p_->setPen(punteada);
  p_->drawLine(a, b);
  p_->setPen(anterior);
}

void Lienzo::LineaPunteadaH(int x0, int x1, int y, QRgb c) {
  if (y < 0 || y >= alto_) return;
  if (x0 > x1) std::swap(x0, x1);
  const int desde = std::max(x0, 0), hasta = std::min(x1, ancho_ - 1);
  c |= 0xFF000000u;
  const int primero = desde + ((desde - x0) & 1);
  if (Vectorial()) {
    if (primero > hasta) return;
    const int ultimo = primero + (hasta - primero) / 2 * 2;
    TrazoPunteado(QPointF(primero - 0.5, y), QPointF(ultimo + 0.5, y), c);
    return;
  }
  QRgb* fila = reinterpret_cast<QRgb*>(img_->scanLine(y));
  for (int x = primero; x <= hasta; x += 2) fila[x] = c;
}

void Lienzo::LineaPunteadaV(int x, int y0, int y1, QRgb c) {
  if (x < 0 || x >= ancho_) return;
  if (y0 > y1) std::swap(y0, y1);
  const int desde = std::max(y0, 0), hasta = std::min(y1, alto_ - 1);
  c |= 0xFF000000u;
  const int primero = desde + ((desde - y0) & 1);
  if (Vectorial()) {
    if (primero > hasta) return;
    const int ultimo = primero + (hasta - primero) / 2 * 2;
    TrazoPunteado(QPointF(x, primero - 0.5), QPointF(x, ultimo + 0.5), c);
    return;
  }
  for (int y = primero; y <= hasta; y += 2) reinterpret_cast<QRgb*>(img_->scanLine(y))[x] = c;
}

void Lienzo::Dibujo(const QRect& destino, const QImage& dibujo) {
  if (destino.isEmpty() || dibujo.isNull()) return;
  if (!Vectorial()) {
    p_->drawImage(destino, dibujo);
    return;
  }
  const QRect zona = recortar_ ? destino & QRect(0, 0, ancho_, alto_) : destino;
  if (zona.isEmpty()) return;
  // The part of the picture that falls on the surface.
  const double kx = double(dibujo.width()) / destino.width();
  const double ky = double(dibujo.height()) / destino.height();
  const QRect fuente = QRectF((zona.x() - destino.x()) * kx, (zona.y() - destino.y()) * ky,
                              zona.width() * kx, zona.height() * ky)
                           .toAlignedRect() &
                       dibujo.rect();
  p_->drawImage(QRectF(zona).translated(-0.5, -0.5), dibujo.copy(fuente));
}

void Lienzo::Fuente(const QFont& f) {
  if (f == fuente_) return;
  fuente_ = f;
  if (Vectorial()) {
    // The face Qt found for the font (the one the layout measured), then any sans face.
    QFont escrita = f;
    escrita.setFamily(QFontInfo(f).family() + QStringLiteral(", sans-serif"));
    p_->setFont(escrita);
    metricas_ = QFontMetrics(f);
    return;
  }
  p_->setFont(f);
  metricas_ = QFontMetrics(f, img_);
}

int Lienzo::AnchoTexto(const QString& s) const { return metricas_.horizontalAdvance(s); }

int Lienzo::AltoTexto() const { return metricas_.height(); }

void Lienzo::Texto(int x, int y, const QString& s, QRgb color, const QColor* fondo) {
  if (s.isEmpty()) return;
  const int ancho = AnchoTexto(s), alto = AltoTexto();
  const QPen anterior = p_->pen();
  p_->setPen(QColor::fromRgb(color | 0xFF000000u));
  if (Vectorial()) {
    const QPointF centro(x + ancho / 2.0, y + alto / 2.0);
    if (recortar_ && !QRectF(-0.5, -0.5, ancho_, alto_).contains(centro)) {
      p_->setPen(anterior);
      return;
    }
    if (fondo) p_->fillRect(QRectF(x - 0.5, y - 0.5, ancho, alto), *fondo);
    p_->drawText(QPointF(x - 0.5, y - 0.5 + metricas_.ascent()), s);
  } else {
    if (fondo) p_->fillRect(QRect(x, y, ancho, alto), *fondo);
    p_->drawText(QPoint(x, y + metricas_.ascent()), s);
  }
  p_->setPen(anterior);
}
