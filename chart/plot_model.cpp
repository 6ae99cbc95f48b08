#include "chart/plot_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double kBig = 1.7e308;
}

TPlotModel::TPlotModel() {
  backgroundImage_.OnChange = [this] { Repintar(); };
  dtXFormat_.OnChange = [this] { Repintar(); };
  dtYFormat_.OnChange = [this] { Repintar(); };
  CalcScaling();
}

// ---- size and geometry ----

void TPlotModel::SetControlSize(int width, int height) {
  geom_.Width = std::max(width, MinWidth());
  geom_.Height = std::max(height, MinHeight());
  CalcScaling();
}

void TPlotModel::GeometryChanged() {
  CalcScaling();
  BordesCambiados();
  LookChanged();
}

void TPlotModel::SetLRim(int v) {
  geom_.LRim += v - lRim_;
  lRim_ = v;
  GeometryChanged();
}
void TPlotModel::SetRRim(int v) {
  geom_.RRim += v - rRim_;
  rRim_ = v;
  GeometryChanged();
}
void TPlotModel::SetLabelRims(int left, int right) {
  if (geom_.LRim == lRim_ + left && geom_.RRim == rRim_ + right) return;
  geom_.LRim = lRim_ + left;
  geom_.RRim = rRim_ + right;
  CalcScaling();
}
void TPlotModel::SetTRim(int v) { geom_.TRim = v; GeometryChanged(); }
void TPlotModel::SetBRim(int v) { geom_.BRim = v; GeometryChanged(); }
void TPlotModel::SetShadowWidth(int v) { geom_.ShadowWidth = std::clamp(v, 0, 32); GeometryChanged(); }

// ---- look ----

void TPlotModel::SetFont(const TPlotFont& f) { font_ = f; LookChanged(); }
void TPlotModel::SetFontColor(TColor c) { font_.Color = c; LookChanged(); }
void TPlotModel::SetClassDefault(std::uint8_t v) { if (v != 255) classDefault_ = v; }
void TPlotModel::SetDecPlaceX(int v) { decPlaceX_ = std::clamp(v, -3, 6); LookChanged(); }
void TPlotModel::SetDecPlaceY(int v) { decPlaceY_ = std::clamp(v, -3, 6); LookChanged(); }
void TPlotModel::SetGridStyle(GridStyleType v) { gridStyle_ = v; LookChanged(); }
void TPlotModel::SetGridDx(double v) { if (v != 0) { gridDx_ = v; LookChanged(); } }
void TPlotModel::SetGridDy(double v) { if (v != 0) { gridDy_ = v; LookChanged(); } }
void TPlotModel::SetScaleColor(TColor c) { scaleColor_ = c; LookChanged(); }
void TPlotModel::SetChartColor(TColor c) { chartColor_ = c; LookChanged(); }
void TPlotModel::SetWindColor(TColor c) { windColor_ = c; LookChanged(); }
void TPlotModel::SetGridColor(TColor c) { gridColor_ = c; LookChanged(); }
void TPlotModel::SetCaption(const std::string& v) { caption_ = v; LookChanged(); }
void TPlotModel::SetIdAbscissa(const std::string& v) {
  idAbscissa_ = PrimerosCaracteres(v, kLabelStrMax);
  LookChanged();
}
void TPlotModel::SetIdOrdinate(const std::string& v) {
  idOrdinate_ = PrimerosCaracteres(v, kLabelStrMax);
  LookChanged();
}
void TPlotModel::SetScaleInscriptX(const std::string& v) {
  scaleInscriptX_ = PrimerosCaracteres(v, kInscriptStrMax);
  LookChanged();
}
void TPlotModel::SetScaleInscriptY(const std::string& v) {
  scaleInscriptY_ = PrimerosCaracteres(v, kInscriptStrMax);
  LookChanged();
}
void TPlotModel::SetMinTickX(int v) { minTickX_ = std::clamp(v, 2, 10); LookChanged(); }
void TPlotModel::SetMinTickY(int v) { minTickY_ = std::clamp(v, 2, 10); LookChanged(); }
void TPlotModel::SetShadowStyle(TShadowStyle v) { shadowStyle_ = v; LookChanged(); }
void TPlotModel::SetShadowColor(TColor c) { shadowColor_ = c; LookChanged(); }
void TPlotModel::SetShadowBakColor(TColor c) { shadowBakColor_ = c; LookChanged(); }
void TPlotModel::SetShortTicksX(bool v) { shortTicksX_ = v; LookChanged(); }
void TPlotModel::SetShortTicksY(bool v) { shortTicksY_ = v; LookChanged(); }
void TPlotModel::SetTextFontStyle(TFontStyles v) { textFontStyle_ = v; LookChanged(); }
void TPlotModel::SetTextBkStyle(TTextBkg v) { textBkStyle_ = v; LookChanged(); }
void TPlotModel::SetTextBkColor(TColor c) { textBkColor_ = c; LookChanged(); }

