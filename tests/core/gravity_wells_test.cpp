// Stars and Gravity Wells run headless: the 32000 rule, the eraser's trail, cycles and refresh,
// the inverse-distance pull, the hue modes and the attractors' circles.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "effects/gravity.h"
#include "effects/gravity_galaxy_common.h"
#include "gravity_galaxy_harness.h"

namespace qsrn {
namespace {

using testing::Harness;

struct GravityRun : Harness {
  GravityLoop engine;
  explicit GravityRun(bool clampFirst = true, int32_t w = 640, int32_t h = 480)
      : Harness(w, h, 12345, EffectIndex::GravityWells), engine(clampFirst) {}
  void Setup() { engine.Setup(ctx); }
  const GravityState& S() const { return engine.State(); }
  bool AllFinite() const {
    const GravityState& g = S();
    for (int32_t i = 0; i < g.Particles; ++i)
      for (float v : {g.ParticleX[i], g.ParticleY[i], g.ParticleZ[i], g.ParticleVX[i], g.ParticleVY[i], g.ParticleVZ[i]})
        if (!std::isfinite(v)) return false;
    return true;
  }
};

// 2000 x 16 = 32000 positions fit the trail ring; 2000 x 17 take the erasers instead.
TEST(GravityWellsTrails, ThirtyTwoThousandRuleChoosesTheMode) {
  for (int16_t L : {16, 17}) {
    GravityRun run;
    run.ctx.settings.OrbitTrailLength = L;
    run.Setup();
    EXPECT_EQ(run.S().TrailMode, L == 16);
    EXPECT_EQ(run.S().TrailX.size(), L == 16 ? 32000u : 0u);
    EXPECT_EQ(run.S().EraserX.size(), L == 16 ? 0u : 2000u);
  }
}

TEST(GravityWellsTrails, EraserRetracesTheParticleTrailLengthFramesBehind) {
  GravityRun run;
  run.ctx.settings.OrbitTrailLength = 17;
  run.ctx.settings.Grav_Attractors = 3;
  run.Setup();
  ASSERT_FALSE(run.S().TrailMode);
  const int32_t L = 17;
  std::vector<std::vector<float>> historyX, historyZ;
  historyX.push_back(run.S().ParticleX);
  historyZ.push_back(run.S().ParticleZ);
  for (int frame = 1; frame <= 60; ++frame) {
    run.engine.Step(run.ctx);
    historyX.push_back(run.S().ParticleX);
    historyZ.push_back(run.S().ParticleZ);
    // The eraser starts moving at frame L, so after frame f it stands where the particle
    // stood after frame f - L (before that, at the start).
    const int behind = frame >= L ? frame - L + 1 : 0;
    ASSERT_EQ(run.S().EraserX, historyX[behind]) << "frame " << frame;
    ASSERT_EQ(run.S().EraserZ, historyZ[behind]) << "frame " << frame;
  }
}

TEST(GravityWellsCycles, RefreshStartsACycleAfterEveryRefreshFrames) {
  GravityRun run;
  run.ctx.settings.Grav_Refresh = 10;
  run.ctx.settings.Grav_ARadius = 0;
  run.Setup();
  const float emitterX = run.S().EmitterX[0];
  run.Run(run.engine, 10);
  EXPECT_EQ(run.S().Cycles, 1);  // the new cycle waits until after the frame-end checks
  run.Run(run.engine, 15);
  EXPECT_EQ(run.S().Cycles, 3);
  EXPECT_EQ(run.S().CycleFrame, 5);
  EXPECT_NE(run.S().EmitterX[0], emitterX);
  // The screen was cleared 5 frames ago: no more than 5 positions per particle remain.
  EXPECT_LE(run.Lit().size(), 2000u * 5u);

  for (int16_t refresh : {1, 0}) {  // a new arrangement every frame, or never
    GravityRun other;
    other.ctx.settings.Grav_Refresh = refresh;
    other.Setup();
    other.Run(other.engine, 5);
    EXPECT_EQ(other.S().Cycles, refresh ? 5 : 1);
    EXPECT_EQ(other.S().CycleFrame, refresh ? 1 : 5);
  }
}

// The pull has size mass / distance towards the attractor, on whichever axis the particle lies;
// in colour mode 0 the hue is the distance from the eye x 0.01 x HueMultiplier.
TEST(GravityWellsPull, FallsOffAsTheInverseOfTheDistance) {
  for (int axis = 0; axis < 3; ++axis) {
    for (float d : {0.1f, -0.4f}) {
      GravityRun run(false);
      EffectSettings& s = run.ctx.settings;
      s.Grav_Attractors = 1;
      s.Gravity = 0.001f;
      s.EmitSpeed = 0.01f;
      s.ParticleCount = 10;
      s.Grav_ARadius = 0;
      s.Grav_ColorComp = 0;
      s.HueMultiplier = 1000;
      run.Setup();
      GravityState& g = run.engine.MutableState();
      float* p[3] = {&g.ParticleX[0], &g.ParticleY[0], &g.ParticleZ[0]};
      const float a[3] = {g.AttractorX[0], g.AttractorY[0], g.AttractorZ[0]};
      for (int k = 0; k < 3; ++k) *p[k] = a[k] + (k == axis ? d : 0.0f);
      g.ParticleVX[0] = g.ParticleVY[0] = g.ParticleVZ[0] = 0;
      run.engine.Step(run.ctx);
      const float v[3] = {run.S().ParticleVX[0], run.S().ParticleVY[0], run.S().ParticleVZ[0]};
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(v[k], k == axis ? -0.001f / d : 0.0f, 1e-6) << axis << " " << d;
      const double x = g.ParticleX[0], y = g.ParticleY[0], z = g.ParticleZ[0];
      const double hue = std::sqrt(x * x + y * y + z * z) * 0.01 * 1000;
      EXPECT_EQ(run.surface.GetPixel(ProjectX(run.ctx.geometry, g.ParticleX[0], g.ParticleZ[0]),
                                     ProjectY(run.ctx.geometry, g.ParticleY[0], g.ParticleZ[0])),
                run.ctx.colors.HueTable[static_cast<size_t>(std::nearbyint(hue)) % 360]);
    }
  }
}

TEST(GravityWellsPull, ParticleOnAnAttractorStaysFinite) {
  GravityRun run(false);
  EffectSettings& s = run.ctx.settings;
  s.Gravity = 0.03f;
  s.EmitSpeed = 0.001f;
  s.Grav_ARadius = 0;
  run.Setup();
  GravityState& g = run.engine.MutableState();
  // One exactly on the attractor at rest, one a denormal distance away.
  g.ParticleX[0] = g.AttractorX[0];
  g.ParticleY[0] = g.AttractorY[0];
  g.ParticleZ[0] = g.AttractorZ[0];
  g.ParticleVX[0] = g.ParticleVY[0] = g.ParticleVZ[0] = 0;
  g.ParticleX[1] = g.AttractorX[1] + 1e-30f;
  g.ParticleY[1] = g.AttractorY[1];
  g.ParticleZ[1] = g.AttractorZ[1];
  for (int frame = 0; frame < 100; ++frame) {
    run.engine.Step(run.ctx);
    ASSERT_TRUE(run.AllFinite()) << "frame " << frame;
  }
}

TEST(GravityWellsColor, HueModesDifferAndOutOfRangeModesTakeTheNearest) {
  auto picture = [](int16_t mode) {
    GravityRun run;
    run.ctx.settings.Grav_ColorComp = mode;
    run.Setup();
    run.Run(run.engine, 30);
    return std::vector<uint32_t>(run.surface.Pixels(), run.surface.Pixels() + 640 * 480);
  };
  const auto distance = picture(0), velocity = picture(1), acceleration = picture(2);
  EXPECT_NE(distance, velocity);
  EXPECT_NE(velocity, acceleration);
  EXPECT_EQ(picture(-3), distance);
  EXPECT_EQ(picture(7), acceleration);
}

// Each attractor's circle fills the box of 2R pixels from (sx - R, sy - R): radius 1 is a 2 x 2
// block whose bottom-right pixel is the projected centre; radius 0 draws nothing. A circle on the
// bottom edge is drawn as far as it is on the surface.
TEST(GravityWellsCircles, AttractorCircleFillsItsBoxOfTwoRadii) {
  for (auto [radius, onBottomEdge] : {std::pair{0, false}, {1, false}, {5, false}, {5, true}}) {
    GravityRun run;
    run.ctx.settings.Grav_ARadius = static_cast<int16_t>(radius);
    run.ctx.settings.Grav_Attractors = 1;
    run.Setup();
    GravityState& g = run.engine.MutableState();
    const SurfaceGeometry& geo = run.ctx.geometry;
    if (onBottomEdge) g.AttractorY[0] = static_cast<float>(geo.ScreenHeight - geo.CenterY) / geo.ScaleY * g.AttractorZ[0];
    run.engine.Step(run.ctx);
    const int32_t sx = ProjectX(geo, g.AttractorX[0], g.AttractorZ[0]);
    const int32_t sy = ProjectY(geo, g.AttractorY[0], g.AttractorZ[0]);
    std::set<std::pair<int32_t, int32_t>> white;
    for (const auto& [x, y] : run.Lit())
      if (run.surface.GetPixel(x, y) == 0xFFFFFF) white.insert({x, y});
    if (radius == 0) {
      EXPECT_TRUE(white.empty());
      continue;
    }
    std::set<int32_t> xs, ys;
    for (const auto& [x, y] : white) {
      xs.insert(x);
      ys.insert(y);
      EXPECT_TRUE(white.count({2 * sx - 1 - x, y})) << "symmetric";
    }
    ASSERT_FALSE(white.empty()) << radius << onBottomEdge;
    EXPECT_EQ(*xs.begin(), sx - radius);
    EXPECT_EQ(*xs.rbegin(), sx + radius - 1);
    EXPECT_EQ(*ys.begin(), sy - radius);
    EXPECT_EQ(*ys.rbegin(), onBottomEdge ? geo.ScreenHeight - 1 : sy + radius - 1);
    if (!onBottomEdge) {
      EXPECT_EQ(white.size(), radius == 1 ? 4u : 24u) << "an outline, not a disc";
    }
  }
}

}  // namespace
}  // namespace qsrn
