// The galaxy's star events: the flash and nova glyphs, burst and comet slots, the solar wind,
// and the ambient stars' persistence, shell and colour ramp.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/galaxy.h"
#include "effects/galaxy_events.h"
#include "gravity_galaxy_harness.h"

namespace qsrn {
namespace {

using testing::GalaxyRun;
using testing::Harness;

GalaxyParams FactoryParams() {
  EffectSettings s = testing::FactorySettings(EffectIndex::Galaxies);
  return ClampGalaxySettings(s);
}

TEST(GalaxyNewStarGlyph, RowsShrinkWithTheRemainingFrames) {
  Harness h(400, 400);
  GalaxyParams p = FactoryParams();
  p.NewExt = 2;  // e = 2 pixels at depth 1
  p.NewFrames = 3;
  const int expected[] = {33, 17, 7};  // q = 1, 0.667, 0.333
  for (int frames = 3; frames >= 1; --frames) {
    DrawNewStar(h.ctx, p, 200, 200, 1.0f, frames, 0xFFFFFF);
    EXPECT_EQ(h.CountColor(0xFFFFFF), expected[3 - frames]) << "frames " << frames;
    DrawNewStar(h.ctx, p, 200, 200, 1.0f, frames, 0);
    EXPECT_TRUE(h.Lit().empty());
  }
  // Below a tenth of the frames only the centre remains.
  p.NewFrames = 20;
  DrawNewStar(h.ctx, p, 200, 200, 1.0f, 1, 0xFFFFFF);
  EXPECT_EQ(h.CountColor(0xFFFFFF), 1);
}

TEST(GalaxyNovaGlyph, LayersInFrontOfTheEyeAreLeftOut) {
  GalaxyParams p = FactoryParams();
  p.NovaExt = 0.9999f;
  p.NovaFrames = 40;
  auto lit = [](const Harness& h, double dx, double dy) {
    return h.surface.GetPixel(static_cast<int32_t>(std::nearbyint(500 + dx)), static_cast<int32_t>(std::nearbyint(500 + dy))) != 0;
  };
  {
    // Depth 0.05, within 0.1 M of the eye: the layer at z - 0.1 M would lie at -0.05 and,
    // if drawn, mirror its pair (3, 10) out to (60, 200); the one at z + 0.1 M puts it at (20, 67).
    Harness h(1000, 1000);
    DrawNova(h.ctx, p, 0, 0, 0.05f, 40, 0xFFFFFF);
    const double eBehind = 1.0 / static_cast<float>(0.05 + 0.1 * 0.9999f) * 0.9999f;
    EXPECT_TRUE(lit(h, 3 * eBehind, 10 * eBehind));
    EXPECT_FALSE(lit(h, 60, 200));
    EXPECT_FALSE(lit(h, -60, -200));
    DrawNova(h.ctx, p, 0, 0, 0.05f, 40, 0);
    EXPECT_TRUE(h.Lit().empty());
  }
  {
    // Depth 0.5: all five layers, the one in front included.
    Harness h(1000, 1000);
    DrawNova(h.ctx, p, 0, 0, 0.5f, 40, 0xFFFFFF);
    const double eFront = 1.0 / static_cast<float>(0.5 - 0.1 * 0.9999f) * 0.9999f;
    EXPECT_TRUE(lit(h, 3 * eFront, 10 * eFront));
  }
}

TEST(GalaxyBursts, SlotCountsShareTheTwoThousandStars) {
  StarBursts b;
  b.Allocate(999);
  EXPECT_EQ(b.Slots, 2);
  b.Allocate(1);
  EXPECT_EQ(b.Slots, 2000);
  b.Allocate(100);
  EXPECT_EQ(b.Slots, 20);
  Comets c;
  c.Allocate(60);
  EXPECT_EQ(c.Slots, 33);
  c.Allocate(999);
  EXPECT_EQ(c.Slots, 2);
}

TEST(GalaxyBursts, SlotsAreTakenOnlyWhenFreeAndCountTheirStars) {
  GalaxyRun run;
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 100;
  s.Galaxy_BurstFreq = 9999;
  s.Galaxy_BurstStars = 999;
  s.Galaxy_BurstPersist = 0.99f;
  s.Galaxy_Velocity = 0;
  run.Setup();
  bool bothUsed = false;
  for (int frame = 0; frame < 200; ++frame) {
    run.Run(1);
    const StarBursts& b = run.engine.Bursts();
    ASSERT_EQ(b.Slots, 2);
    int liveSlots = 0;
    for (int32_t slot = 0; slot < b.Slots; ++slot) {
      int alive = 0;
      for (int32_t j = 0; j < b.StarsPerSlot; ++j) alive += b.Alive[slot * b.StarsPerSlot + j] != 0;
      ASSERT_EQ(alive, b.LiveCount[slot]);
      liveSlots += b.LiveCount[slot] > 0;
    }
    bothUsed = bothUsed || liveSlots == 2;
  }
  EXPECT_TRUE(bothUsed);
}

TEST(GalaxyBursts, SingleStarBurstsUseManySlots) {
  GalaxyRun run;
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 100;
  s.Galaxy_BurstFreq = 9999;
  s.Galaxy_BurstStars = 1;
  s.Galaxy_BurstPersist = 0.99f;
  s.Galaxy_Velocity = 0;
  run.Setup();
  run.Run(300);
  const StarBursts& b = run.engine.Bursts();
  int live = 0;
  for (int32_t slot = 0; slot < b.Slots; ++slot) {
    ASSERT_LE(b.LiveCount[slot], 1);
    live += b.LiveCount[slot];
  }
  EXPECT_GT(live, 50);  // one new burst a frame at most, each living about 100 frames
}

// Share of a comet's sparks whose velocity points away from the scene centre (0, 0, 1).
double ShareBlownOutward(double wind) {
  GalaxyRun run;
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 100;
  s.Galaxy_CometFreq = 9999;
  s.Galaxy_CometStars = 999;
  s.Galaxy_CometSWind = static_cast<float>(wind);
  s.Galaxy_CometSPersist = 0.99f;
  s.Galaxy_Velocity = 0;
  run.Setup();
  run.Run(1);
  const Comets& c = run.engine.CometSlots();
  int outward = 0, alive = 0;
  for (int32_t k = 0; k < c.Slots * c.SparksPerSlot; ++k) {
    if (c.Alive[k] == 0) continue;
    ++alive;
    const double dot = c.VX[k] * c.X[k] + c.VY[k] * c.Y[k] + c.VZ[k] * (c.Z[k] - 1.0);
    outward += dot > 0;
  }
  EXPECT_GT(alive, 900);
  return static_cast<double>(outward) / alive;
}

TEST(GalaxyComets, SolarWindBlowsSparksAwayFromTheCentre) {
  const double calm = ShareBlownOutward(0);
  EXPECT_GT(calm, 0.3);
  EXPECT_LT(calm, 0.7);
  EXPECT_GT(ShareBlownOutward(9999), 0.99);
}

TEST(GalaxyAmbient, NoAmbientStarsMeansNone) {
  GalaxyRun run;
  run.ctx.settings.Galaxy_AmbStars = 0;
  run.Setup();
  run.Run(5);
  EXPECT_EQ(run.engine.Ambient().Count(), 0);
}

TEST(GalaxyAmbient, PersistenceOneNeverRenewsAndKeepsApproaching) {
  GalaxyRun run;
  run.ctx.settings.Galaxy_AmbPersist = 1.0f;
  run.ctx.settings.Galaxy_AmbStars = 300;
  run.Setup();
  const AmbientStars start = run.engine.Ambient();
  const float V = run.engine.Params().Velocity;
  run.Run(100);
  const AmbientStars& a = run.engine.Ambient();
  for (int32_t i = 0; i < a.Count(); ++i) {
    float z = start.Z[i];
    for (int k = 0; k < 100; ++k) z += -V;
    ASSERT_EQ(a.X[i], start.X[i]);
    ASSERT_EQ(a.Z[i], z);
    ASSERT_FLOAT_EQ(a.ColorAge[i], 50.0f);
  }
}

TEST(GalaxyAmbient, SymmetryOnePutsRenewedStarsOnTheSquashedShell) {
  GalaxyRun run;
  EffectSettings& s = run.ctx.settings;
  s.Galaxy_AmbSymmetry = 1.0f;
  s.Galaxy_AmbPersist = 0.25f;
  s.Galaxy_AmbStars = 500;
  run.Setup();
  run.Run(3);
  const AmbientStars& a = run.engine.Ambient();
  const GalaxyParams& p = run.engine.Params();
  const double D = run.engine.View().D + p.Velocity;  // the depth the renewal used
  const double aspect = run.ctx.geometry.AspectRatio;
  int renewed = 0;
  for (int32_t i = 0; i < a.Count(); ++i) {
    if (a.ColorAge[i] != p.AmbAgeInc) continue;  // renewed in the last frame
    ++renewed;
    const double x = a.X[i] / aspect, y = a.Y[i], z = a.Z[i] - D;
    EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), p.AmbRadius, 1e-3 * p.AmbRadius);
    EXPECT_GE(z, -1e-4);
  }
  EXPECT_GT(renewed, 250);
}

