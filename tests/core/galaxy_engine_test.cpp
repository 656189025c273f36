// The galaxy's settings and shape (the clamps and scalings of RunGalaxy, the seven thickness
// profiles at their sample radii and the star placement inside them), and the engine run
// headless: the trail ring, passes, the hue rules, the new-star selection and the star lifecycle
// seen through the pixels it leaves.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "effects/galaxy.h"
#include "effects/galaxy_settings.h"
#include "effects/galaxy_shape.h"
#include "effects/gravity_galaxy_common.h"
#include "gravity_galaxy_harness.h"
#include "settings/catalogue.h"
#include "settings/loaders.h"
#include "settings/store.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

using testing::GalaxyRun;

// The factory values in scene units; the trail is capped by the ring of 32000 positions.
TEST(GalaxySettings, FactoryValuesScaleAndTheTrailIsCapped) {
  EffectSettings s = testing::FactorySettings(EffectIndex::Galaxies);
  const GalaxyParams p = ClampGalaxySettings(s);
  EXPECT_EQ(p.Stars, 2500);
  EXPECT_FLOAT_EQ(p.Radius, 2.0f);
  EXPECT_FLOAT_EQ(p.Rotation, 0.0003f);
  EXPECT_FLOAT_EQ(p.Distance, 300.0f);  // scaled only when a pass starts
  EXPECT_FLOAT_EQ(p.Velocity, 0.00375f);
  EXPECT_EQ(p.Trail, 2);
  EXPECT_NEAR(p.Tilt, 20 * 6.2831855 / 360, 1e-6);
  EXPECT_NEAR(p.TiltInc, 0.043 * 6.2831855 / 360, 1e-9);
  EXPECT_FLOAT_EQ(p.NewExt, 0.2f);
  EXPECT_FLOAT_EQ(p.NovaRampStep, 2.5f);
  EXPECT_FLOAT_EQ(p.CometWind, 0.003f);
  EXPECT_FLOAT_EQ(p.AmbRadius, 25.0f);
  EXPECT_FLOAT_EQ(s.Galaxy_NovaFreq, 0.02f);  // written back to the record
  for (auto [stars, length, trail] : {std::tuple{30000, 999, 1}, {2000, 999, 16}, {3, 0, 1}}) {
    s.ParticleCount = static_cast<int16_t>(stars);
    s.OrbitTrailLength = length;
    EXPECT_EQ(ClampGalaxySettings(s).Trail, trail) << stars;
  }
  EXPECT_EQ(ClampGalaxySettings(s).Stars, 10);
}

// Below and above its range each whole-number setting is clamped to the end the dialog offers
// (with few stars, so that the ring of 32000 positions does not cap the trail first).
TEST(GalaxySettings, ClampsToTheDialogsRanges) {
  for (const KeySpec& k : Section(SectionId::Galaxy).keys) {
    const auto* field = std::get_if<int16_t EffectSettings::*>(&k.field);
    if (field == nullptr || k.type != KeyType::Integer) continue;
    for (const double end : {k.lo, k.hi}) {
      EffectSettings s = testing::FactorySettings(EffectIndex::Galaxies);
      s.ParticleCount = 10;
      s.**field = static_cast<int16_t>(end == k.lo ? end - 1 : end + 1);
      ClampGalaxySettings(s);
      EXPECT_EQ(s.**field, end) << k.key;
    }
  }
}

// Whole-number settings round half to even; values that are no number take the low end.
TEST(GalaxySettings, RoundingHalvesToEvenAndNotANumberTakesTheLowEnd) {
  EffectSettings s = testing::FactorySettings(EffectIndex::Galaxies);
  s.Galaxy_Radius = 2.5f;     // 2, not 3
  s.Galaxy_NovaFreq = 0.5f;   // 0
  s.Galaxy_Velocity = 1e30f;  // 9999
  s.Galaxy_AngleTilt = std::nanf("");
  const GalaxyParams p = ClampGalaxySettings(s);
  EXPECT_FLOAT_EQ(p.Radius, 0.02f);
  EXPECT_FLOAT_EQ(p.NovaProb, 0.0f);
  EXPECT_FLOAT_EQ(p.Velocity, 0.09999f);
  EXPECT_FLOAT_EQ(p.Tilt, 0.0f);
}

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

TEST(GalaxyProfiles, JustBeyondTheRimTheEnvelopeIsANumber) {
  const double R = 0.01, r = R + 0.000000001;
  for (int profile = 0; profile <= 6; ++profile) {
    const double E = ProfileEnvelope(profile, r, R);
    EXPECT_TRUE(std::isfinite(E)) << "profile " << profile;
    EXPECT_LE(std::fabs(E), R * 1.0001) << "profile " << profile;
  }
}

TEST(GalaxyPlaceStar, StarsStayInsideTheirProfileEnvelope) {
  testing::Harness h;
  EffectSettings s = testing::FactorySettings(EffectIndex::Galaxies);
  GalaxyParams p = ClampGalaxySettings(s);
  p.HeightWidthRatio = 0.7f;
  for (int profile = 0; profile <= 6; ++profile) {
    p.Profile = profile;
    for (float heightExp : {0.0f, 1.0f, 2.0f}) {
      p.HeightExp = heightExp;
      int above = 0, below = 0;
      for (int n = 0; n < 3000; ++n) {
        float r, height;
        PlaceStar(h.ctx, p, r, height);
        ASSERT_GT(r, 0.0f);
        ASSERT_LE(r, p.Radius * 1.000001f);
        const double limit = ProfileEnvelope(profile, r, p.Radius) * p.HeightWidthRatio;
        ASSERT_LE(std::fabs(height), limit * (1 + 1e-6) + 1e-7) << "profile " << profile;
        above += height > 0;
        below += height < 0;
      }
      if (heightExp > 0) {
        EXPECT_GT(above, 1200);
        EXPECT_GT(below, 1200);
      }
    }
  }
}

