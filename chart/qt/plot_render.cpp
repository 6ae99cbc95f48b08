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
#include "chart/qt/plot_elementos.h"
#include "chart/qt/plot_fuentes.h"
#include "chart/qt/plot_lienzo.h"
#include "numeric/fichero_atomico.h"

namespace {

// Gaps between the data area and the labels of its rims.
constexpr int kHuecoEtiquetaIzquierda = 6;
constexpr int kHuecoEtiquetaDerecha = 8;

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
  // Boxes of the rim labels placed so far, per rim.
  std::vector<std::pair<int, int>> ocupadas[2];
  const std::vector<TPlotItem>& items = m_.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TPlotItem& it = items[i];
    if (it.Kind() == tkNone) break;
    if (it.Kind() != tkLabel || it.LabelPlace() == lpData) continue;
    const QFont fuente = FuenteTexto(m_.Font(), it.LabelSize(), 0);
    const QFontMetrics fm(fuente);
    QString texto = QString::fromStdString(m_.LabelText(i));
    std::optional<QPoint> esquina;
    switch (it.LabelPlace()) {
      case lpLeftRim: esquina = PosicionEnBorde(it, fm, ocupadas[0], texto); break;
      case lpRightRim: esquina = PosicionEnBorde(it, fm, ocupadas[1], texto); break;
      case lpTitle: esquina = PosicionTitulo(fm, fmGrafica, cap, texto); break;
      case lpAbscissa: esquina = PosicionTituloX(fuente, fmGrafica, texto); break;
      default: break;  // a place this version does not know
    }
    if (!esquina || texto.isEmpty()) continue;
    r.push_back({texto, fuente, QRect(*esquina, QSize(fm.horizontalAdvance(texto), fm.height()))});
  }
  return r;
}

std::optional<QPoint> RenderGrafica::PosicionEnBorde(const TPlotItem& it, const QFontMetrics& fm,
                                                     std::vector<std::pair<int, int>>& ocupadas,
                                                     QString& texto) const {
  const bool izquierda = it.LabelPlace() == lpLeftRim;
  if (!izquierda && !margenes_.columnaDerecha) return std::nullopt;
  int px = 0, py = 0;
  ::WorldToPixel(s_, g_, it.X1(), it.Y1(), px, py);
  if (py < g_.DataTop() || py > g_.DataBottom()) return std::nullopt;  // its row is out of view
  const int alto = fm.height(), y = py - alto / 2;
  // Rows closer than a line of text show every other name.
  for (const auto& [arriba, abajo] : ocupadas)
    if (y < abajo && arriba < y + alto) return std::nullopt;
  ocupadas.emplace_back(y, y + alto);
  if (!izquierda) return QPoint(g_.DataRight() + kHuecoEtiquetaDerecha, y);
  texto = fm.elidedText(texto, Qt::ElideMiddle, margenes_.anchoIzquierda);
  return QPoint(g_.DataLeft() - kHuecoEtiquetaIzquierda - fm.horizontalAdvance(texto), y);
}

QPoint RenderGrafica::PosicionTitulo(const QFontMetrics& fm, const MetricasQt& fmGrafica,
                                    const TPlacedText& cap, QString& texto) const {
  // On a line of its own above the caption when the top rim holds both, otherwise left of
  // the caption on its line; elided rather than drawn over it.
  const int x = 4, alto = fm.height();
  const bool encima = !m_.Caption().empty() && g_.TRim >= alto + fmGrafica.TextHeight();
  const int y = encima ? std::max(0, g_.TRim - fmGrafica.TextHeight() - alto) : g_.TRim - alto;
  const int fin = m_.Caption().empty() || encima ? g_.Width - 4 : cap.X - 8;
  texto = fm.elidedText(texto, Qt::ElideRight, std::max(fin - x, 0));
  return QPoint(x, y);
}

std::optional<QPoint> RenderGrafica::PosicionTituloX(const QFont& fuente,
                                                     const MetricasQt& fmGrafica,
                                                     const QString& texto) const {
  const MetricasQt medida(fuente);
  TPlacedText pos;
  const TAxisDrawing ejeX = m_.XLabelType() != ftNoScales
                                ? LayoutAxisX(m_.AxisSpecX(), g_, s_, fmGrafica)
                                : TAxisDrawing{};
  if (!AbscissaTitlePosition(texto.toStdString(), g_, medida, ejeX, pos)) return std::nullopt;
  return QPoint(pos.X, pos.Y);
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
  // Grid, only when the whole list is drawn.
  if (primero == 0 && m_.GridStyle() != gsNone) DibujarRejilla(lz, m_, g_, s_);
  DibujarListaElementos(lz, m_, g_, s_, o_.BlancoNegro, ColorQt(Chart()), primero, pluma);

  // Border of the data area.
  lz.AnchoPluma(1);
  lz.ColorPluma(ColorQt(Scale()));
  const int W = lz.Ancho() - 1, H = lz.Alto() - 1;
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
