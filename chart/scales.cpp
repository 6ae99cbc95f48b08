#include "chart/scales.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr double kTimeSteps[20] = {0,    1,    2,     5,     10,    20,   30,
                                   60,   120,  180,   300,   600,   1200, 1800,
                                   3600, 7200, 14400, 21600, 43200, 86400};

int Chars(const std::string& utf8) {
  int n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string Int(long long v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string Dos(long long v) {  // at least two digits, zero-padded
  std::string s = Int(v < 0 ? -v : v);
  if (s.size() < 2) s.insert(0, 2 - s.size(), '0');
  return s;
}

// Digits of a non-negative whole number held in a double (may be far beyond 64 bits).
std::string Entero(double v, int minDigits) {
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, std::floor(v), std::chars_format::fixed, 0);
  std::string s = r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
  if (int(s.size()) < minDigits) s.insert(0, minDigits - s.size(), '0');
  return s;
}

// Tick placement shared by the axes. Y ticks point left from (px, py); x ticks point down.
void AddYTick(TAxisDrawing& d, double v, int px, int py, int len, const std::string& label,
              const FontMetricsSource& fm) {
  d.Ticks.push_back({v, px, py, px - len, py, !label.empty()});
  if (!label.empty())
    d.Labels.push_back({label, px - fm.TextWidth(label) - 8, py - fm.TextHeight() / 2});
}

void AddXTick(TAxisDrawing& d, const TChartGeometry& g, double v, int px, int py, int len,
              bool labelled, const std::string& label, const FontMetricsSource& fm) {
  d.Ticks.push_back({v, px, py, px, py + len, labelled});
  if (!label.empty()) {
    const int w = fm.TextWidth(label);
    int x = px - w / 2;
    if (px + w / 2 >= g.Width - g.ShadowWidth) x = g.Width - g.ShadowWidth - w;
    d.Labels.push_back({label, x, py + 7});
  }
}

double LogOf(double v, bool log) { return log ? std::log(v) : v; }

// Linear numeric axis.
TAxisDrawing LinearAxis(const TAxisSpec& a, bool xAxis, const TChartGeometry& g,
                        const TScaling& s, const FontMetricsSource& fm) {
  TAxisDrawing d;
  const TNiceStep ns = NiceStep(a.MinTick, a.Hi, a.Lo);
  if (!std::isfinite(ns.First) || !std::isfinite(ns.Step)) return d;
  const double sign = ns.Step < 0 ? -1.0 : 1.0;
  auto pixel = [&](double v, int& px, int& py) {
    if (xAxis) WorldToPixel(s, g, v, g.LoY, px, py);
    else WorldToPixel(s, g, g.LoX, v, px, py);
  };
  if (xAxis && a.ShortTicks && ns.Step != 0 && ns.Subdivisions > 0) {
    const double sub = ns.Step / ns.Subdivisions;
    const double start = ns.First - ns.Step;
    for (int e = 0; e < kMaxTicks * 2; ++e) {
      const double v = start + e * sub;
      if ((v - a.Hi) * sign > 0.001 * std::fabs(sub)) break;
      if ((a.Lo - v) * sign > 0.001 * std::fabs(sub)) continue;  // before the axis start
      int px, py;
      pixel(v, px, py);
      d.Ticks.push_back({v, px, py, px, py + 4, false});
    }
  }
  if (xAxis && a.LabelType == ftNoFigs) return d;
  for (int c = 0; c < kMaxTicks; ++c) {
    const double v = ns.First + c * ns.Step;
    // The tolerance is a fraction of the step's size, so a reversed axis ends on its last
    // tick just as a normal one does.
    if (c > 0 && (ns.Step == 0 || !((v - a.Hi) * sign <= 0.001 * std::fabs(ns.Step)))) break;
    int px, py;
    pixel(v, px, py);
    const std::string label =
        a.LabelType == ftNoFigs ? std::string() : NumericTickLabel(a, v, false);
    if (xAxis) AddXTick(d, g, v, px, py, 7, true, label, fm);
    else AddYTick(d, v, px, py, 6, label, fm);
  }
  return d;
}

// Logarithmic axis of at least one decade.
TAxisDrawing LogAxis(const TAxisSpec& a, bool xAxis, const TChartGeometry& g,
                     const TScaling& s, const FontMetricsSource& fm, double decades) {
  TAxisDrawing d;
  const double mn = std::min(a.Lo, a.Hi), mx = std::max(a.Lo, a.Hi);
  double dec = std::pow(10.0, std::floor(std::log10(mn * 0.99999)));
  const bool intermediate = a.MinTick > std::fabs(decades) + 0.5;
  auto tick = [&](double t, bool labelled) {
    if (!(t / 0.99999 > mn && t * 0.99999 < mx)) return;
    if (d.Ticks.size() >= std::size_t(kMaxTicks)) return;
    int px, py;
    if (xAxis) WorldToPixel(s, g, t, g.LoY, px, py);
    else WorldToPixel(s, g, g.LoX, t, px, py);
    std::string label;
    if (labelled && a.LabelType != ftNoFigs) label = NumericTickLabel(a, t, true);
    if (xAxis) AddXTick(d, g, t, px, py, labelled ? 7 : 4, labelled, label, fm);
    else {
      d.Ticks.push_back({t, px, py, px - 6, py, labelled});
      if (!label.empty())
        d.Labels.push_back({label, px - fm.TextWidth(label) - 8, py - fm.TextHeight() / 2});
    }
  };
  for (int i = 0; i < 700 && std::isfinite(dec) && dec > 0; ++i) {
    tick(dec, true);
    if (intermediate) {
      tick(2 * dec, true);
      tick(5 * dec, true);
      if (a.ShortTicks)
        for (int m : {3, 4, 6, 7, 8, 9}) tick(m * dec, false);
    }
    if (0.99999 * dec * 10 > mx) break;
    dec *= 10;
  }
  return d;
}

TAxisDrawing NumericAxis(const TAxisSpec& a, bool xAxis, const TChartGeometry& g,
                         const TScaling& s, const FontMetricsSource& fm) {
  if (a.Log) {
    const double mn = std::min(a.Lo, a.Hi);
    const double decades = std::log10(a.Hi / a.Lo);
    if (mn > 0 && std::isfinite(decades) && std::fabs(decades) >= 1)
      return LogAxis(a, xAxis, g, s, fm, decades);
  }
  TAxisSpec lin = a;
  lin.Log = false;
  return LinearAxis(lin, xAxis, g, s, fm);
}

TAxisDrawing TimeAxis(const TAxisSpec& a, bool xAxis, const TChartGeometry& g,
                      const TScaling& s, const FontMetricsSource& fm) {
  const double span = std::fabs(a.Hi - a.Lo);
  int idx = 0;
  for (int i = 19; i >= 1; --i)
    if (kTimeSteps[i] <= span / a.MinTick) { idx = i; break; }
  if (idx == 0 || idx == 19) return NumericAxis(a, xAxis, g, s, fm);
  const double step = kTimeSteps[idx];
  TAxisDrawing d;
  const double count = std::min(std::trunc(span / step) + 5, double(kMaxTicks));
  const double first = std::trunc(a.Lo / step * 1.0000100001) * step;
  const double lo = a.Lo * (a.Lo >= 0 ? 0.99999 : 1.00001);
  const double hi = a.Hi * (a.Hi > 0 ? 1.00001 : 0.99999);
  for (int k = 0; k <= int(count); ++k) {
    const double v = first + k * step;
    if (!(lo <= v && v <= hi)) continue;
    int px, py;
    if (xAxis) WorldToPixel(s, g, v, g.LoY, px, py);
    else WorldToPixel(s, g, g.LoX, v, px, py);
    const std::string label =
        ApplyInscription(a.Inscription, TimeAxisLabel(v));
    if (xAxis) AddXTick(d, g, v, px, py, 7, true, label, fm);
    else AddYTick(d, v, px, py, 6, label, fm);
  }
  return d;
}

// Messages of an axis that cannot be drawn as date-time: one line under the x axis,
// several centred lines in the left margin at the middle of the y axis.
void Message(TAxisDrawing& d, bool xAxis, const std::vector<std::string>& words,
             const TChartGeometry& g, const FontMetricsSource& fm) {
  const int h = fm.TextHeight();
  if (xAxis) {
    std::string line;
    for (const auto& w : words) line += (line.empty() ? "" : " ") + w;
    const int w = fm.TextWidth(line);
    d.Labels.push_back({line, (g.DataLeft() + g.DataRight() - w) / 2, g.DataBottom() + 7});
    return;
  }
  const int mid = (g.DataTop() + g.DataBottom()) / 2;
  int y = mid - int(words.size()) * h / 2;
  for (const auto& w : words) {
    d.Labels.push_back({w, (g.LRim - fm.TextWidth(w)) / 2, y});
    y += h;
  }
}

// Civil date of a day number (day 0 = 30 Dec 1899).
void CivilFromDay(long long dayNumber, int& y, int& m, int& dd) {
  long long z = dayNumber - 25569 + 719468;  // days since 1970-01-01, shifted to 0000-03-01
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  dd = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

long long DayFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

// A date-time axis being laid out: its ticks and labels go to d.
struct EjeFechaHora {
  const TAxisSpec& a;
  bool xAxis;
  const TChartGeometry& g;
  const TScaling& s;
  const FontMetricsSource& fm;
  TAxisDrawing d;

  // A tick at v with its label and, when `date` is not empty, the date on a second line.
  void Marca(double v, const std::string& text, const std::string& date) {
    const int h = fm.TextHeight();
    int px, py;
    if (xAxis) WorldToPixel(s, g, v, g.LoY, px, py);
    else WorldToPixel(s, g, g.LoX, v, px, py);
    if (xAxis) {
      AddXTick(d, g, v, px, py, 7, true, text, fm);
      if (!date.empty()) {
        TAxisDrawing tmp;
        AddXTick(tmp, g, v, px, py, 7, true, date, fm);
        d.Labels.push_back({date, tmp.Labels[0].X, py + 7 + h});
      }
    } else {
      AddYTick(d, v, px, py, 6, text, fm);
      if (!date.empty())
        d.Labels.push_back({date, px - fm.TextWidth(date) - 8, py - h / 2 + h});
    }
  }

  // Ticks of seconds, minutes or hours, `per` days apart at least; the date goes with
  // them as DateForTime says.
  void MarcasHoras(double per) {
    const TDateTimeLabel& f = a.DateTimeFormat;
    int unit;  // 0 hours, 1 minutes, 2 seconds
    double u;
    if (per <= 6.9444e-4) { unit = 2; u = 86400; }
    else if (per <= 0.041667) { unit = 1; u = 1440; }
    else { unit = 0; u = 24; }
    static const double kHoras[] = {1, 2, 3, 6, 8, 12};
    static const double kMinSeg[] = {1, 2, 5, 10, 20, 30};
    const double* list = unit == 0 ? kHoras : kMinSeg;
    double step = list[0];
    for (int i = 0; i < 6; ++i)
      if (list[i] <= per * u) step = list[i];
    const double day0 = std::floor(a.Lo);
    const double k0 = std::ceil((a.Lo - day0) * u / step - 1e-9);
    double lastDay = -1;
    for (int i = 0; i < kMaxTicks; ++i) {
      const double t = day0 + (k0 + i) * step / u;
      if (!(t - a.Hi < 1e-8)) break;
      std::string date;
      const double day = std::floor(t + 0.5 / 86400);
      bool withDate = false;
      switch (f.DateForTime()) {
        case dtNone: break;
        case dtOnePerChart: withDate = i == 0; break;
        case dtOnePerDay: withDate = day != lastDay; break;
        case dtAllTicks: withDate = true; break;
      }
      lastDay = day;
      if (withDate) date = FormatDateLabel(t, f);
      Marca(t, ApplyInscription(a.Inscription, FormatTimeLabel(t, f.TimeFormat(), unit)), date);
    }
  }

  // A tick on each day t of the axis (from the first at or after Lo) for which `siguiente`
  // gives the next; dated labels.
  template <class Siguiente>
  void MarcasFechas(double t, Siguiente siguiente) {
    for (int i = 0; i < kMaxTicks; ++i, t = siguiente()) {
      if (t < a.Lo - 1e-8) continue;
      if (!(t - a.Hi < 1e-8)) break;
      Marca(t, ApplyInscription(a.Inscription, FormatDateLabel(t, a.DateTimeFormat)), "");
    }
  }

  // Ticks of 1 to 15 days.
  void MarcasDias(double per) {
    static const double kDias[] = {1, 2, 5, 10, 15};
    double step = 1;
    for (double c : kDias)
      if (c <= per) step = c;
    const double first = std::ceil(a.Lo - 1e-8);
    for (int i = 0; i < kMaxTicks; ++i) {
      const double t = first + i * step;
      if (!(t - a.Hi < 1e-8)) break;
      Marca(t, ApplyInscription(a.Inscription, FormatDateLabel(t, a.DateTimeFormat)), "");
    }
  }

  // Ticks on the first day of every 1, 2, 3 or 6 months.
  void MarcasMeses(double per) {
    int y, m, dd;
    CivilFromDay((long long)std::floor(a.Lo), y, m, dd);
    int stepMonths = 1;
    for (int c : {1, 2, 3, 6})
      if (c * 30.4375 <= per) stepMonths = c;
    int idx = y * 12 + (m - 1);
    idx = (idx + stepMonths - 1) / stepMonths * stepMonths;
    if (dd > 1 || a.Lo > std::floor(a.Lo)) {
      // the first month start at or after Lo
      const long long t0 = DayFromCivil(idx / 12, idx % 12 + 1, 1);
      if (double(t0) < a.Lo - 1e-8) idx += stepMonths;
    }
    auto dia = [&idx] { return double(DayFromCivil(idx / 12, idx % 12 + 1, 1)); };
    MarcasFechas(dia(), [&] {
      idx += stepMonths;
      return dia();
    });
  }

  // Ticks on the first day of every 1, 2, 5, ... 1000 years.
  void MarcasAnios(double per) {
    int y, m, dd;
    CivilFromDay((long long)std::floor(a.Lo), y, m, dd);
    int stepYears = 1;
    for (int c : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000})
      if (c * 365.25 <= per) stepYears = c;
    int year = (y + stepYears - 1) / stepYears * stepYears;
    MarcasFechas(double(DayFromCivil(year, 1, 1)), [&] {
      year += stepYears;
      return double(DayFromCivil(year, 1, 1));
    });
  }
};

TAxisDrawing DateTimeAxis(const TAxisSpec& a, bool xAxis, const TChartGeometry& g,
                          const TScaling& s, const FontMetricsSource& fm) {
  EjeFechaHora e{a, xAxis, g, s, fm, {}};
  if (!(a.Hi >= a.Lo && a.Lo >= 1 && a.Hi <= 3000000)) {
    Message(e.d, xAxis, {"invalid", "DateTime", "scale"}, g, fm);
    return e.d;
  }
  const double per = (a.Hi - a.Lo) / a.MinTick;
  if (per <= 1.1574e-5) {
    Message(e.d, xAxis, {"DateTime", "range is", "below 1", "second"}, g, fm);
    return e.d;
  }
  if (per <= 1) e.MarcasHoras(per);
  else if (per <= 30) e.MarcasDias(per);
  else if (per <= 366) e.MarcasMeses(per);
  else e.MarcasAnios(per);
  return e.d;
}

TAxisDrawing LayoutAxis(const TAxisSpec& a, bool xAxis, const TChartGeometry& g,
                        const TScaling& s, const FontMetricsSource& fm) {
  switch (a.LabelType) {
    case ftNoScales: return {};
    case ftDateTime: return DateTimeAxis(a, xAxis, g, s, fm);
    case ftTime: return TimeAxis(a, xAxis, g, s, fm);
    default: return NumericAxis(a, xAxis, g, s, fm);
  }
}

// Short month names written when TDateTimeLabel::MonthName is set.
const std::array<std::string, 12> gMonthNames = {"ene", "feb", "mar", "abr", "may", "jun",
                                                 "jul", "ago", "sep", "oct", "nov", "dic"};

}  // namespace

