#include "chart/plot_common.h"

void TBackgroundImage::SetName(const std::string& v) { name_ = v; Changed(); }
void TBackgroundImage::SetIncludePath(bool v) { includePath_ = v; Changed(); }
void TBackgroundImage::SetFillMode(TBkgFill v) { fillMode_ = v; Changed(); }

void TDateTimeLabel::SetTimeFormat(TimeFormatType v) { timeFormat_ = v; Changed(); }
void TDateTimeLabel::SetDateSeparator(const std::string& v) { dateSeparator_ = v; Changed(); }
void TDateTimeLabel::SetTimeSeparator(const std::string& v) { timeSeparator_ = v; Changed(); }
void TDateTimeLabel::SetYearLength(YearLengthType v) { yearLength_ = v; Changed(); }
void TDateTimeLabel::SetMonthName(bool v) { monthName_ = v; Changed(); }
void TDateTimeLabel::SetDateOrder(DateOrderType v) { dateOrder_ = v; Changed(); }
void TDateTimeLabel::SetDateForTime(DateForTimeType v) { dateForTime_ = v; Changed(); }

std::string PrimerosCaracteres(const std::string& utf8, std::size_t n) {
  std::size_t caracteres = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    // A character starts at every byte that is not a continuation byte.
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      if (caracteres == n) return utf8.substr(0, i);
      ++caracteres;
    }
  }
  return utf8;
}

std::string Latin1AUtf8(const std::string& latin1) {
  std::string r;
  r.reserve(latin1.size());
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      r += char(c);
    } else {
      r += char(0xC0 | (c >> 6));
      r += char(0x80 | (c & 0x3F));
    }
  }
  return r;
}

std::string Utf8ALatin1(const std::string& utf8) {
  std::string r;
  r.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char c = utf8[i];
    int extra;
    std::uint32_t cp;
    if (c < 0x80) { r += char(c); ++i; continue; }
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
    else { r += '?'; ++i; continue; }  // stray continuation or invalid lead byte
    std::size_t j = i + 1;
    bool valido = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= utf8.size() || (static_cast<unsigned char>(utf8[j]) & 0xC0) != 0x80) {
        valido = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[j]) & 0x3F);
    }
    r += (valido && cp <= 0xFF) ? char(cp) : '?';
    i = valido ? j : i + 1;  // a broken sequence costs its lead byte only
  }
  return r;
}
