// The hue wheel, the age ramp, the trigonometric tables, the surface geometry and the projection
// against their sample values.
#include <gtest/gtest.h>

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

TEST(TrigTables, AngleAccumulatesInFloat) {
  TrigTables t;
  BuildTrigTables(t);
  EXPECT_EQ(t.CosTable[0], 1.0f);
  // The float pi over 1000 is added in double and only the sum rounded: entries 3 and 4 show it.
  EXPECT_EQ(t.SinTable[3], 0.00942463893443346f);
  EXPECT_EQ(t.SinTable[4], 0.012566041201353073f);
  EXPECT_EQ(t.CosTable[500], -6.481012860604096e-06f);
  EXPECT_EQ(t.SinTable[1000], -3.0843420972814783e-05f);
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

}  // namespace
}  // namespace qsrn
