// Fireworks with what the loaders really produce: the factory store and each of the thirteen
// theme presets run for a while, draw, and leave nothing behind once their shells have ended.
#include <gtest/gtest.h>

#include <filesystem>

#include "fireworks_rig.h"
#include "settings/loaders.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

using test::FireworksRig;

// An empty store: every key reads as its default.
struct EmptyStore {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "qsrn_fireworks_themes_none";
  SettingsStore store{dir};
};

void LoadFor(FireworksRig& rig, const SettingsStore& store, int theme) {
  LoadGeneralSettings(rig.ctx, store, rig.surface.Width(), rig.surface.Height(), false);
  LoadFireworksSettings(rig.ctx, store, theme, true);
}

TEST(FireworksThemes, TheFactoryStoreGivesTheFactorySettings) {
  EmptyStore empty;
  FireworksRig rig;
  LoadFor(rig, empty.store, 0);
  EffectSettings expected;
  test::SetFactorySettings(expected);
  const EffectSettings& s = rig.settings();
  EXPECT_EQ(s.FireWorks, expected.FireWorks);
  EXPECT_EQ(s.ParticleCount, expected.ParticleCount);
  EXPECT_FLOAT_EQ(s.FireBurstRadius, expected.FireBurstRadius);
  EXPECT_FLOAT_EQ(s.FireTwistExt, expected.FireTwistExt);
  EXPECT_EQ(s.FireLaunchPixel, expected.FireLaunchPixel);
  EXPECT_EQ(s.FireKnotX.size(), 9u);
}

class FireworksTheme : public ::testing::TestWithParam<int> {};

TEST_P(FireworksTheme, DrawsAndLeavesNoStrayPixel) {
  EmptyStore empty;
  FireworksRig rig(240, 180, 3);
  LoadFor(rig, empty.store, GetParam());
  rig.Start();
  int lit = 0;
  for (int f = 0; f < 150; ++f) {
    rig.Step();
    lit = std::max(lit, rig.LitPixels());
  }
  EXPECT_GT(lit, 100);
  ASSERT_TRUE(rig.Drain(30000));
  EXPECT_EQ(rig.LitPixels(), 0);
}

// 0 is the stored (factory) settings, 1..13 the presets.
INSTANTIATE_TEST_SUITE_P(EveryTheme, FireworksTheme, ::testing::Range(0, kFireworksThemeCount + 1));

}  // namespace
}  // namespace qsrn
