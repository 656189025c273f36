// Picking particle colours: the four rules of PickColor, the group schemes of ChooseColorScheme
// and the channel-wise blend of BlendColor, checked over many draws of a seeded generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "render/color.h"

namespace qsrn {

namespace {
Context ColorContext() {
  Context ctx;
  ctx.rng.Seed(12345);
  ctx.settings.ColorRed = ctx.settings.ColorGrn = ctx.settings.ColorBlu = 100;
  ctx.settings.ColorPctInt = 0;
  ctx.settings.ColorPctHue = 100;
  ctx.settings.ColorHueWheel = 60;
  BuildHueTable(ctx.colors);
  return ctx;
}

int HueIndexOf(const Context& ctx, int32_t color) {
  for (int h = 0; h < 360; ++h)
    if (ctx.colors.HueTable[h] == color) return h;
  return -1;
}
}  // namespace

// Base 0: a random wheel colour, the whole wheel reachable. Hue 0: the base scaled by one factor
// below 1, rounding down. Fixed hues ignore base and hue and scale the colour of the settings up
// from the grey floor of 55. One draw per colour whatever the rule.
TEST(PickColor, WheelIntensityAndFixedHues) {
  Context ctx = ColorContext(), fixed = ColorContext();
  fixed.settings.FixedHues = true;
  fixed.settings.ColorGrn = fixed.settings.ColorBlu = 0;
  std::set<int32_t> wheel;
  std::set<int> dimReds, fixedReds;
  for (int i = 0; i < 20000; ++i) {
    wheel.insert(PickColor(ctx, 0, 0));
    const int32_t dim = PickColor(ctx, RGB(200, 100, 50), 0);
    ASSERT_NEAR(GreenOf(dim), RedOf(dim) / 2, 1);
    dimReds.insert(RedOf(dim));
    const int32_t c = PickColor(fixed, i % 3 == 0 ? 0 : 0x123456, i % 5);
    ASSERT_TRUE(GreenOf(c) == 55 && BlueOf(c) == 55) << i;
    fixedReds.insert(RedOf(c));
  }
  for (int32_t c : wheel) ASSERT_GE(HueIndexOf(ctx, c), 0);
  EXPECT_GT(wheel.size(), 300u);
  EXPECT_GE(*dimReds.rbegin(), 195);
  EXPECT_LE(*dimReds.rbegin(), 199);
  EXPECT_EQ(*fixedReds.begin(), 55);
  EXPECT_EQ(*fixedReds.rbegin(), 254);  // r < 1, so 255 is never reached
  Context a = ColorContext(), b = ColorContext();
  for (auto [base, hue] : {std::pair{0, 0}, {0x10, 0}, {0x10, 40}}) {
    PickColor(a, base, hue);
    b.Rnd();
  }
  EXPECT_EQ(a.Rnd(), b.Rnd());
}

TEST(PickColor, HueVariationWindow) {
  Context ctx = ColorContext();
  std::set<int> hues;
  for (int i = 0; i < 20000; ++i) hues.insert(HueIndexOf(ctx, PickColor(ctx, 0x00FF00, 120)));
  // With the default 60 degrees: 30 below up to 29 above.
  EXPECT_EQ(*hues.begin(), 90);
  EXPECT_EQ(*hues.rbegin(), 149);
  EXPECT_EQ(hues.size(), 60u);
  // The window wraps around the wheel.
  hues.clear();
  for (int i = 0; i < 20000; ++i) hues.insert(HueIndexOf(ctx, PickColor(ctx, 0x00FF00, 10)));
  EXPECT_TRUE(hues.count(340) && hues.count(39) && !hues.count(40) && !hues.count(339));
  // A zero-width wheel collapses to the single hue 30 degrees below; hue 360 stays on the wheel.
  ctx.settings.ColorHueWheel = 0;
  EXPECT_EQ(PickColor(ctx, 0x00FF00, 200), ctx.colors.HueTable[170]);
  EXPECT_EQ(PickColor(ctx, 0x00FF00, 360), ctx.colors.HueTable[330]);
}

// By default every group varies its hue around one wheel colour of hue 1..360; with both
// percentages 0 a group keeps one solid colour; with intensity 100 it dims one colour.
TEST(ColorScheme, PercentagesChooseTheScheme) {
  Context ctx = ColorContext();
  int32_t color = 0;
  bool keep = true;
  int16_t hue = -1;
  for (auto [pctHue, pctInt, lowest, highest] : {std::tuple{100, 0, 1, 360}, {0, 0, 0, 0}, {0, 100, 0, 0}}) {
    ctx.settings.ColorPctHue = static_cast<int16_t>(pctHue);
    ctx.settings.ColorPctInt = static_cast<int16_t>(pctInt);
    std::set<int> hues;
    for (int i = 0; i < 5000; ++i) {
      ChooseColorScheme(ctx, color, keep, hue);
      hues.insert(hue);
      ASSERT_EQ(keep, pctHue == 0 && pctInt == 0);
      const int32_t c = ColorOrKeep(ctx, keep, color, hue);
      ASSERT_TRUE(pctInt ? RedOf(c) <= RedOf(color) && BlueOf(c) <= BlueOf(color)
                         : keep ? c == color : HueIndexOf(ctx, color) >= 0);
    }
    EXPECT_EQ(*hues.begin(), lowest);
    EXPECT_EQ(*hues.rbegin(), highest);
  }
}

TEST(BlendColor, EndsAndHalfSteps) {
  Context ctx = ColorContext();
  ctx.settings.Star_Dyson_LatPixels = 1;  // two steps
  const int32_t black = 0, white = RGB(255, 255, 255);
  EXPECT_EQ(BlendColor(ctx, black, white, 0), black);
  EXPECT_EQ(BlendColor(ctx, black, white, 2), white);
  // Red rounds half to even; green and blue are cut toward zero after scaling in place.
  EXPECT_EQ(BlendColor(ctx, black, white, 1), RGB(128, 127, 127));
  EXPECT_EQ(BlendColor(ctx, white, black, 1), RGB(127, 128, 128));
  ctx.settings.Star_Dyson_LatPixels = 9;
  const int32_t from = RGB(10, 200, 30), to = RGB(110, 0, 230);
  EXPECT_EQ(BlendColor(ctx, from, to, 3), RGB(40, 140, 90));
  EXPECT_EQ(BlendColor(ctx, from, to, 10), to);
  // Red is a Long times a float evaluated in double: 3 x 1/6 (as a float) is just above a half.
  ctx.settings.Star_Dyson_LatPixels = 5;
  EXPECT_EQ(BlendColor(ctx, 0, RGB(3, 0, 0), 1), RGB(1, 0, 0));
  ctx.settings.Star_Dyson_LatPixels = -1;  // no steps at all: stays at the start colour
  EXPECT_EQ(BlendColor(ctx, from, to, 3), from);
}

}  // namespace qsrn
