// The hue wheel and the age ramp against their sample values.
#include <gtest/gtest.h>

#include "render/color.h"
#include "render/geometry.h"

namespace qsrn {

namespace {
void ExpectRGB(int32_t c, int r, int g, int b) {
  EXPECT_EQ(RedOf(c), r);
  EXPECT_EQ(GreenOf(c), g);
  EXPECT_EQ(BlueOf(c), b);
}
}  // namespace

TEST(HueWheel, SampleValues) {
  ExpectRGB(HueToRGB(0), 255, 55, 55);
  ExpectRGB(HueToRGB(3), 255, 64, 55);  // one lower than an exact 1/60 step
  ExpectRGB(HueToRGB(30), 255, 154, 55);
  ExpectRGB(HueToRGB(60), 255, 255, 55);
  ExpectRGB(HueToRGB(90), 155, 255, 55);
  ExpectRGB(HueToRGB(180), 55, 255, 255);
  ExpectRGB(HueToRGB(359), 255, 55, 58);
  EXPECT_EQ(HueToRGB(360), 0);
}

TEST(AgeRamp, SampleRows) {
  ColorTables t;
  BuildHueTable(t);
  BuildAgeRamp(t);
  ExpectRGB(t.AgeRamp[0], 255, 255, 255);
  ExpectRGB(t.AgeRamp[12], 128, 255, 255);
  ExpectRGB(t.AgeRamp[24], 0, 255, 255);
  ExpectRGB(t.AgeRamp[25], 55, 255, 255);
  ExpectRGB(t.AgeRamp[50], 57, 212, 46);
  ExpectRGB(t.AgeRamp[94], 138, 35, 30);
  ExpectRGB(t.AgeRamp[95], 115, 25, 25);
  ExpectRGB(t.AgeRamp[99], 23, 5, 5);
}

TEST(Geometry, DerivedFromSurfaceSize) {
  Context ctx;
  ctx.settings.FocalLength = 1.0f;
  DeriveGeometry(ctx, 1024, 768, false);
  EXPECT_EQ(ctx.geometry.CenterX, 512);
  EXPECT_EQ(ctx.geometry.CenterY, 384);
  EXPECT_FLOAT_EQ(ctx.geometry.AspectRatio, 0.75f);
  EXPECT_EQ(ProjectX(ctx.geometry, 0.5f, 1.0f), 768);
  EXPECT_EQ(ProjectY(ctx.geometry, -0.5f, 1.0f), 192);
  EXPECT_TRUE(OnScreen(ctx.geometry, 1024, 768));
  EXPECT_FALSE(OnScreen(ctx.geometry, 1025, 0));
  DeriveGeometry(ctx, 801, 2, false);
  EXPECT_EQ(ctx.geometry.CenterX, 400);
  DeriveGeometry(ctx, 803, 2, false);
  EXPECT_EQ(ctx.geometry.CenterX, 402);
  ctx.TwipsPerPixelX = ctx.TwipsPerPixelY = 15;
  DeriveGeometry(ctx, 2280, 1680, true);
  EXPECT_EQ(ctx.geometry.ScreenWidth, 152);
  EXPECT_EQ(ctx.geometry.ScreenHeight, 112);
}

TEST(TrigTables, AngleAccumulatesInFloat) {
  TrigTables t;
  BuildTrigTables(t);
  EXPECT_EQ(t.CosTable[0], 1.0f);
  EXPECT_NEAR(t.CosTable[500], -6.5e-6, 1e-6);
  EXPECT_NEAR(t.SinTable[1000], -3.1e-5, 2e-6);
}

}  // namespace qsrn

namespace qsrn {

// A point grazing the eye projects beyond any Long: it must land off the surface, not on column 0.
TEST(Geometry, ProjectionTooLargeLandsOffSurface) {
  Context ctx;
  ctx.settings.FocalLength = 1.0f;
  DeriveGeometry(ctx, 1920, 1080, false);
  const int32_t sx = ProjectX(ctx.geometry, 1.0f, 1e-30f);
  const int32_t sy = ProjectY(ctx.geometry, -1.0f, 1e-30f);
  EXPECT_FALSE(OnScreen(ctx.geometry, sx, 0));
  EXPECT_FALSE(OnScreen(ctx.geometry, 0, sy));
  EXPECT_FALSE(OnScreen(ctx.geometry, ProjectX(ctx.geometry, 0.0f, 0.0f), 0));  // 0/0
}

}  // namespace qsrn
