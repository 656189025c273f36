// Fireworks shapes and glyphs: where every glyph's pixels land for every Stride and FireSparkPix,
// glyphs that shrink with their unit or land off the surface, the knot arrays, the burst
// velocity shapes and the rotation.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "effects/fireworks_glyphs.h"
#include "effects/fireworks_shapes.h"
#include "fireworks_rig.h"

namespace qsrn {
namespace {

using test::FireworksRig;

using Points = std::set<std::pair<int32_t, int32_t>>;

// The sign combinations of an offset, as the glyph tables write (+-a, +-b).
Points Sym(int a, int b) { return {{a, b}, {-a, b}, {a, -b}, {-a, -b}}; }
Points Join(std::initializer_list<Points> parts) {
  Points out;
  for (const Points& p : parts) out.insert(p.begin(), p.end());
  return out;
}

// The glyph's pixels, relative to its centre, drawn at (100, 100) on a blank surface.
template <typename Draw>
Points GlyphAt(FireworksRig& rig, Draw draw) {
  rig.surface.Clear();
  draw(100, 100);
  Points out;
  for (const auto& [x, y] : rig.Lit()) out.insert({x - 100, y - 100});
  return out;
}

TEST(FireworksGlyphs, ScintillatorCarrierAndDecayStarOffsets) {
  FireworksRig rig(200, 200);
  const std::pair<int, Points> scint[] = {
      {5, Join({Sym(1, 0), Sym(0, 1)})},   {9, Join({Sym(2, 0), Sym(0, 2)})},   {13, Sym(4, 4)},
      {17, Join({Sym(8, 0), Sym(0, 8)})},  {21, Join({Sym(12, 0), Sym(0, 12)})}, {25, Sym(7, 7)},
      {29, Join({Sym(16, 0), Sym(0, 16)})}, {33, Sym(11, 11)},                    {37, Join({Sym(25, 0), Sym(0, 25)})}};
  const std::pair<int, Points> carrier[] = {
      {3, Sym(1, 0)},  {5, Sym(0, 1)},  {9, Sym(1, 1)}, {13, Join({Sym(2, 0), Sym(0, 2)})},
      {17, Join({Sym(3, 0), Sym(0, 3)})}, {21, Join({Sym(4, 0), Sym(0, 4)})}, {25, Sym(3, 3)},
      {33, Join({Sym(5, 0), Sym(0, 5), Sym(8, 0), Sym(0, 8)})}};
  for (int n = -1; n <= 40; ++n) {
    Points want{{0, 0}};
    for (const auto& [from, added] : scint)
      if (n >= from && (n - 5) % 4 == 0 && n <= 37) want.insert(added.begin(), added.end());
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawScintillator(rig.ctx, x, y, 1.0f, n, kWhite); }), want) << n;

    want = {{0, 0}};
    for (const auto& [from, added] : carrier)
      if (n >= from) want.insert(added.begin(), added.end());
    if (n == 2) want.insert({1, 0});  // row 2 alone is not cumulative
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawCarrier(rig.ctx, x, y, 1.0f, n, kWhite); }), want) << n;
    // A decay star with life L at depth z has unit L / z * DecayScale: here exactly 1.
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawDecayStar(rig.ctx, x, y, 2.0f, 4, n, kWhite, 0.5f); }), want)
        << n;
  }
}

TEST(FireworksGlyphs, SparkleOffsetsByFireSparkPix) {
  FireworksRig rig(200, 200);
  const Points p15 = Join({Sym(2, 2), Sym(5, 0), Sym(0, 5), Sym(3, 3), Sym(6, 6)});
  const std::pair<int, Points> lists[] = {
      {1, {}},
      {2, {{2, 0}}},
      {3, {{-1, 1}, {1, 1}}},
      {4, Join({Sym(0, 2), Sym(2, 0)})},
      {6, {{-1, -1}, {1, -1}, {-2, 0}, {2, 0}, {-1, 1}, {1, 1}}},
      {8, Join({Sym(1, 1), Sym(4, 0), Sym(0, 4)})},
      {11, Join({Sym(1, 1), Sym(5, 0), Sym(2, 3)})},
      {13, Join({Sym(2, 2), Sym(6, 0), Sym(0, 6), Sym(4, 4)})},
      {15, p15},
      {19, Join({p15, Sym(8, 0), Sym(0, 8)})},
      {23, Join({Sym(2, 2), Sym(5, 0), Sym(0, 5), Sym(3, 3), Sym(5, 5), Sym(6, 6), Sym(9, 0), Sym(0, 9)})},
      {27, Join({Sym(2, 2), Sym(5, 0), Sym(0, 5), Sym(7, 0), Sym(0, 7), Sym(3, 3), Sym(5, 5), Sym(7, 7),
                 Sym(11, 0), Sym(0, 11)})},
      {31, {}}};
  for (int pix = 0; pix <= 35; ++pix) {
    Points want{{0, 0}};
    for (const auto& [from, list] : lists)
      if (pix >= from) want = Join({{{0, 0}}, list});  // complete lists: the last one reached
    rig.settings().FireSparkPix = static_cast<int16_t>(pix);
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawSparkle(rig.ctx, x, y, 1.0f, kWhite); }), want) << pix;
  }
}

