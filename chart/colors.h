// Chart colours.
//
// A colour is a 32-bit platform value: 0x00BBGGRR for a plain colour (red in the low byte),
// or, with the top bit set, a system colour whose low byte is the index into the palette of
// the desktop (button face, grey text, window, window text, ...). The same values are stored
// in chart files, so they keep this layout everywhere; the drawing layer resolves them to
// RGB at the last moment.
#pragma once

#include <cstdint>
#include <string>

using TColor = std::uint32_t;

// Plain colours (0x00BBGGRR).
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours: top bit + palette index.
inline constexpr TColor clSystemColor = 0x80000000u;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clGrayText = clSystemColor | 17;

// Builds a plain colour from its components.
constexpr TColor ColorDesdeRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// True for a system colour (top bit set).
constexpr bool EsColorSistema(TColor c) { return (c & clSystemColor) != 0; }

// The plain platform value (0x00BBGGRR) of any colour: system colours through the palette
// table, plain colours with their top byte cleared.
TColor ColorPlano(TColor c);

// The colour as 0x00RRGGBB (red in bits 16-23), ready for the drawing layer
// (QColor::fromRgb(0xFF000000 | ResolverColor(c))).
std::uint32_t ResolverColor(TColor c);

// The colour's name as the listing of chart items writes it: a standard name ("clBlack",
// "clYellow", "clBtnFace", ...) or "$" followed by eight upper-case hexadecimal digits.
std::string ColorToString(TColor c);