void TPlotModel::SetXLabelType(FigType v) {
  xLabelType_ = v;
  if (v == ftDateTime) geom_.LogX = false;
  GeometryChanged();
}
void TPlotModel::SetYLabelType(FigType v) {
  yLabelType_ = v;
  if (v == ftDateTime) geom_.LogY = false;
  GeometryChanged();
}

void TPlotModel::SetLogScaleX(bool v) {
  if (!v) geom_.LogX = false;
  else if (geom_.LoX >= kMinSpan && geom_.HiX >= kMinSpan && xLabelType_ != ftDateTime)
    geom_.LogX = true;
  GeometryChanged();
}
void TPlotModel::SetLogScaleY(bool v) {
  if (!v) geom_.LogY = false;
  else if (geom_.LoY >= kMinSpan && geom_.HiY >= kMinSpan && yLabelType_ != ftDateTime)
    geom_.LogY = true;
  GeometryChanged();
}

// ---- ranges ----

// One end of an axis. A value within 1e-30 of the other end gives [other - 1, other + 1];
// a value below 1e-30 on a logarithmic axis, or a value that is not finite, is ignored.
void TPlotModel::SetRangeEnd(double& end, double other, double& lo, double& hi, bool logAxis,
                             double v, bool) {
  if (!std::isfinite(v)) return;
  if (std::fabs(v - other) <= kMinSpan) {
    lo = other - 1;
    hi = other + 1;
  } else if (logAxis && v < kMinSpan) {
    return;
  } else {
    end = v;
  }
  GeometryChanged();
}

void TPlotModel::SetRangeLoX(double v) {
  SetRangeEnd(geom_.LoX, geom_.HiX, geom_.LoX, geom_.HiX, geom_.LogX, v, true);
}
void TPlotModel::SetRangeHiX(double v) {
  SetRangeEnd(geom_.HiX, geom_.LoX, geom_.LoX, geom_.HiX, geom_.LogX, v, false);
}
void TPlotModel::SetRangeLoY(double v) {
  SetRangeEnd(geom_.LoY, geom_.HiY, geom_.LoY, geom_.HiY, geom_.LogY, v, true);
}
void TPlotModel::SetRangeHiY(double v) {
  SetRangeEnd(geom_.HiY, geom_.LoY, geom_.LoY, geom_.HiY, geom_.LogY, v, false);
}

namespace {
void SetAxis(double& lo, double& hi, bool logAxis, double newLo, double newHi) {
  if (!(std::fabs(newHi - newLo) > kMinSpan)) return;  // also rejects NaN
  if (logAxis) {
    if (newLo >= kMinSpan && std::isfinite(newLo)) lo = newLo;
    if (newHi >= kMinSpan && std::isfinite(newHi)) hi = newHi;
  } else if (std::isfinite(newLo) && std::isfinite(newHi)) {
    lo = newLo;
    hi = newHi;
  }
}
}  // namespace