int FixedFontMetrics::TextWidth(const std::string& utf8) const {
  return Chars(utf8) * charWidth_;
}

TScaling CalcScaling(const TChartGeometry& g) {
  TScaling s;
  const int w = g.DataWidth(), h = g.DataHeight();
  const double a = LogOf(g.LoX, g.LogX), b = LogOf(g.HiX, g.LogX);
  const double c = LogOf(g.LoY, g.LogY), d = LogOf(g.HiY, g.LogY);
  s.kx = w > 0 ? w / (b - a) : 0;
  s.ox = w > 0 ? (b * g.LRim - a * (g.Width - g.RRim - g.ShadowWidth)) / (b - a) : g.Width / 2.0;
  if (!std::isfinite(s.kx) || !std::isfinite(s.ox)) {  // degenerate or unusable range
    s.kx = 0;
    s.ox = g.Width / 2.0;
  }
  s.ky = h > 0 ? -h / (d - c) : 0;
  s.oy = h > 0 ? (d * (g.Height - g.BRim - g.ShadowWidth) - c * g.TRim) / (d - c)
               : g.Height / 2.0;
  if (!std::isfinite(s.ky) || !std::isfinite(s.oy)) {
    s.ky = 0;
    s.oy = g.Height / 2.0;
  }
  return s;
}

