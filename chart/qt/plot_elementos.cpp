#include "chart/qt/plot_elementos.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

#include "chart/qt/plot_lienzo.h"
#include "chart/qt/plot_render.h"

namespace {

constexpr int kLimitePixel = 30000;
// Gap between a point and its label.
constexpr int kHuecoEtiquetaPunto = 7;
constexpr int kPuntosPolilinea = 200;

int Limitar(int v) { return std::clamp(v, -kLimitePixel, kLimitePixel); }

// Resolves colours with a one-entry cache: consecutive items mostly share their colour.
class CacheColor {
 public:
  QRgb operator()(TColor c) {
    if (!valido_ || c != ultimo_) {
      ultimo_ = c;
      rgb_ = ColorQt(c);
      valido_ = true;
    }
    return rgb_;
  }

 private:
  bool valido_ = false;
  TColor ultimo_ = 0;
  QRgb rgb_ = 0;
};

// Shortens a one-pixel polyline without changing its pixels: a run of consecutive points
// in one pixel column covers exactly the column's pixels between the run's lowest and
// highest point, so the run is replaced by its first point, its extremes and its last
// point. Long series (a million lags on a few hundred columns) collapse to a few points
// per column. Returns the new number of points.
int CompactarColumnas(QPoint* p, int n) {
  int salida = 0;
  auto poner = [&](QPoint q) {
    if (salida == 0 || p[salida - 1] != q) p[salida++] = q;
  };
  int i = 0;
  while (i < n) {
    int j = i + 1;
    int yMin = p[i].y(), yMax = p[i].y();
    while (j < n && p[j].x() == p[i].x()) {
      yMin = std::min(yMin, p[j].y());
      yMax = std::max(yMax, p[j].y());
      ++j;
    }
    const QPoint primero = p[i], ultimo = p[j - 1];
    const int x = primero.x();
    poner(primero);
    if (j - i > 2) {
      poner(QPoint(x, yMin));
      poner(QPoint(x, yMax));
    }
    poner(ultimo);
    i = j;
  }
  return salida;
}

// Draws the items of one chart into its data area. Between items it keeps the pen, the
// polyline being gathered (consecutive tkLineto of one colour and width) and the boxes of
// the labels drawn so far.
class DibujoElementos {
 public:
  DibujoElementos(Lienzo& lz, const TPlotModel& m, const TChartGeometry& g, const TScaling& s,
                  bool blancoNegro, QRgb fondo, QPoint& pluma);
  void Dibujar(std::size_t primero);

 private:
  QPoint Mapear(double x, double y) const;
  void DibujarPoli();
  void Vaciar();
  void Elemento(const TPlotItem& it, std::size_t i, QRgb c);
  void LineaHasta(const TPlotItem& it, QRgb c);
  void Linea(const TPlotItem& it, QRgb c);
  void Marca(const TPlotItem& it, QRgb c);
  void Rectangulo(const TPlotItem& it, QRgb c);
  void MarcoRelieve(const TPlotItem& it);
  void Barra3D(const TPlotItem& it, QRgb c);
  void Elipse(const TPlotItem& it, QRgb c);
  void Texto(const TPlotItem& it, QRgb c);
  void Bigote(const TPlotItem& it, QRgb c);
  void Punteada(const TPlotItem& it, QRgb c);
  void Etiqueta(const TPlotItem& it, std::size_t i, QRgb c);

