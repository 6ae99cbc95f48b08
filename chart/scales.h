// World-to-pixel mapping of a chart and the layout of its two scales: tick marks, numbers,
// unit inscriptions, axis titles and grid positions, computed as data for the drawing
// layer. Nothing here draws.
//
// Pixel coordinates are control coordinates: origin at the control's top-left corner,
// y growing downwards. The data area spans x from LRim to Width - RRim - ShadowWidth and
// y from TRim to Height - BRim - ShadowWidth.
//
// Every tick and grid loop is bounded (kMaxTicks, kMaxGridLines, kMaxGridPoints), so
// ranges that are NaN, infinite, huge or narrower than the precision of their ends give
// short or empty layouts, never a hang.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/plot_common.h"

// Text measurement of the font the scales are written in. The drawing layer supplies one
// built on its font metrics; FixedFontMetrics is an estimate for use without a display.
class FontMetricsSource {
 public:
  virtual ~FontMetricsSource() = default;
  virtual int TextWidth(const std::string& utf8) const = 0;
  virtual int TextHeight() const = 0;  // height of a line ("0")
};

class FixedFontMetrics : public FontMetricsSource {
 public:
  explicit FixedFontMetrics(int charWidth = 6, int height = 13)
      : charWidth_(charWidth), height_(height) {}
  int TextWidth(const std::string& utf8) const override;
  int TextHeight() const override { return height_; }

 private:
  int charWidth_, height_;
};

inline constexpr double kMinSpan = 1e-30;      // smallest accepted range span (and log end)
inline constexpr int kMaxTicks = 1000;         // bound of every tick loop, per axis
inline constexpr int kMaxGridLines = 5000;     // bound of grid positions, per axis
inline constexpr int kMaxGridPoints = 1000;    // gsPoints draws at most this many points
inline constexpr int kScientific = -1;         // AxisDecimals: scientific notation

// What the mapping depends on.
struct TChartGeometry {
  int Width = 240, Height = 160;
  int LRim = 50, RRim = 10, TRim = 16, BRim = 32, ShadowWidth = 0;
  double LoX = 0, HiX = 10, LoY = 0, HiY = 10;
  bool LogX = false, LogY = false;

  int DataLeft() const { return LRim; }
  int DataRight() const { return Width - RRim - ShadowWidth; }
  int DataTop() const { return TRim; }
  int DataBottom() const { return Height - BRim - ShadowWidth; }
  int DataWidth() const { return DataRight() - DataLeft(); }    // W (may be <= 0)
  int DataHeight() const { return DataBottom() - DataTop(); }   // H (may be <= 0)
  // Inclusive data-area test used by the mouse handling.
  bool InDataArea(int x, int y) const {
    return x >= DataLeft() && x <= DataRight() && y >= DataTop() && y <= DataBottom();
  }
};

// pixel x = kx*u + ox (u = x, or ln x on a logarithmic axis); likewise y.
struct TScaling {
  double kx = 0, ox = 0, ky = 0, oy = 0;
};

TScaling CalcScaling(const TChartGeometry& g);
// Limits to -2147483647 ... 2147483647 and rounds halves to even (NaN gives 0).
int RedondearPixel(double v);
void WorldToPixel(const TScaling& s, const TChartGeometry& g, double x, double y, int& px,
                  int& py);
// Exact inverse of the mapping (no rounding). With no data width or height the axis
// gives its low end.
void PixelToWorld(const TScaling& s, const TChartGeometry& g, double px, double py, double& x,
                  double& y);

// Nice tick step: first tick at or beyond Lo, step with the sign of Hi - Lo, number of
// short-tick subdivisions. Hi = Lo gives first = Lo, step 0, one subdivision.
struct TNiceStep {
  double First = 0, Step = 0;
  int Subdivisions = 1;
};
TNiceStep NiceStep(int minTick, double hi, double lo);

// Number of decimals of an axis's numbers (0 ... 6) or kScientific, from DecPlaceX/Y
// (-3 ... 6; -1 scientific; -2, -3 automatic; on a logarithmic axis only -2 is automatic).
int AxisDecimals(int decPlace, bool logAxis, double lo, double hi);
// A value with the given decimals and a point ("0.50"), or scientific ("1.5E+03", a row of
// "*" when the exponent needs three digits) for kScientific. Not truncated.
std::string NumberText(double v, int decimals);
// The unit inscription applied to a number text: "" inscription -> number; with "&" the
// number replaces the first "&"; otherwise inscription + number. Empty number stays empty.
std::string ApplyInscription(const std::string& inscription, const std::string& number);