int RedondearPixel(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMax = 2147483647.0;
  if (v > kMax) v = kMax;
  if (v < -kMax) v = -kMax;
  const double f = std::floor(v);
  const double r = v - f;
  double n;
  if (r > 0.5) n = f + 1;
  else if (r < 0.5) n = f;
  else n = std::fmod(f, 2.0) == 0 ? f : f + 1;  // halves to even
  return int(n);
}

void WorldToPixel(const TScaling& s, const TChartGeometry& g, double x, double y, int& px,
                  int& py) {
  double vx, vy;
  if (g.LogX) vx = x > 1e-30 ? s.kx * std::log(x) + s.ox : (g.HiX >= g.LoX ? 0.0 : g.Width);
  else vx = s.kx * x + s.ox;
  if (g.LogY) vy = y > 1e-30 ? s.ky * std::log(y) + s.oy : (g.HiY >= g.LoY ? g.Height : 0.0);
  else vy = s.ky * y + s.oy;
  px = RedondearPixel(vx);
  py = RedondearPixel(vy);
}

void PixelToWorld(const TScaling& s, const TChartGeometry& g, double px, double py, double& x,
                  double& y) {
  if (s.kx != 0) {
    x = (px - s.ox) / s.kx;
    if (g.LogX) x = std::exp(x);
  } else {
    x = g.LoX;
  }
  if (s.ky != 0) {
    y = (py - s.oy) / s.ky;
    if (g.LogY) y = std::exp(y);
  } else {
    y = g.LoY;
  }
}

