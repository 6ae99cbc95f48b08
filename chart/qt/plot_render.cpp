#include "chart/qt/plot_render.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <vector>

#include "chart/marks.h"
#include "chart/qt/plot_fuentes.h"
#include "chart/qt/plot_lienzo.h"
#include "numeric/fichero_atomico.h"

namespace {

constexpr int kLimitePixel = 30000;
// Gaps between the data area and the labels of its rims, and between a point and its label.
constexpr int kHuecoEtiquetaIzquierda = 6;
constexpr int kHuecoEtiquetaDerecha = 8;
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

}  // namespace

const unsigned char* GlifoMarca(int tipo) {
  return (tipo >= 1 && tipo <= 25) ? kMarkGlyphs[tipo].data() : nullptr;
}

QFont FuenteQt(const TPlotFont& f) {
  // The chart's face names ("MS Sans Serif") are those of the old desktop: every chart is
  // drawn in the program's own typeface, so that it looks the same on every machine.
  QFont q = FuenteFenwa(std::max(1, f.Height), f.Style & fsBold);
  q.setItalic(f.Style & fsItalic);
  q.setUnderline(f.Style & fsUnderline);
  q.setStrikeOut(f.Style & fsStrikeOut);
  return q;
}

QFont FuenteTexto(const TPlotFont& f, int puntos, TFontStyles estilo) {
  TPlotFont t = f;
  // Points to pixels at 96 pixels per inch, rounded like the screen does; size 0 keeps
  // the chart font's height.
  if (puntos != 0) {
    const long pix = std::lround(std::abs(static_cast<double>(puntos)) * 96.0 / 72.0);
    t.Height = static_cast<int>(std::clamp(pix, 1L, 1000L));
  }
  t.Style = estilo;
  return FuenteQt(t);
}

QRgb ColorQt(TColor c) { return 0xFF000000u | ResolverColor(c); }

QString TextoLatin1(const std::string& latin1) {
  return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

MetricasQt::MetricasQt(const QFont& f) : fm_(f) {}

int MetricasQt::TextWidth(const std::string& utf8) const {
  return fm_.horizontalAdvance(QString::fromStdString(utf8));
}

int MetricasQt::TextHeight() const { return fm_.height(); }

RenderGrafica::RenderGrafica(const TPlotModel& m, const OpcionesRender& o)
    : RenderGrafica(m, m.Width(), m.Height(), o) {}

MargenesEtiquetas MedirMargenesEtiquetas(const TPlotModel& m, int ancho) {
  MargenesEtiquetas r;
  int izquierda = 0, derecha = 0;
  bool hay = false;
  const std::vector<TPlotItem>& items = m.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TPlotItem& it = items[i];
    if (it.Kind() != tkLabel) continue;
    const TLabelPlace lugar = it.LabelPlace();
    if (lugar != lpLeftRim && lugar != lpRightRim) continue;
    hay = true;
    const QFontMetrics fm(FuenteTexto(m.Font(), it.LabelSize(), 0));
    const int w = fm.horizontalAdvance(QString::fromStdString(m.LabelText(i)));
    int& mayor = lugar == lpLeftRim ? izquierda : derecha;
    mayor = std::max(mayor, w);
  }
  if (!hay) return r;
  // Left: the names, right-aligned a gap before the data area, within four tenths.
  r.anchoIzquierda = std::min(izquierda, std::max(40, ancho * 4 / 10 - kHuecoEtiquetaIzquierda));
  r.izquierda = std::max(0, r.anchoIzquierda + kHuecoEtiquetaIzquierda + 4 - m.LRim());
  // Right: the column, a gap after the data area, while the data area keeps its minimum.
  if (derecha > 0) {
    const int extra = std::max(0, derecha + kHuecoEtiquetaDerecha + 4 - m.RRim());
    const int datos = ancho - m.LRim() - r.izquierda - m.RRim() - extra - m.ShadowWidth();
    if (datos >= kDatosMinimosConColumna) {
      r.derecha = extra;
      r.columnaDerecha = true;
    }
  }
  return r;
}