void TPlotModel::SetRange(double loX, double loY, double hiX, double hiY) {
  SetAxis(geom_.LoX, geom_.HiX, geom_.LogX, loX, hiX);
  SetAxis(geom_.LoY, geom_.HiY, geom_.LogY, loY, hiY);
  CalcScaling();
}

void TPlotModel::AutoRange(double marginPercent) {
  double minX = kBig, maxX = -kBig, minY = kBig, maxY = -kBig;
  // Coordinates that are not finite (possible in loaded files) take no part in the fit.
  auto x = [&](double v) {
    if (std::isfinite(v)) { minX = std::min(minX, v); maxX = std::max(maxX, v); }
  };
  auto y = [&](double v) {
    if (std::isfinite(v)) { minY = std::min(minY, v); maxY = std::max(maxY, v); }
  };
  for (const TPlotItem& it : items_) {
    x(it.X1());
    y(it.Y1());
    switch (it.Kind()) {
      case tkLine: case tkRect: case tkRectFrame: case tk3DBar: case tkWhisker: case tkDotLine:
        x(it.X2());
        y(it.Y2());
        break;
      case tkEllipse:
        x(it.X1() - it.X2());
        x(it.X1() + it.X2());
        y(it.Y1() - it.Y2());
        y(it.Y1() + it.Y2());
        break;
      default:
        break;
    }
  }
  if (minX > maxX) minX = maxX = 0;
  if (minY > maxY) minY = maxY = 0;
  if (!std::isfinite(marginPercent)) marginPercent = 0;
  auto widen = [&](double& lo, double& hi) {
    const double m = (hi - lo) * marginPercent / 100;
    if (std::isfinite(m)) {
      lo = std::clamp(lo - m, -kBig, kBig);
      hi = std::clamp(hi + m, -kBig, kBig);
    }
    if (lo == hi) {
      lo -= 1;
      hi += 1;
    }
  };
  widen(minX, maxX);
  widen(minY, maxY);
  SetRange(minX, minY, maxX, maxY);
  LookChanged();
}

// ---- mapping and layout ----

void TPlotModel::CalcScaling() { scaling_ = ::CalcScaling(geom_); }

void TPlotModel::WorldToPixel(double x, double y, int& px, int& py) const {
  ::WorldToPixel(scaling_, geom_, x, y, px, py);
}

void TPlotModel::PixelToWorld(double px, double py, double& x, double& y) const {
  ::PixelToWorld(scaling_, geom_, px, py, x, y);
}

namespace {
// Axis description for the layout, without the model's change notification.
TAxisSpec SinAviso(TAxisSpec a) {
  a.DateTimeFormat.OnChange = nullptr;
  return a;
}
}  // namespace

TAxisSpec TPlotModel::AxisSpecX() const {
  return SinAviso({geom_.LoX, geom_.HiX, geom_.LogX, minTickX_, decPlaceX_, shortTicksX_,
                   xLabelType_, scaleInscriptX_, dtXFormat_});
}

TAxisSpec TPlotModel::AxisSpecY() const {
  return SinAviso({geom_.LoY, geom_.HiY, geom_.LogY, minTickY_, decPlaceY_, shortTicksY_,
                   yLabelType_, scaleInscriptY_, dtYFormat_});
}

TAxisDrawing TPlotModel::LayoutScaleX(const FontMetricsSource& fm) const {
  return LayoutAxisX(AxisSpecX(), geom_, scaling_, fm);
}

TAxisDrawing TPlotModel::LayoutScaleY(const FontMetricsSource& fm) const {
  return LayoutAxisY(AxisSpecY(), geom_, scaling_, fm);
}

