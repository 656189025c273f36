// Fireworks under stress: each burst type alone at the extremes of its settings (the sanitizer
// build runs these too), the loop without clamps, and the property that nothing is ever left on
// the screen that no live spark owns: once every shell has ended, the surface is black again,
// for the factory store, every theme preset and the harshest settings.
#include <gtest/gtest.h>

#include <algorithm>

#include "fireworks_rig.h"
#include "settings/loaders.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

using test::FireworksRig;

// Sets every clamped fireworks field to one value (Singles and Integers alike).
void SetAll(EffectSettings& s, double v) {
  const int16_t i = static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
  const float f = static_cast<float>(v);
  for (int16_t* p : {&s.FireWorks, &s.ParticleCount, &s.TrailLength, &s.ExtentMagnitude, &s.FireSplinePct,
                     &s.FireMultiPct, &s.FireBurstPct, &s.FireSparkPct, &s.FireRingPct, &s.FireTwistPct,
                     &s.FireDecayPct, &s.FireScintPct, &s.FireLaunchPct, &s.FireSplineKnot, &s.FireMultiAge,
                     &s.FireBurstAge, &s.FireSparkAge, &s.FireMultiBurst, &s.FireBurstCount, &s.FireRingEmb,
                     &s.FireTwistCnt, &s.FireDecayCnt, &s.FireSparkPix, &s.FireRingDeg, &s.FireTwistDeg,
                     &s.FireScintStyle, &s.FireDecayMLife, &s.FireLaunchPixel, &s.FireLaunchSteps})
    *p = i;
  for (float* p : {&s.FireSymmetry, &s.EmitSpeed, &s.Persistence, &s.Gravity, &s.Damping, &s.FireBurstRadius,
                   &s.FireLaunchRadius, &s.FireTwistRad, &s.FireTwistExt, &s.FireDecayMSize, &s.FireLaunchPersist})
    *p = f;
}

TEST(FireworksExtremes, EachTypeAloneAtTheExtremesOfItsOwnSettings) {
  for (int16_t EffectSettings::*pct : {&EffectSettings::FireScintPct, &EffectSettings::FireMultiPct,
                                       &EffectSettings::FireBurstPct, &EffectSettings::FireSparkPct,
                                       &EffectSettings::FireRingPct, &EffectSettings::FireTwistPct,
                                       &EffectSettings::FireDecayPct}) {
    for (double v : {-1000.0, 30000.0}) {
      FireworksRig rig(160, 120, 5);
      SetAll(rig.settings(), v);
      test::NoBurstTypes(rig.settings());
      rig.settings().*pct = 100;
      rig.settings().FireLaunchPct = 50;
      rig.settings().FireWorks = 4;
      rig.settings().ParticleCount = v < 0 ? 10 : 2000;
      rig.settings().FireLaunchPixel = 10;
      rig.Start();
      for (int f = 0; f < 300; ++f) {
        rig.Step();
        for (int32_t s = 0; s < rig.state().shells; ++s) {
          const int16_t state = rig.state().ShellState[s];
          ASSERT_TRUE((state >= 0 && state <= 8 && state != kShellRingSetup) || state == kShellGlitter) << state;
          ASSERT_GE(rig.state().Stride[s], 1);
        }
      }
    }
  }
}

TEST(FireworksExtremes, TheLoopWithoutClampsSurvivesNonsenseAndNoSurface) {
  // FireworksLoop trusts its caller; settings nobody can enter must still not crash or hang.
  for (double v : {-5.0, 0.0}) {
    FireworksRig rig(100, 80, 3);
    SetAll(rig.settings(), v);
    rig.settings().FireWorks = 3;
    rig.settings().ParticleCount = 40;
    rig.settings().FireLaunchPixel = 500;  // above the block: kept inside it
    rig.settings().FireLaunchPct = 50;
    rig.settings().FireScintPct = rig.settings().FireMultiPct = 10;
    rig.Start(false);
    rig.Step(200);
    EXPECT_LE(rig.state().launchPixels, 40);
  }
  FireworksRig rig;
  rig.ctx.surface = nullptr;
  rig.Start();
  rig.Step(10);
  EXPECT_EQ(rig.engine->ParticleCount(), 0);
}

// The whole life of a run: draw for a while, then let every shell end. Every pixel drawn was
// erased again, so the surface must be black.
void ExpectNoStrayPixel(FireworksRig& rig, int frames) {
  rig.Start();
  rig.Step(frames);
  EXPECT_GT(rig.LitPixels(), 0);
  ASSERT_TRUE(rig.Drain(30000));
  EXPECT_EQ(rig.LitPixels(), 0);
}

TEST(FireworksNoStrayPixel, EveryBurstTypeAndShape) {
  for (uint64_t seed : {1u, 2u}) {
    FireworksRig rig(320, 240, seed);
    auto& s = rig.settings();
    s.FireWorks = 30;
    s.ParticleCount = 300;
    s.FireLaunchPct = 30;
    s.FireScintPct = s.FireMultiPct = s.FireBurstPct = s.FireSparkPct = 12;
    s.FireRingPct = s.FireTwistPct = s.FireDecayPct = 12;
    s.FireSplinePct = 30;
    s.FirePatternPct = 40;
    ExpectNoStrayPixel(rig, 400);
  }
}

TEST(FireworksNoStrayPixel, HighSpeedsStrongGravityAndLongTrails) {
  FireworksRig rig(200, 150, 8);
  auto& s = rig.settings();
  s.FireWorks = 20;
  s.ParticleCount = 400;
  s.EmitSpeed = 60;
  s.Gravity = 5;
  s.TrailLength = 99;
  s.ExtentMagnitude = 50;
  s.FireSymmetry = 0;
  s.FireSparkPix = 30;
  s.FireScintStyle = 9;
  ExpectNoStrayPixel(rig, 400);
}

TEST(FireworksNoStrayPixel, SparksBehindTheEyeAndAtTheEdges) {
  // A short focal length puts bursts close to the eye, where sparks cross z = 0.
  FireworksRig rig(160, 120, 4);
  auto& s = rig.settings();
  s.FocalLength = 0.05f;
  s.FocalLengthInverse = 20;
  rig.ctx.geometry = DeriveGeometry(160, 120, 1, 1, s.FocalLength);
  s.EmitSpeed = 99.9f;
  s.ExtentMagnitude = 99;
  s.FireLaunchPct = 50;
  ExpectNoStrayPixel(rig, 300);
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