int AltoParaEtiquetas(const TPlotModel& m) {
  std::vector<double> ys;
  int alto = 0;
  for (const TPlotItem& it : m.Items()) {
    if (it.Kind() != tkLabel || it.LabelPlace() != lpLeftRim || !std::isfinite(it.Y1())) continue;
    ys.push_back(it.Y1());
    alto = std::max(alto, QFontMetrics(FuenteTexto(m.Font(), it.LabelSize(), 0)).height());
  }
  if (ys.size() < 2) return 0;
  std::sort(ys.begin(), ys.end());
  double paso = 0;
  for (std::size_t i = 1; i < ys.size(); ++i) {
    const double d = ys[i] - ys[i - 1];
    if (d > 0 && (paso == 0 || d < paso)) paso = d;
  }
  if (paso == 0) return 0;
  // The rows' span in steps, a row more for the margins, at a line of text each.
  const double filas = std::min((ys.back() - ys.front()) / paso + 2.0, 1000.0);
  return m.TRim() + m.BRim() + m.ShadowWidth() + static_cast<int>(std::ceil(filas * (alto + 1)));
}

RenderGrafica::RenderGrafica(const TPlotModel& m, int ancho, int alto, const OpcionesRender& o)
    : m_(m), o_(o), g_(m.Geometry()) {
  if (ancho > 0) g_.Width = ancho;
  if (alto > 0) g_.Height = alto;
  // The rims as the chart's properties give them, widened for the labels at this width.
  margenes_ = MedirMargenesEtiquetas(m, g_.Width);
  g_.LRim = m.LRim() + margenes_.izquierda;
  g_.RRim = m.RRim() + margenes_.derecha;
  s_ = CalcScaling(g_);
}

std::vector<EtiquetaColocada> RenderGrafica::EtiquetasDelMarco() const {
  std::vector<EtiquetaColocada> r;
  const QFont fuenteGrafica = FuenteQt(m_.Font());
  const MetricasQt fmGrafica(fuenteGrafica);
  const TPlacedText cap = CaptionPosition(m_.Caption(), g_, fmGrafica);
  // Boxes of the rim labels placed so far, per rim: a label that would overlap one of them
  // is left out (rows closer than a line of text show every other name).
  std::vector<std::pair<int, int>> ocupadas[2];
  auto libre = [&](int lado, int arriba, int abajo) {
    for (const auto& [a, b] : ocupadas[lado])
      if (arriba < b && a < abajo) return false;
    ocupadas[lado].emplace_back(arriba, abajo);
    return true;
  };
  const std::vector<TPlotItem>& items = m_.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TPlotItem& it = items[i];
    if (it.Kind() == tkNone) break;
    if (it.Kind() != tkLabel || it.LabelPlace() == lpData) continue;
    const QFont fuente = FuenteTexto(m_.Font(), it.LabelSize(), 0);
    const QFontMetrics fm(fuente);
    QString texto = QString::fromStdString(m_.LabelText(i));
    const int alto = fm.height();
    int px = 0, py = 0;
    ::WorldToPixel(s_, g_, it.X1(), it.Y1(), px, py);
    int x = 0, y = 0;
    switch (it.LabelPlace()) {
      case lpLeftRim:
      case lpRightRim: {
        const bool izquierda = it.LabelPlace() == lpLeftRim;
        if (!izquierda && !margenes_.columnaDerecha) continue;
        if (py < g_.DataTop() || py > g_.DataBottom()) continue;  // its row is out of view
        y = py - alto / 2;
        if (!libre(izquierda ? 0 : 1, y, y + alto)) continue;
        if (izquierda) {
          texto = fm.elidedText(texto, Qt::ElideMiddle, margenes_.anchoIzquierda);
          x = g_.DataLeft() - kHuecoEtiquetaIzquierda - fm.horizontalAdvance(texto);
        } else {
          x = g_.DataRight() + kHuecoEtiquetaDerecha;
        }
        break;
      }
      case lpTitle: {
        // On a line of its own above the caption when the top rim holds both, otherwise
        // left of the caption on its line; elided rather than drawn over it.
        x = 4;
        const bool encima = !m_.Caption().empty() && g_.TRim >= alto + fmGrafica.TextHeight();
        y = encima ? std::max(0, g_.TRim - fmGrafica.TextHeight() - alto) : g_.TRim - alto;
        const int fin = m_.Caption().empty() || encima ? g_.Width - 4 : cap.X - 8;
        texto = fm.elidedText(texto, Qt::ElideRight, std::max(fin - x, 0));
        break;
      }
      case lpAbscissa: {
        const MetricasQt medida(fuente);
        TPlacedText pos;
        const TAxisDrawing ejeX = m_.XLabelType() != ftNoScales
                                      ? LayoutAxisX(m_.AxisSpecX(), g_, s_, fmGrafica)
                                      : TAxisDrawing{};
        if (!AbscissaTitlePosition(texto.toStdString(), g_, medida, ejeX, pos)) continue;
        x = pos.X;
        y = pos.Y;
        break;
      }
      default:
        continue;  // a place this version does not know
    }
    if (texto.isEmpty()) continue;
    r.push_back({texto, fuente, QRect(x, y, fm.horizontalAdvance(texto), alto)});
  }
  return r;
}