// Everything an axis layout depends on besides the geometry and the mapping.
struct TAxisSpec {
  double Lo = 0, Hi = 10;
  bool Log = false;
  int MinTick = 3;
  int DecPlace = 1;
  bool ShortTicks = true;
  FigType LabelType = ftNum;
  std::string Inscription;
  TDateTimeLabel DateTimeFormat;  // OnChange is not used here
};

// Label of a tick on a numeric axis (linear or logarithmic), with all the number rules:
// decimals, the near-zero rule, 8-character limit, trailing-zero removal and power-of-ten
// exponents on logarithmic axes, then the unit inscription. "" = no label.
std::string NumericTickLabel(const TAxisSpec& axis, double value, bool logLayout);

// One tick: a line from (X1, Y1) on the axis to (X2, Y2); Labelled = a long tick.
struct TTickMark {
  double Value = 0;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  bool Labelled = false;
};
// A text with the top-left corner of its box.
struct TPlacedText {
  std::string Text;
  int X = 0, Y = 0;
};
struct TAxisDrawing {
  std::vector<TTickMark> Ticks;
  std::vector<TPlacedText> Labels;  // numbers, and the messages of an invalid date-time axis
};

// Layout of the x scale (bottom edge, ticks pointing down) and of the y scale (left edge,
// ticks pointing left), by the axis's label type. ftNoScales gives an empty layout.
TAxisDrawing LayoutAxisX(const TAxisSpec& axis, const TChartGeometry& g, const TScaling& s,
                         const FontMetricsSource& fm);
TAxisDrawing LayoutAxisY(const TAxisSpec& axis, const TChartGeometry& g, const TScaling& s,
                         const FontMetricsSource& fm);

// Axis titles: IdOrdinate above the top-left corner of the data area, IdAbscissa centred
// under it one text line below the numbers. Empty titles give no entry.
bool OrdinateTitlePosition(const std::string& title, const TChartGeometry& g,
                           const FontMetricsSource& fm, TPlacedText& out);
bool AbscissaTitlePosition(const std::string& title, const TChartGeometry& g,
                           const FontMetricsSource& fm, TPlacedText& out);
// The same, never on the labels of the x scale `xAxis`: when they take more than one line
// (the date line of a date-time axis) the title goes under the lowest one.
bool AbscissaTitlePosition(const std::string& title, const TChartGeometry& g,
                           const FontMetricsSource& fm, const TAxisDrawing& xAxis,
                           TPlacedText& out);
// Caption: right-aligned with the data area, directly above it.
TPlacedText CaptionPosition(const std::string& caption, const TChartGeometry& g,
                            const FontMetricsSource& fm);

// Grid positions in control pixels. X holds the columns of the vertical lines, Y the rows of
// the horizontal lines; Points the intersections (column by column, at most
// kMaxGridPoints) for gsPoints. The lines run over the whole data area.
struct TGridDrawing {
  std::vector<int> X, Y;
  bool Vertical = false, Horizontal = false, Dotted = false, Points = false;
  std::vector<std::array<int, 2>> PointList;
};
// World positions of the grid along one axis: multiples of d from ceil(lo/d)*d while
// below hi (lo/hi the smaller/larger end). On a logarithmic axis d = -1, -2, -3 gives the
// decades, the decades with 2 and 5, or the decades with 2 ... 9. d = 0 gives none.
std::vector<double> GridPositions(double lo, double hi, double d, bool logAxis);
TGridDrawing LayoutGrid(GridStyleType style, double gridDx, double gridDy,
                        const TChartGeometry& g, const TScaling& s);

// Date-time helpers (day numbers: day 0 = 30 Dec 1899, fractions are times of day).
std::string FormatDateLabel(double dayNumber, const TDateTimeLabel& fmt);
// Time of day by the unit of the ticks: 0 hours, 1 minutes, 2 seconds.
std::string FormatTimeLabel(double dayNumber, TimeFormatType format, int unit);
// Label of a time axis (seconds): " 01:02:05", "-00:00:30".
std::string TimeAxisLabel(double seconds);
