// The Starfield and Stars and Gravity Wells run headless with fixed seeds: stars recycled at the
// near plane and at the screen's edges, the comet's paths and shed stars; the gravity wells'
// inverse-distance pull with its hue.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "effects/gravity.h"
#include "effects/starfield.h"
#include "engine_rig.h"

namespace qsrn {
namespace {

struct Rig : testing::EngineRig {
  Starfield engine;

  explicit Rig(uint64_t seed = 7) : EngineRig(EffectIndex::Starfield, 320, 240, seed) {}
  const Starfield::State& st() const { return engine.state(); }
  void Run(int frames) {
    for (int i = 0; i < frames; ++i) engine.Step(ctx);
  }
};

// Puts a live plain star where a test needs it.
void PlaceStar(Starfield::State& s, size_t i, float x, float y, float z) {
  s.StarX[i] = x;
  s.StarY[i] = y;
  s.StarZ[i] = z;
  s.StarDX[i] = s.StarDY[i] = 0;
  s.StarAlive[i] = 1;
  s.StarInSphere[i] = 0;
}

}  // namespace

// A star is recycled when it reaches the near plane (even dead centre on screen) or passes an
// edge of the screen, but not on the edge itself: at 320 x 240 columns 0 and 320, rows 0 and 240.
TEST(Starfield, StarsRecycledAtTheNearPlaneAndPastTheEdges) {
  Rig r;
  r.ctx.settings.Star_Dyson_Percent = 0;
  r.ctx.settings.Star_Comet_Percent = 0;
  r.ctx.settings.Star_Speed = 0.5f;
  r.engine.Setup(r.ctx);
  Starfield::State& s = r.engine.state();
  // Each edge star moves from depth 1.5 to exactly 1, where x = 1 lands on column 320.
  const float edge[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (size_t i = 0; i < 4; ++i) {
    PlaceStar(s, i, edge[i][0], edge[i][1], 1.5f);
    PlaceStar(s, 4 + i, edge[i][0] * 1.01f, edge[i][1] * 1.01f, 1.5f);
  }
  r.engine.Step(r.ctx);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(s.StarZ[i], 1.0f) << "star on edge " << i << " stays";
    EXPECT_EQ(s.StarZ[4 + i], s.ZFar) << "star past edge " << i << " is recycled";
  }
  EXPECT_EQ(r.surface.GetPixel(0, 120), s.StarColour[1]);
  PlaceStar(s, 8, 0, 0, 0.501f);   // reaches 0.001: recycled
  PlaceStar(s, 9, 0, 0, 0.5025f);  // reaches 0.0025: still in front of the eye
  r.engine.Step(r.ctx);
  EXPECT_EQ(s.StarZ[8], s.ZFar);
  EXPECT_TRUE(s.StarAlive[8]);
  EXPECT_NEAR(s.StarZ[9], 0.0025f, 1e-6);
}

// Every star shed by the comet starts at its head, one spread away, and drifts by its own step.
TEST(Starfield, CometShedsStarsThatDrift) {
  Rig all;
  all.ctx.settings.Star_Comet_Percent = 100;
  all.ctx.settings.Star_Dyson_Percent = 0;
  all.engine.Setup(all.ctx);
  const Starfield::State& st = all.st();
  for (size_t i = 0; i < st.StarX.size(); ++i) {
    EXPECT_EQ(st.StarX[i], st.CometX);
    EXPECT_EQ(st.StarZ[i], st.CometZ);
    const float len = std::hypot(st.StarDX[i], st.StarDY[i]);
    EXPECT_NEAR(len, st.CometSpread, 1e-6);
  }
  const std::vector<float> x = st.StarX, dx = st.StarDX;
  all.engine.Step(all.ctx);
  int drifted = 0;
  for (size_t i = 0; i < x.size(); ++i) drifted += st.StarX[i] == x[i] + dx[i];
  EXPECT_GT(drifted, static_cast<int>(x.size()) / 2);
}

// A ballistic comet crosses from an edge to the opposite one in its lifespan, then starts again on
// an edge; a wandering one follows four random knots and rolls them on at the end of its lifespan.
TEST(Starfield, CometPaths) {
  Rig r;
  r.ctx.settings.Star_Comet_NonBallistic = false;
  r.ctx.settings.Star_Comet_Lifespan = 10;
  for (uint64_t seed = 1; seed <= 4; ++seed) {
    r.ctx.rng.Seed(seed);
    r.engine.Setup(r.ctx);
    const Starfield::State& st = r.st();
    const bool onX = std::fabs(st.CometX) == 1.0f;
    ASSERT_TRUE(onX || std::fabs(st.CometY) == 1.0f);
    const float start = onX ? st.CometX : st.CometY;
    EXPECT_EQ(st.CometZ, st.ZFar);
    r.Run(10);
    EXPECT_NEAR(onX ? st.CometX : st.CometY, -start, 1e-5);
    r.Run(1);  // frame 11 passes the lifespan: a new path starts on an edge
    EXPECT_EQ(st.CometFrame, 0);
    EXPECT_TRUE(std::fabs(st.CometX) == 1.0f || std::fabs(st.CometY) == 1.0f);
  }
  r.ctx.settings.Star_Comet_NonBallistic = true;
  r.engine.Setup(r.ctx);
  const Starfield::State& st = r.st();
  const auto knotsX = st.CometKnotX;
  const auto knotsY = st.CometKnotY;
  for (float k : knotsX) EXPECT_TRUE(k >= -0.5f && k < 0.5f);
  EXPECT_EQ(std::set<float>(knotsX.begin(), knotsX.end()).size(), 4u);
  r.Run(10);
  EXPECT_EQ(st.CometKnotX, knotsX);
  r.Run(1);  // t = 11/10 on the old knots, then the window rolls
  EXPECT_EQ(st.CometFrame, 0);
  EXPECT_EQ(st.CometKnotX[2], knotsX[3]);
  EXPECT_EQ(st.CometKnotY[0], knotsY[1]);
  EXPECT_NE(st.CometKnotX[3], knotsX[3]);
  EXPECT_NEAR(st.CometZ, st.ZFar, 1e-5);
}

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
