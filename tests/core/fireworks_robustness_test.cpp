// Fireworks leave nothing on the screen that no live spark owns: once every shell has ended, the
// surface is black again, for the factory store, every theme preset and the harshest settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fireworks_rig.h"
#include "settings/loaders.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

using test::FireworksRig;

// Draw for a while, then let every shell end: every pixel drawn was erased again.
TEST(FireworksNoStrayPixel, EveryTypeHighSpeedsAndSparksBehindTheEye) {
  const std::function<void(EffectSettings&)> setups[] = {
      [](EffectSettings& s) {  // every burst type and shape
        s.FireWorks = 30;
        s.ParticleCount = 300;
        s.FireLaunchPct = s.FireSplinePct = 30;
        s.FireScintPct = s.FireMultiPct = s.FireBurstPct = s.FireSparkPct = 12;
        s.FireRingPct = s.FireTwistPct = s.FireDecayPct = 12;
        s.FirePatternPct = 40;
      },
      [](EffectSettings& s) {  // high speeds, strong gravity, long trails, big glyphs
        s.ParticleCount = 400;
        s.EmitSpeed = 60;
        s.Gravity = 5;
        s.TrailLength = 99;
        s.ExtentMagnitude = 50;
        s.FireSymmetry = 0;
        s.FireSparkPix = 30;
        s.FireScintStyle = 9;
      },
      [](EffectSettings& s) {  // bursts close to the eye, where sparks cross z = 0
        s.FocalLength = 0.05f;
        s.FocalLengthInverse = 20;
        s.EmitSpeed = 99.9f;
        s.ExtentMagnitude = 99;
        s.FireLaunchPct = 50;
      }};
  uint64_t seed = 1;
  for (const auto& setup : setups) {
    FireworksRig rig(200, 150, seed++);
    setup(rig.settings());
    rig.ctx.geometry = DeriveGeometry(200, 150, 1, 1, rig.settings().FocalLength);
    rig.Start();
    rig.Step(400);
    EXPECT_GT(rig.LitPixels(), 0) << seed;
    ASSERT_TRUE(rig.Drain(30000));
    EXPECT_EQ(rig.LitPixels(), 0) << seed;
  }
}

// What the loaders really produce: 0 is the stored (factory) settings, 1..13 the presets.
class FireworksTheme : public ::testing::TestWithParam<int> {};

TEST_P(FireworksTheme, DrawsAndLeavesNoStrayPixel) {
  FireworksRig rig(240, 180, 3);
  LoadGeneralSettings(rig.ctx, testing::EmptyStore(), 240, 180, false);
  LoadFireworksSettings(rig.ctx, testing::EmptyStore(), GetParam(), true);
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

INSTANTIATE_TEST_SUITE_P(EveryTheme, FireworksTheme, ::testing::Range(0, kFireworksThemeCount + 1));

}  // namespace
}  // namespace qsrn
