// The B-spline routines (the symmetric count rule, the rolling control window) and the two
// effects built on them, run headless: the sparklers' symmetric layout and hues, plain heads on
// their own splines, gravity only for sparks that were not re-emitted; every pixel the warp
// draws is erased again.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "effects/sparklers.h"
#include "effects/warp.h"
#include "engine_rig.h"
#include "render/bspline.h"

namespace qsrn {
namespace {

// The general settings and the effect's section at their factory values, in saver mode.
struct SplineRig : testing::EngineRig {
  SplineRig(EffectIndex effect, int16_t splines, bool symmetric, uint64_t seed = 1) : EngineRig(effect, 320, 240, seed) {
    ctx.runMode = RunMode::Saver;
    ctx.settings.SplineCount = splines;
    ctx.settings.B_Spline_Symmetry = symmetric;
  }
};

TEST(SymmetricCount, Table) {
  const std::pair<int16_t, int16_t> cases[] = {
      {1, 2}, {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 6}, {7, 6}, {9, 6}, {10, 10}, {19, 10},
      {20, 20}, {33, 20}, {34, 34}, {51, 34}, {52, 52}, {999, 970}};
  for (auto [n, want] : cases) EXPECT_EQ(SymmetricCount(n), want) << "n = " << n;
}

// The symmetric layouts are balanced about the centre: for each count the rule gives, wherever the
// leading head lies, every head is as far from the centre as it, and their mean is the centre.
TEST(SymmetricHeads, EveryLayoutIsCentredOnTheScene) {
  const float f = 1.5f;
  for (size_t n : {2, 4, 6, 10, 20, 34}) {
    for (auto [x, y, z] : {std::tuple{0.3f, -0.2f, 1.9f}, {-0.7f, 0.1f, 1.2f}, {0.0f, 0.0f, 2.0f}}) {
      std::vector<float> X(n, 0.0f), Y(n, 0.0f), Z(n, 0.0f);
      X[0] = x, Y[0] = y, Z[0] = z;
      SymmetricHeads(X, Y, Z, f);
      const double r = std::hypot(x, y, z - f);
      double mx = 0, my = 0, mz = 0;
      for (size_t i = 0; i < n; ++i) {
        EXPECT_NEAR(std::hypot(X[i], Y[i], Z[i] - f), r, 1e-5) << n << " heads, head " << i;
        mx += X[i] / n, my += Y[i] / n, mz += (Z[i] - f) / n;
      }
      EXPECT_NEAR(std::hypot(mx, my, mz), 0, 1e-5) << n << " heads";
    }
  }
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
    }
  }
}

double DistanceFromCentre(float x, float y, float z, float f) {
  return std::hypot(static_cast<double>(x), static_cast<double>(y), static_cast<double>(z) - f);
}

TEST(SparklerHeads, SymmetricHeadsShareOneDistanceAndSpreadTheirHues) {
  SplineRig rig(EffectIndex::Sparklers, 20, true);
  rig.ctx.settings.FocalLength = 2.5f;  // the scene centre moves with the focal length
  SparklerEngine e;
  e.Setup(rig.ctx);
  ASSERT_EQ(e.Heads().X.size(), 20u);
  const float f = rig.ctx.settings.FocalLength;
  for (int frame = 0; frame < 30; ++frame) {
    e.Step(rig.ctx);
    const auto& h = e.Heads();
    const double r0 = DistanceFromCentre(h.X[0], h.Y[0], h.Z[0], f);
    for (size_t i = 1; i < h.X.size(); ++i)
      ASSERT_NEAR(DistanceFromCentre(h.X[i], h.Y[i], h.Z[i], f), r0, 1e-5) << frame;
  }
  for (size_t i = 0; i < 20; ++i) EXPECT_EQ(e.Heads().SchemeHue[i], CInt(i / 20.0f * 360.0f + 1.0f));
}

// Without symmetry each head runs along its own spline, a segment every SplineSteps frames.
TEST(SparklerHeads, PlainHeadsFollowTheirOwnSplines) {
  SplineRig rig(EffectIndex::Sparklers, 4, false);
  rig.ctx.settings.SplineSteps = 3;
  SparklerEngine e;
  e.Setup(rig.ctx);
  const ControlWindow start = e.Window();
  for (int frame = 0; frame < 3; ++frame) {
    e.Step(rig.ctx);
    for (int h = 0; h < 4; ++h) {
      float x, y, z;
      start.Head(h, static_cast<float>(1.0 / 3 * frame), x, y, z);
      EXPECT_NEAR(e.Heads().Y[static_cast<size_t>(h)], y, 1e-6) << h;
    }
  }
}

