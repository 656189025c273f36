// Fireworks shells: which burst type the percentages choose (at 0 % and 100 % of each), the sound
// of each type and when any sound plays, rising or bursting in front, the rise to its height, the
// trail length rule down to the pixels of a single spark's trail; then the burst types in motion:
// multi-bursts with their second stage, bursts that end off the screen, jet heads and their
// damping, sparkle heads that live until the glitter phase, decay stars running out of life, and
// no stray pixel once the shells have ended.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "effects/fireworks_bursts.h"
#include "fireworks_rig.h"
#include "render/sound.h"
#include "settings/loaders.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

using test::FireworksRig;
using test::NoBurstTypes;
using test::SlotFile;

struct TypeCase {
  const char* name;
  int16_t EffectSettings::*pct;
  int16_t state;  // state right after NewShell (a ring runs as a standard burst at once)
  int slot;
};

const TypeCase kTypes[] = {
    {"scintillator", &EffectSettings::FireScintPct, kShellScintillator, kSoundScintil},
    {"multi-burst", &EffectSettings::FireMultiPct, kShellMultiBurst, kSoundMultiBurst},
    {"jet", &EffectSettings::FireBurstPct, kShellJet, kSoundJetBurst},
    {"sparkle", &EffectSettings::FireSparkPct, kShellSparkle, kSoundSparkle},
    {"ring", &EffectSettings::FireRingPct, kShellStandard, kSoundRingDisk},
    {"twister", &EffectSettings::FireTwistPct, kShellTwister, kSoundTwister},
    {"decay stars", &EffectSettings::FireDecayPct, kShellDecayStars, kSoundDecayStar},
};

// Every shell bursting at once with no burst type chosen: forty shells, or one of the given type.
void Bursting(EffectSettings& s, int16_t EffectSettings::*only = nullptr) {
  NoBurstTypes(s);
  s.FireLaunchPct = 0;
  s.FireWorks = only ? 1 : 40;
  if (only) s.*only = 100;
}

// Every percentage at 0 gives standard bursts of all the sparks; a type at 100 % is chosen every
// time, and one at 0 % never, even before others at 100 %. Each burst plays its type's sound once.
TEST(FireworksBurstType, HundredPercentSelectsATypeAndZeroNever) {
  for (size_t k = 0; k <= std::size(kTypes); ++k) {
    const bool standard = k == std::size(kTypes);
    SCOPED_TRACE(standard ? "standard" : kTypes[k].name);
    FireworksRig rig;
    Bursting(rig.settings());
    for (size_t later = k; later < std::size(kTypes); ++later) rig.settings().*kTypes[later].pct = 100;
    rig.Start();
    for (int s = 0; s < 40; ++s) EXPECT_EQ(rig.state().ShellState[s], standard ? int16_t{kShellStandard} : kTypes[k].state);
    if (standard || kTypes[k].pct == &EffectSettings::FireBurstPct) {  // jets: 500 \ 7 = 71, 7 heads of 70
      EXPECT_EQ(rig.state().Stride[0], standard ? 1 : 71);
      EXPECT_EQ(rig.state().LiveCount[0], standard ? 500 : 7 * 70);
    }
    EXPECT_EQ(rig.sound.Count(SlotFile(standard ? int{kSoundStandard} : kTypes[k].slot)), 40);
    EXPECT_EQ(rig.sound.played.size(), 40u);
  }
}

// At 100 % every new shell rises (with its launch sound); at 0 % shells burst in front of the viewer.
TEST(FireworksLaunch, PercentChoosesRisingOrBurstingInFront) {
  FireworksRig rising;
  rising.Start();
  for (int s = 0; s < 20; ++s) EXPECT_EQ(rising.state().ShellState[s], kShellRising);
  EXPECT_EQ(rising.sound.Count(SlotFile(kSoundLaunch)), 20);
  FireworksRig rig;
  Bursting(rig.settings());
  rig.settings().FireWorks = 99;
  rig.settings().ParticleCount = 100;
  rig.Start();
  for (int s = 0; s < 99; ++s) {
    EXPECT_NE(rig.state().ShellState[s], kShellRising);
    EXPECT_GE(rig.state().ShellZ[s], 1.0f);
    EXPECT_LT(rig.state().ShellZ[s], 2.0f);
    EXPECT_LE(std::fabs(rig.state().ShellX[s]), 0.9f);
  }
  EXPECT_EQ(rig.sound.Count(SlotFile(kSoundLaunch)), 0);
}

TEST(FireworksLaunch, TheRiseEndsAtTheChosenHeightAndMirroredDepth) {
  FireworksRig rig;
  rig.settings().FireWorks = 1;
  rig.settings().FireLaunchSteps = 40;
  rig.Start();
  const auto& st = rig.state();
  ASSERT_EQ(st.ShellState[0], kShellRising);
  const float z0 = st.ShellZ[0];
  // The bottom edge of the screen at the shell's depth.
  EXPECT_FLOAT_EQ(st.ShellY[0], z0 * rig.settings().FocalLengthInverse);
  const float targetY = st.ShellY[0] + 40 * st.LaunchStepY[0];
  rig.Step(40);
  EXPECT_NEAR(st.ShellY[0], targetY, 1e-4);
  EXPECT_NEAR(st.ShellZ[0], 2 * 1.0f + 1 - z0, 1e-4);
  EXPECT_GE(st.ShellY[0], -0.925f - 1e-4);
  EXPECT_LE(st.ShellY[0], 0.325f + 1e-4);
}

