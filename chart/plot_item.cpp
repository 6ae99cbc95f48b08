#include "chart/plot_item.h"

#include <bit>
#include <cstring>

TPlotItem TPlotItem::FromBytes(const std::uint8_t* p) {
  TPlotItem it;
  std::memcpy(it.Bytes.data(), p, kSize);
  return it;
}

std::uint32_t TPlotItem::GetU32(std::size_t off) const {
  return std::uint32_t(Bytes[off]) | (std::uint32_t(Bytes[off + 1]) << 8) |
         (std::uint32_t(Bytes[off + 2]) << 16) | (std::uint32_t(Bytes[off + 3]) << 24);
}

void TPlotItem::SetU32(std::size_t off, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) Bytes[off + i] = std::uint8_t(v >> (8 * i));
}

double TPlotItem::GetDouble(std::size_t off) const {
  std::uint64_t b = 0;
  for (int i = 7; i >= 0; --i) b = (b << 8) | Bytes[off + i];
  return std::bit_cast<double>(b);
}

void TPlotItem::SetDouble(std::size_t off, double v) {
  const auto b = std::bit_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) Bytes[off + i] = std::uint8_t(b >> (8 * i));
}

std::string TPlotItem::TextLatin1() const {
  std::size_t n = Bytes[29];
  if (n > kMaxText) n = kMaxText;
  return std::string(reinterpret_cast<const char*>(&Bytes[30]), n);
}

std::string TPlotItem::Text() const { return Latin1AUtf8(TextLatin1()); }

void TPlotItem::SetText(const std::string& utf8) {
  const std::string t = Utf8ALatin1(PrimerosCaracteres(utf8, kMaxText));
  Bytes[29] = std::uint8_t(t.size());
  for (std::size_t i = 0; i < kMaxText; ++i)
    Bytes[30 + i] = i < t.size() ? std::uint8_t(t[i]) : 0;
}

bool TPlotItem::HasSecondPoint() const {
  switch (Kind()) {
    case tkLine: case tkRect: case tkRectFrame: case tk3DBar: case tkEllipse: case tkWhisker:
    case tkDotLine:
      return true;
    default:
      return false;
  }
}