TNiceStep NiceStep(int minTick, double hi, double lo) {
  TNiceStep r;
  if (hi == lo || minTick <= 0) {
    r.First = lo;
    return r;
  }
  const double q = std::fabs(hi - lo) / minTick;
  const double g = std::log10(q);
  if (!std::isfinite(g)) {  // NaN, infinite or zero span: only the start
    r.First = lo;
    return r;
  }
  // The mantissa q / 10^k is compared with 2, 5 and 10 with a tolerance of a few ulps:
  // a ratio of exactly 2·10^k or 5·10^k (150 / 3 = 50) must not fall to the smaller
  // mantissa through the rounding of log10, of the division or of 10^k.
  constexpr double kTolerancia = 1.0 - 8 * std::numeric_limits<double>::epsilon();
  double k = std::floor(g);
  double m = q / std::pow(10.0, k);
  if (m < kTolerancia) {
    k -= 1;
    m = q / std::pow(10.0, k);
  }
  if (m >= 10 * kTolerancia) {
    k += 1;
    m = q / std::pow(10.0, k);
  }
  double mant;
  if (m < 2 * kTolerancia) { mant = 1; r.Subdivisions = 5; }
  else if (m < 5 * kTolerancia) { mant = 2; r.Subdivisions = 4; }
  else { mant = 5; r.Subdivisions = 5; }
  r.Step = mant * std::pow(10.0, k);
  if (hi < lo) r.Step = -r.Step;
  const double sign = r.Step < 0 ? -1.0 : 1.0;
  r.First = (std::trunc(lo / r.Step) - 1) * r.Step;
  // A few steps at most; the bound only matters when the step is below the precision of Lo.
  for (int i = 0; i < 8 && sign * (lo - r.First) > 0.001 * std::fabs(r.Step); ++i)
    r.First += r.Step;
  return r;
}

