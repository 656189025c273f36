// Fireworks burst types in motion: multi-bursts with their second stage, bursts that end off the
// screen, jet heads and their damping, sparkle heads that live until the glitter phase, decay
// stars running out of life, and no stray pixel once the shells have ended.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "effects/fireworks_bursts.h"
#include "fireworks_rig.h"
#include "settings/loaders.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

using test::FireworksRig;
using test::NoBurstTypes;
using test::SlotFile;

// One shell of one type only, bursting at once.
void OneShellOf(EffectSettings& s, int16_t EffectSettings::*pct) {
  NoBurstTypes(s);
  s.FireLaunchPct = 0;
  s.*pct = 100;
  s.FireWorks = 1;
}

TEST(FireworksMultiBurst, LiveCarriersBurstAgainAtTheirAge) {
  FireworksRig rig;
  auto& s = rig.settings();
  OneShellOf(s, &EffectSettings::FireMultiPct);
  s.EmitSpeed = 0.5f;  // slow carriers stay on screen
  s.FireMultiAge = 12;
  rig.Start();
  rig.Step(11);
  ASSERT_EQ(rig.state().ShellState[0], kShellMultiBurst);
  rig.Step();
  // Second stage: a standard burst of all the shell's sparks with one-spark stride.
  EXPECT_EQ(rig.state().ShellState[0], kShellStandard);
  EXPECT_EQ(rig.state().Stride[0], 1);
  EXPECT_EQ(rig.state().LiveCount[0], 500);
  EXPECT_EQ(rig.sound.Count(SlotFile(kSoundStandard)), 1);
  EXPECT_LE(rig.state().TrailFrames[0], 8);
}

// The second stage's trails last 1 to TrailLength frames.
TEST(FireworksMultiBurst, SecondStageTrailsSpanOneToTrailLength) {
  FireworksRig rig(640, 480);
  auto& s = rig.settings();
  OneShellOf(s, &EffectSettings::FireMultiPct);
  s.FireWorks = 60;
  s.ParticleCount = 20;
  s.EmitSpeed = 0.5f;
  s.FireMultiAge = 5;
  s.TrailLength = 8;
  rig.Start();
  std::set<int> frames;
  std::vector<int16_t> last(rig.state().ShellState.begin(), rig.state().ShellState.end());
  for (int f = 0; f < 60; ++f) {
    rig.Step();
    for (size_t i = 0; i < last.size(); ++i) {
      if (last[i] == kShellMultiBurst && rig.state().ShellState[i] == kShellStandard)
        frames.insert(rig.state().TrailFrames[i]);
      last[i] = rig.state().ShellState[i];
    }
  }
  ASSERT_GT(frames.size(), 4u);
  EXPECT_EQ(*frames.begin(), 1);
  EXPECT_EQ(*frames.rbegin(), 8);
}

// Carriers, jet heads and sparkle heads that all fall off the screen before their age end the
// burst without a second stage: the shell starts again as the same type.
TEST(FireworksBursts, AllOffScreenStartsTheSameTypeAgainWithoutASecondStage) {
  const struct {
    int16_t EffectSettings::*pct;
    int16_t EffectSettings::*age;
    int16_t state;
    int slot;
  } cases[] = {{&EffectSettings::FireMultiPct, &EffectSettings::FireMultiAge, kShellMultiBurst, kSoundMultiBurst},
               {&EffectSettings::FireBurstPct, &EffectSettings::FireBurstAge, kShellJet, kSoundJetBurst},
               {&EffectSettings::FireSparkPct, &EffectSettings::FireSparkAge, kShellSparkle, kSoundSparkle}};
  for (const auto& c : cases) {
    FireworksRig rig;
    auto& s = rig.settings();
    OneShellOf(s, c.pct);
    s.Gravity = 9.9f;  // everything falls off the bottom long before its age
    s.Damping = 0;
    s.*c.age = 99;
    s.Persistence = 0.99f;
    s.FireBurstShell = true;
    rig.Start();
    ASSERT_EQ(rig.state().ShellState[0], c.state);
    // Until this burst ends: its age starts again from 0 when a new shell begins.
    int frames = 0;
    do {
      rig.Step();
    } while (++frames < 2000 && rig.state().ShellAge[0] != 0);
    EXPECT_LT(frames, 2000);
    EXPECT_EQ(rig.state().ShellState[0], c.state);
    EXPECT_EQ(rig.sound.Count(SlotFile(kSoundStandard)), 0);
    EXPECT_EQ(rig.sound.Count(SlotFile(c.slot)), 2);
  }
}

