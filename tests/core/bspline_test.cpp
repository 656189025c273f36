// The shared B-spline routines: the symmetric count rule and the rolling control window.
#include "render/bspline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace qsrn {
namespace {

TEST(SymmetricCount, Table) {
  const std::pair<int16_t, int16_t> cases[] = {
      {1, 2}, {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 6}, {7, 6}, {9, 6}, {10, 10}, {19, 10},
      {20, 20}, {33, 20}, {34, 34}, {51, 34}, {52, 52}, {999, 970}};
  for (auto [n, want] : cases) EXPECT_EQ(SymmetricCount(n), want) << "n = " << n;
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
