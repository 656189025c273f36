// Stars and Gravity Wells run headless: the inverse-distance pull with its hue, and the
// attractors' circles.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "effects/gravity.h"
#include "engine_rig.h"

namespace qsrn {
namespace {

struct GravityRun : testing::EngineRig {
  GravityLoop engine;
  explicit GravityRun(bool clampFirst = true)
      : EngineRig(EffectIndex::GravityWells, 640, 480, 12345), engine(clampFirst) {}
  void Setup() { engine.Setup(ctx); }
  const GravityState& S() const { return engine.State(); }
};

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
