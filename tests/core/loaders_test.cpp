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
  void Put(std::string_view section, std::string_view key, std::string_view value) {
    ASSERT_TRUE(store.RegSetString(kAppName, section, key, value));
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
  EXPECT_EQ(s.Adv_EffectFPC, 0);  // no cycling until the dialog writes 1000
  EXPECT_EQ(s.Adv_TimeDelay, 25);
  EXPECT_EQ(s.Adv_PerfMult, 1.0f);
  EXPECT_EQ(s.Adv_FontName, "MS Sans Serif");
  EXPECT_EQ(s.FocalLength, 1.0f);
  EXPECT_EQ(s.FocalLengthInverse, 1.0f);
  EXPECT_FALSE(s.SoundFX_ON);
  EXPECT_EQ(s.SoundFiles[8], "");
  Put(Section(SectionId::SoundFX).name, SoundSwitchKey().key, "1");
  Put(Section(SectionId::SoundFX).name, SoundFileKey(8).key, "/tmp/bang.wav");
  EXPECT_TRUE(General().SoundFX_ON);
  EXPECT_EQ(ctx.settings.SoundFiles[8], "/tmp/bang.wav");
  EXPECT_EQ(ctx.geometry.ScreenWidth, 1920);
  EXPECT_EQ(ctx.geometry.CenterY, 540);
  EXPECT_NE(ctx.colors.HueTable[0], 0);  // the colour tables are built
  EXPECT_NE(ctx.colors.AgeRamp[50], 0);
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 2500);
  EXPECT_EQ(ctx.settings.Galaxy_CometSWind, 300.0f);
  EXPECT_EQ(ctx.settings.Galaxy_CometCPersist, 0.998f);
  EXPECT_EQ(ctx.settings.OrbitTrailLength, 2);
  EXPECT_EQ(ctx.settings.HueMultiplier, 2000);
}

TEST_F(Loaders, GeneralLoaderClampsAndHuesStayOnTheWheel) {
  Put("General", "PixelSize", "0");
  Put("General", "FocalLength", "1e6");
  Put("Advanced", "Adv_FontSize", "5");
  Put("Advanced", "Adv_EffectFPC", "50");
  Put("Advanced", "Adv_FontName", "");
  Put("Advanced", "Adv_HueStart", "-20");
  Put("PixelColor", "ColorHueWheel", "999");
  Put("Galaxy", "Galaxy_HWheelIdx", "360");
  Put("General", "LockMessage", "     " + std::string(45, 'a') + "bcdefghij" + "KLMNOP   ");
  const EffectSettings& s = General();
  EXPECT_EQ(s.PixelSize, 1);
  EXPECT_FLOAT_EQ(s.FocalLength, 9999.0f);
  EXPECT_FLOAT_EQ(s.FocalLengthInverse, 1 / 9999.0f);
  EXPECT_EQ(s.Adv_FontSize, 10);
  EXPECT_EQ(s.Adv_EffectFPC, 100);
  EXPECT_EQ(s.Adv_FontName, "MS Sans Serif");
  EXPECT_EQ(s.LockMessage, std::string(45, 'a') + "bcdef");  // trimmed, then its first 50
  EXPECT_EQ(s.Adv_HueStart, 0);
  EXPECT_EQ(s.ColorHueWheel, 360);
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.Galaxy_HWheelIdx, 359);
  // Zero and negative frame quotas are kept: 0 means no cycling.
  Put("Advanced", "Adv_EffectFPC", "-5");
  EXPECT_EQ(General().Adv_EffectFPC, -5);
}

TEST_F(Loaders, OutOfRangeValuesWithoutALoaderClampAreKept) {
  Put("Fireworks", "FireScintStyle", "77");
  Put("Starfield", "Star_Speed", "-3.5");
  Put("Fireworks", "FireSplinePct", "40000");  // does not fit an Integer
  General();
  LoadFireworksSettings(ctx, store, 0, true);
  LoadStarfieldSettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.FireScintStyle, 77);
  EXPECT_EQ(ctx.settings.Star_Speed, -3.5f);
  EXPECT_EQ(ctx.settings.FireSplinePct, 0);
}