  Lienzo& lz_;
  const TPlotModel& m_;
  const TChartGeometry& g_;
  const TScaling& s_;
  const bool blancoNegro_;
  QPoint& pluma_;
  // Long polylines go to the image in pieces of kPuntosPolilinea points; as vectors each
  // stays one line.
  const std::size_t limitePoli_;
  CacheColor color_, relleno_;
  const QFont fuente_;
  int anchoPluma_;
  std::vector<QPoint> poli_, trazo_;
  std::vector<QRect> notas_;  // boxes of the labels drawn in the data area
};

DibujoElementos::DibujoElementos(Lienzo& lz, const TPlotModel& m, const TChartGeometry& g,
                                 const TScaling& s, bool blancoNegro, QRgb fondo, QPoint& pluma)
    : lz_(lz), m_(m), g_(g), s_(s), blancoNegro_(blancoNegro), pluma_(pluma),
      limitePoli_(lz.Vectorial() ? std::numeric_limits<std::size_t>::max() : kPuntosPolilinea),
      fuente_(FuenteQt(m.Font())), anchoPluma_(m.LineWidth()) {
  lz_.AnchoPluma(std::max<int>(m_.LineWidth(), 1));
  lz_.ColorPluma(fondo);
  lz_.ColorBrocha(fondo);
  lz_.Fuente(fuente_);
  poli_.reserve(kPuntosPolilinea);
  trazo_.reserve(kPuntosPolilinea);
}

void DibujoElementos::Dibujar(std::size_t primero) {
  const std::vector<TPlotItem>& items = m_.Items();
  for (std::size_t i = primero; i < items.size(); ++i) {
    const TPlotItem& it = items[i];
    if (it.Kind() == tkNone) break;
    const QRgb c = blancoNegro_ ? 0xFF000000u : color_(it.Color());
    if (it.LineWidth() != anchoPluma_) {
      Vaciar();
      anchoPluma_ = it.LineWidth();
      lz_.AnchoPluma(std::max(anchoPluma_, 1));
    }
    Elemento(it, i, c);
  }
  Vaciar();
}

// One item; every kind but tkLineto first draws the polyline gathered so far.
void DibujoElementos::Elemento(const TPlotItem& it, std::size_t i, QRgb c) {
  using Dibujo = void (DibujoElementos::*)(const TPlotItem&, QRgb);
  Dibujo dibujo = nullptr;
  switch (it.Kind()) {
    case tkLineto:
      LineaHasta(it, c);
      return;
    case tkMoveTo:
      Vaciar();
      pluma_ = Mapear(it.X1(), it.Y1());
      return;
    case tkRectFrame:
      Vaciar();
      MarcoRelieve(it);
      return;
    case tkLabel:
      Vaciar();
      Etiqueta(it, i, c);
      return;
    case tkLine: dibujo = &DibujoElementos::Linea; break;
    case tkMarkAt: dibujo = &DibujoElementos::Marca; break;
    case tkRect: dibujo = &DibujoElementos::Rectangulo; break;
    case tk3DBar: dibujo = &DibujoElementos::Barra3D; break;
    case tkEllipse: dibujo = &DibujoElementos::Elipse; break;
    case tkText: dibujo = &DibujoElementos::Texto; break;
    case tkWhisker: dibujo = &DibujoElementos::Bigote; break;
    case tkDotLine: dibujo = &DibujoElementos::Punteada; break;
    default: return;  // unknown kinds, and continuations of labels, draw nothing
  }
  Vaciar();
  (this->*dibujo)(it, c);
}

QPoint DibujoElementos::Mapear(double x, double y) const {
  int px, py;
  ::WorldToPixel(s_, g_, x, y, px, py);
  return QPoint(Limitar(px) - g_.LRim, Limitar(py) - g_.TRim);
}

void DibujoElementos::DibujarPoli() {
  if (poli_.size() < 2) return;
  if (anchoPluma_ > 1) {
    lz_.Polilinea(poli_.data(), static_cast<int>(poli_.size()));
    return;
  }
  trazo_.assign(poli_.begin(), poli_.end());
  const int n = CompactarColumnas(trazo_.data(), static_cast<int>(trazo_.size()));
  if (n == 1)
    lz_.Pixel(trazo_[0].x(), trazo_[0].y(), lz_.ColorPlumaActual());
  else
    lz_.Polilinea(trazo_.data(), n);
}

void DibujoElementos::Vaciar() {
  DibujarPoli();
  poli_.clear();
}

void DibujoElementos::LineaHasta(const TPlotItem& it, QRgb c) {
  if (c != lz_.ColorPlumaActual()) {
    Vaciar();
    lz_.ColorPluma(c);
  }
  const QPoint p = Mapear(it.X1(), it.Y1());
  if (poli_.empty()) poli_.push_back(pluma_);
  poli_.push_back(p);
  pluma_ = p;
  if (poli_.size() >= limitePoli_) {
    DibujarPoli();
    poli_.clear();
    poli_.push_back(p);
  }
}

void DibujoElementos::Linea(const TPlotItem& it, QRgb c) {
  lz_.ColorPluma(c);
  const QPoint a = Mapear(it.X1(), it.Y1()), b = Mapear(it.X2(), it.Y2());
  if (a == b)
    lz_.Pixel(a.x(), a.y(), c);
  else
    lz_.Linea(a, b);
}

void DibujoElementos::Marca(const TPlotItem& it, QRgb c) {
  lz_.ColorPluma(c);
  const QPoint p = Mapear(it.X1(), it.Y1());
  const int tipoMarca = it.MarkType();
  if (const unsigned char* glifo = GlifoMarca(tipoMarca)) {
    lz_.Glifo(p.x(), p.y(), glifo, c);
  } else if (tipoMarca >= 33) {
    const QString ch(QChar(static_cast<char16_t>(tipoMarca)));
    lz_.Fuente(fuente_);
    lz_.Texto(p.x() - lz_.AnchoTexto(ch) / 2, p.y() - lz_.AltoTexto() / 2, ch, c);
  } else {
    lz_.Pixel(p.x(), p.y(), c);
  }
}

void DibujoElementos::Rectangulo(const TPlotItem& it, QRgb c) {
  lz_.ColorPluma(c);
  lz_.ColorBrocha(relleno_(it.FillColor()));
  const QPoint a = Mapear(it.X1(), it.Y1()), b = Mapear(it.X2(), it.Y2());
  if (a == b) {
    lz_.Pixel(a.x(), a.y(), c);
    return;
  }
  lz_.Rectangulo(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
                 std::max(a.y(), b.y()) + 1);
}

// A filled rectangle with a raised, lowered, embossed or engraved rim in the item's shadow
// and highlight colours.
void DibujoElementos::MarcoRelieve(const TPlotItem& it) {
  const QRgb f = relleno_(it.FillColor());
  lz_.ColorPluma(f);
  lz_.ColorBrocha(f);
  const QPoint a = Mapear(it.X1(), it.Y1()), b = Mapear(it.X2(), it.Y2());
  const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
  const int t = std::min(a.y(), b.y()), bo = std::max(a.y(), b.y());
  if (a == b) {
    lz_.Pixel(l, t, f);
    return;
  }
  lz_.Rectangulo(l, t, r, bo);
  const QRgb sombra = ColorQt(it.ShadowColor()), luz = ColorQt(it.HiliteColor());
  auto camino = [&](QRgb col, std::initializer_list<QPoint> pts) {
    lz_.ColorPluma(col);
    lz_.Polilinea(pts.begin(), static_cast<int>(pts.size()));
  };
  switch (it.FrameStyle()) {
    case rbLowered:
      camino(sombra, {{l, bo}, {l, t}, {r, t}});
      camino(luz, {{r, t}, {r, bo}, {l, bo}});
      break;
    case rbRaised:
      camino(luz, {{l, bo}, {l, t}, {r, t}});
      camino(sombra, {{r, t}, {r, bo}, {l, bo}});
      break;
    case rbEmbossed:
      camino(sombra, {{l + 1, bo}, {l + 1, t + 1}, {r, t + 1}, {r, bo}, {l + 1, bo}});
      camino(luz, {{l, bo - 1}, {l, t}, {r - 1, t}, {r - 1, bo - 1}, {l, bo - 1}});
      break;
    case rbEngraved:
      camino(luz, {{l + 1, bo}, {l + 1, t + 1}, {r, t + 1}, {r, bo}, {l + 1, bo}});
      camino(sombra, {{l, bo - 1}, {l, t}, {r - 1, t}, {r - 1, bo - 1}, {l, bo - 1}});
      break;
  }
}

// A bar with its top and side drawn in depth, at the item's angle.
void DibujoElementos::Barra3D(const TPlotItem& it, QRgb c) {
  lz_.ColorPluma(c);
  lz_.ColorBrocha(relleno_(it.FillColor()));
  const QPoint a = Mapear(it.X1(), it.Y1()), b = Mapear(it.X2(), it.Y2());
  int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
  const int t = std::min(a.y(), b.y()), bo = std::max(a.y(), b.y());
  const int angulo = std::clamp<std::int32_t>(it.Angle(), 0, 180);
  const double rad = angulo * M_PI / 180.0;
  // The depth offsets are limited like every other pixel coordinate.
  const int dx = Limitar(static_cast<int>(
      std::clamp(std::nearbyint(std::cos(rad) * it.Depth()), -1e5, 1e5)));
  const int dy = -Limitar(static_cast<int>(
      std::clamp(std::nearbyint(std::sin(rad) * it.Depth()), -1e5, 1e5)));
  const int izq = std::min(l, r), der = std::max(l, r);
  if (angulo > 90) std::swap(l, r);
  const QPoint arriba[4] = {{l, t}, {l + dx, t + dy}, {r + dx, t + dy}, {r, t}};
  lz_.Poligono(arriba, 4);
  const QPoint lado[4] = {{r + dx, t + dy}, {r, t}, {r, bo}, {r + dx, bo + dy}};
  lz_.Poligono(lado, 4);
  lz_.Rectangulo(izq, t, der + 1, bo + 1);
}

void DibujoElementos::Elipse(const TPlotItem& it, QRgb c) {
  lz_.ColorPluma(c);
  lz_.ColorBrocha(relleno_(it.FillColor()));
  const double x = it.X1(), y = it.Y1(), hx = it.X2(), hy = it.Y2();
  const QPoint a = Mapear(x - hx, y + hy), b = Mapear(x + hx, y - hy);
  if (a == b) {
    lz_.Pixel(a.x(), a.y(), c);
    return;
  }
  lz_.Elipse(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
             std::max(a.y(), b.y()) + 1);
}

void DibujoElementos::Texto(const TPlotItem& it, QRgb c) {
  const QPoint p = Mapear(it.X1(), it.Y1());
  lz_.Fuente(FuenteTexto(m_.Font(), it.CharSize(), m_.TextFontStyle()));
  const QString s = TextoLatin1(it.TextLatin1());
  const QColor fondo = QColor::fromRgb(ColorQt(m_.TextBkColor()));
  lz_.Texto(p.x() - lz_.AnchoTexto(s) / 2, p.y() - lz_.AltoTexto() / 2, s, c,
            m_.TextBkStyle() == tbSolid ? &fondo : nullptr);
  lz_.Fuente(fuente_);
}

void DibujoElementos::Bigote(const TPlotItem& it, QRgb c) {
  lz_.ColorPluma(c);
  const QPoint a = Mapear(it.X1(), it.Y1()), b = Mapear(it.X2(), it.Y2());
  if (a != b) lz_.Linea(a, b);
  lz_.Pixel(b.x(), b.y(), c);
  // The caps across the ends, however close the ends are: a cap of 2k + 1 pixels.
  const int k = it.CapSize();
  const bool horizontal = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
  for (const QPoint& extremo : {a, b}) {
    const QPoint desde = horizontal ? QPoint(extremo.x(), extremo.y() - k)
                                    : QPoint(extremo.x() - k, extremo.y());
    const QPoint hasta = horizontal ? QPoint(extremo.x(), extremo.y() + k + 1)
                                    : QPoint(extremo.x() + k + 1, extremo.y());
    lz_.Linea(desde, hasta);
  }
}

void DibujoElementos::Punteada(const TPlotItem& it, QRgb c) {
  const QPoint a = Mapear(it.X1(), it.Y1()), b = Mapear(it.X2(), it.Y2());
  if (a.x() == b.x()) {
    lz_.LineaPunteadaV(a.x(), a.y(), b.y(), c);
  } else if (a.y() == b.y()) {
    lz_.LineaPunteadaH(a.x(), b.x(), a.y(), c);
  } else {
    lz_.ColorPluma(c);  // a slanted one is drawn solid
    lz_.Linea(a, b);
  }
}

// A label of the data area beside its point, as its alignment says; one that would overlap
// a label drawn before is left out. Labels of the rims are drawn with the frame.
void DibujoElementos::Etiqueta(const TPlotItem& it, std::size_t i, QRgb c) {
  if (it.LabelPlace() != lpData) return;
  const QPoint p = Mapear(it.X1(), it.Y1());
  lz_.Fuente(FuenteTexto(m_.Font(), it.LabelSize(), 0));
  const QString s = QString::fromStdString(m_.LabelText(i));
  const int w = lz_.AnchoTexto(s), h = lz_.AltoTexto();
  const std::uint8_t alineacion = it.LabelAlign();
  const int antes = p.x() - kHuecoEtiquetaPunto - w, despues = p.x() + kHuecoEtiquetaPunto;
  const int ancho = lz_.Ancho();
  int x = p.x() - w / 2;
  switch (alineacion & 3) {
    case laRight: x = (despues + w > ancho - 2 && antes >= 2) ? antes : despues; break;
    case laLeft: x = (antes < 2 && despues + w <= ancho - 2) ? despues : antes; break;
    default: break;
  }
  int y = p.y() - h / 2;
  if (alineacion & laAbove) y = p.y() - h - 1;
  if (alineacion & laBelow) y = p.y() + 2;
  const QRect caja(x, y, w, h);
  const bool tapa = std::any_of(notas_.begin(), notas_.end(),
                                [&caja](const QRect& otra) { return otra.intersects(caja); });
  if (!tapa) {
    notas_.push_back(caja);
    lz_.Texto(x, y, s, c);
  }
  lz_.Fuente(fuente_);
}

}  // namespace