int AxisDecimals(int decPlace, bool logAxis, double lo, double hi) {
  if (decPlace >= 0) return std::min(decPlace, 6);
  if (decPlace == -1) return kScientific;
  if (!logAxis) {
    const double span = std::fabs(hi - lo);
    if (!std::isfinite(span) || span >= 1e6 || span <= 1e-4) return kScientific;
    if (span > 100) return 0;
    return std::clamp(2 - int(std::lround(0.4 * std::log(span))), 0, 6);
  }
  if (decPlace != -2) return 0;  // -3 labels the exponents of the decades
  const double l = std::min(lo, hi), h = std::max(lo, hi);
  if (!std::isfinite(h - l) || h - l >= 1e6 || h - l <= 1e-4) return kScientific;
  if (l >= 1) return 0;
  const double e = std::log10(std::fabs(l));
  if (!std::isfinite(e)) return kScientific;
  return std::clamp(1 - int(std::lround(std::clamp(e, -400.0, 400.0))), 0, 15);
}

std::string NumberText(double v, int decimals) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  char buf[512];
  if (decimals == kScientific) {
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 1);
    std::string s(buf, r.ptr);
    const auto e = s.find('e');
    if (e == std::string::npos) return s;
    s[e] = 'E';
    if (s.size() - e - 2 > 2) return std::string(s.size(), '*');  // three-digit exponent
    return s;
  }
  decimals = std::clamp(decimals, 0, 30);
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return "*";
  std::string s(buf, r.ptr);
  // A value that rounds to zero is written without a sign.
  if (s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos) s.erase(0, 1);
  return s;
}

