// Types shared by the chart model, its scales and its drawing layer: the enumerations
// (their ordinals are stored in chart files and forms, so their order is fixed), the font
// description, and the two companion objects of a chart (background picture and date/time
// label format).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/colors.h"

enum ItemType : std::uint8_t {
  tkNone, tkMarkAt, tkLine, tkLineto, tkRect, tkRectFrame, tk3DBar, tkText, tkMoveTo,
  tkEllipse, tkEverything,
  // Kinds added to the first ones, after tkEverything so that no stored ordinal changes; a
  // reader that does not know them keeps them in the list and draws nothing for them.
  tkLabel,      // a text of any length (UTF-8), placed in the data area or in a rim
  tkLabelMore,  // the continuation of the text of the tkLabel before it
  tkWhisker,    // an interval: a line with an end cap across each end
  tkDotLine     // a line dotted one pixel on, one off
};
// Where a tkLabel goes: in the data area at its point; in the left rim, right-aligned
// against the data area at the height of its point (the names of a category axis, which
// then replace the numbers of the y scale); in the right rim, after the data area at that
// height (a column of values); above the data area at the left (a title); under the x
// scale, centred (its axis title).
enum TLabelPlace : std::uint8_t { lpData, lpLeftRim, lpRightRim, lpTitle, lpAbscissa };
// How an lpData label sits on its point: horizontally after it (laRight, or before it when
// it does not fit there), centred on it or before it; vertically centred, above or below.
enum TLabelAlign : std::uint8_t {
  laRight = 0, laCenter = 1, laLeft = 2, laMiddle = 0, laAbove = 4, laBelow = 8
};
enum TRFrameStyle : std::uint8_t { rbLowered, rbRaised, rbEmbossed, rbEngraved };
enum FigType : std::uint8_t { ftNoFigs, ftNum, ftTime, ftNoScales, ftDateTime };
enum GridStyleType : std::uint8_t {
  gsNone, gsPoints, gsVertLines, gsHorizLines, gsLines, gsHorizDotLines, gsVertDotLines,
  gsDotLines
};
enum TShadowStyle : std::uint8_t { ssFlying, ssBox };
enum TTextBkg : std::uint8_t { tbClear, tbSolid };
enum MouseActMode : std::uint8_t { maNone, maPan, maZoomWind, maZoomWindPos, maZoomDrag };
enum ZoomStateType : std::uint8_t { zsNormal, zsDrawWin };
enum MouseBoxStateType : std::uint8_t { msNormal, msFirstCorner, msRectDraw, msFinished };
enum TBkgFill : std::uint8_t { bfSimple, bfStretch, bfTile };
enum TimeFormatType : std::uint8_t { tfHHMMSS, tfHHhMM, tfAMPM };
enum YearLengthType : std::uint8_t { ylNone, ylYY, ylYYYY };
enum DateOrderType : std::uint8_t { doMMDDYY, doDDMMYY, doYYMMDD };
enum DateForTimeType : std::uint8_t { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };

// Font styles (bit set), used by the chart font and by the text items.
using TFontStyles = std::uint8_t;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

// Font of caption, axis titles and numbers. Its colour is the colour of caption and titles.
struct TPlotFont {
  std::string Name = "MS Sans Serif";
  int Height = 13;  // pixels
  TColor Color = clWindowText;
  TFontStyles Style = 0;
  bool operator==(const TPlotFont&) const = default;
};

// Picture drawn behind the data. Any change notifies the owning chart (OnChange).
class TBackgroundImage {
 public:
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v);
  bool IncludePath() const { return includePath_; }
  void SetIncludePath(bool v);
  TBkgFill FillMode() const { return fillMode_; }
  void SetFillMode(TBkgFill v);
  // Clears the name without notifying (a picture that cannot be loaded is dropped silently).
  void DropName() { name_.clear(); }

  std::function<void()> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(); }
  std::string name_;
  bool includePath_ = false;
  TBkgFill fillMode_ = bfSimple;
};

// Date/time label format of one axis. Any change notifies the owning chart (OnChange).
class TDateTimeLabel {
 public:
  TimeFormatType TimeFormat() const { return timeFormat_; }
  void SetTimeFormat(TimeFormatType v);
  const std::string& DateSeparator() const { return dateSeparator_; }
  void SetDateSeparator(const std::string& v);
  const std::string& TimeSeparator() const { return timeSeparator_; }
  void SetTimeSeparator(const std::string& v);
  YearLengthType YearLength() const { return yearLength_; }
  void SetYearLength(YearLengthType v);
  bool MonthName() const { return monthName_; }
  void SetMonthName(bool v);
  DateOrderType DateOrder() const { return dateOrder_; }
  void SetDateOrder(DateOrderType v);
  DateForTimeType DateForTime() const { return dateForTime_; }
  void SetDateForTime(DateForTimeType v);

  std::function<void()> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(); }
  TimeFormatType timeFormat_ = tfHHMMSS;
  std::string dateSeparator_ = "-";
  std::string timeSeparator_ = ":";
  YearLengthType yearLength_ = ylYYYY;
  bool monthName_ = true;
  DateOrderType dateOrder_ = doDDMMYY;
  DateForTimeType dateForTime_ = dtOnePerDay;
};

// Keeps the first n characters (code points) of a UTF-8 text.
std::string PrimerosCaracteres(const std::string& utf8, std::size_t n);
// Latin-1 <-> UTF-8 (characters outside Latin-1 become '?').
std::string Latin1AUtf8(const std::string& latin1);
std::string Utf8ALatin1(const std::string& utf8);
