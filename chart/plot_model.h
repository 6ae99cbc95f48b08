// chart/: the chart component without drawing (no Qt); chart/qt/ draws it.
//
// The chart model: published properties, display list, ranges, mapping, scale layout and
// chart files of a TPlot, without any drawing. The widget TPlot derives from it and
// overrides the drawing hooks (Repintar, Redibujar, DibujarNuevos, BorrarAreaDatos).
//
// The display list is kept as a vector of 64-byte records in list order; the end-of-list
// terminator is implicit and the drawn-up-to pointer is an index (DrawnUpTo() == ItemCount()
// when everything is drawn). Items are addressed by index; -1 means none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/colors.h"
#include "chart/marks.h"
#include "chart/plot_common.h"
#include "chart/plot_item.h"
#include "chart/scales.h"

inline constexpr std::size_t kLabelStrMax = 50;    // IdAbscissa, IdOrdinate
inline constexpr std::size_t kInscriptStrMax = 15; // ScaleInscriptX, ScaleInscriptY

class TPlotModel {
 public:
  TPlotModel();
  virtual ~TPlotModel() = default;
  TPlotModel(const TPlotModel&) = delete;
  TPlotModel& operator=(const TPlotModel&) = delete;

  // ---- drawing hooks (no-ops here) ----
  // Full repaint of the chart (frame, scales, data area).
  virtual void Repintar() {}
  // Redraw: redraw the list into the data area (widget); here only marks everything drawn.
  virtual void Redibujar() { MarkAllDrawn(); }
  // DrawNewItems: draw the items from DrawnUpTo() on; here only marks everything drawn.
  virtual void DibujarNuevos() { MarkAllDrawn(); }
  // ClearItems: clear the data-area bitmap to its background without showing it.
  virtual void BorrarAreaDatos() {}
  // A rim changed, and with it MinWidth() or MinHeight() (the widget keeps them as its
  // minimum size).
  virtual void BordesCambiados() {}

  void Redraw() { Redibujar(); }
  void DrawNewItems() { DibujarNuevos(); }
  std::size_t DrawnUpTo() const { return drawnUpTo_; }
  void SetDrawnUpTo(std::size_t i) { drawnUpTo_ = i > items_.size() ? items_.size() : i; }
  void MarkAllDrawn() { drawnUpTo_ = items_.size(); }

  // ---- control size (pixels), set by the widget on resize; default 240 x 160 ----
  // Refuses sizes below (LRim + RRim + 50) x (TRim + BRim + 10); recomputes the mapping.
  void SetControlSize(int width, int height);
  int Width() const { return geom_.Width; }
  int Height() const { return geom_.Height; }
  int MinWidth() const { return lRim_ + rRim_ + 50; }
  int MinHeight() const { return geom_.TRim + geom_.BRim + 10; }
  // Data area: W = Width - LRim - RRim - ShadowWidth, H likewise (may be <= 0).
  int DataAreaWidth() const { return geom_.DataWidth(); }
  int DataAreaHeight() const { return geom_.DataHeight(); }
  // Height of the data-area bitmap: H + 1, a negative H taken as 0.
  int DataBitmapHeight() const { return (geom_.DataHeight() < 0 ? 0 : geom_.DataHeight()) + 1; }
  bool InDataArea(int x, int y) const { return geom_.InDataArea(x, y); }
  const TChartGeometry& Geometry() const { return geom_; }