std::string ApplyInscription(const std::string& inscription, const std::string& number) {
  if (inscription.empty() || number.empty()) return number;
  const auto amp = inscription.find('&');
  if (amp == std::string::npos) return inscription + number;
  return inscription.substr(0, amp) + number + inscription.substr(amp + 1);
}

std::string NumericTickLabel(const TAxisSpec& a, double v, bool logLayout) {
  std::string t;
  if (logLayout) {
    if (a.DecPlace == -3) {
      if (!(v > 0)) return "";
      const double e = std::round(std::log10(v));
      if (std::fabs(v / std::pow(10.0, e) - 1) > 1e-6) return "";
      t = NumberText(e, 0);
    } else {
      t = NumberText(v, AxisDecimals(a.DecPlace, true, a.Lo, a.Hi));
    }
    if (t.size() > 8) t.resize(8);
    if (a.DecPlace == -2 && t.find('.') != std::string::npos && t.find('E') == std::string::npos) {
      while (!t.empty() && t.back() == '0') t.pop_back();
      if (!t.empty() && t.back() == '.') t.pop_back();
    }
  } else {
    const int dec = AxisDecimals(a.DecPlace, false, a.Lo, a.Hi);
    if (std::fabs(v) < 0.001 && std::fabs(a.Hi - a.Lo) > 100000) t = dec == 0 ? "0" : "0.0";
    else t = NumberText(v, dec);
    if (t.size() > 8) t.resize(8);
  }
  return ApplyInscription(a.Inscription, t);
}