TEST(GalaxyAmbient, ShellMappingKeepsTheCentreAndSymmetryZeroKeepsThePoint) {
  float x = 0, y = 0, z = 0;
  MapToAmbientShell(x, y, z, 25, 1, 0.75f);
  EXPECT_EQ(x, 0.0f);
  EXPECT_EQ(y, 0.0f);
  EXPECT_EQ(z, 0.0f);
  x = 3, y = -4, z = 12;
  MapToAmbientShell(x, y, z, 25, 0, 1.0f);
  EXPECT_FLOAT_EQ(x, 3);
  EXPECT_FLOAT_EQ(y, -4);
  EXPECT_FLOAT_EQ(z, 12);
}

TEST(GalaxyAmbient, RandomPointsFallInsideTheBall) {
  Harness h;
  for (float radius : {0.0f, 1.0f, 25.0f}) {
    for (int n = 0; n < 500; ++n) {
      float x, y, z;
      RandomPointInBall(h.ctx, x, y, z, radius);
      ASSERT_LE(std::sqrt(x * x + y * y + z * z), radius * 1.000001f);
    }
  }
}

TEST(GalaxyAmbient, AgedStarsUseTheLastRampEntry) {
  GalaxyRun run;
  testing::SetGalaxyEventsOff(run.ctx.settings);
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 10;
  s.Galaxy_ColorComp = 4;
  s.Galaxy_Velocity = 0;
  s.Galaxy_AmbStars = 999;
  s.Galaxy_AmbPersist = 1.0f;
  s.Galaxy_AmbCAgeInc = 0.5f;
  run.Setup();
  run.Run(200);  // the 200th frame is drawn at colour age 99.5, which rounds to 100
  const auto lit = run.Lit();
  ASSERT_GT(lit.size(), 50u);
  EXPECT_EQ(run.CountColor(run.ctx.colors.AgeRamp[99]), static_cast<int>(lit.size()));
}

}  // namespace
}  // namespace qsrn