TEST(FireworksGlyphs, UnitScalesOffsetsAndFarOffsetsLandOffTheSurface) {
  FireworksRig rig(200, 200);
  // Twice as far: offsets halve, rounded half to even ((25, 0) lands at 12.5 -> 12).
  EXPECT_TRUE(GlyphAt(rig, [&](int x, int y) { DrawScintillator(rig.ctx, x, y, 2.0f, 37, kWhite); })
                  .count({12, 0}));
  // Life 0: every offset collapses onto the centre.
  EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawDecayStar(rig.ctx, x, y, 1.0f, 0, 33, kWhite, 1.0f); }),
            (Points{{0, 0}}));
  // A glyph at the eye has offsets too large for a Long: they go nowhere, never to column or row 0.
  rig.surface.Clear();
  DrawCarrier(rig.ctx, 5, 7, 1e-30f, 33, kWhite);
  EXPECT_EQ(rig.Lit(), (Points{{5, 7}}));
  // Erasing is the same call in black.
  DrawCarrier(rig.ctx, 5, 7, 1e-30f, 33, 0);
  DrawCarrier(rig.ctx, 100, 100, 1.0f, 33, 0x123456);
  DrawCarrier(rig.ctx, 100, 100, 1.0f, 33, 0);
  EXPECT_EQ(rig.LitPixels(), 0);
}

TEST(FireworksKnots, KnotsOutOfTheLoadersRangeStillFitTheArrays) {
  FireworksRig rig;
  rig.settings().FireSplineKnot = 2;  // the clamp raises it to 4 after the loader sized 3 knots
  rig.settings().FireKnotX.assign(3, 0.0f);
  rig.settings().FireSplinePct = 100;
  rig.settings().FireLaunchPct = 0;
  rig.Start();
  rig.Step(50);
  EXPECT_EQ(rig.settings().FireSplineKnot, 4);
  EXPECT_EQ(rig.settings().FireKnotX.size(), 5u);
  // Knots made before any set-up size their own arrays.
  FireworksRig fresh;
  fresh.settings().FireSplineKnot = 6;
  fresh.settings().FireKnotX.clear();
  fresh.settings().FireKnotY.clear();
  fresh.settings().FireKnotZ.clear();
  MakeSplineKnots(fresh.ctx, 0, 0, 1.5f);
  EXPECT_EQ(fresh.settings().FireKnotX.size(), 7u);
  EXPECT_EQ(fresh.settings().FireKnotZ.size(), 7u);
  // The last three knots repeat the first three, so that the loop of segments closes.
  EXPECT_EQ(fresh.settings().FireKnotZ[6], fresh.settings().FireKnotZ[2]);
}

TEST(FireworksShapes, PatternsStayOnTheirSolids) {
  FireworksRig rig;
  auto& set = rig.settings();
  set.EmitSpeed = 3;
  set.FireSymmetry = 1;  // s = 3 * size * 0.6666 exactly
  const float size = 0.5f;
  const float s = static_cast<float>(3.0f * size * 0.6666);
  for (int k = 0; k < 300; ++k) {
    float vx = 0, vy = 0, vz = 0;
    PatternVelocity(rig.ctx, vx, vy, vz, 0, size);  // cube surface: one face coordinate at +-s
    const float m = std::max({std::fabs(vx), std::fabs(vy), std::fabs(vz)});
    EXPECT_NEAR(m, s, 1e-5);
    PatternVelocity(rig.ctx, vx, vy, vz, 1, size);  // pyramid, apex up (y = -s)
    EXPECT_LE(std::fabs(vx), (s + vy) / 2 + 1e-5);
    EXPECT_LE(std::fabs(vz), (s + vy) / 2 + 1e-5);
    PatternVelocity(rig.ctx, vx, vy, vz, 2, size);  // apex down
    EXPECT_LE(std::fabs(vx), (s - vy) / 2 + 1e-5);
    PatternVelocity(rig.ctx, vx, vy, vz, 3, size);  // double cone: radius shrinks with |y|
    EXPECT_NEAR(std::sqrt(vx * vx + vz * vz), (2 * s - std::fabs(vy)) * 0.5f, 1e-4);
  }
}

TEST(FireworksShapes, RotateVectorKeepsLengthAndTurnsAboutYThenX) {
  float x, y, z;
  RotateVector(1, 0, 0, 0, 1.5707964f, x, y, z);  // y axis by 90 degrees: x goes to +z
  EXPECT_NEAR(x, 0, 1e-6);
  EXPECT_NEAR(z, 1, 1e-6);
  RotateVector(0, 1, 0, 1.5707964f, 0, x, y, z);  // x axis by 90 degrees: y goes to -z
  EXPECT_NEAR(y, 0, 1e-6);
  EXPECT_NEAR(z, -1, 1e-6);
  RotateVector(0.3f, -0.4f, 1.2f, 0.7f, 2.1f, x, y, z);
  EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), std::sqrt(0.09f + 0.16f + 1.44f), 1e-5);
}

}  // namespace
}  // namespace qsrn