// With full symmetry every head leaves at the same speed; each frame the heads slow by
// JetDamping = 1 - (1 - Damping) x 0.2: 0.9 for the full damping factor 0.5.
TEST(FireworksJet, HeadsLeaveAtOneSpeedAndSlowByTheJetDamping) {
  FireworksRig rig(400, 400);  // square: a sphere burst's speed is its length
  auto& s = rig.settings();
  OneShellOf(s, &EffectSettings::FireBurstPct);
  s.FireSymmetry = 1;
  s.FireSplinePct = s.FirePatternPct = 0;
  s.Gravity = 0;
  s.Damping = 1;
  rig.Start();
  const auto& st = rig.state();
  std::vector<std::array<float, 3>> v;
  for (int32_t j = st.First(0); j <= st.LastHead(0); j += st.Stride[0]) v.push_back({st.VX[j], st.VY[j], st.VZ[j]});
  ASSERT_GT(v.size(), 2u);
  for (const auto& h : v) EXPECT_NEAR(std::hypot(h[0], h[1], h[2]), std::hypot(v[0][0], v[0][1], v[0][2]), 1e-6);
  rig.Step();
  size_t k = 0;
  for (int32_t j = st.First(0); j <= st.LastHead(0); j += st.Stride[0], ++k) {
    if (st.Alive[j]) {
      EXPECT_FLOAT_EQ(st.VX[j], v[k][0] * 0.9f);
    }
  }
}

TEST(FireworksJet, HeadsAreNeverDrawnAndFollowersAreWhite) {
  FireworksRig rig;
  auto& s = rig.settings();
  OneShellOf(s, &EffectSettings::FireBurstPct);
  s.EmitSpeed = 0.5f;
  rig.Start();
  rig.Step(6);
  EXPECT_GT(rig.LitPixels(), 0);
  EXPECT_EQ(rig.CountColor(kWhite), rig.LitPixels());
}

TEST(FireworksSparkle, HeadsSurviveUntilTheSparkleAgeThenGlitter) {
  FireworksRig rig(640, 480);
  auto& s = rig.settings();
  OneShellOf(s, &EffectSettings::FireSparkPct);
  s.EmitSpeed = 0.5f;  // stays on screen
  s.Persistence = 0.25f;  // persistence plays no part before the glitter phase
  s.FireSparkAge = 40;
  s.FireSparkPix = 9;
  rig.Start();
  const auto& st = rig.state();
  const int heads = 500 / 9;
  EXPECT_EQ(st.LiveCount[0], heads);
  rig.Step(39);
  EXPECT_EQ(st.ShellState[0], kShellSparkle);
  EXPECT_EQ(st.LiveCount[0], heads);
  rig.Step();
  EXPECT_EQ(st.ShellState[0], kShellGlitter);
  // Moving into the glitter phase erases every head's pixel.
  EXPECT_EQ(rig.LitPixels(), 0);
  // In the glitter phase they die with probability (1 - Persistence) / 2 a frame.
  rig.Step(2);
  EXPECT_EQ(st.ShellState[0], kShellGlitter);
  EXPECT_LT(st.LiveCount[0], heads * 3 / 4);
  EXPECT_GT(st.LiveCount[0], 0);
}

TEST(FireworksDecayStars, AStarWhoseLifeReachesZeroIsRemovedTheNextFrame) {
  FireworksRig rig(640, 480);
  auto& s = rig.settings();
  OneShellOf(s, &EffectSettings::FireDecayPct);
  s.EmitSpeed = 0.5f;
  s.FireDecayMLife = 6;  // lives of exactly 5 frames
  rig.Start();
  const auto& st = rig.state();
  const int heads = 500 / (500 / 15);
  EXPECT_EQ(st.LiveCount[0], heads);
  rig.Step(5);
  EXPECT_EQ(st.LiveCount[0], heads);
  EXPECT_GT(rig.LitPixels(), 0);
  rig.Step();
  // Every star has reached life 0 and was erased; the shell started anew.
  EXPECT_EQ(st.ShellAge[0], 0);
  EXPECT_EQ(rig.sound.Count(SlotFile(kSoundDecayStar)), 2);
}

// Nothing stays on the screen that no live spark owns: for the factory settings and every theme,
// once every shell has ended the surface is black again.
TEST(FireworksNoStrayPixel, EveryThemeDrainsToBlack) {
  for (int theme = 0; theme <= kFireworksThemeCount; ++theme) {
    FireworksRig rig(240, 180, 3);
    LoadFireworksSettings(rig.ctx, testing::EmptyStore(), theme, true);
    rig.Start();
    rig.Step(150);
    EXPECT_GT(rig.LitPixels(), 0) << theme;
    ASSERT_TRUE(rig.Drain(30000)) << theme;
    EXPECT_EQ(rig.LitPixels(), 0) << theme;
  }
}

}  // namespace
}  // namespace qsrn
