// The loaders: factory values from an empty store, the loaders' clamps, the performance
// multiplier and its rounding, the fireworks caps, the type conversions and the flag rules.
#include <gtest/gtest.h>

#include "settings/catalogue.h"
#include "settings/loaders.h"
#include "settings/numeric.h"
#include "temp_dir.h"

namespace qsrn {

namespace {

class Loaders : public ::testing::Test {
 protected:
  using Value = std::tuple<std::string_view, std::string_view, std::string>;
  void Put(std::initializer_list<Value> values) {
    SettingsStore::Batch batch(store);
    for (const auto& [section, key, value] : values) batch.Set(section, key, value);
    ASSERT_TRUE(batch.Commit());
  }
  const EffectSettings& General(bool preview = false) {
    LoadGeneralSettings(ctx, store, 1920, 1080, preview);
    return ctx.settings;
  }
  test::TempDir dir;
  SettingsStore store{dir.path()};
  Context ctx;
};

}  // namespace

TEST_F(Loaders, EmptyStoreFactoryValuesSpotCheck) {
  const EffectSettings& s = General();
  // No cycling until the dialog writes a frame quota of 1000.
  EXPECT_EQ(std::tuple(s.Adv_EffectFPC, s.Adv_TimeDelay, s.Adv_PerfMult, s.FocalLengthInverse, s.SoundFX_ON),
            std::tuple(0, 25, 1.0f, 1.0f, false));
  EXPECT_EQ(s.Adv_FontName, "MS Sans Serif");
  // Sound is on only for the text "1"; the files come with it.
  Put({{"SoundFX", "SoundFX_ON", "1.0"}});
  EXPECT_FALSE(General().SoundFX_ON);
  Put({{"SoundFX", "SoundFX_ON", "1"}, {"SoundFX", SoundFileKey(8).key, "/tmp/bang.wav"}});
  EXPECT_TRUE(General().SoundFX_ON);
  EXPECT_EQ(ctx.settings.SoundFiles[8], "/tmp/bang.wav");
  EXPECT_EQ(ctx.geometry.CenterY, 540);
  EXPECT_NE(ctx.colors.AgeRamp[50], 0);  // the colour tables are built
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(std::tuple(ctx.settings.ParticleCount, ctx.settings.Galaxy_CometCPersist, ctx.settings.OrbitTrailLength),
            std::tuple(2500, 0.998f, 2));
}

TEST_F(Loaders, GeneralLoaderDerivedValues) {
  Put({{"General", "FocalLength", "1e6"}, {"Advanced", "Adv_EffectFPC", "50"}, {"Advanced", "Adv_FontName", ""},
       {"General", "LockMessage", "     " + std::string(45, 'a') + "bcdefghij" + "KLMNOP   "}});
  const EffectSettings& s = General();
  EXPECT_EQ(s.Adv_EffectFPC, 100);
  EXPECT_FLOAT_EQ(s.FocalLengthInverse, 1 / 9999.0f);
  EXPECT_EQ(s.Adv_FontName, "MS Sans Serif");
  EXPECT_EQ(s.LockMessage, std::string(45, 'a') + "bcdef");  // trimmed, then its first 50
  // Zero and negative frame quotas are kept: 0 means no cycling.
  Put({{"Advanced", "Adv_EffectFPC", "-5"}});
  EXPECT_EQ(General().Adv_EffectFPC, -5);
}

// Counts are scaled by the multiplier and rounded half to even; a preview scales by six tenths; a
// product beyond an Integer keeps the count.
TEST_F(Loaders, PerformanceMultiplierPreviewAndOverflow) {
  General(true);
  EXPECT_FLOAT_EQ(ctx.settings.Adv_PerfMult, 0.6f);
  LoadStarfieldSettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.Star_Stars, 72);
  Put({{"Advanced", "Adv_PerfMult", "0.5"}, {"GravityWell", "Grav_Pixels", "2001"}});
  General();
  LoadGravitySettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 1000);  // 1000.5 goes to the even neighbour
  LoadGravitySettings(ctx, store, false);
  EXPECT_EQ(ctx.settings.ParticleCount, 2001);
  Put({{"Advanced", "Adv_PerfMult", "2"}, {"Galaxy", "Galaxy_Stars", "30000"}});
  General();
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 30000);
  EXPECT_EQ(ctx.settings.Galaxy_AmbStars, 200);
}

// Sparks are capped at 30000 \ shells (no cap for a hand-edited 0 shells), launch pixels at the
// sparks and 60; radii become scene units and the knot arrays are sized afresh to the knots.
TEST_F(Loaders, FireworksCapsRadiiAndKnots) {
  Put({{"Fireworks", "FireWorks", "99"}, {"Fireworks", "FireSparks", "9999"}, {"Fireworks", "FireSplineKnot", "12"},
       {"Fireworks", "FireTwistExt", "100"}});
  General();
  ctx.settings.FireKnotX.assign(3, 5.0f);
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(std::tuple(ctx.settings.ParticleCount, ctx.settings.FireLaunchPixel, ctx.settings.FireTwistExt),
            std::tuple(303, 60, 0.25f));
  EXPECT_EQ(ctx.settings.FireKnotX, std::vector<float>(13, 0.0f));
  Put({{"Fireworks", "FireSparks", "40"}});
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.FireLaunchPixel, 40);
  Put({{"Fireworks", "FireWorks", "0"}, {"Fireworks", "FireSparks", "9999"}, {"Fireworks", "FireSplineKnot", "-4"}});
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 9999);
  EXPECT_TRUE(ctx.settings.FireKnotY.empty());
}

// Values convert by the table's types (a flag is true for any number but 0, a few only for 1); out
// of range without a loader's clamp they are kept.
TEST_F(Loaders, TypeConversionsAndFlagRules) {
  Put({{"General", "FixedHues", "2"}, {"Fireworks", "FireMultiMoment", "2"}, {"Fireworks", "FireBurstShell", "1"},
       {"Starfield", "Star_Comet_NonBallistic", "0"}, {"Fireworks", "FireScintStyle", "77"},
       {"Fireworks", "FireSplinePct", "40000"}, {"B-SplineSpark", "B_Spline_AntiGrav", "2.5"},
       {"Fireworks", "FireDecayMLife", "80.5"}, {"Fireworks", "FireDecayMSize", "799.6"},
       {"GravityWell", "Grav_TrailLength", "7.5"}, {"Galaxy", "Galaxy_Distance", "300.7"}});
  General();
  LoadSparklerSettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.B_Spline_AntiGrav, 2.0f);  // Integer key: rounded, into a Single field
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.FireDecayMLife, 80);  // Single key rounded into an Integer field
  EXPECT_EQ(ctx.settings.FireDecayMSize, 800.0f);
  EXPECT_EQ(ctx.settings.FireScintStyle, 77);
  EXPECT_EQ(ctx.settings.FireSplinePct, 0);  // 40000 does not fit an Integer
  EXPECT_TRUE(ctx.settings.FixedHues);
  EXPECT_FALSE(ctx.settings.FireMultiMoment);
  EXPECT_TRUE(ctx.settings.FireBurstShell);
  LoadStarfieldSettings(ctx, store, true);
  EXPECT_FALSE(ctx.settings.Star_Comet_NonBallistic);
  LoadGravitySettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.OrbitTrailLength, 8);
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.Galaxy_Distance, 301.0f);  // Long key
}

}  // namespace qsrn