// Trails last 1 + Int(Rnd x TrailLength) frames: 2 to 9 for length 8, always 1 for length 1.
TEST(FireworksTrails, LengthsOneAndEight) {
  for (int16_t length : {1, 8}) {
    FireworksRig rig;
    Bursting(rig.settings());
    rig.settings().FireWorks = 99;
    rig.settings().ParticleCount = 50;
    rig.settings().TrailLength = length;
    rig.settings().FireRingPct = 50;
    rig.Start();
    std::set<int> seen;
    for (int s = 0; s < 99; ++s) seen.insert(rig.state().TrailFrames[s]);
    EXPECT_EQ(seen, (length == 1 ? std::set<int>{1} : std::set<int>{2, 3, 4, 5, 6, 7, 8, 9}));
  }
}

TEST(FireworksTrails, ASingleSparkShowsExactlyItsLastTrailFramesPositions) {
  // One spark at constant velocity (no gravity, no damping, never dying of age; only the loop
  // without clamps allows that): the lit pixels are exactly the projections of its last
  // TrailFrames positions, which run from the eraser's position up to the spark's.
  FireworksRig rig(640, 480, 21);
  auto& s = rig.settings();
  Bursting(rig.settings());
  s.FireWorks = 1;
  s.ParticleCount = 1;
  s.FireLaunchPixel = 1;
  s.Persistence = 1.0f;
  s.Gravity = 0;
  s.Damping = 1.0f;  // the per-frame factor: velocity kept whole
  s.FireSplinePct = s.FirePatternPct = 0;
  s.EmitSpeed = 8;
  s.TrailLength = 8;
  rig.Start(false);
  const auto& st = rig.state();
  const int trail = st.TrailFrames[0];
  ASSERT_GE(trail, 2);
  for (int frame = 1; frame <= trail + 6; ++frame) {
    rig.Step();
    // Replay from the eraser with the spark's own additions; before the eraser starts it waits
    // at the centre, which is never drawn.
    std::set<std::pair<int, int>> expected;
    float x = st.TailX[0], y = st.TailY[0], z = st.TailZ[0];
    const int firstShown = frame < trail ? 1 : 0;
    const int lastShown = frame < trail ? frame : trail - 1;
    for (int m = 0; m <= lastShown; ++m) {
      const int32_t sx = ProjectX(rig.ctx.geometry, x, z), sy = ProjectY(rig.ctx.geometry, y, z);
      if (m >= firstShown && sx >= 0 && sx < 640 && sy >= 0 && sy < 480) expected.insert({sx, sy});
      x = x + st.VX[0];
      y = y + st.VY[0];
      z = z + st.VZ[0];
    }
    EXPECT_EQ(rig.LitPixels(), static_cast<int>(expected.size())) << "frame " << frame;
    for (const auto& [x, y] : expected) EXPECT_NE(rig.surface.GetPixel(x, y), 0) << "frame " << frame;
    ASSERT_TRUE(st.Alive[0]) << "frame " << frame;
  }
}

// A sound plays only with sound on, only for a name that is not empty or blank, passed on
// untrimmed; a context without a player, or a slot outside the nine, plays nothing.
TEST(PlaySound, OnlyWithSoundOnAndANameAndAKnownSlot) {
  Context ctx;
  test::RecordingSound player;
  ctx.settings.SoundFX_ON = true;
  PlaySoundFile(ctx, "boom.wav");  // no player: silent, not a crash
  PlaySoundSlot(ctx, kSoundLaunch);
  ctx.sound = &player;
  PlaySoundFile(ctx, "  boom.wav ");
  for (const char* name : {"", " ", "\t", "  \t  "}) PlaySoundFile(ctx, name);
  for (int k = 0; k < kSoundSlotCount; ++k) ctx.settings.SoundFiles[static_cast<size_t>(k)] = test::SlotFile(k);
  ctx.settings.SoundFiles[kSoundTwister] = "   ";
  for (int k = -1; k <= kSoundSlotCount; ++k) PlaySoundSlot(ctx, k);
  ctx.settings.SoundFX_ON = false;
  PlaySoundFile(ctx, "off.wav");
  PlaySoundSlot(ctx, 0);
  EXPECT_EQ(player.played, (std::vector<std::string>{"  boom.wav ", "slot0.wav", "slot1.wav", "slot2.wav", "slot3.wav",
                                                     "slot4.wav", "slot5.wav", "slot6.wav", "slot8.wav"}));
}

TEST(FireworksMultiBurst, LiveCarriersBurstAgainAtTheirAge) {
  FireworksRig rig;
  auto& s = rig.settings();
  Bursting(s, &EffectSettings::FireMultiPct);
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
  Bursting(s, &EffectSettings::FireMultiPct);
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
    Bursting(s, c.pct);
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
  Bursting(s, &EffectSettings::FireBurstPct);
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

TEST(FireworksSparkle, HeadsSurviveUntilTheSparkleAgeThenGlitter) {
  FireworksRig rig(640, 480);
  auto& s = rig.settings();
  Bursting(s, &EffectSettings::FireSparkPct);
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
  Bursting(s, &EffectSettings::FireDecayPct);
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
