// Stars and Gravity Wells run headless: the inverse-distance pull with its hue.
#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
}  // namespace qsrn
