// One display-list item: a fixed 64-byte record, identical to the record of a chart file.
//
// The record is kept as its 64 bytes and every field is read and written at its offset in
// little-endian order, so a loaded record saves back byte for byte (fields a kind does not
// use keep whatever the file held) and the layout never depends on the compiler.
//
//  off width field                      off width field
//   0   4   link (not used, saved 0)     32   8   X2 (second point / ellipse half axis x)
//   4   8   X1                           40   8   Y2
//  12   8   Y1                           48   4   fill colour | text size (points)
//  20   4   colour                       52   1   frame style (tkRectFrame)
//  24   1   line width                   52   4   depth (tk3DBar)
//  25   1   class number                 56   4   shadow colour | angle (tk3DBar)
//  28   1   kind (ItemType ordinal)      60   4   highlight colour (tkRectFrame)
//  29   1   mark type (tkMarkAt)
//  29  16   text: length byte + 15 Latin-1 characters (tkText)
//
// The kinds added later use their own bytes, all written:
//  tkLabel:     26 2 length of the whole text in bytes, 29 1 place (TLabelPlace), 30 1
//               alignment (TLabelAlign), 31 1 size in points (0: the chart font's),
//               32 32 the first bytes of the UTF-8 text
//  tkLabelMore: the point, colour, width and class of its tkLabel, 29 35 the next bytes
//  tkWhisker:   X2/Y2 the other end, 29 1 half length of the end caps in pixels
//  tkDotLine:   X2/Y2 the other end
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "chart/plot_common.h"

class TPlotItem {
 public:
  static constexpr std::size_t kSize = 64;
  static constexpr std::size_t kMaxText = 15;

  std::array<std::uint8_t, kSize> Bytes{};

  TPlotItem() = default;
  static TPlotItem FromBytes(const std::uint8_t* p);  // copies 64 bytes

  ItemType Kind() const { return ItemType(Bytes[28]); }  // may exceed tkEverything
  void SetKind(ItemType k) { Bytes[28] = std::uint8_t(k); }
  double X1() const { return GetDouble(4); }
  void SetX1(double v) { SetDouble(4, v); }
  double Y1() const { return GetDouble(12); }
  void SetY1(double v) { SetDouble(12, v); }
  TColor Color() const { return GetU32(20); }
  void SetColor(TColor c) { SetU32(20, c); }
  std::uint8_t LineWidth() const { return Bytes[24]; }
  void SetLineWidth(std::uint8_t v) { Bytes[24] = v; }
  std::uint8_t ClassNum() const { return Bytes[25]; }
  void SetClassNum(std::uint8_t v) { Bytes[25] = v; }
  std::uint8_t MarkType() const { return Bytes[29]; }
  void SetMarkType(std::uint8_t v) { Bytes[29] = v; }
  // Text of a tkText item, UTF-8 (stored Latin-1, at most 15 characters; a length byte
  // above 15 reads as 15).
  std::string Text() const;
  std::string TextLatin1() const;
  void SetText(const std::string& utf8);  // keeps the first 15 characters
  double X2() const { return GetDouble(32); }
  void SetX2(double v) { SetDouble(32, v); }
  double Y2() const { return GetDouble(40); }
  void SetY2(double v) { SetDouble(40, v); }
  TColor FillColor() const { return GetU32(48); }
  void SetFillColor(TColor c) { SetU32(48, c); }
  std::int32_t CharSize() const { return std::int32_t(GetU32(48)); }
  void SetCharSize(std::int32_t v) { SetU32(48, std::uint32_t(v)); }
  TRFrameStyle FrameStyle() const { return TRFrameStyle(Bytes[52]); }  // may exceed 3
  void SetFrameStyle(TRFrameStyle v) { Bytes[52] = std::uint8_t(v); }
  std::int32_t Depth() const { return std::int32_t(GetU32(52)); }
  void SetDepth(std::int32_t v) { SetU32(52, std::uint32_t(v)); }
  TColor ShadowColor() const { return GetU32(56); }
  void SetShadowColor(TColor c) { SetU32(56, c); }
  std::int32_t Angle() const { return std::int32_t(GetU32(56)); }
  void SetAngle(std::int32_t v) { SetU32(56, std::uint32_t(v)); }
  TColor HiliteColor() const { return GetU32(60); }
  void SetHiliteColor(TColor c) { SetU32(60, c); }

  // tkLabel and tkLabelMore.
  static constexpr std::size_t kLabelFirst = 32;   // text bytes in a tkLabel
  static constexpr std::size_t kLabelMore = 35;    // text bytes in a tkLabelMore
  static constexpr std::size_t kLabelMax = 1000;   // longest text kept, in bytes
  std::uint16_t LabelLength() const { return std::uint16_t(Bytes[26] | (Bytes[27] << 8)); }
  TLabelPlace LabelPlace() const { return TLabelPlace(Bytes[29]); }  // may exceed lpAbscissa
  std::uint8_t LabelAlign() const { return Bytes[30]; }
  std::uint8_t LabelSize() const { return Bytes[31]; }
  // tkWhisker.
  std::uint8_t CapSize() const { return Bytes[29]; }
  void SetCapSize(std::uint8_t v) { Bytes[29] = v; }

  // Kinds with a second point in X2/Y2 (tkLine, tkRect, tkRectFrame, tk3DBar, tkEllipse,
  // tkWhisker, tkDotLine).
  bool HasSecondPoint() const;

  std::uint32_t GetU32(std::size_t off) const;
  void SetU32(std::size_t off, std::uint32_t v);
  double GetDouble(std::size_t off) const;
  void SetDouble(std::size_t off, double v);

  bool operator==(const TPlotItem&) const = default;
};

static_assert(sizeof(TPlotItem) == TPlotItem::kSize);