TEST(GalaxyTrail, EveryLitPixelIsInTheTrailRing) {
  GalaxyRun run;
  testing::SetGalaxyEventsOff(run.ctx.settings);
  run.ctx.settings.OrbitTrailLength = 6;
  run.ctx.settings.Galaxy_Rotation = 3000;
  run.Setup();
  for (int frame = 0; frame < 30; ++frame) {
    run.Run(1);
    std::set<std::pair<int32_t, int32_t>> ring;
    for (size_t i = 0; i < run.engine.TrailX().size(); ++i) ring.insert({run.engine.TrailX()[i], run.engine.TrailY()[i]});
    for (const auto& p : run.Lit()) ASSERT_TRUE(ring.count(p)) << "frame " << frame;
  }
}

TEST(GalaxyPasses, APassEndsHalfARadiusBehindTheEye) {
  GalaxyRun still;  // without velocity a pass never ends
  still.ctx.settings.ParticleCount = 10;
  still.ctx.settings.Galaxy_Velocity = 0;
  still.Setup();
  still.Run(1100);
  EXPECT_EQ(still.engine.Passes(), 1);
  GalaxyRun run;
  testing::SetGalaxyEventsOff(run.ctx.settings);
  run.ctx.settings.ParticleCount = 10;
  run.Setup();
  // (3 + 0.5 x 2) / 0.00375 = 1066.7 frames.
  run.Run(1060);
  EXPECT_EQ(run.engine.Passes(), 1);
  run.Run(15);
  EXPECT_EQ(run.engine.Passes(), 2);
  EXPECT_GT(run.engine.View().D, 2.9f);

  // The fastest approach on the smallest galaxy starting at the eye: a pass every frame.
  GalaxyRun fast;
  fast.ctx.settings.ParticleCount = 10;
  fast.ctx.settings.Galaxy_Distance = 0;
  fast.ctx.settings.Galaxy_Radius = 1;
  fast.ctx.settings.Galaxy_Velocity = 9999;
  fast.Setup();
  fast.Run(5);
  EXPECT_EQ(fast.engine.Passes(), 6);

}

TEST(GalaxyColor, HueIndexesWrapIntoTheWheel) {
  testing::Harness h;
  EffectSettings s = testing::FactorySettings(EffectIndex::Galaxies);
  s.Galaxy_ColorComp = 2;
  s.Galaxy_HWheelIdx = 0;
  s.HueMultiplier = 9999;
  const GalaxyParams p = ClampGalaxySettings(s);
  // A tall star: d = sqrt(10) R, so (1 - d / R) x S is about -2162.3, index -2162, hue 358.
  const float R = p.Radius;
  EXPECT_EQ(StarColor(h.ctx, p, R, 3 * R, 0.001f), h.ctx.colors.HueTable[358]);
  // Rule 0 with an enormous angular speed (a star next to the axis) stays on the wheel.
  GalaxyParams fastest = p;
  fastest.HueRule = 0;
  const int32_t c = StarColor(h.ctx, fastest, 1e-9f, 0, 1e30f);
  EXPECT_NE(c, 0);
}

TEST(GalaxyNewStars, FrequencyTwoHundredFiftySelectsTwoOrFourPerFrame) {
  GalaxyRun run;
  testing::SetGalaxyEventsOff(run.ctx.settings);
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 30000;
  s.Galaxy_NewFreq = 250;
  s.Galaxy_NewFrames = 1;
  s.Galaxy_Velocity = 0;
  run.Setup();
  const int32_t L = run.engine.Params().Trail;
  run.Run(L + 2);  // every star is now older than its trail
  std::map<int, int> perFrame;
  for (int frame = 0; frame < 400; ++frame) {
    run.Run(1);
    int selected = 0;
    for (int16_t c : run.engine.Stars().Countdown) selected += c == L + 1;
    ++perFrame[selected];
  }
  // Two picks of the same star, or of a busy one, are rare with 30000 stars.
  EXPECT_GE(perFrame[2] + perFrame[4], 390);
  EXPECT_GT(perFrame[2], 120);
  EXPECT_GT(perFrame[4], 120);
  for (const auto& [count, frames] : perFrame) EXPECT_LE(count, 4);
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

TEST(GalaxyThemes, EveryThemeRunsAndDrawsSomething) {
  for (int theme = 1; theme <= kGalaxyThemeCount; ++theme) {
    GalaxyRun run(320, 240, 11);
    LoadGalaxySettings(run.ctx, testing::EmptyStore(), theme, true);
    run.Setup();
    run.Run(60);
    EXPECT_GT(run.Lit().size(), 20u) << "theme " << theme;
    for (float h : run.engine.Stars().H) ASSERT_TRUE(std::isfinite(h)) << "theme " << theme;
  }
}

}  // namespace
}  // namespace qsrn
