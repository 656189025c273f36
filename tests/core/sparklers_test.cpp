// B-Spline Sparklers run headless: the symmetric layout and hues, plain heads on their own
// splines, gravity only for sparks that were not re-emitted.
#include "effects/sparklers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine_rig.h"

namespace qsrn {
namespace {

// The general settings and the sparklers section at their factory values, in saver mode.
struct SparklerRig : testing::EngineRig {
  SparklerRig(bool symmetric, int16_t heads, uint64_t seed = 1) : EngineRig(EffectIndex::Sparklers, 320, 240, seed) {
    ctx.runMode = RunMode::Saver;
    ctx.settings.B_Spline_Symmetry = symmetric;
    ctx.settings.SplineCount = heads;
  }
};

double DistanceFromCentre(float x, float y, float z, float f) {
  return std::hypot(static_cast<double>(x), static_cast<double>(y), static_cast<double>(z) - f);
}

TEST(SparklerHeads, SymmetricHeadsShareOneDistanceAndSpreadTheirHues) {
  auto rig = SparklerRig(true, 20);
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
  auto rig = SparklerRig(false, 4);
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
  auto rig = SparklerRig(false, 5);
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

}  // namespace
}  // namespace qsrn
