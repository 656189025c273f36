// Fireworks shells: which burst type the percentages choose (at 0 % and 100 % of each), the sound
// of each type, rising or bursting in front, the rise to its height, and the trail length rule
// down to the pixels of a single spark's trail.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "fireworks_rig.h"

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

// Every shell bursting at once, with only the given percentages set.
FireworksRig& BurstingRig(FireworksRig& rig) {
  rig.settings().FireLaunchPct = 0;
  rig.settings().FireWorks = 40;
  NoBurstTypes(rig.settings());
  return rig;
}

// Every percentage at 0 gives standard bursts of all the sparks; a type at 100 % is chosen every
// time, and one at 0 % never, even before others at 100 %. Each burst plays its type's sound once.
TEST(FireworksBurstType, HundredPercentSelectsATypeAndZeroNever) {
  for (size_t k = 0; k <= std::size(kTypes); ++k) {
    const bool standard = k == std::size(kTypes);
    SCOPED_TRACE(standard ? "standard" : kTypes[k].name);
    FireworksRig rig;
    BurstingRig(rig);
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
  BurstingRig(rig);
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
    BurstingRig(rig);
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
  BurstingRig(rig);
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

}  // namespace
}  // namespace qsrn
