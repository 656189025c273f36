// Theme presets: field extraction, the lists, and loading a theme instead of the store.
#include <gtest/gtest.h>

#include "settings/catalogue.h"
#include "settings/loaders.h"
#include "settings/themes.h"
#include "temp_dir.h"

namespace qsrn {

TEST(Themes, PresetFieldsAndLists) {
  for (auto [text, index, field] :
       {std::tuple{"1, 2,3", 1, "2"}, {"1, 2,3", 3, ""}, {"1, 2,3", -1, ""}, {" , x ,", 1, "x"}, {"1, .02", 1, ".02"}})
    EXPECT_EQ(GetPresetField(text, index), field) << text << " " << index;
  // 43 fields per fireworks preset, 38 per galaxy preset; nothing outside the lists.
  for (int i = 1; i <= kFireworksThemeCount; ++i)
    EXPECT_TRUE(GetPresetField(FireworksTheme(i), 42) != "" && GetPresetField(FireworksTheme(i), 43) == "") << i;
  for (int i = 1; i <= kGalaxyThemeCount; ++i)
    EXPECT_TRUE(GetPresetField(GalaxyTheme(i), 37) != "" && GetPresetField(GalaxyTheme(i), 38) == "") << i;
  EXPECT_EQ(FireworksTheme(14), "");
  EXPECT_EQ(GalaxyTheme(-1), "");
  EXPECT_EQ(FireworksThemeName(0), "< NONE >");
  EXPECT_EQ(GalaxyThemeName(16), "Dark Matter Sparklers  ");
  for (int i = 0; i <= kGalaxyThemeCount; ++i) EXPECT_EQ(GalaxyThemeName(i).size(), 23u);
  EXPECT_EQ(GalaxyThemeName(17), "");
  EXPECT_EQ(GalaxyProfileName(6), "Inner-Hyperbolic");
  EXPECT_EQ(GalaxyProfileName(7), "");
}

class ThemeLoading : public ::testing::Test {
 protected:
  void SetPerfMult(std::string_view v) {
    ASSERT_TRUE(store.RegSetString(kAppName, "Advanced", "Adv_PerfMult", v));
    LoadGeneralSettings(ctx, store, 800, 600, false);
  }
  test::TempDir dir;
  SettingsStore store{dir.path()};
  Context ctx;
};

// The multiplier applies to themes too; their spark counts are capped by their shells.
TEST_F(ThemeLoading, FireworksThemesAtThreePerformanceMultipliers) {
  SetPerfMult("1.0");
  LoadFireworksSettings(ctx, store, 1, false);
  const EffectSettings& s = ctx.settings;
  // Fields 0, 1, 9, 12, 15, 16, 20, 25 and 42.
  EXPECT_EQ(std::tuple(s.FireWorks, s.ParticleCount, s.FireLaunchPct, s.FireLaunchSteps, s.FireSplineKnot,
                       s.FirePatternPct, s.FireMultiMoment, s.FireBurstShell, s.FireDecayMLife),
            std::tuple(15, 600, 100, 45, 7, 25, true, true, 40));
  EXPECT_FLOAT_EQ(s.Persistence, 0.96f);
  EXPECT_FLOAT_EQ(s.FireDecayMSize, 800.0f);
  EXPECT_FLOAT_EQ(s.FireBurstRadius, 3 * 0.0025f);  // post-load steps run too
  EXPECT_EQ(s.FireKnotX.size(), 8u);
  SetPerfMult("2.0");
  LoadFireworksSettings(ctx, store, 1, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 1200);  // within 30000 \ 15
  LoadFireworksSettings(ctx, store, 2, true);   // a theme's flags are true when not zero
  EXPECT_TRUE(ctx.settings.FireMultiMoment);
  EXPECT_FALSE(ctx.settings.FireBurstShell);
  SetPerfMult("9.9");
  LoadFireworksSettings(ctx, store, 10, true);  // Sphere Space
  EXPECT_EQ(ctx.settings.ParticleCount, 7500);  // 15840 capped at 30000 \ 4 shells
}

TEST_F(ThemeLoading, GalaxyThemeOneIsTheFactoryGalaxyWithFourExceptions) {
  SetPerfMult("1");
  LoadGalaxySettings(ctx, store, 0, true);
  const EffectSettings factory = ctx.settings;
  ctx.settings.GalaxyPlane = 3;
  LoadGalaxySettings(ctx, store, 1, false);
  const EffectSettings& s = ctx.settings;
  EXPECT_EQ(s.ParticleCount, 2400);
  EXPECT_EQ(s.Galaxy_AmbRadius, 2000.0f);
  EXPECT_FLOAT_EQ(s.Galaxy_AmbPersist, 0.996f);
  EXPECT_FLOAT_EQ(s.Galaxy_AmbCAgeInc, 0.35f);
  EXPECT_EQ(s.GalaxyPlane, 0);
  for (const KeySpec& k : Section(SectionId::Galaxy).keys) {
    if (k.key == "Galaxy_Stars" || k.key == "Galaxy_AmbRadius" || k.key == "Galaxy_AmbPersist" ||
        k.key == "Galaxy_AmbCAgeInc")
      continue;
    std::visit(
        [&](auto m) {
          if constexpr (!std::is_same_v<decltype(m), std::monostate> &&
                        !std::is_same_v<decltype(m), std::string EffectSettings::*>) {
            EXPECT_EQ(s.*m, factory.*m) << k.key;
          }
        },
        k.field);
  }
}

TEST_F(ThemeLoading, GalaxyThemeCountsAreScaledAndUnclamped) {
  SetPerfMult("0.5");
  LoadGalaxySettings(ctx, store, 5, false);
  EXPECT_EQ(ctx.settings.ParticleCount, 1125);
  EXPECT_EQ(ctx.settings.Galaxy_AmbStars, 50);
  EXPECT_FLOAT_EQ(ctx.settings.Galaxy_HeightExp, 0.02f);  // ".02"
  LoadGalaxySettings(ctx, store, 7, false);
  EXPECT_FLOAT_EQ(ctx.settings.Galaxy_AngleTInc, 359.0f);
  // A theme beyond the list loads the store.
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireWorks", "33"));
  LoadFireworksSettings(ctx, store, 99, true);
  EXPECT_EQ(ctx.settings.FireWorks, 33);
  LoadGalaxySettings(ctx, store, 17, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 1250);
}

}  // namespace qsrn