TAxisDrawing LayoutAxisX(const TAxisSpec& axis, const TChartGeometry& g, const TScaling& s,
                         const FontMetricsSource& fm) {
  return LayoutAxis(axis, true, g, s, fm);
}

TAxisDrawing LayoutAxisY(const TAxisSpec& axis, const TChartGeometry& g, const TScaling& s,
                         const FontMetricsSource& fm) {
  return LayoutAxis(axis, false, g, s, fm);
}

bool OrdinateTitlePosition(const std::string& title, const TChartGeometry& g,
                           const FontMetricsSource& fm, TPlacedText& out) {
  if (title.empty()) return false;
  out = {title, g.LRim, g.TRim - fm.TextHeight()};
  return true;
}

bool AbscissaTitlePosition(const std::string& title, const TChartGeometry& g,
                           const FontMetricsSource& fm, TPlacedText& out) {
  if (title.empty()) return false;
  const int h = fm.TextHeight();
  out = {title, (g.LRim + g.Width - g.RRim - g.ShadowWidth - fm.TextWidth(title)) / 2,
         g.Height - g.BRim - g.ShadowWidth + h + 7};
  return true;
}

bool AbscissaTitlePosition(const std::string& title, const TChartGeometry& g,
                           const FontMetricsSource& fm, const TAxisDrawing& xAxis,
                           TPlacedText& out) {
  if (!AbscissaTitlePosition(title, g, fm, out)) return false;
  const int h = fm.TextHeight();
  for (const TPlacedText& l : xAxis.Labels) out.Y = std::max(out.Y, l.Y + h);
  return true;
}

TPlacedText CaptionPosition(const std::string& caption, const TChartGeometry& g,
                            const FontMetricsSource& fm) {
  return {caption, g.Width - g.RRim - g.ShadowWidth - fm.TextWidth(caption),
          g.TRim - fm.TextHeight()};
}

