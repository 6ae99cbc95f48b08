#include "chart/colors.h"

#include <array>
#include <cstdio>

namespace {

// Desktop palette used for system colours, as 0x00BBGGRR, by palette index.
constexpr std::array<TColor, 31> kSystemPalette = {
    ColorDesdeRGB(200, 200, 200),  //  0 scroll bar
    ColorDesdeRGB(0, 0, 0),        //  1 desktop background
    ColorDesdeRGB(153, 180, 209),  //  2 active caption
    ColorDesdeRGB(191, 205, 219),  //  3 inactive caption
    ColorDesdeRGB(240, 240, 240),  //  4 menu
    ColorDesdeRGB(255, 255, 255),  //  5 window
    ColorDesdeRGB(100, 100, 100),  //  6 window frame
    ColorDesdeRGB(0, 0, 0),        //  7 menu text
    ColorDesdeRGB(0, 0, 0),        //  8 window text
    ColorDesdeRGB(0, 0, 0),        //  9 caption text
    ColorDesdeRGB(180, 180, 180),  // 10 active border
    ColorDesdeRGB(244, 247, 252),  // 11 inactive border
    ColorDesdeRGB(171, 171, 171),  // 12 application workspace
    ColorDesdeRGB(0, 120, 215),    // 13 highlight
    ColorDesdeRGB(255, 255, 255),  // 14 highlight text
    ColorDesdeRGB(240, 240, 240),  // 15 button face
    ColorDesdeRGB(160, 160, 160),  // 16 button shadow
    ColorDesdeRGB(109, 109, 109),  // 17 grey text
    ColorDesdeRGB(0, 0, 0),        // 18 button text
    ColorDesdeRGB(0, 0, 0),        // 19 inactive caption text
    ColorDesdeRGB(255, 255, 255),  // 20 button highlight
    ColorDesdeRGB(105, 105, 105),  // 21 3D dark shadow
    ColorDesdeRGB(227, 227, 227),  // 22 3D light
    ColorDesdeRGB(0, 0, 0),        // 23 tooltip text
    ColorDesdeRGB(255, 255, 225),  // 24 tooltip background
    ColorDesdeRGB(0, 0, 0),        // 25 (unused)
    ColorDesdeRGB(0, 102, 204),    // 26 hot-tracked item
    ColorDesdeRGB(185, 209, 234),  // 27 active caption gradient
    ColorDesdeRGB(215, 228, 242),  // 28 inactive caption gradient
    ColorDesdeRGB(51, 153, 255),   // 29 menu highlight
    ColorDesdeRGB(240, 240, 240),  // 30 menu bar
};

struct NombreColor {
  TColor valor;
  const char* nombre;
};

constexpr NombreColor kNombres[] = {
    {clBlack, "clBlack"},       {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},       {clOlive, "clOlive"},
    {clNavy, "clNavy"},         {clPurple, "clPurple"},
    {clTeal, "clTeal"},         {clGray, "clGray"},
    {clSilver, "clSilver"},     {clRed, "clRed"},
    {clLime, "clLime"},         {clYellow, "clYellow"},
    {clBlue, "clBlue"},         {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},         {clWhite, "clWhite"},
    {clSystemColor | 0, "clScrollBar"},
    {clSystemColor | 1, "clBackground"},
    {clSystemColor | 2, "clActiveCaption"},
    {clSystemColor | 3, "clInactiveCaption"},
    {clSystemColor | 4, "clMenu"},
    {clSystemColor | 5, "clWindow"},
    {clSystemColor | 6, "clWindowFrame"},
    {clSystemColor | 7, "clMenuText"},
    {clSystemColor | 8, "clWindowText"},
    {clSystemColor | 9, "clCaptionText"},
    {clSystemColor | 10, "clActiveBorder"},
    {clSystemColor | 11, "clInactiveBorder"},
    {clSystemColor | 12, "clAppWorkSpace"},
    {clSystemColor | 13, "clHighlight"},
    {clSystemColor | 14, "clHighlightText"},
    {clSystemColor | 15, "clBtnFace"},
    {clSystemColor | 16, "clBtnShadow"},
    {clSystemColor | 17, "clGrayText"},
    {clSystemColor | 18, "clBtnText"},
    {clSystemColor | 19, "clInactiveCaptionText"},
    {clSystemColor | 20, "clBtnHighlight"},
    {clSystemColor | 21, "cl3DDkShadow"},
    {clSystemColor | 22, "cl3DLight"},
    {clSystemColor | 23, "clInfoText"},
    {clSystemColor | 24, "clInfoBk"},
    {0x1FFFFFFF, "clNone"},
    {0x20000000, "clDefault"},
};

}  // namespace

TColor ColorPlano(TColor c) {
  if (EsColorSistema(c)) {
    const TColor indice = c & 0xFF;
    return indice < kSystemPalette.size() ? kSystemPalette[indice] : clBlack;
  }
  return c & 0x00FFFFFF;
}

std::uint32_t ResolverColor(TColor c) {
  const TColor p = ColorPlano(c);
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

std::string ColorToString(TColor c) {
  for (const auto& n : kNombres)
    if (n.valor == c) return n.nombre;
  static const char* kHex = "0123456789ABCDEF";
  std::string s = "$";
  for (int i = 7; i >= 0; --i) s += kHex[(c >> (4 * i)) & 0xF];
  return s;
}
