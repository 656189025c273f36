// Colours and the screen's geometry: the hue wheel, the age ramp, the surface geometry and the
// projection against their sample values; then picking particle colours (PickColor's four rules,
// ChooseColorScheme's group schemes, BlendColor's channel-wise blend) over many seeded draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "render/color.h"
#include "render/geometry.h"

namespace qsrn {
namespace {

using Rgb = std::tuple<int, int, int>;
Rgb Channels(int32_t c) { return {RedOf(c), GreenOf(c), BlueOf(c)}; }

TEST(HueWheel, SampleValues) {
  const std::pair<int, Rgb> samples[] = {{0, {255, 55, 55}},   {3, {255, 64, 55}},  {30, {255, 154, 55}},
                                         {60, {255, 255, 55}}, {90, {155, 255, 55}}, {180, {55, 255, 255}},
                                         {359, {255, 55, 58}}};
  for (const auto& [hue, rgb] : samples) EXPECT_EQ(Channels(HueToRGB(hue)), rgb) << hue;
  EXPECT_EQ(GreenOf(HueToRGB(6)), 74);  // a rising channel is one low: an exact 1/60 step gives 75
  EXPECT_EQ(HueToRGB(360), 0);
  EXPECT_EQ(HueToRGB(-1), 0);
  EXPECT_EQ(RGB(300, -4, 17), 0x1100FF);  // channels beyond 255 count as 255
}

TEST(AgeRamp, SampleRows) {
  ColorTables t;
  BuildHueTable(t);
  BuildAgeRamp(t);
  const std::pair<int, Rgb> rows[] = {{0, {255, 255, 255}}, {12, {128, 255, 255}}, {24, {0, 255, 255}},
                                      {25, {55, 255, 255}}, {50, {57, 212, 46}},   {94, {138, 35, 30}},
                                      {95, {115, 25, 25}},  {99, {23, 5, 5}}};
  for (const auto& [i, rgb] : rows) EXPECT_EQ(Channels(t.AgeRamp[i]), rgb) << i;
}

TEST(Geometry, DerivedFromSurfaceSize) {
  const SurfaceGeometry g = DeriveGeometry(1024, 768, 1, 1, 1.0f);
  EXPECT_EQ(std::tuple(g.ScreenWidth, g.ScreenHeight, g.CenterX, g.CenterY, g.ScaleX, g.ScaleY),
            std::tuple(1024, 768, 512, 384, 512.0f, 384.0f));
  EXPECT_FLOAT_EQ(g.AspectRatio, 0.75f);
  EXPECT_EQ(DeriveGeometry(801, 2, 1, 1, 1.0f).CenterX, 400);  // ties to even
  EXPECT_EQ(DeriveGeometry(803, 2, 1, 1, 1.0f).CenterX, 402);
  const SurfaceGeometry preview = DeriveGeometry(2280, 1680, 15, 15, 1.0f);  // in units of 15 per pixel
  EXPECT_EQ(std::pair(preview.ScreenWidth, preview.ScreenHeight), std::pair(152, 112));
  EXPECT_EQ(DeriveGeometry(40, 30, 0, -2, 1.0f).ScreenWidth, 40);  // no measure: pixels
  EXPECT_EQ(DeriveGeometry(0, 30, 1, 1, 1.0f).AspectRatio, 1.0f);
}

TEST(Projection, InclusiveEdgesTiesToEvenFocalLengthAndOffSurface) {
  SurfaceGeometry g = DeriveGeometry(1024, 768, 1, 1, 1.0f);
  EXPECT_EQ(ProjectX(g, 0.5f, 1.0f), 768);
  EXPECT_EQ(ProjectY(g, -0.5f, 1.0f), 192);
  // At depth z the screen spans -z..+z: both ends land on a valid (inclusive) column or row.
  EXPECT_EQ(ProjectX(g, -2.0f, 2.0f), 0);
  EXPECT_EQ(ProjectX(g, 2.0f, 2.0f), 1024);
  EXPECT_EQ(ProjectY(g, 1.0f, 1.0f), 768);
  EXPECT_TRUE(OnScreen(g, 1024, 768) && OnScreen(g, 0, 0));
  for (auto [x, y] : {std::pair{1025, 0}, {-1, 0}, {0, 769}, {0, -1}}) EXPECT_FALSE(OnScreen(g, x, y)) << x << y;
  // Half a pixel past the edge rounds to the even neighbour; one and a half pixels does not.
  EXPECT_EQ(ProjectX(g, 1.0009765625f, 1.0f), 1024);  // 1024.5
  EXPECT_EQ(ProjectX(g, -1.0009765625f, 1.0f), 0);    // -0.5
  EXPECT_EQ(ProjectX(g, 1.0029296875f, 1.0f), 1026);  // 1025.5
  EXPECT_EQ(ProjectY(g, -1.00390625f, 1.0f), -2);     // -1.5
  // Divide by z first, then scale: a longer focal length magnifies both ways.
  g = DeriveGeometry(1024, 768, 1, 1, 2.0f);
  EXPECT_EQ(ProjectX(g, 0.25f, 1.0f), 768);
  EXPECT_EQ(ProjectY(g, 0.25f, 2.0f), 480);
  EXPECT_EQ(ProjectY(g, -0.25f, 1.0f), 192);
  // A point grazing the eye projects beyond any Long: it lands off the surface, not on column 0.
  EXPECT_EQ(ProjectX(g, 1.0f, 1e-30f), kOffSurface);
  EXPECT_EQ(ProjectY(g, -1.0f, 1e-30f), kOffSurface);
  EXPECT_EQ(ProjectX(g, 0.0f, 0.0f), kOffSurface);  // 0/0
}

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

}  // namespace
}  // namespace qsrn
