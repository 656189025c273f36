// The galaxy's shape (the seven thickness profiles at their sample radii), and the star
// lifecycle seen through the pixels it leaves.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/galaxy.h"
#include "effects/galaxy_shape.h"
#include "galaxy_rig.h"

namespace qsrn {
namespace {

using testing::GalaxyRun;

struct Sample {
  double r, E;  // in units of R
};

TEST(GalaxyProfiles, EnvelopesAtTheirSampleRadii) {
  const double R = 2.0;
  const struct {
    GalaxyProfile profile;
    std::vector<Sample> samples;
  } cases[] = {
      {GalaxyProfile::Standard, {{0, 1}, {0.25, 0.7}, {0.5, 0.4}, {1, 0}}},
      {GalaxyProfile::TopLike, {{0, 1}, {0.1, 0.75}, {0.75, 0.25}, {1, 0}}},
      {GalaxyProfile::Spherical, {{0, 1}, {0.6, 0.8}, {1, 0}}},
      {GalaxyProfile::Conical, {{0, 1}, {0.5, 0.5}, {1, 0}}},
      {GalaxyProfile::Hyperbolic, {{0, 1}, {1, 0}}},
      {GalaxyProfile::OuterHyperbolic, {{0, 0}, {1, 1}}},
      {GalaxyProfile::InnerHyperbolic, {{0, 0}, {1, 1}}},
  };
  for (const auto& c : cases)
    for (const Sample& s : c.samples)
      EXPECT_NEAR(ProfileEnvelope(static_cast<int32_t>(c.profile), s.r * R, R), s.E * R, 2e-3 * R)
          << "profile " << static_cast<int>(c.profile) << " at " << s.r << "R";
}

// Star 9 of 10 is sent into its countdown with no novas: it must come back as a new star whose
// flash shrinks one row per frame over Galaxy_NewFrames and then turns into an ordinary star.
TEST(GalaxyLifecycle, NewStarFlashShrinksRowByRow) {
  GalaxyRun run(400, 400);
  testing::SetGalaxyEventsOff(run.ctx.settings);
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 10;
  s.Galaxy_Radius = 1;  // a galaxy of 0.01: every star within a pixel of the centre
  s.Galaxy_Distance = 500;
  s.Galaxy_Velocity = 0;
  s.Galaxy_NewExtMult = 9999;  // e = 1 / 5 x 9.999, two pixels
  s.Galaxy_ColorComp = 0;
  run.Setup();
  const int32_t L = run.engine.Params().Trail;
  run.Run(L + 1);
  run.engine.MutableStars().Countdown[9] = static_cast<int16_t>(L + 1);
  run.Run(L);  // counting down: not drawn
  EXPECT_EQ(run.CountColor(0xFFFFFF), 0);
  const int expected[] = {33, 33, 25, 21, 17, 13, 9, 7, 5, 3};
  for (int frame = 0; frame < 10; ++frame) {
    run.Run(1);
    EXPECT_EQ(run.engine.Stars().NewFlash[9], 10 - frame);
    EXPECT_EQ(run.CountColor(0xFFFFFF), expected[frame]) << "flash frame " << frame;
  }
  run.Run(1);
  EXPECT_EQ(run.engine.Stars().NewFlash[9], 0);
  EXPECT_EQ(run.CountColor(0xFFFFFF), 0);
  const auto& t = run.engine.TrailX();
  const int32_t slot = 9 * L + (run.engine.TrailIndex() + L - 1) % L;
  EXPECT_EQ(run.surface.GetPixel(t[slot], run.engine.TrailY()[slot]), run.engine.Stars().Color[9]);
}

TEST(GalaxyLifecycle, NovaFadesToTheLastRampEntryAtMost) {
  GalaxyRun run;
  testing::SetGalaxyEventsOff(run.ctx.settings);
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 10;
  s.Galaxy_Velocity = 0;
  s.Galaxy_ColorComp = 4;  // ordinary stars black: only the nova shows
  s.Galaxy_NovaFrames = 999;
  run.Setup();
  run.Run(3);
  GalaxyStars& stars = run.engine.MutableStars();
  // The nova's last drawn frame: (999 - 1) x (100 / 999) is 99.9, which rounds to 100.
  stars.Nova[9] = 2;
  run.Run(1);
  ASSERT_EQ(run.engine.Stars().Nova[9], 1);
  const int32_t last = run.ctx.colors.AgeRamp[99];
  const auto lit = run.Lit();
  ASSERT_GT(lit.size(), 10u);
  EXPECT_EQ(run.CountColor(last), static_cast<int>(lit.size()));
  // Then it comes back as a new star.
  run.Run(1);
  EXPECT_EQ(run.engine.Stars().Nova[9], 0);
  EXPECT_EQ(run.engine.Stars().NewFlash[9], run.engine.Params().NewFrames);
  EXPECT_EQ(run.CountColor(last), 0);
}

}  // namespace
}  // namespace qsrn