bool TPlotModel::AbscissaTitle(const FontMetricsSource& fm, TPlacedText& out) const {
  return xLabelType_ != ftNoScales &&
         AbscissaTitlePosition(idAbscissa_, geom_, fm, LayoutScaleX(fm), out);
}

bool TPlotModel::OrdinateTitle(const FontMetricsSource& fm, TPlacedText& out) const {
  return yLabelType_ != ftNoScales && OrdinateTitlePosition(idOrdinate_, geom_, fm, out);
}

TPlacedText TPlotModel::CaptionText(const FontMetricsSource& fm) const {
  return CaptionPosition(caption_, geom_, fm);
}

TGridDrawing TPlotModel::LayoutGridLines() const {
  return LayoutGrid(gridStyle_, gridDx_, gridDy_, geom_, scaling_);
}

// ---- display list ----

TPlotItem& TPlotModel::NewItem(ItemType kind) {
  TPlotItem& it = items_.emplace_back();
  it.SetKind(kind);
  it.SetColor(dataColor_);
  it.SetLineWidth(lineWidth_);
  it.SetClassNum(classDefault_);
  return it;
}

TPlotItem& TPlotModel::NewItem(ItemType kind, double x1, double y1, double x2, double y2) {
  TPlotItem& it = NewItem(kind);
  it.SetX1(x1);
  it.SetY1(y1);
  it.SetX2(x2);
  it.SetY2(y2);
  return it;
}

void TPlotModel::MoveTo(double x, double y) {
  TPlotItem& it = NewItem(tkMoveTo);
  it.SetX1(x);
  it.SetY1(y);
}

void TPlotModel::LineTo(double x, double y) {
  TPlotItem& it = NewItem(tkLineto);
  it.SetX1(x);
  it.SetY1(y);
}

void TPlotModel::MarkAt(double x, double y, std::uint8_t markType) {
  TPlotItem& it = NewItem(tkMarkAt);
  it.SetX1(x);
  it.SetY1(y);
  it.SetMarkType(markType);
}

void TPlotModel::Line(double x1, double y1, double x2, double y2) {
  NewItem(tkLine, x1, y1, x2, y2);
}

void TPlotModel::Rectangle(double x1, double y1, double x2, double y2) {
  TPlotItem& it = NewItem(tkRect, x1, y1, x2, y2);
  it.SetFillColor(fillColor_);
}

void TPlotModel::RectFrame(double x1, double y1, double x2, double y2, TRFrameStyle frameStyle,
                           TColor shadowColor, TColor hiliteColor) {
  TPlotItem& it = NewItem(tkRectFrame, x1, y1, x2, y2);
  it.SetFillColor(fillColor_);
  it.SetLineWidth(1);
  it.SetFrameStyle(frameStyle);
  it.SetShadowColor(shadowColor);
  it.SetHiliteColor(hiliteColor);
}

void TPlotModel::Bar3D(double x1, double y1, double x2, double y2, int depth, int angle) {
  TPlotItem& it = NewItem(tk3DBar, x1, y1, x2, y2);
  it.SetFillColor(fillColor_);
  it.SetDepth(depth);
  it.SetAngle(std::clamp(angle, 0, 180));
}

void TPlotModel::TextAt(double x, double y, int size, const std::string& text) {
  TPlotItem& it = NewItem(tkText);
  it.SetX1(x);
  it.SetY1(y);
  it.SetCharSize(size);
  it.SetText(text);
}

void TPlotModel::Ellipse(double x, double y, double halfAxisX, double halfAxisY) {
  TPlotItem& it = NewItem(tkEllipse, x, y, halfAxisX, halfAxisY);
  it.SetFillColor(fillColor_);
}