std::vector<double> GridPositions(double lo, double hi, double d, bool logAxis) {
  std::vector<double> r;
  if (lo > hi) std::swap(lo, hi);
  if (!std::isfinite(lo) || !std::isfinite(hi) || d == 0 || !std::isfinite(d)) return r;
  if (logAxis && (d == -1 || d == -2 || d == -3)) {
    if (!(lo > 0)) return r;
    static const std::vector<int> kMult[3] = {{1}, {1, 2, 5}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    const auto& mult = kMult[int(-d) - 1];
    double dec = std::pow(10.0, std::floor(std::log10(lo)));
    for (int i = 0; i < 700 && dec < hi && dec > 0 && std::isfinite(dec); ++i, dec *= 10)
      for (int m : mult) {
        const double p = m * dec;
        if (p >= lo && p < hi) r.push_back(p);
      }
    if (r.size() > std::size_t(kMaxGridLines)) r.clear();
    return r;
  }
  d = std::fabs(d);
  const double k0 = std::ceil(lo / d);
  const double n = (hi - k0 * d) / d;
  // Lines denser than this would only fill the area: no grid then.
  if (!std::isfinite(k0) || !(n < kMaxGridLines)) return r;
  for (int k = 0; k <= kMaxGridLines; ++k) {
    const double p = (k0 + k) * d;
    if (!(p < hi)) break;
    r.push_back(p);
  }
  return r;
}

TGridDrawing LayoutGrid(GridStyleType style, double gridDx, double gridDy,
                        const TChartGeometry& g, const TScaling& s) {
  TGridDrawing gd;
  switch (style) {
    case gsNone: return gd;
    case gsPoints: gd.Points = true; break;
    case gsVertLines: gd.Vertical = true; break;
    case gsHorizLines: gd.Horizontal = true; break;
    case gsLines: gd.Vertical = gd.Horizontal = true; break;
    case gsHorizDotLines: gd.Horizontal = gd.Dotted = true; break;
    case gsVertDotLines: gd.Vertical = gd.Dotted = true; break;
    case gsDotLines: gd.Vertical = gd.Horizontal = gd.Dotted = true; break;
    default: return gd;
  }
  int px, py;
  for (double x : GridPositions(g.LoX, g.HiX, gridDx, g.LogX)) {
    WorldToPixel(s, g, x, g.LoY, px, py);
    gd.X.push_back(px);
  }
  for (double y : GridPositions(g.LoY, g.HiY, gridDy, g.LogY)) {
    WorldToPixel(s, g, g.LoX, y, px, py);
    gd.Y.push_back(py);
  }
  if (gd.Points) {
    for (int x : gd.X)
      for (int y : gd.Y) {
        if (gd.PointList.size() >= std::size_t(kMaxGridPoints)) return gd;
        gd.PointList.push_back({x, y});
      }
  }
  return gd;
}

std::string FormatDateLabel(double dayNumber, const TDateTimeLabel& f) {
  if (!std::isfinite(dayNumber) || std::fabs(dayNumber) > 1e8) return "";
  int y, m, d;
  CivilFromDay((long long)std::floor(dayNumber + 0.5 / 86400), y, m, d);
  const std::string day = Dos(d);
  const std::string month = f.MonthName() ? gMonthNames[m - 1] : Dos(m);
  std::string year;
  if (f.YearLength() == ylYY) year = Dos(((y % 100) + 100) % 100);
  else if (f.YearLength() == ylYYYY) year = Entero(std::fabs(double(y)), 4);
  std::vector<std::string> parts;
  switch (f.DateOrder()) {
    case doMMDDYY: parts = {month, day, year}; break;
    case doDDMMYY: parts = {day, month, year}; break;
    case doYYMMDD: parts = {year, month, day}; break;
  }
  std::string r;
  for (const auto& p : parts) {
    if (p.empty()) continue;  // the year left out together with its separator
    if (!r.empty()) r += f.DateSeparator();
    r += p;
  }
  return r;
}

std::string FormatTimeLabel(double dayNumber, TimeFormatType format, int unit) {
  if (!std::isfinite(dayNumber)) return "";
  double frac = dayNumber - std::floor(dayNumber);
  long long secs = std::llround(frac * 86400);
  if (secs >= 86400) secs -= 86400;
  const long long h = secs / 3600, n = secs / 60 % 60, ss = secs % 60;
  const long long h12 = h % 12 == 0 ? 12 : h % 12;
  const std::string ampm = h < 12 ? "am" : "pm";
  switch (format) {
    case tfHHMMSS:
      return unit == 2 ? Dos(h) + ":" + Dos(n) + ":" + Dos(ss) : Dos(h) + ":" + Dos(n);
    case tfHHhMM:
      if (unit == 0) return Int(h) + "h";
      if (unit == 1) return Int(h) + "h" + Dos(n);
      return Int(h) + "h" + Dos(n) + ":" + Dos(ss);
    case tfAMPM:
      if (unit == 0) return Int(h12) + ampm;
      if (unit == 1) return Int(h12) + ":" + Dos(n) + ampm;
      return Int(h12) + ":" + Dos(n) + "." + Dos(ss) + ampm;
  }
  return "";
}

std::string TimeAxisLabel(double seconds) {
  if (!std::isfinite(seconds)) return "";
  const double a = std::trunc(std::fabs(seconds));
  const std::string h = Entero(std::trunc(a / 3600), 2);
  const std::string m = Entero(std::fmod(std::trunc(a / 60), 60.0), 2);
  const std::string s = Entero(std::fmod(a, 60.0), 2);
  return std::string(seconds < 0 ? "-" : " ") + h + ":" + m + ":" + s;
}
