// Drawing of a chart model into images: the whole-chart bitmap (margins, shadow, caption,
// scales, titles) and the data-area bitmap (background, grid, items, border). Used by the
// TPlot widget for the screen, the printer, the clipboard and bitmap and PNG files, and on
// its own (without any widget) by the command-line tool. The same drawing code, on a vector
// surface, gives the chart as an SVG document.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chart/plot_model.h"
#include "chart/scales.h"

class Lienzo;
class QPainter;

// The chart font as a Qt font: the program's typeface (whatever the face name) at the
// font's pixel height, with its styles.
QFont FuenteQt(const TPlotFont& f);
// Font of a tkText item: the chart font's face with the item's size in points (at 96
// pixels per inch, as on the screen; 0 keeps the chart font's height) and the given styles.
QFont FuenteTexto(const TPlotFont& f, int puntos, TFontStyles estilo);
// A chart colour as an opaque Qt colour value.
QRgb ColorQt(TColor c);
// Latin-1 text (item texts, character marks) as a Qt string.
QString TextoLatin1(const std::string& latin1);

// Text measurement of the scale layout, on the chart's font.
class MetricasQt : public FontMetricsSource {
 public:
  explicit MetricasQt(const QFont& f);
  int TextWidth(const std::string& utf8) const override;
  int TextHeight() const override;

 private:
  QFontMetrics fm_;
};

// Colours replaced for one rendering (printing in black and white) and the item colours.
struct OpcionesRender {
  bool BlancoNegro = false;  // every item in black
  std::optional<TColor> WindColor, ScaleColor, ChartColor;
};

// The glyph of mark types 1 ... 25: seven rows, top first; bit 64 is the leftmost column.
const unsigned char* GlifoMarca(int tipo);

// The room the labels of the rims take at a chart width (beyond LRim and RRim), and the
// widths they are drawn at: the left labels at most four tenths of the chart wide (longer
// ones elided in the middle), the right column only when the data area keeps at least
// kDatosMinimosConColumna pixels with it (otherwise it is dropped). Zero for a chart
// without such labels.
struct MargenesEtiquetas {
  int izquierda = 0, derecha = 0;  // beyond LRim and RRim
  int anchoIzquierda = 0;          // widest left label as drawn
  bool columnaDerecha = false;     // the right labels are drawn
};
inline constexpr int kDatosMinimosConColumna = 130;
MargenesEtiquetas MedirMargenesEtiquetas(const TPlotModel& m, int ancho);
// The height at which the names of the left rim, spaced as their points are, each get a line
// of text (with the rows' margins of the range fit); 0 for a chart without them.
int AltoParaEtiquetas(const TPlotModel& m);

// A label of the rims, the title or the x title as drawn: its text (elided where it had to
// be), font and box in chart pixels.
struct EtiquetaColocada {
  QString texto;
  QFont fuente;
  QRect caja;
};

// Renders one chart at a given control size (by default the model's own size).
class RenderGrafica {
 public:
  RenderGrafica(const TPlotModel& m, const OpcionesRender& o = {});
  RenderGrafica(const TPlotModel& m, int ancho, int alto, const OpcionesRender& o = {});

  const TChartGeometry& Geometria() const { return g_; }
  const TScaling& Escala() const { return s_; }

  // DrawFrame: sizes `whole` to Width x Height and draws margins, shadow, caption, scales
  // and axis titles.
  void DibujarMarco(QImage& whole) const;
  // ClearDataArea: sizes `data` to (W + 1) x (H + 1) and paints its background. Returns
  // false when a background picture was named but could not be loaded.
  bool BorrarAreaDatos(QImage& data) const;
  // DrawItems from item `primero` to the end into `data`; the grid first when starting at
  // item 0; the data-area border last. `pluma` is the pen position in data-area pixels:
  // where a tkLineto with no tkMoveTo before it starts, updated to the end position.
  void DibujarElementos(QImage& data, std::size_t primero, QPoint& pluma) const;
  void DibujarElementos(QImage& data, std::size_t primero = 0) const {
    QPoint p(0, 0);
    DibujarElementos(data, primero, p);
  }
  // The same three on a surface of the chart's (or the data area's) size.
  void DibujarMarco(Lienzo& lz) const;
  bool BorrarAreaDatos(Lienzo& lz) const;
  void DibujarElementos(Lienzo& lz, std::size_t primero, QPoint& pluma) const;
  // Whole chart: frame, data area, data area copied at (LRim, TRim).
  QImage Imagen(bool* fondoFallido = nullptr) const;
  // The whole chart as vectors with a painter whose device is Width x Height: the frame,
  // then the data area at (LRim, TRim), cut to its size.
  void DibujarVectorial(QPainter& p) const;
  // The whole chart as an SVG document (texts as text); empty when it cannot be made.
  QByteArray Svg() const;
  // Where the labels of the rims, the title and the x title go: none overlaps another, a
  // rim label lies beside the data area at the height of its point (left out when that is
  // outside the data area or taken by an earlier one), the title ends before the caption.
  std::vector<EtiquetaColocada> EtiquetasDelMarco() const;

