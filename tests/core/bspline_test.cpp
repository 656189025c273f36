// The shared B-spline routines: point evaluation, the rolling control window, the symmetric
// count rule and the sphere layout of the heads.
#include "render/bspline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace qsrn {
namespace {

struct Vec {
  double x, y, z;
};

Vec Rel(const std::vector<float>& X, const std::vector<float>& Y, const std::vector<float>& Z,
        size_t i, float f) {
  return {X[i], Y[i], static_cast<double>(Z[i]) - f};
}
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Len(Vec a) { return std::sqrt(Dot(a, a)); }
double AngleBetween(Vec a, Vec b) { return std::acos(std::clamp(Dot(a, b) / (Len(a) * Len(b)), -1.0, 1.0)); }

// Runs the layout for n points led by (lx, ly, lz) and returns the arrays.
struct Layout {
  std::vector<float> X, Y, Z;
};
Layout Lay(size_t n, float lx, float ly, float lz, float f) {
  Layout l{std::vector<float>(n, 0.0f), std::vector<float>(n, 0.0f), std::vector<float>(n, 0.0f)};
  l.X[0] = lx;
  l.Y[0] = ly;
  l.Z[0] = lz;
  SymmetricHeads(l.X, l.Y, l.Z, f);
  return l;
}

// Four equal points give that point; a segment starts at (P0 + 4 P1 + P2) / 6 whatever P3 is, and
// ends where the shifted segment starts, so the curve does not break.
TEST(BSplinePoint, ValuesAtTheSegmentEnds) {
  float x, y, z;
  BSplinePoint(x, y, z, 0.3f, 1.5f, -2, 3, 1.5f, -2, 3, 1.5f, -2, 3, 1.5f, -2, 3);
  EXPECT_NEAR(x, 1.5f, 1e-6);
  EXPECT_NEAR(y, -2.0f, 1e-6);
  EXPECT_NEAR(z, 3.0f, 1e-6);
  BSplinePoint(x, y, z, 0, 0, 0, 0, 6, 6, 6, 0, 0, 0, -100, -100, -100);
  EXPECT_NEAR(y, 4.0f, 1e-6);
  const float p[5] = {0.3f, -0.7f, 0.9f, 0.1f, -0.4f};
  float a, b, c;
  BSplinePoint(a, b, c, 1.0f, 0, p[0], 0, 0, p[1], 0, 0, p[2], 0, 0, p[3], 0);
  BSplinePoint(x, y, z, 0.0f, 0, p[1], 0, 0, p[2], 0, 0, p[3], 0, 0, p[4], 0);
  EXPECT_NEAR(b, y, 1e-6);
}

TEST(SymmetricCount, Table) {
  const std::pair<int16_t, int16_t> cases[] = {
      {1, 2}, {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 6}, {7, 6}, {9, 6}, {10, 10}, {19, 10},
      {20, 20}, {33, 20}, {34, 34}, {51, 34}, {52, 52}, {999, 970}};
  for (auto [n, want] : cases) EXPECT_EQ(SymmetricCount(n), want) << "n = " << n;
}

// Two points mirror through the centre; ten make two parallels of four about the poles.
TEST(SymmetricHeads, TwoMirrorAndTenMakeTwoParallelsOfFour) {
  auto two = Lay(2, 1, 2, 2.5f + 3, 2.5f);
  EXPECT_FLOAT_EQ(two.X[1], -1);
  EXPECT_FLOAT_EQ(two.Y[1], -2);
  EXPECT_FLOAT_EQ(two.Z[1], 2.5f - 3);
  EXPECT_FLOAT_EQ(two.X[0], 1);  // the leader stays where it is
  const float f = 2;
  auto l = Lay(10, 0.2f, 0.7f, 2.3f, f);
  const Vec pole = Rel(l.X, l.Y, l.Z, 0, f);
  for (size_t i = 2; i < 6; ++i)
    EXPECT_NEAR(AngleBetween(pole, Rel(l.X, l.Y, l.Z, i, f)), std::numbers::pi / 3, 1e-5) << i;
  for (size_t i = 6; i < 10; ++i)
    EXPECT_NEAR(AngleBetween(pole, Rel(l.X, l.Y, l.Z, i, f)), 2 * std::numbers::pi / 3, 1e-5) << i;
}

TEST(SymmetricHeads, EveryPointLiesAtTheLeadersDistance) {
  const float f = 1;
  Context ctx;
  ctx.rng.Seed(7);
  for (int16_t n : {4, 6, 10, 20, 34, 52, 164, 970}) {
    for (int trial = 0; trial < 3; ++trial) {
      const float lx = ctx.Rnd() * 2 - 1, ly = ctx.Rnd() * 2 - 1, lz = ctx.Rnd() * 2 + f - 1;
      const double r = Len({lx, ly, static_cast<double>(lz) - f});
      auto l = Lay(static_cast<size_t>(n), lx, ly, lz, f);
      for (size_t i = 0; i < l.X.size(); ++i)
        ASSERT_NEAR(Len(Rel(l.X, l.Y, l.Z, i, f)), r, 1e-5 * (1 + r)) << "n " << n << " i " << i;
    }
  }
}

TEST(SymmetricHeads, LeaderOnTheViewAxisOrAtTheCentreStaysFinite) {
  const float f = 1;
  const float leaders[][3] = {{0.5f, 0, 1}, {-0.5f, 0, 1}, {0, 0, 1}, {0, 0, 1.5f}, {0, 0.4f, 1}};
  for (auto& p : leaders) {
    for (size_t n : {4u, 6u, 10u, 20u}) {
      auto l = Lay(n, p[0], p[1], p[2], f);
      const double r = Len({p[0], p[1], static_cast<double>(p[2]) - f});
      for (size_t i = 0; i < n; ++i) EXPECT_NEAR(Len(Rel(l.X, l.Y, l.Z, i, f)), r, 1e-5);  // false for NaN
    }
  }
  float a = -1, b = -1;
  DirectionAngles(0, 0, 0, a, b);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(b, 0.0f);
}

TEST(ControlWindow, ShiftDropsTheOldestAndDrawsOnlyForTheShiftedSplines) {
  Context ctx;
  ctx.settings.FocalLength = 1;
  ctx.rng.Seed(3);
  ControlWindow w;
  w.Allocate(3);
  w.Initialise(ctx, 1);
  const ControlWindow before = w;
  Random ref = ctx.rng;
  w.Shift(ctx, 1, 1);  // the symmetric modes shift spline 0 only
  for (size_t j = 0; j < 3; ++j) EXPECT_EQ(w.CPX[j], before.CPX[j + 1]);
  EXPECT_EQ(w.CPX[3], ref.Rnd() * 2.0f - 1.0f);
  EXPECT_EQ(w.CPY[3], ref.Rnd() * 2.0f - 1.0f);
  EXPECT_EQ(w.CPZ[3], ref.Rnd() * 2.0f + 1.0f - 1.0f);
  for (size_t i = 4; i < 12; ++i) EXPECT_EQ(w.CPX[i], before.CPX[i]);
  EXPECT_EQ(ctx.rng.Next(), ref.Next());
}

TEST(SegmentClock, RunsTheSegmentsFramesThenAsksForOneShift) {
  SegmentClock clock;
  clock.Start(4);
  float t = 0;
  for (int segment = 0; segment < 3; ++segment) {
    for (int frame = 1; frame <= 4; ++frame) {
      EXPECT_EQ(clock.Next(), segment > 0 && frame == 1) << segment << " " << frame;
      if (frame == 1) t = 0;
      EXPECT_EQ(clock.t, t);
      EXPECT_LT(clock.t, 1.0f);
      EXPECT_EQ(clock.frame, frame);
      t = static_cast<float>(1.0 / 4 + t);
    }
  }
  clock.Start(0);  // a segment is at least one frame long
  EXPECT_FALSE(clock.Next());
  EXPECT_TRUE(clock.Next());
  EXPECT_EQ(clock.t, 0.0f);
}

TEST(ControlWindow, PathIsContinuousAcrossAShift) {
  Context ctx;
  ctx.settings.FocalLength = 1;
  ctx.rng.Seed(5);
  ControlWindow w;
  w.Allocate(4);
  w.Initialise(ctx, 1);
  const int steps = 50;
  for (int segment = 0; segment < 20; ++segment) {
    float t = 0;
    for (int frame = 1; frame < steps; ++frame) t = 1.0f / steps + t;
    std::vector<float> lastX(4), lastY(4), lastZ(4), endX(4), endY(4), endZ(4);
    for (int s = 0; s < 4; ++s) {
      w.Head(s, t, lastX[s], lastY[s], lastZ[s]);
      w.Head(s, 1.0f, endX[s], endY[s], endZ[s]);
    }
    w.Shift(ctx, 4, 1);
    for (int s = 0; s < 4; ++s) {
      float x, y, z;
      w.Head(s, 0, x, y, z);
      // one frame's step along a path inside the unit cube is small
      EXPECT_LT(std::hypot(x - lastX[s], y - lastY[s], z - lastZ[s]), 0.1f) << segment;
      EXPECT_NEAR(x, endX[s], 1e-5);
      EXPECT_NEAR(y, endY[s], 1e-5);
      EXPECT_NEAR(z, endZ[s], 1e-5);
      float sx, sy, sz;
      w.StartHead(s, sx, sy, sz);
      EXPECT_EQ(sx, x);
      EXPECT_EQ(sz, z);
    }
  }
}

}  // namespace
}  // namespace qsrn