  // ---- published properties ----
  const TPlotFont& Font() const { return font_; }
  void SetFont(const TPlotFont& f);
  void SetFontColor(TColor c);
  bool AutoRedraw() const { return autoRedraw_; }
  void SetAutoRedraw(bool v) { autoRedraw_ = v; }
  int LRim() const { return lRim_; }
  void SetLRim(int v);
  int RRim() const { return rRim_; }
  void SetRRim(int v);
  // Room that the labels of the rims (lpLeftRim, lpRightRim) take beyond LRim and RRim, set
  // by the drawing layer, which measures them; Geometry(), the data area and the mapping
  // use the rims with it. 0 and 0 for a chart without such labels.
  void SetLabelRims(int left, int right);
  int LabelRimLeft() const { return geom_.LRim - lRim_; }
  int LabelRimRight() const { return geom_.RRim - rRim_; }
  int TRim() const { return geom_.TRim; }
  void SetTRim(int v);
  int BRim() const { return geom_.BRim; }
  void SetBRim(int v);
  TBackgroundImage& BackgroundImage() { return backgroundImage_; }
  const TBackgroundImage& BackgroundImage() const { return backgroundImage_; }
  std::uint8_t ClassDefault() const { return classDefault_; }
  void SetClassDefault(std::uint8_t v);  // 255 ignored
  int DecPlaceX() const { return decPlaceX_; }
  void SetDecPlaceX(int v);  // clamped to -3 ... 6
  int DecPlaceY() const { return decPlaceY_; }
  void SetDecPlaceY(int v);
  GridStyleType GridStyle() const { return gridStyle_; }
  void SetGridStyle(GridStyleType v);
  double GridDx() const { return gridDx_; }
  void SetGridDx(double v);  // 0 ignored
  double GridDy() const { return gridDy_; }
  void SetGridDy(double v);
  double RangeLoX() const { return geom_.LoX; }
  void SetRangeLoX(double v);
  double RangeHiX() const { return geom_.HiX; }
  void SetRangeHiX(double v);
  double RangeLoY() const { return geom_.LoY; }
  void SetRangeLoY(double v);
  double RangeHiY() const { return geom_.HiY; }
  void SetRangeHiY(double v);
  TColor DataColor() const { return dataColor_; }
  void SetDataColor(TColor c) { dataColor_ = c; }  // new items only, no repaint
  TColor ScaleColor() const { return scaleColor_; }
  void SetScaleColor(TColor c);
  TColor FillColor() const { return fillColor_; }
  void SetFillColor(TColor c) { fillColor_ = c; }  // new items only, no repaint
  TColor ChartColor() const { return chartColor_; }
  void SetChartColor(TColor c);
  TColor WindColor() const { return windColor_; }
  void SetWindColor(TColor c);
  TColor GridColor() const { return gridColor_; }
  void SetGridColor(TColor c);
  std::uint8_t LineWidth() const { return lineWidth_; }
  void SetLineWidth(std::uint8_t v) { lineWidth_ = v; }  // new items only, no repaint
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  const std::string& IdAbscissa() const { return idAbscissa_; }
  void SetIdAbscissa(const std::string& v);  // first 50 characters
  const std::string& IdOrdinate() const { return idOrdinate_; }
  void SetIdOrdinate(const std::string& v);
  const std::string& ScaleInscriptX() const { return scaleInscriptX_; }
  void SetScaleInscriptX(const std::string& v);  // first 15 characters
  const std::string& ScaleInscriptY() const { return scaleInscriptY_; }
  void SetScaleInscriptY(const std::string& v);
  bool LogScaleX() const { return geom_.LogX; }
  void SetLogScaleX(bool v);  // true only with both ends >= 1e-30 and no ftDateTime
  bool LogScaleY() const { return geom_.LogY; }
  void SetLogScaleY(bool v);
  int MinTickX() const { return minTickX_; }
  void SetMinTickX(int v);  // clamped to 2 ... 10
  int MinTickY() const { return minTickY_; }
  void SetMinTickY(int v);
  double MousePosX() const { return mousePosX_; }
  double MousePosY() const { return mousePosY_; }
  void SetMousePos(double x, double y) { mousePosX_ = x; mousePosY_ = y; }  // mouse code only
  MouseActMode MouseAction() const { return mouseAction_; }
  void SetMouseAction(MouseActMode v) { mouseAction_ = v; }
  bool MouseCursorFixed() const { return mouseCursorFixed_; }
  void SetMouseCursorFixed(bool v) { mouseCursorFixed_ = v; }
  int ShadowWidth() const { return geom_.ShadowWidth; }
  void SetShadowWidth(int v);  // clamped to 0 ... 32
  TShadowStyle ShadowStyle() const { return shadowStyle_; }
  void SetShadowStyle(TShadowStyle v);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor c);
  TColor ShadowBakColor() const { return shadowBakColor_; }
  void SetShadowBakColor(TColor c);
  bool ShortTicksX() const { return shortTicksX_; }
  void SetShortTicksX(bool v);
  bool ShortTicksY() const { return shortTicksY_; }
  void SetShortTicksY(bool v);
  TFontStyles TextFontStyle() const { return textFontStyle_; }
  void SetTextFontStyle(TFontStyles v);
  TTextBkg TextBkStyle() const { return textBkStyle_; }
  void SetTextBkStyle(TTextBkg v);
  TColor TextBkColor() const { return textBkColor_; }
  void SetTextBkColor(TColor c);
  FigType XLabelType() const { return xLabelType_; }
  void SetXLabelType(FigType v);  // ftDateTime switches the axis to linear
  FigType YLabelType() const { return yLabelType_; }
  void SetYLabelType(FigType v);
  TDateTimeLabel& DTXFormat() { return dtXFormat_; }
  const TDateTimeLabel& DTXFormat() const { return dtXFormat_; }
  TDateTimeLabel& DTYFormat() { return dtYFormat_; }
  const TDateTimeLabel& DTYFormat() const { return dtYFormat_; }
  // The integer every control carries for its owner's use.
  int Tag() const { return tag_; }
  void SetTag(int v) { tag_ = v; }

  // ---- display list ----
  std::size_t ItemCount() const { return items_.size(); }
  const TPlotItem& Item(std::size_t i) const { return items_.at(i); }
  const std::vector<TPlotItem>& Items() const { return items_; }

  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void MarkAt(double x, double y, std::uint8_t markType);
  void Line(double x1, double y1, double x2, double y2);
  void Rectangle(double x1, double y1, double x2, double y2);
  void RectFrame(double x1, double y1, double x2, double y2, TRFrameStyle frameStyle,
                 TColor shadowColor, TColor hiliteColor);
  void Bar3D(double x1, double y1, double x2, double y2, int depth, int angle);
  void TextAt(double x, double y, int size, const std::string& text);
  void Ellipse(double x, double y, double halfAxisX, double halfAxisY);
  // A text of any length (UTF-8, kept up to TPlotItem::kLabelMax bytes) placed by `place`
  // (plot_common.h) at the point (x, y), with `align` for the data area and `size` in points
  // (0: the chart font's). One tkLabel record, then tkLabelMore records for the rest of the
  // text, all with the same point.
  void Label(double x, double y, TLabelPlace place, std::uint8_t align, int size,
             const std::string& utf8);
  // The whole text of the tkLabel at `index` with its continuations ("" for another kind).
  std::string LabelText(std::size_t index) const;
  // An interval from (x1, y1) to (x2, y2) with an end cap of 2·capHalf + 1 pixels across each
  // end, drawn even when both ends fall on one pixel.
  void Whisker(double x1, double y1, double x2, double y2, int capHalf);
  // A line from (x1, y1) to (x2, y2) dotted one pixel on, one off.
  void DotLine(double x1, double y1, double x2, double y2);
  // Whether the list holds a label of that place (lpLeftRim: the y scale is a category
  // axis, drawn with its names instead of numbers).
  bool HasLabels(TLabelPlace place) const;

  void ClearItems();
  void RemoveLastItem();
  void RemoveFirstItem();
  ItemType FirstItemKind() const;
  ItemType LastItemKind() const;
  void SetItemClass(ItemType kind, std::uint8_t classNum);
  int SetClassInRect(ItemType kind, std::uint8_t classNum, double x1, double y1, double x2,
                     double y2);
  void SetClassColor(TColor color, std::uint8_t classNum);
  // Index of the nearest qualifying item, -1 when none (distance then sqrt(1.7e308)).
  int FindNearest(double x, double y, ItemType kind, std::uint8_t classNum,
                  double& distance) const;
  int FindNearestPixel(double x, double y, ItemType kind, std::uint8_t classNum,
                       double& distance) const;
  void TransformItem(int index, double kx, double dx, double ky, double dy);
  void TransformAll(double kx, double dx, double ky, double dy);
  void TransformClass(std::uint8_t classNum, double kx, double dx, double ky, double dy);

  // ---- ranges ----
  void SetRange(double loX, double loY, double hiX, double hiY);
  void AutoRange(double marginPercent);

  // ---- mapping and scale layout ----
  void CalcScaling();
  void WorldToPixel(double x, double y, int& px, int& py) const;
  void PixelToWorld(double px, double py, double& x, double& y) const;
  TAxisSpec AxisSpecX() const;
  TAxisSpec AxisSpecY() const;
  // Ticks and numbers of both scales (empty for an axis with ftNoScales).
  TAxisDrawing LayoutScaleX(const FontMetricsSource& fm) const;
  TAxisDrawing LayoutScaleY(const FontMetricsSource& fm) const;
  // Axis titles (false when empty or the axis has ftNoScales) and the caption.
  bool AbscissaTitle(const FontMetricsSource& fm, TPlacedText& out) const;
  bool OrdinateTitle(const FontMetricsSource& fm, TPlacedText& out) const;
  TPlacedText CaptionText(const FontMetricsSource& fm) const;
  TGridDrawing LayoutGridLines() const;

  // ---- chart files ----
  // The writers replace a file only once it is complete (numeric/fichero_atomico.h): a
  // failure leaves an existing file as it was. They return false on failure, with the
  // system's error number in *errorNumber when that is given.
  // Writes every item (64 bytes each) in list order.
  bool SaveToFile(const std::string& fileName, int* errorNumber = nullptr) const;
  // Append = false empties the list first (even when the file cannot be read). Appends each
  // whole record of the file; a trailing partial record is ignored, a record of kind 0
  // ends the list (it and what follows are not loaded). Repaints. False when the file
  // cannot be read.
  bool LoadFromFile(const std::string& fileName, bool append);
  // Text listing of the items.
  bool DumpItems(const std::string& fileName, int* errorNumber = nullptr) const;
  // The same listing as text ("\n" line ends), and the file image of the list.
  std::string DumpText() const;
  std::vector<std::uint8_t> SaveToBytes() const;
  // Loads a file image as LoadFromFile does, without the repaint and the emptying.
  void AppendFromBytes(const std::uint8_t* data, std::size_t size);

 protected:
  void LookChanged() { if (autoRedraw_) Repintar(); }
  void GeometryChanged();  // recomputes the mapping and repaints when AutoRedraw

 private:
  TPlotItem& NewItem(ItemType kind);
  // A new item with both corner points (x1, y1) and (x2, y2) set.
  TPlotItem& NewItem(ItemType kind, double x1, double y1, double x2, double y2);
  void SetRangeEnd(double& end, double other, double& lo, double& hi, bool logAxis,
                   double v, bool settingLow);

  TChartGeometry geom_;  // with the room of the rim labels in LRim and RRim
  int lRim_ = 50, rRim_ = 10;
  TScaling scaling_;
  std::vector<TPlotItem> items_;
  std::size_t drawnUpTo_ = 0;

  TPlotFont font_;
  bool autoRedraw_ = true;
  TBackgroundImage backgroundImage_;
  std::uint8_t classDefault_ = 0;
  int decPlaceX_ = 1, decPlaceY_ = 1;
  GridStyleType gridStyle_ = gsNone;
  double gridDx_ = 1.0, gridDy_ = 1.0;
  TColor dataColor_ = clBlack, scaleColor_ = clBlack, fillColor_ = clSilver;
  TColor chartColor_ = clWhite, windColor_ = clBtnFace, gridColor_ = clBlack;
  std::uint8_t lineWidth_ = 1;
  std::string caption_, idAbscissa_, idOrdinate_, scaleInscriptX_, scaleInscriptY_;
  int minTickX_ = 3, minTickY_ = 3;
  double mousePosX_ = 0, mousePosY_ = 0;
  MouseActMode mouseAction_ = maNone;
  bool mouseCursorFixed_ = false;
  TShadowStyle shadowStyle_ = ssFlying;
  TColor shadowColor_ = clGrayText, shadowBakColor_ = clBtnFace;
  bool shortTicksX_ = true, shortTicksY_ = true;
  TFontStyles textFontStyle_ = 0;
  TTextBkg textBkStyle_ = tbClear;
  TColor textBkColor_ = clWhite;
  FigType xLabelType_ = ftNum, yLabelType_ = ftNum;
  TDateTimeLabel dtXFormat_, dtYFormat_;
  int tag_ = 0;
};