void RenderGrafica::DibujarEtiquetasDelMarco(Lienzo& lz) const {
  const QRgb color = o_.BlancoNegro ? 0xFF000000u : ColorQt(m_.Font().Color);
  for (const EtiquetaColocada& e : EtiquetasDelMarco()) {
    lz.Fuente(e.fuente);
    lz.Texto(e.caja.x(), e.caja.y(), e.texto, color);
  }
  lz.Fuente(FuenteQt(m_.Font()));
}

void RenderGrafica::DibujarMarco(QImage& whole) const {
  const int w = std::max(g_.Width, 1), h = std::max(g_.Height, 1);
  if (whole.width() != w || whole.height() != h || whole.format() != QImage::Format_RGB32)
    whole = QImage(w, h, QImage::Format_RGB32);
  Lienzo lz(whole);
  DibujarMarco(lz);
}

void RenderGrafica::DibujarMarco(Lienzo& lz) const {
  const int w = lz.Ancho(), h = lz.Alto();
  lz.Relleno(0, 0, w, h, ColorQt(Wind()));

  const int s = g_.ShadowWidth;
  if (s > 0) {
    const QRgb fondo = ColorQt(m_.ShadowBakColor());
    lz.Relleno(w - s, 0, w, h, fondo);
    lz.Relleno(0, h - s, w, h, fondo);
    const bool volando = m_.ShadowStyle() == ssFlying;
    lz.ColorBrocha(ColorQt(m_.ShadowColor()));
    lz.ColorPluma(volando ? ColorQt(m_.ShadowColor()) : 0xFF000000u);
    const int d = volando ? s - 1 : 0;
    const QPoint abajo[4] = {{d, h - s}, {s - 1, h - 1}, {w, h - 1}, {w - s, h - s}};
    lz.Poligono(abajo, 4);
    const QPoint derecha[4] = {{w - s, h - s}, {w - 1, h - 1}, {w - 1, s - 1}, {w - s, d}};
    lz.Poligono(derecha, 4);
    lz.ColorPluma(0xFF000000u);
    const QPoint borde[5] = {{0, 0}, {0, h - s}, {w - s, h - s}, {w - s, 0}, {0, 0}};
    lz.Polilinea(borde, 5);
  }

  const QFont fuente = FuenteQt(m_.Font());
  lz.Fuente(fuente);
  const MetricasQt fm(fuente);
  const QRgb colorTitulos = ColorQt(m_.Font().Color);
  const QRgb colorEscala = ColorQt(Scale());

  const TPlacedText cap = CaptionPosition(m_.Caption(), g_, fm);
  lz.Texto(cap.X, cap.Y, QString::fromStdString(cap.Text), colorTitulos);

  lz.ColorPluma(colorEscala);
  lz.AnchoPluma(1);
  auto dibujarEje = [&](const TAxisDrawing& eje) {
    for (const TTickMark& t : eje.Ticks) lz.Linea(QPoint(t.X1, t.Y1), QPoint(t.X2, t.Y2));
    for (const TPlacedText& l : eje.Labels)
      lz.Texto(l.X, l.Y, QString::fromStdString(l.Text), colorEscala);
  };
  TPlacedText titulo;
  if (m_.XLabelType() != ftNoScales) {
    const TAxisDrawing ejeX = LayoutAxisX(m_.AxisSpecX(), g_, s_, fm);
    dibujarEje(ejeX);
    if (AbscissaTitlePosition(m_.IdAbscissa(), g_, fm, ejeX, titulo))
      lz.Texto(titulo.X, titulo.Y, QString::fromStdString(titulo.Text), colorTitulos);
  }
  // A category axis (names in the left rim) shows its names instead of the y numbers.
  if (m_.YLabelType() != ftNoScales && !m_.HasLabels(lpLeftRim)) {
    dibujarEje(LayoutAxisY(m_.AxisSpecY(), g_, s_, fm));
    if (OrdinateTitlePosition(m_.IdOrdinate(), g_, fm, titulo))
      lz.Texto(titulo.X, titulo.Y, QString::fromStdString(titulo.Text), colorTitulos);
  }
  DibujarEtiquetasDelMarco(lz);
}

