// Fireworks with what the loaders really produce: the factory store and each of the thirteen
// theme presets run for a while, draw, and leave nothing behind once their shells have ended.
#include <gtest/gtest.h>

#include "fireworks_rig.h"
#include "settings/loaders.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

using test::FireworksRig;

void LoadFor(FireworksRig& rig, int theme) {
  const SettingsStore& store = testing::EmptyStore();
  LoadGeneralSettings(rig.ctx, store, rig.surface.Width(), rig.surface.Height(), false);
  LoadFireworksSettings(rig.ctx, store, theme, true);
}

class FireworksTheme : public ::testing::TestWithParam<int> {};

TEST_P(FireworksTheme, DrawsAndLeavesNoStrayPixel) {
  FireworksRig rig(240, 180, 3);
  LoadFor(rig, GetParam());
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
