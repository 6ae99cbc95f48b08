// Random and truncated chart files, and random ranges, through the loader and every range,
// mapping, tick and grid computation: none may crash, hang or produce unbounded layouts.
//
// Under AddressSanitizer and UBSan:
//   cmake -S . -B build-asan -G Ninja -DFENWA_SANITIZE=ON
//   cmake --build build-asan --target test_chart
//   build-asan/bin/test_chart --gtest_filter='ChartFuzz.*'
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "chart/plot_model.h"

namespace {

double Especial(std::mt19937_64& rng) {
  static const double kValores[] = {0.0,
                                    -0.0,
                                    1.0,
                                    -1.0,
                                    1e-30,
                                    1e-300,
                                    5e-324,
                                    1e300,
                                    -1e300,
                                    1.7e308,
                                    -1.7e308,
                                    std::numeric_limits<double>::max(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN(),
                                    1e15,
                                    1e15 + 0.125,
                                    86400.0,
                                    43466.5};
  switch (rng() % 3) {
    case 0: return kValores[rng() % std::size(kValores)];
    case 1: return std::bit_cast<double>(std::uint64_t(rng()));
    default: return std::uniform_real_distribution<double>(-1e4, 1e4)(rng);
  }
}

// Exercises everything that reads the list or the ranges.
void Recorrer(TPlotModel& p, std::mt19937_64& rng) {
  static const FixedFontMetrics fm;
  p.AutoRange(Especial(rng) * (rng() % 2));
  for (FigType t : {ftNum, ftTime, ftDateTime, ftNoFigs}) {
    p.SetXLabelType(t);
    p.SetYLabelType(t);
    p.SetLogScaleX(rng() % 2);
    p.SetLogScaleY(rng() % 2);
    p.SetDecPlaceX(int(rng() % 10) - 3);
    p.SetDecPlaceY(int(rng() % 10) - 3);
    p.SetMinTickX(int(rng() % 12));
    const TAxisDrawing x = p.LayoutScaleX(fm);
    const TAxisDrawing y = p.LayoutScaleY(fm);
    ASSERT_LE(x.Ticks.size(), std::size_t(3 * kMaxTicks));
    ASSERT_LE(y.Ticks.size(), std::size_t(3 * kMaxTicks));
    for (const auto& l : x.Labels) ASSERT_LE(l.Text.size(), 64u);
  }
  p.SetGridDx(Especial(rng));
  p.SetGridDy(Especial(rng));
  p.SetGridStyle(GridStyleType(rng() % 8));
  const TGridDrawing g = p.LayoutGridLines();
  ASSERT_LE(g.X.size(), std::size_t(kMaxGridLines + 1));
  ASSERT_LE(g.PointList.size(), std::size_t(kMaxGridPoints));
  double d;
  p.FindNearestPixel(Especial(rng), Especial(rng), tkEverything, 255, d);
  double wx, wy;
  p.PixelToWorld(double(rng() % 400), double(rng() % 400), wx, wy);
  (void)p.DumpText();
}

TEST(ChartFuzz, RandomAndTruncatedFiles) {
  std::mt19937_64 rng(20261208);
  std::vector<std::uint8_t> bytes;
  for (int iter = 0; iter < 10000; ++iter) {
    const std::size_t n = rng() % (64 * 6 + 1);
    bytes.resize(n);
    for (auto& b : bytes) b = std::uint8_t(rng());
    // Plausible kinds more often, so that most records reach the list.
    for (std::size_t off = 28; off < n; off += 64)
      if (rng() % 4) bytes[off] = std::uint8_t(1 + rng() % 9);
    // Now and then overwrite coordinates with special values.
    for (std::size_t off = 4; off + 8 <= n; off += 8)
      if (rng() % 5 == 0) {
        const auto v = std::bit_cast<std::uint64_t>(Especial(rng));
        for (int i = 0; i < 8; ++i) bytes[off + i] = std::uint8_t(v >> (8 * i));
      }
    TPlotModel p;
    p.SetControlSize(int(rng() % 800), int(rng() % 600));
    p.AppendFromBytes(bytes.data(), bytes.size());
    ASSERT_LE(p.ItemCount(), n / 64);
    // Loaded records save back unchanged apart from the link field.
    const auto saved = p.SaveToBytes();
    for (std::size_t i = 0; i < saved.size(); ++i) {
      if (i % 64 >= 4) {
        ASSERT_EQ(saved[i], bytes[i]);
      }
    }
    Recorrer(p, rng);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(ChartFuzz, RandomRanges) {
  std::mt19937_64 rng(7);
  for (int iter = 0; iter < 3000; ++iter) {
    TPlotModel p;
    p.MarkAt(Especial(rng), Especial(rng), std::uint8_t(rng()));
    p.SetRange(Especial(rng), Especial(rng), Especial(rng), Especial(rng));
    p.SetRangeLoX(Especial(rng));
    p.SetRangeHiY(Especial(rng));
    p.SetShadowWidth(int(rng() % 40));
    const FixedFontMetrics fm;
    for (FigType t : {ftNum, ftTime, ftDateTime}) {
      p.SetXLabelType(t);
      p.SetYLabelType(t);
      p.SetLogScaleY(true);
      ASSERT_LE(p.LayoutScaleX(fm).Ticks.size(), std::size_t(3 * kMaxTicks));
      ASSERT_LE(p.LayoutScaleY(fm).Ticks.size(), std::size_t(3 * kMaxTicks));
    }
    // The stored ranges always stay finite.
    ASSERT_TRUE(std::isfinite(p.RangeLoX()) && std::isfinite(p.RangeHiX()));
    ASSERT_TRUE(std::isfinite(p.RangeLoY()) && std::isfinite(p.RangeHiY()));
    int px, py;
    p.WorldToPixel(Especial(rng), Especial(rng), px, py);
  }
}

}  // namespace