bool RenderGrafica::BorrarAreaDatos(QImage& data) const {
  const int w = std::max(g_.DataWidth(), 0) + 1, h = std::max(g_.DataHeight(), 0) + 1;
  if (data.width() != w || data.height() != h || data.format() != QImage::Format_RGB32)
    data = QImage(w, h, QImage::Format_RGB32);
  Lienzo lz(data);
  return BorrarAreaDatos(lz);
}

bool RenderGrafica::BorrarAreaDatos(Lienzo& lz) const {
  const int w = lz.Ancho(), h = lz.Alto();
  lz.AnchoPluma(1);
  lz.ColorPluma(ColorQt(Scale()));
  lz.ColorBrocha(ColorQt(Chart()));

  const std::string& nombre = m_.BackgroundImage().Name();
  QImage dibujo;
  if (!nombre.empty()) dibujo.load(QString::fromStdString(nombre));
  if (dibujo.isNull()) {
    lz.Rectangulo(0, 0, w, h);
    return nombre.empty();
  }
  const QSize natural = dibujo.size();
  switch (m_.BackgroundImage().FillMode()) {
    case bfSimple:
      lz.Rectangulo(0, 0, w, h);
      lz.Dibujo(QRect(QPoint(0, 0), natural), dibujo);
      break;
    case bfStretch:
      lz.Dibujo(QRect(0, 0, w, h), dibujo);
      break;
    case bfTile: {
      const int cols = (w - 1) / natural.width() + 1, filas = (h - 1) / natural.height() + 1;
      for (int i = 0; i < cols; ++i)
        for (int j = 0; j < filas; ++j)
          lz.Dibujo(QRect(QPoint(i * natural.width(), j * natural.height()), natural), dibujo);
      break;
    }
  }
  return true;
}

void RenderGrafica::DibujarElementos(QImage& data, std::size_t primero, QPoint& pluma) const {
  if (data.isNull()) return;
  Lienzo lz(data);
  DibujarElementos(lz, primero, pluma);
}