// Gravity and damping act on sparks that moved on; a re-emitted spark keeps its emission velocity.
TEST(SparklerPhysics, ReEmittedSparksSkipGravityThatFrame) {
  SplineRig rig(EffectIndex::Sparklers, 5, false);
  auto& s = rig.ctx.settings;
  s.Persistence = 0.25f;  // most sparks die each frame
  s.Gravity = 9.99f;
  s.EmitSpeed = 0.25f;
  s.Damping = 0.5f;
  s.B_Spline_AntiGrav = 0;
  SparklerEngine e;
  e.Setup(rig.ctx);
  const float g = s.Gravity, damp = s.Damping, speed = s.EmitSpeed;
  ASSERT_GT(g, 30 * speed);
  int reEmitted = 0, movedOn = 0;
  for (int frame = 0; frame < 20; ++frame) {
    const SparklerSparks before = e.Sparks();
    e.Step(rig.ctx);
    const auto& p = e.Sparks();
    const auto& h = e.Heads();
    for (size_t i = 0; i < p.X.size(); ++i) {
      const bool moved = p.X[i] == before.X[i] + before.VX[i] && p.Y[i] == before.Y[i] + before.VY[i] &&
                         p.Z[i] == before.Z[i] + before.VZ[i];
      if (moved) {
        EXPECT_EQ(p.VY[i], (before.VY[i] + g) * damp);
        EXPECT_EQ(p.VX[i], before.VX[i] * damp);
        ++movedOn;
      } else {
        bool atHead = false;
        for (size_t k = 0; k < h.X.size(); ++k)
          atHead |= p.X[i] == h.X[k] && p.Y[i] == h.Y[k] && p.Z[i] == h.Z[k];
        EXPECT_TRUE(atHead);
        EXPECT_LE(std::hypot(p.VX[i], p.VY[i], p.VZ[i]), speed * 1.001) << "no gravity added";
        ++reEmitted;
      }
    }
  }
  EXPECT_GT(reEmitted, 1000);
  EXPECT_GT(movedOn, 1000);
}

// Where a fired spark (and its eraser) starts: types 0 and 2 at the scene centre (0, 0, FocalLength),
// 1 and 3 at the head's mirror image through the view axis, 4 half-way from the centre to the head.
TEST(WarpFire, EachTypeStartsItsSparksWhereItSays) {
  for (int16_t type = 0; type <= 4; ++type) {
    SplineRig rig(EffectIndex::Warp, 12, false);
    rig.ctx.settings.Warp_Type = type;
    const float f = rig.ctx.settings.FocalLength = 2.5f;
    WarpEngine e;
    e.Setup(rig.ctx);
    int fired = 0;
    for (int frame = 0; frame < 5; ++frame) {
      e.Step(rig.ctx);
      const auto& p = e.Sparks();
      const auto& h = e.Splines();
      for (size_t k = 0; k < p.Age.size(); ++k) {
        if (p.Age[k] != 1 || p.TailLive[k]) continue;  // fired this frame, its eraser still at the start
        const size_t w = k / (p.Age.size() / h.HeadX.size());
        const float hx = h.HeadX[w], hy = h.HeadY[w], hz = h.HeadZ[w];
        const std::array<float, 3> want = type % 2 == 0 && type < 4 ? std::array{0.0f, 0.0f, f}
                                          : type < 4 ? std::array{-hx, -hy, hz}
                                                     : std::array{hx * 0.5f, hy * 0.5f, (f + hz) * 0.5f};
        EXPECT_EQ((std::array{p.EX[k], p.EY[k], p.EZ[k]}), want) << "type " << type;
        ++fired;
      }
    }
    EXPECT_GT(fired, 10) << "type " << type;
  }
}

// Every pixel a head draws is wiped by its eraser: stop firing and the surface goes black.
TEST(WarpErase, StoppedRunLeavesABlackSurface) {
  for (int16_t type = 0; type <= 4; ++type) {
    SplineRig rig(EffectIndex::Warp, 12, false, 40 + type);
    rig.ctx.settings.Warp_Type = type;
    rig.ctx.settings.PixelSize = type % 2 ? 1 : 9;  // single pixels and the widest blocks
    rig.ctx.settings.SplineSteps = 20;
    WarpEngine e;
    e.Setup(rig.ctx);
    for (int i = 0; i < 150; ++i) e.Step(rig.ctx);
    EXPECT_GT(rig.LitPixels(), 0);
    e.SetFiring(false);
    int guard = 0;
    while (e.ParticleCount() > 0 && guard++ < 100000) e.Step(rig.ctx);
    EXPECT_EQ(e.ParticleCount(), 0);
    EXPECT_EQ(rig.LitPixels(), 0) << "type " << type;
  }
}

}  // namespace
}  // namespace qsrn