void TPlotModel::Label(double x, double y, TLabelPlace place, std::uint8_t align, int size,
                       const std::string& utf8) {
  // Whole characters only: the text is cut before a continuation byte.
  std::size_t n = std::min(utf8.size(), TPlotItem::kLabelMax);
  while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
  TPlotItem& it = NewItem(tkLabel);
  it.SetX1(x);
  it.SetY1(y);
  it.Bytes[26] = std::uint8_t(n & 0xFF);
  it.Bytes[27] = std::uint8_t(n >> 8);
  it.Bytes[29] = place;
  it.Bytes[30] = align;
  it.Bytes[31] = std::uint8_t(std::clamp(size, 0, 255));
  const TPlotItem cabeza = it;
  std::size_t hecho = std::min(n, TPlotItem::kLabelFirst);
  std::copy(utf8.begin(), utf8.begin() + static_cast<std::ptrdiff_t>(hecho),
            items_.back().Bytes.begin() + 32);
  while (hecho < n) {
    TPlotItem& mas = items_.emplace_back(cabeza);
    std::fill(mas.Bytes.begin() + 26, mas.Bytes.end(), std::uint8_t{0});
    mas.SetKind(tkLabelMore);
    const std::size_t parte = std::min(n - hecho, TPlotItem::kLabelMore);
    std::copy(utf8.begin() + static_cast<std::ptrdiff_t>(hecho),
              utf8.begin() + static_cast<std::ptrdiff_t>(hecho + parte), mas.Bytes.begin() + 29);
    hecho += parte;
  }
}

std::string TPlotModel::LabelText(std::size_t index) const {
  if (index >= items_.size() || items_[index].Kind() != tkLabel) return {};
  const TPlotItem& it = items_[index];
  const std::size_t n = std::min<std::size_t>(it.LabelLength(), TPlotItem::kLabelMax);
  std::string texto(reinterpret_cast<const char*>(&it.Bytes[32]),
                    std::min(n, TPlotItem::kLabelFirst));
  for (std::size_t i = index + 1; i < items_.size() && texto.size() < n; ++i) {
    if (items_[i].Kind() != tkLabelMore) break;
    const std::size_t parte = std::min(n - texto.size(), TPlotItem::kLabelMore);
    texto.append(reinterpret_cast<const char*>(&items_[i].Bytes[29]), parte);
  }
  // A text that lost a continuation (a list edited by hand) ends at a whole character.
  while (!texto.empty() && texto.size() < n &&
         (static_cast<unsigned char>(texto.back()) & 0x80) != 0) {
    const bool inicio = (static_cast<unsigned char>(texto.back()) & 0xC0) == 0xC0;
    texto.pop_back();
    if (inicio) break;
  }
  return texto;
}

void TPlotModel::Whisker(double x1, double y1, double x2, double y2, int capHalf) {
  TPlotItem& it = NewItem(tkWhisker, x1, y1, x2, y2);
  it.SetCapSize(std::uint8_t(std::clamp(capHalf, 0, 255)));
}

void TPlotModel::DotLine(double x1, double y1, double x2, double y2) {
  NewItem(tkDotLine, x1, y1, x2, y2);
}

bool TPlotModel::HasLabels(TLabelPlace place) const {
  return std::any_of(items_.begin(), items_.end(), [place](const TPlotItem& it) {
    return it.Kind() == tkLabel && it.LabelPlace() == place;
  });
}

void TPlotModel::ClearItems() {
  items_.clear();
  drawnUpTo_ = 0;
  BorrarAreaDatos();
}

void TPlotModel::RemoveLastItem() {
  if (items_.empty()) return;
  items_.pop_back();
  if (drawnUpTo_ > items_.size()) drawnUpTo_ = items_.size();
}

void TPlotModel::RemoveFirstItem() {
  if (items_.empty()) return;
  items_.erase(items_.begin());
  if (drawnUpTo_ > 0) --drawnUpTo_;
}

ItemType TPlotModel::FirstItemKind() const {
  return items_.empty() ? tkNone : items_.front().Kind();
}

ItemType TPlotModel::LastItemKind() const {
  return items_.empty() ? tkNone : items_.back().Kind();
}