void RenderGrafica::DibujarElementos(Lienzo& lz, std::size_t primero, QPoint& pluma) const {
  const int dx0 = g_.LRim, dy0 = g_.TRim;
  const int ancho = lz.Ancho(), alto = lz.Alto();
  // Long polylines go to the image in pieces of kPuntosPolilinea points; as vectors each
  // stays one line.
  const std::size_t limitePoli =
      lz.Vectorial() ? std::numeric_limits<std::size_t>::max() : kPuntosPolilinea;

  // Grid, only when the whole list is drawn.
  if (primero == 0 && m_.GridStyle() != gsNone) {
    const TGridDrawing grid = LayoutGrid(m_.GridStyle(), m_.GridDx(), m_.GridDy(), g_, s_);
    const QRgb c = ColorQt(m_.GridColor());
    lz.AnchoPluma(1);
    lz.ColorPluma(c);
    if (grid.Points) {
      for (const auto& pt : grid.PointList) lz.Pixel(pt[0] - dx0, pt[1] - dy0, c);
    } else {
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
  }

  const bool bn = o_.BlancoNegro;
  const QRgb negro = 0xFF000000u;
  CacheColor color, relleno;
  const QRgb fondoGrafica = ColorQt(Chart());
  lz.AnchoPluma(std::max<int>(m_.LineWidth(), 1));
  lz.ColorPluma(fondoGrafica);
  lz.ColorBrocha(fondoGrafica);
  const QFont fuente = FuenteQt(m_.Font());
  lz.Fuente(fuente);

  int anchoPluma = m_.LineWidth();
  std::vector<QPoint> poli;
  poli.reserve(kPuntosPolilinea);
  std::vector<QPoint> trazo;
  trazo.reserve(kPuntosPolilinea);
  auto dibujarPoli = [&] {
    if (poli.size() < 2) return;
    if (anchoPluma > 1) {
      lz.Polilinea(poli.data(), static_cast<int>(poli.size()));
      return;
    }
    trazo.assign(poli.begin(), poli.end());
    const int n = CompactarColumnas(trazo.data(), static_cast<int>(trazo.size()));
    if (n == 1)
      lz.Pixel(trazo[0].x(), trazo[0].y(), lz.ColorPlumaActual());
    else
      lz.Polilinea(trazo.data(), n);
  };
  auto vaciar = [&] {
    dibujarPoli();
    poli.clear();
  };
  auto mapear = [&](double x, double y) {
    int px, py;
    ::WorldToPixel(s_, g_, x, y, px, py);
    return QPoint(Limitar(px) - dx0, Limitar(py) - dy0);
  };

  std::vector<QRect> notas;  // boxes of the labels drawn in the data area
  const std::vector<TPlotItem>& items = m_.Items();
  for (std::size_t i = primero; i < items.size(); ++i) {
    const TPlotItem& it = items[i];
    const ItemType tipo = it.Kind();
    if (tipo == tkNone) break;
    const QRgb c = bn ? negro : color(it.Color());
    if (it.LineWidth() != anchoPluma) {
      vaciar();
      anchoPluma = it.LineWidth();
      lz.AnchoPluma(std::max(anchoPluma, 1));
    }
    switch (tipo) {
      case tkMoveTo:
        vaciar();
        pluma = mapear(it.X1(), it.Y1());
        break;
      case tkLineto: {
        if (c != lz.ColorPlumaActual()) {
          vaciar();
          lz.ColorPluma(c);
        }
        const QPoint p = mapear(it.X1(), it.Y1());
        if (poli.empty()) poli.push_back(pluma);
        poli.push_back(p);
        pluma = p;
        if (poli.size() >= limitePoli) {
          dibujarPoli();
          poli.clear();
          poli.push_back(p);
        }
        break;
      }
      case tkLine: {
        vaciar();
        lz.ColorPluma(c);
        const QPoint a = mapear(it.X1(), it.Y1()), b = mapear(it.X2(), it.Y2());
        if (a == b)
          lz.Pixel(a.x(), a.y(), c);
        else
          lz.Linea(a, b);
        break;
      }
      case tkMarkAt: {
        vaciar();
        lz.ColorPluma(c);
        const QPoint p = mapear(it.X1(), it.Y1());
        const int tipoMarca = it.MarkType();
        if (const unsigned char* glifo = GlifoMarca(tipoMarca)) {
          lz.Glifo(p.x(), p.y(), glifo, c);
        } else if (tipoMarca >= 33) {
          const QString ch(QChar(static_cast<char16_t>(tipoMarca)));
          lz.Fuente(fuente);
          lz.Texto(p.x() - lz.AnchoTexto(ch) / 2, p.y() - lz.AltoTexto() / 2, ch, c);
        } else {
          lz.Pixel(p.x(), p.y(), c);
        }
        break;
      }
      case tkRect: {
        vaciar();
        lz.ColorPluma(c);
        lz.ColorBrocha(relleno(it.FillColor()));
        const QPoint a = mapear(it.X1(), it.Y1()), b = mapear(it.X2(), it.Y2());
        if (a == b) {
          lz.Pixel(a.x(), a.y(), c);
        } else {
          lz.Rectangulo(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
                        std::max(a.y(), b.y()) + 1);
        }
        break;
      }
      case tkRectFrame: {
        vaciar();
        const QRgb f = relleno(it.FillColor());
        lz.ColorPluma(f);
        lz.ColorBrocha(f);
        const QPoint a = mapear(it.X1(), it.Y1()), b = mapear(it.X2(), it.Y2());
        const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
        const int t = std::min(a.y(), b.y()), bo = std::max(a.y(), b.y());
        if (a == b) {
          lz.Pixel(l, t, f);
          break;
        }
        lz.Rectangulo(l, t, r, bo);
        const QRgb sombra = ColorQt(it.ShadowColor()), luz = ColorQt(it.HiliteColor());
        auto camino = [&](QRgb col, std::initializer_list<QPoint> pts) {
          lz.ColorPluma(col);
          lz.Polilinea(pts.begin(), static_cast<int>(pts.size()));
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
        break;
      }
      case tk3DBar: {
        vaciar();
        lz.ColorPluma(c);
        lz.ColorBrocha(relleno(it.FillColor()));
        const QPoint a = mapear(it.X1(), it.Y1()), b = mapear(it.X2(), it.Y2());
        int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
        const int t = std::min(a.y(), b.y()), bo = std::max(a.y(), b.y());
        const int angulo = std::clamp<std::int32_t>(it.Angle(), 0, 180);
        const double rad = angulo * M_PI / 180.0;
        // The depth offsets are limited like every other pixel coordinate.
        const int dx = Limitar(static_cast<int>(
            std::clamp(std::nearbyint(std::cos(rad) * it.Depth()), -1e5, 1e5)));
        const int dy = -Limitar(static_cast<int>(
            std::clamp(std::nearbyint(std::sin(rad) * it.Depth()), -1e5, 1e5)));
        const int izq = std::min(l, r) , der = std::max(l, r);
        if (angulo > 90) std::swap(l, r);
        const QPoint arriba[4] = {{l, t}, {l + dx, t + dy}, {r + dx, t + dy}, {r, t}};
        lz.Poligono(arriba, 4);
        const QPoint lado[4] = {{r + dx, t + dy}, {r, t}, {r, bo}, {r + dx, bo + dy}};
        lz.Poligono(lado, 4);
        lz.Rectangulo(izq, t, der + 1, bo + 1);
        break;
      }
      case tkEllipse: {
        vaciar();
        lz.ColorPluma(c);
        lz.ColorBrocha(relleno(it.FillColor()));
        const double x = it.X1(), y = it.Y1(), hx = it.X2(), hy = it.Y2();
        const QPoint a = mapear(x - hx, y + hy), b = mapear(x + hx, y - hy);
        if (a == b) {
          lz.Pixel(a.x(), a.y(), c);
        } else {
          lz.Elipse(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
                    std::max(a.y(), b.y()) + 1);
        }
        break;
      }
      case tkText: {
        vaciar();
        const QPoint p = mapear(it.X1(), it.Y1());
        lz.Fuente(FuenteTexto(m_.Font(), it.CharSize(), m_.TextFontStyle()));
        const QString s = TextoLatin1(it.TextLatin1());
        const QColor fondo = QColor::fromRgb(ColorQt(m_.TextBkColor()));
        lz.Texto(p.x() - lz.AnchoTexto(s) / 2, p.y() - lz.AltoTexto() / 2, s, c,
                 m_.TextBkStyle() == tbSolid ? &fondo : nullptr);
        lz.Fuente(fuente);
        break;
      }
      case tkWhisker: {
        vaciar();
        lz.ColorPluma(c);
        const QPoint a = mapear(it.X1(), it.Y1()), b = mapear(it.X2(), it.Y2());
        if (a != b) lz.Linea(a, b);
        lz.Pixel(b.x(), b.y(), c);
        // The caps across the ends, however close the ends are: a cap of 2k + 1 pixels.
        const int k = it.CapSize();
        const bool horizontal = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
        for (const QPoint& extremo : {a, b}) {
          const QPoint desde = horizontal ? QPoint(extremo.x(), extremo.y() - k)
                                          : QPoint(extremo.x() - k, extremo.y());
          const QPoint hasta = horizontal ? QPoint(extremo.x(), extremo.y() + k + 1)
                                          : QPoint(extremo.x() + k + 1, extremo.y());
          lz.Linea(desde, hasta);
        }
        break;
      }
      case tkDotLine: {
        vaciar();
        const QPoint a = mapear(it.X1(), it.Y1()), b = mapear(it.X2(), it.Y2());
        if (a.x() == b.x()) {
          lz.LineaPunteadaV(a.x(), a.y(), b.y(), c);
        } else if (a.y() == b.y()) {
          lz.LineaPunteadaH(a.x(), b.x(), a.y(), c);
        } else {
          lz.ColorPluma(c);  // a slanted one is drawn solid
          lz.Linea(a, b);
        }
        break;
      }
      case tkLabel: {
        vaciar();
        if (it.LabelPlace() != lpData) break;  // drawn with the frame
        const QPoint p = mapear(it.X1(), it.Y1());
        lz.Fuente(FuenteTexto(m_.Font(), it.LabelSize(), 0));
        const QString s = QString::fromStdString(m_.LabelText(i));
        const int w = lz.AnchoTexto(s), h = lz.AltoTexto();
        const std::uint8_t alineacion = it.LabelAlign();
        const int antes = p.x() - kHuecoEtiquetaPunto - w, despues = p.x() + kHuecoEtiquetaPunto;
        int x = p.x() - w / 2;
        switch (alineacion & 3) {
          case laRight: x = (despues + w > ancho - 2 && antes >= 2) ? antes : despues; break;
          case laLeft: x = (antes < 2 && despues + w <= ancho - 2) ? despues : antes; break;
          default: break;
        }
        int y = p.y() - h / 2;
        if (alineacion & laAbove) y = p.y() - h - 1;
        if (alineacion & laBelow) y = p.y() + 2;
        // Never over another label: one that would overlap a label drawn before is left out.
        const QRect caja(x, y, w, h);
        if (std::any_of(notas.begin(), notas.end(),
                        [&caja](const QRect& otra) { return otra.intersects(caja); })) {
          lz.Fuente(fuente);
          break;
        }
        notas.push_back(caja);
        lz.Texto(x, y, s, c);
        lz.Fuente(fuente);
        break;
      }
      default:
        break;  // unknown kinds, and continuations of labels, draw nothing
    }
  }
  vaciar();

  // Border of the data area.
  lz.AnchoPluma(1);
  lz.ColorPluma(ColorQt(Scale()));
  const int W = ancho - 1, H = alto - 1;
  const QPoint borde[5] = {{0, 0}, {W, 0}, {W, H}, {0, H}, {0, 0}};
  lz.Polilinea(borde, 5);
}

QImage RenderGrafica::Imagen(bool* fondoFallido) const {
  QImage whole, data;
  DibujarMarco(whole);
  const bool ok = BorrarAreaDatos(data);
  if (fondoFallido) *fondoFallido = !ok;
  DibujarElementos(data, 0);
  QPainter p(&whole);
  p.drawImage(g_.LRim, g_.TRim, data);
  return whole;
}

void RenderGrafica::DibujarVectorial(QPainter& p) const {
  {
    Lienzo marco(p, QPoint(0, 0), QSize(std::max(g_.Width, 1), std::max(g_.Height, 1)), false);
    DibujarMarco(marco);
  }
  Lienzo datos(p, QPoint(g_.LRim, g_.TRim),
               QSize(std::max(g_.DataWidth(), 0) + 1, std::max(g_.DataHeight(), 0) + 1), true);
  BorrarAreaDatos(datos);
  QPoint pluma(0, 0);
  DibujarElementos(datos, 0, pluma);
}

QByteArray RenderGrafica::Svg() const {
  const int w = std::max(g_.Width, 1), h = std::max(g_.Height, 1);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(w, h));
  svg.setViewBox(QRect(0, 0, w, h));
  svg.setResolution(96);  // one chart pixel is one CSS pixel
  svg.setTitle(QString::fromStdString(m_.Caption()));
  svg.setDescription(QStringLiteral("Gráfica de FENWA"));
  QPainter p;
  if (!p.begin(&svg)) return {};
  DibujarVectorial(p);
  p.end();
  return buffer.data();
}

QImage RenderPlotImage(const TPlotModel& m, int ancho, int alto, const OpcionesRender& o) {
  return RenderGrafica(m, ancho, alto, o).Imagen();
}

QByteArray RenderPlotSvg(const TPlotModel& m, int ancho, int alto, const OpcionesRender& o) {
  return RenderGrafica(m, ancho, alto, o).Svg();
}

double EscalaImpresion(int dpiImpresora, int dpiPantalla, double aumento) {
  return std::round(dpiImpresora * aumento) / std::max(dpiPantalla, 1);
}

std::string NombreBitmap(const std::string& nombre) {
  const std::size_t barra = nombre.find_last_of('/');
  const std::size_t inicio = barra == std::string::npos ? 0 : barra + 1;
  std::size_t punto = nombre.find('.', inicio);
  if (punto == std::string::npos) punto = nombre.size();
  return nombre.substr(0, punto) + ".bmp";
}

bool SavePlotBitmap(const TPlotModel& m, const std::string& nombre, int ancho, int alto,
                    int* error) {
  return GuardarImagen(RenderPlotImage(m, ancho, alto), NombreBitmap(nombre), "BMP", error);
}

bool SavePlotPng(const TPlotModel& m, const std::string& nombre, int ancho, int alto,
                 int* error) {
  return GuardarImagen(RenderPlotImage(m, ancho, alto), nombre, "PNG", error);
}

bool SavePlotSvg(const TPlotModel& m, const std::string& nombre, int ancho, int alto,
                 int* error) {
  return EscribirFichero(nombre, RenderPlotSvg(m, ancho, alto), error);
}

bool EscribirFichero(const std::string& nombre, const QByteArray& contenido, int* error) {
  if (error) *error = EIO;  // nothing to write: the drawing failed
  if (contenido.isEmpty()) return false;
  FicheroAtomico f(nombre);
  const bool bien =
      f.Escribir(std::string_view(contenido.constData(), static_cast<std::size_t>(contenido.size()))) &&
      f.Terminar();
  if (error) *error = bien ? 0 : f.Error();
  return bien;
}

bool GuardarImagen(const QImage& imagen, const std::string& nombre, const char* formato,
                   int* error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!imagen.save(&buffer, formato)) bytes.clear();
  return EscribirFichero(nombre, bytes, error);
}