void DibujarRejilla(Lienzo& lz, const TPlotModel& m, const TChartGeometry& g, const TScaling& s) {
  const int dx0 = g.LRim, dy0 = g.TRim;
  const int ancho = lz.Ancho(), alto = lz.Alto();
  const TGridDrawing grid = LayoutGrid(m.GridStyle(), m.GridDx(), m.GridDy(), g, s);
  const QRgb c = ColorQt(m.GridColor());
  lz.AnchoPluma(1);
  lz.ColorPluma(c);
  if (grid.Points) {
    for (const auto& pt : grid.PointList) lz.Pixel(pt[0] - dx0, pt[1] - dy0, c);
    return;
  }
  if (grid.Vertical)
    for (int x : grid.X) {
      if (grid.Dotted)
        lz.LineaPunteadaV(x - dx0, 0, alto - 1, c);
      else
        lz.Linea(QPoint(x - dx0, 0), QPoint(x - dx0, alto));
    }
  if (grid.Horizontal)
    for (int y : grid.Y) {
      if (grid.Dotted)
        lz.LineaPunteadaH(0, ancho - 1, y - dy0, c);
      else
        lz.Linea(QPoint(0, y - dy0), QPoint(ancho, y - dy0));
    }
}

void DibujarListaElementos(Lienzo& lz, const TPlotModel& m, const TChartGeometry& g,
                           const TScaling& s, bool blancoNegro, QRgb fondo,
                           std::size_t primero, QPoint& pluma) {
  DibujoElementos(lz, m, g, s, blancoNegro, fondo, pluma).Dibujar(primero);
}