void TPlotModel::SetItemClass(ItemType kind, std::uint8_t classNum) {
  if (classNum == 255 || kind == tkNone) return;
  for (TPlotItem& it : items_)
    if (kind == tkEverything || it.Kind() == kind) it.SetClassNum(classNum);
}

int TPlotModel::SetClassInRect(ItemType kind, std::uint8_t classNum, double x1, double y1,
                               double x2, double y2) {
  if (classNum == 255 || kind == tkNone) return 0;
  const double l = std::min(x1, x2), r = std::max(x1, x2);
  const double b = std::min(y1, y2), t = std::max(y1, y2);
  int n = 0;
  for (TPlotItem& it : items_) {
    if (kind != tkEverything && it.Kind() != kind) continue;
    const double x = it.X1(), y = it.Y1();
    if (x >= l && x <= r && y >= b && y <= t) {
      it.SetClassNum(classNum);
      ++n;
    }
  }
  return n;
}

void TPlotModel::SetClassColor(TColor color, std::uint8_t classNum) {
  for (TPlotItem& it : items_)
    if (classNum == 255 || it.ClassNum() == classNum) it.SetColor(color);
}

namespace {
bool Qualifies(const TPlotItem& it, ItemType kind, std::uint8_t classNum) {
  return (kind == tkEverything || it.Kind() == kind) &&
         (classNum == 255 || it.ClassNum() == classNum);
}
}  // namespace

int TPlotModel::FindNearest(double x, double y, ItemType kind, std::uint8_t classNum,
                            double& distance) const {
  double best = kBig;
  int found = -1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const TPlotItem& it = items_[i];
    if (!Qualifies(it, kind, classNum)) continue;
    const double dx = it.X1() - x, dy = it.Y1() - y;
    const double d2 = dx * dx + dy * dy;
    if (d2 < best) {
      best = d2;
      found = int(i);
    }
  }
  distance = std::sqrt(best);
  return found;
}

int TPlotModel::FindNearestPixel(double x, double y, ItemType kind, std::uint8_t classNum,
                                 double& distance) const {
  int px, py;
  WorldToPixel(x, y, px, py);
  double best = kBig;
  int found = -1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const TPlotItem& it = items_[i];
    if (!Qualifies(it, kind, classNum)) continue;
    int ix, iy;
    WorldToPixel(it.X1(), it.Y1(), ix, iy);
    const double dx = double(ix) - px, dy = double(iy) - py;
    const double d2 = dx * dx + dy * dy;
    if (d2 < best) {
      best = d2;
      found = int(i);
    }
  }
  distance = std::sqrt(best);
  return found;
}

void TPlotModel::TransformItem(int index, double kx, double dx, double ky, double dy) {
  if (index < 0 || std::size_t(index) >= items_.size()) return;
  TPlotItem& it = items_[std::size_t(index)];
  it.SetX1(kx * it.X1() + dx);
  it.SetY1(ky * it.Y1() + dy);
  if (it.HasSecondPoint()) {
    it.SetX2(kx * it.X2() + dx);
    it.SetY2(ky * it.Y2() + dy);
  }
}

void TPlotModel::TransformAll(double kx, double dx, double ky, double dy) {
  for (std::size_t i = 0; i < items_.size(); ++i) TransformItem(int(i), kx, dx, ky, dy);
}

void TPlotModel::TransformClass(std::uint8_t classNum, double kx, double dx, double ky,
                                double dy) {
  for (TPlotItem& it : items_) {
    if (classNum != 255 && it.ClassNum() != classNum) continue;
    it.SetX1(kx * it.X1() + dx);
    it.SetY1(ky * it.Y1() + dy);
    // Only kinds that have a second point: elsewhere those bytes hold other fields (text).
    if (it.HasSecondPoint()) {
      it.SetX2(it.X2() + dx);
      it.SetY2(it.Y2() + dy);
    }
  }
}
