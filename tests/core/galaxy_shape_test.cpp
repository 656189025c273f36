// Galaxy settings and shape: the clamps and scalings of RunGalaxy, the seven thickness profiles
// at their sample radii, and the star placement inside them.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "effects/galaxy_settings.h"
#include "effects/galaxy_shape.h"
#include "gravity_galaxy_harness.h"

namespace qsrn {
namespace {

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

}  // namespace
}  // namespace qsrn