 private:
  TColor Wind() const { return o_.WindColor.value_or(m_.WindColor()); }
  TColor Scale() const { return o_.ScaleColor.value_or(m_.ScaleColor()); }
  TColor Chart() const { return o_.ChartColor.value_or(m_.ChartColor()); }
  // The labels of the rims, the title and the axis title given as labels (DrawFrame).
  void DibujarEtiquetasDelMarco(Lienzo& lz) const;
  // Where a label of a rim goes: beside the data area at its point's height, the left ones
  // elided to their width. nullopt when its row is out of view, or when it would overlap a
  // label already placed on that rim (`ocupadas`: their tops and bottoms, to which it adds).
  std::optional<QPoint> PosicionEnBorde(const TPlotItem& it, const QFontMetrics& fm,
                                        std::vector<std::pair<int, int>>& ocupadas,
                                        QString& texto) const;
  // Where the title given as a label goes, its text elided to end before the caption.
  QPoint PosicionTitulo(const QFontMetrics& fm, const MetricasQt& fmGrafica,
                        const TPlacedText& cap, QString& texto) const;
  // Where the x title given as a label goes; nullopt when the rim has no room for it.
  std::optional<QPoint> PosicionTituloX(const QFont& fuente, const MetricasQt& fmGrafica,
                                        const QString& texto) const;

  const TPlotModel& m_;
  OpcionesRender o_;
  TChartGeometry g_;
  TScaling s_;
  MargenesEtiquetas margenes_;
};

// Printer dots per screen pixel along one axis: round(printer dpi x magnification) divided
// by the screen's pixels per inch.
double EscalaImpresion(int dpiImpresora, int dpiPantalla, double aumento);

// The whole chart as an image of the given size (by default the model's size).
QImage RenderPlotImage(const TPlotModel& m, int ancho = 0, int alto = 0,
                       const OpcionesRender& o = {});
// The name a bitmap is written under: the folder of `nombre`, its file name up to (not
// including) its first ".", then ".bmp" ("dir/graf.v2.BMP" -> "dir/graf.bmp").
std::string NombreBitmap(const std::string& nombre);
// The writers below replace a file only once it is complete (numeric/fichero_atomico.h):
// a failure leaves an existing file as it was. They return false on failure, with the
// system's error number (EIO when the drawing itself failed) in *error when given.
// Writes the chart as a BMP file under NombreBitmap(nombre).
bool SavePlotBitmap(const TPlotModel& m, const std::string& nombre, int ancho = 0,
                    int alto = 0, int* error = nullptr);
// The chart as an SVG document (by default at the model's size).
QByteArray RenderPlotSvg(const TPlotModel& m, int ancho = 0, int alto = 0,
                         const OpcionesRender& o = {});
// Write the chart as a PNG file (the pixels of the bitmap) or an SVG file, under the name
// given.
bool SavePlotPng(const TPlotModel& m, const std::string& nombre, int ancho = 0, int alto = 0,
                 int* error = nullptr);
bool SavePlotSvg(const TPlotModel& m, const std::string& nombre, int ancho = 0, int alto = 0,
                 int* error = nullptr);
// Writes the bytes as the whole file (nothing to write is a failure).
bool EscribirFichero(const std::string& nombre, const QByteArray& contenido,
                     int* error = nullptr);
// Writes the image in the given Qt format ("BMP", "PNG") as the whole file.
bool GuardarImagen(const QImage& imagen, const std::string& nombre, const char* formato,
                   int* error = nullptr);
