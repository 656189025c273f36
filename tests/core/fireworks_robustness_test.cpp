// Fireworks under stress: the clamps at both ends, extreme settings run for hundreds of frames
// (the sanitizer build runs these too), the loop without clamps, and the property that nothing
// is ever left on the screen that no live spark owns: once every shell has ended, the surface is
// black again.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fireworks_rig.h"

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

// The conversions at the ends of the ranges: damping becomes a factor (none is 1, full is 0.5),
// radii and distances become scene units (x 0.0025), gravity x 0.005.
TEST(FireworksClamps, ConversionsAtBothEnds) {
  EffectSettings low, high;
  SetAll(low, -1000);
  SetAll(high, 30000);
  ClampFireworksSettings(low);
  ClampFireworksSettings(high);
  EXPECT_EQ(low.Damping, 1.0f);
  EXPECT_EQ(high.Damping, 0.5f);
  EXPECT_FLOAT_EQ(low.FireBurstRadius, 0.25f * 0.0025f);
  EXPECT_FLOAT_EQ(high.FireTwistExt, 999.9f * 0.0025f);
  EXPECT_FLOAT_EQ(low.FireTwistRad, 0.1f * 0.0025f);
  EXPECT_FLOAT_EQ(high.Gravity, 9.9f * 0.005f);
  EXPECT_EQ(low.FireSplineKnot, 4);
  EXPECT_EQ(high.FireSparkPix, 30);
  EXPECT_EQ(low.FireLaunchPixel, 10);
}

TEST(FireworksClamps, DecaySizeIsRoundedAndNotANumberFallsToTheLowEnd) {
  EffectSettings s;
  SetAll(s, 1);
  s.FireDecayMSize = 12.5f;
  s.Persistence = std::numeric_limits<float>::quiet_NaN();
  ClampFireworksSettings(s);
  EXPECT_EQ(s.FireDecayMSize, 12.0f);  // ties to even
  EXPECT_FLOAT_EQ(s.Persistence, 0.25f);
}

// Runs a few hundred frames and checks the shells stayed in known states and counts stayed sane.
void RunAndCheck(FireworksRig& rig, int frames) {
  for (int f = 0; f < frames; ++f) {
    rig.Step();
    const auto& st = rig.state();
    for (int32_t s = 0; s < st.shells; ++s) {
      const int16_t state = st.ShellState[s];
      ASSERT_TRUE((state >= 0 && state <= 8 && state != kShellRingSetup) || state == kShellGlitter) << state;
      ASSERT_GE(st.Stride[s], 1);
    }
  }
}

struct Extreme {
  const char* name;
  double value;
  int16_t shells;
  int16_t sparks;
};

TEST(FireworksExtremes, EachTypeAloneAtTheExtremesOfItsOwnSettings) {
  const std::pair<const char*, int16_t EffectSettings::*> types[] = {
      {"scint", &EffectSettings::FireScintPct}, {"multi", &EffectSettings::FireMultiPct},
      {"jet", &EffectSettings::FireBurstPct},   {"sparkle", &EffectSettings::FireSparkPct},
      {"ring", &EffectSettings::FireRingPct},   {"twister", &EffectSettings::FireTwistPct},
      {"decay", &EffectSettings::FireDecayPct}};
  for (const auto& [name, pct] : types) {
    for (double v : {-1000.0, 30000.0}) {
      SCOPED_TRACE(std::string(name) + (v < 0 ? " low" : " high"));
      FireworksRig rig(160, 120, 5);
      SetAll(rig.settings(), v);
      test::NoBurstTypes(rig.settings());
      rig.settings().*pct = 100;
      rig.settings().FireLaunchPct = 50;
      rig.settings().FireWorks = 4;
      rig.settings().ParticleCount = v < 0 ? 10 : 2000;
      rig.settings().FireLaunchPixel = 10;
      rig.Start();
      RunAndCheck(rig, 300);
    }
  }
}

TEST(FireworksExtremes, TheLoopWithoutClampsSurvivesNonsense) {
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
}

TEST(FireworksExtremes, ASurfaceMissingDrawsNothingAndDoesNotCrash) {
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
  ASSERT_TRUE(rig.Drain(20000));
  EXPECT_EQ(rig.LitPixels(), 0);
}

TEST(FireworksNoStrayPixel, FactorySettings) {
  FireworksRig rig(320, 240, 3);
  ExpectNoStrayPixel(rig, 600);
}

TEST(FireworksNoStrayPixel, EveryBurstTypeAndShape) {
  for (uint64_t seed : {1u, 2u, 3u}) {
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

}  // namespace
}  // namespace qsrn