// Counts are scaled by the multiplier and rounded half to even; a preview scales by six tenths; a
// product beyond an Integer keeps the count.
TEST_F(Loaders, PerformanceMultiplierPreviewAndOverflow) {
  General(true);
  EXPECT_FLOAT_EQ(ctx.settings.Adv_PerfMult, 0.6f);
  LoadStarfieldSettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.Star_Stars, 72);
  Put("Advanced", "Adv_PerfMult", "0.5");
  Put("GravityWell", "Grav_Pixels", "2001");
  General();
  LoadGravitySettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 1000);  // 1000.5 goes to the even neighbour
  LoadGravitySettings(ctx, store, false);
  EXPECT_EQ(ctx.settings.ParticleCount, 2001);
  Put("Advanced", "Adv_PerfMult", "2");
  Put("Galaxy", "Galaxy_Stars", "30000");
  General();
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 30000);
  EXPECT_EQ(ctx.settings.Galaxy_AmbStars, 200);
}

// Sparks are capped at 30000 \ shells (no cap for a hand-edited 0 shells), launch pixels at the
// sparks and 60; radii become scene units and the knot arrays are sized to the knots.
TEST_F(Loaders, FireworksCapsRadiiAndKnots) {
  Put("Fireworks", "FireWorks", "99");
  Put("Fireworks", "FireSparks", "9999");
  Put("Fireworks", "FireSplineKnot", "12");
  Put("Fireworks", "FireTwistExt", "100");
  General();
  ctx.settings.FireKnotX.assign(3, 5.0f);
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 303);
  EXPECT_EQ(ctx.settings.FireLaunchPixel, 60);
  EXPECT_FLOAT_EQ(ctx.settings.FireTwistExt, 0.25f);
  EXPECT_FLOAT_EQ(ctx.settings.FireBurstRadius, 0.0075f);
  ASSERT_EQ(ctx.settings.FireKnotX.size(), 13u);
  EXPECT_EQ(ctx.settings.FireKnotX[0], 0.0f);  // contents discarded
  Put("Fireworks", "FireSparks", "40");
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.FireLaunchPixel, 40);
  Put("Fireworks", "FireWorks", "0");
  Put("Fireworks", "FireSparks", "9999");
  Put("Fireworks", "FireSplineKnot", "-4");
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 9999);
  EXPECT_TRUE(ctx.settings.FireKnotY.empty());
}

TEST_F(Loaders, TypeConversionsOfTheTable) {
  Put("B-SplineSpark", "B_Spline_AntiGrav", "2.5");
  Put("Fireworks", "FireDecayMLife", "80.5");
  Put("Fireworks", "FireDecayMSize", "799.6");
  Put("GravityWell", "Grav_TrailLength", "7.5");
  Put("Galaxy", "Galaxy_Distance", "300.7");
  General();
  LoadSparklerSettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.B_Spline_AntiGrav, 2.0f);  // Integer key: rounded, into a Single field
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.FireDecayMLife, 80);  // Single key rounded into an Integer field
  EXPECT_EQ(ctx.settings.FireDecayMSize, 800.0f);
  LoadGravitySettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.OrbitTrailLength, 8);
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.Galaxy_Distance, 301.0f);  // Long key
}

TEST_F(Loaders, FlagRules) {
  Put("General", "FixedHues", "2");
  Put("Fireworks", "FireMultiMoment", "2");
  Put("Fireworks", "FireBurstShell", "1");
  Put("Starfield", "Star_Comet_NonBallistic", "0");
  Put("SoundFX", "SoundFX_ON", "1.0");
  General();
  LoadFireworksSettings(ctx, store, 0, true);
  LoadStarfieldSettings(ctx, store, true);
  EXPECT_TRUE(ctx.settings.FixedHues);          // any number but 0
  EXPECT_FALSE(ctx.settings.FireMultiMoment);   // only 1
  EXPECT_TRUE(ctx.settings.FireBurstShell);
  EXPECT_FALSE(ctx.settings.Star_Comet_NonBallistic);
  EXPECT_FALSE(ctx.settings.SoundFX_ON);        // only the text "1"
  Put("SoundFX", "SoundFX_ON", "1");
  Put("SoundFX", "Fire_Twister", "/sounds/twist.wav");
  bool on = false;
  std::array<std::string, 9> files;
  LoadSoundSettings(store, on, files);
  EXPECT_TRUE(on);
  EXPECT_EQ(files[7], "/sounds/twist.wav");
}

}  // namespace qsrn
