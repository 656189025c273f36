// Fireworks run headless, with a sound player that records what it was asked to play: the shells
// (burst type, sounds, launch, rise and trails), the burst types in motion down to the last stray
// pixel, and the shapes and glyphs (where every glyph's pixels land, the knot arrays and the burst
// velocity shapes); a jet's edge heads.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "effects/fireworks.h"
#include "effects/fireworks_bursts.h"
#include "effects/fireworks_glyphs.h"
#include "effects/fireworks_shapes.h"
#include "engine_rig.h"
#include "render/sound.h"
#include "effects/loaders.h"
#include "settings/themes.h"

namespace qsrn {
namespace {

class RecordingSound : public SoundPlayer {
 public:
  std::vector<std::string> played;
  void Play(const std::string& fileName) override { played.push_back(fileName); }
  int Count(const std::string& name) const {
    int n = 0;
    for (const auto& p : played) n += p == name;
    return n;
  }
};

// Every burst-type percentage at 0, so that one type can be switched on alone.
void NoBurstTypes(EffectSettings& s) {
  s.FireScintPct = s.FireMultiPct = s.FireBurstPct = s.FireSparkPct = 0;
  s.FireRingPct = s.FireTwistPct = s.FireDecayPct = 0;
}

// The sound file a slot names in the rig: "slot0.wav" .. "slot8.wav".
std::string SlotFile(int slot) { return "slot" + std::to_string(slot) + ".wav"; }

struct FireworksRig : testing::EngineRig {
  RecordingSound sound;
  std::unique_ptr<FireworksEngine> engine;

  explicit FireworksRig(int width = 320, int height = 240, uint64_t seed = 7)
      : EngineRig(EffectIndex::Fireworks, width, height, seed) {
    // Sound on, every slot naming its own file, so that tests see which slot played.
    ctx.sound = &sound;
    ctx.settings.SoundFX_ON = true;
    for (int k = 0; k < kSoundSlotCount; ++k) ctx.settings.SoundFiles[static_cast<size_t>(k)] = SlotFile(k);
  }

  EffectSettings& settings() { return ctx.settings; }
  const FireworksState& state() const { return engine->State(); }

  // RunFireworks (clamps, then the loop) or FireworksLoop (settings as they are).
  void Start(bool clamp = true) {
    engine = std::make_unique<FireworksEngine>(clamp);
    engine->Setup(ctx);
  }
  void Step(int frames = 1) {
    for (int f = 0; f < frames; ++f) engine->Step(ctx);
  }

  // Lets every shell finish without starting again; true when all went idle within maxFrames.
  bool Drain(int maxFrames) {
    engine->StopRelaunching();
    for (int f = 0; f < maxFrames; ++f) {
      if (engine->AllShellsIdle()) return true;
      engine->Step(ctx);
    }
    return engine->AllShellsIdle();
  }
};

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
  RecordingSound player;
  ctx.settings.SoundFX_ON = true;
  PlaySoundFile(ctx, "boom.wav");  // no player: silent, not a crash
  PlaySoundSlot(ctx, kSoundLaunch);
  ctx.sound = &player;
  PlaySoundFile(ctx, "  boom.wav ");
  for (const char* name : {"", " ", "\t", "  \t  "}) PlaySoundFile(ctx, name);
  for (int k = 0; k < kSoundSlotCount; ++k) ctx.settings.SoundFiles[static_cast<size_t>(k)] = SlotFile(k);
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

// A jet's second stage bursts only from heads strictly inside the screen: a head on column or row
// 0, or one past the last, gives none (and the shell starts again); column or row 1 and the last do.
TEST(FireworksJet, OnlyHeadsStrictlyInsideTheScreenBurstAgain) {
  FireworksRig rig;
  Bursting(rig.settings(), &EffectSettings::FireBurstPct);
  rig.Start();
  const SurfaceGeometry& g = rig.ctx.geometry;
  const int32_t w = g.ScreenWidth, h = g.ScreenHeight, cx = g.CenterX, cy = g.CenterY;
  for (auto [col, row, bursts] : {std::tuple{0, cy, false}, {1, cy, true}, {w - 1, cy, true}, {w, cy, false},
                                  {cx, 0, false}, {cx, 1, true}, {cx, h - 1, true}, {cx, h, false}}) {
    FireworksState st = rig.state();
    for (int32_t j = st.First(0); j <= st.LastHead(0); j += st.Stride[0]) {
      st.X[j] = static_cast<float>((col - cx) / static_cast<double>(g.ScaleX));
      st.Y[j] = static_cast<float>((row - cy) / static_cast<double>(g.ScaleY));
      st.Z[j] = 1;
      ASSERT_EQ(ProjectSpark(rig.ctx, st, j).sx, col);
    }
    SecondaryBurst(rig.ctx, st, 0, false);
    EXPECT_EQ(st.ShellState[0], bursts ? kShellStandard : kShellJet) << col << "," << row;
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

using Points = std::set<std::pair<int32_t, int32_t>>;

// The sign combinations of an offset, as the glyph tables write (+-a, +-b).
Points Sym(int a, int b) { return {{a, b}, {-a, b}, {a, -b}, {-a, -b}}; }
Points Join(std::initializer_list<Points> parts) {
  Points out;
  for (const Points& p : parts) out.insert(p.begin(), p.end());
  return out;
}

// The glyph's pixels, relative to its centre, drawn at (100, 100) on a blank surface.
template <typename Draw>
Points GlyphAt(FireworksRig& rig, Draw draw) {
  rig.surface.Clear();
  draw(100, 100);
  Points out;
  for (const auto& [x, y] : rig.Lit()) out.insert({x - 100, y - 100});
  return out;
}

TEST(FireworksGlyphs, ScintillatorCarrierAndDecayStarOffsets) {
  FireworksRig rig(200, 200);
  const std::pair<int, Points> scint[] = {
      {5, Join({Sym(1, 0), Sym(0, 1)})},   {9, Join({Sym(2, 0), Sym(0, 2)})},   {13, Sym(4, 4)},
      {17, Join({Sym(8, 0), Sym(0, 8)})},  {21, Join({Sym(12, 0), Sym(0, 12)})}, {25, Sym(7, 7)},
      {29, Join({Sym(16, 0), Sym(0, 16)})}, {33, Sym(11, 11)},                    {37, Join({Sym(25, 0), Sym(0, 25)})}};
  const std::pair<int, Points> carrier[] = {
      {3, Sym(1, 0)},  {5, Sym(0, 1)},  {9, Sym(1, 1)}, {13, Join({Sym(2, 0), Sym(0, 2)})},
      {17, Join({Sym(3, 0), Sym(0, 3)})}, {21, Join({Sym(4, 0), Sym(0, 4)})}, {25, Sym(3, 3)},
      {33, Join({Sym(5, 0), Sym(0, 5), Sym(8, 0), Sym(0, 8)})}};
  for (int n = -1; n <= 40; ++n) {
    Points want{{0, 0}};
    for (const auto& [from, added] : scint)
      if (n >= from && (n - 5) % 4 == 0 && n <= 37) want.insert(added.begin(), added.end());
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawScintillator(rig.ctx, x, y, 1.0f, n, kWhite); }), want) << n;

    want = {{0, 0}};
    for (const auto& [from, added] : carrier)
      if (n >= from) want.insert(added.begin(), added.end());
    if (n == 2) want.insert({1, 0});  // row 2 alone is not cumulative
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawCarrier(rig.ctx, x, y, 1.0f, n, kWhite); }), want) << n;
    // A decay star with life L at depth z has unit L / z * DecayScale: here exactly 1.
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawDecayStar(rig.ctx, x, y, 2.0f, 4, n, kWhite, 0.5f); }), want)
        << n;
  }
}

TEST(FireworksGlyphs, SparkleOffsetsByFireSparkPix) {
  FireworksRig rig(200, 200);
  const Points p15 = Join({Sym(2, 2), Sym(5, 0), Sym(0, 5), Sym(3, 3), Sym(6, 6)});
  const std::pair<int, Points> lists[] = {
      {1, {}},
      {2, {{2, 0}}},
      {3, {{-1, 1}, {1, 1}}},
      {4, Join({Sym(0, 2), Sym(2, 0)})},
      {6, {{-1, -1}, {1, -1}, {-2, 0}, {2, 0}, {-1, 1}, {1, 1}}},
      {8, Join({Sym(1, 1), Sym(4, 0), Sym(0, 4)})},
      {11, Join({Sym(1, 1), Sym(5, 0), Sym(2, 3)})},
      {13, Join({Sym(2, 2), Sym(6, 0), Sym(0, 6), Sym(4, 4)})},
      {15, p15},
      {19, Join({p15, Sym(8, 0), Sym(0, 8)})},
      {23, Join({Sym(2, 2), Sym(5, 0), Sym(0, 5), Sym(3, 3), Sym(5, 5), Sym(6, 6), Sym(9, 0), Sym(0, 9)})},
      {27, Join({Sym(2, 2), Sym(5, 0), Sym(0, 5), Sym(7, 0), Sym(0, 7), Sym(3, 3), Sym(5, 5), Sym(7, 7),
                 Sym(11, 0), Sym(0, 11)})},
      {31, {}}};
  for (int pix = 0; pix <= 35; ++pix) {
    Points want{{0, 0}};
    for (const auto& [from, list] : lists)
      if (pix >= from) want = Join({{{0, 0}}, list});  // complete lists: the last one reached
    rig.settings().FireSparkPix = static_cast<int16_t>(pix);
    EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawSparkle(rig.ctx, x, y, 1.0f, kWhite); }), want) << pix;
  }
}

TEST(FireworksGlyphs, UnitScalesOffsetsAndFarOffsetsLandOffTheSurface) {
  FireworksRig rig(200, 200);
  // Twice as far: offsets halve, rounded half to even ((25, 0) lands at 12.5 -> 12).
  EXPECT_TRUE(GlyphAt(rig, [&](int x, int y) { DrawScintillator(rig.ctx, x, y, 2.0f, 37, kWhite); })
                  .count({12, 0}));
  // Life 0: every offset collapses onto the centre.
  EXPECT_EQ(GlyphAt(rig, [&](int x, int y) { DrawDecayStar(rig.ctx, x, y, 1.0f, 0, 33, kWhite, 1.0f); }),
            (Points{{0, 0}}));
  // A glyph at the eye has offsets too large for a Long: they go nowhere, never to column or row 0.
  rig.surface.Clear();
  DrawCarrier(rig.ctx, 5, 7, 1e-30f, 33, kWhite);
  EXPECT_EQ(rig.Lit(), (Points{{5, 7}}));
  // Erasing is the same call in black.
  DrawCarrier(rig.ctx, 5, 7, 1e-30f, 33, 0);
  DrawCarrier(rig.ctx, 100, 100, 1.0f, 33, 0x123456);
  DrawCarrier(rig.ctx, 100, 100, 1.0f, 33, 0);
  EXPECT_EQ(rig.LitPixels(), 0);
}

TEST(FireworksKnots, KnotsOutOfTheLoadersRangeStillFitTheArrays) {
  FireworksRig rig;
  rig.settings().FireSplineKnot = 2;  // the clamp raises it to 4 after the loader sized 3 knots
  rig.settings().FireKnotX.assign(3, 0.0f);
  rig.settings().FireSplinePct = 100;
  rig.settings().FireLaunchPct = 0;
  rig.Start();
  rig.Step(50);
  EXPECT_EQ(rig.settings().FireSplineKnot, 4);
  EXPECT_EQ(rig.settings().FireKnotX.size(), 5u);
  // Knots made before any set-up size their own arrays.
  FireworksRig fresh;
  fresh.settings().FireSplineKnot = 6;
  fresh.settings().FireKnotX.clear();
  fresh.settings().FireKnotY.clear();
  fresh.settings().FireKnotZ.clear();
  MakeSplineKnots(fresh.ctx, 0, 0, 1.5f);
  EXPECT_EQ(fresh.settings().FireKnotX.size(), 7u);
  EXPECT_EQ(fresh.settings().FireKnotZ.size(), 7u);
  // The last three knots repeat the first three, so that the loop of segments closes.
  EXPECT_EQ(fresh.settings().FireKnotZ[6], fresh.settings().FireKnotZ[2]);
}

TEST(FireworksShapes, PatternsStayOnTheirSolids) {
  FireworksRig rig;
  auto& set = rig.settings();
  set.EmitSpeed = 3;
  set.FireSymmetry = 1;  // s = 3 * size * 0.6666 exactly
  const float size = 0.5f;
  const float s = static_cast<float>(3.0f * size * 0.6666);
  for (int k = 0; k < 300; ++k) {
    float vx = 0, vy = 0, vz = 0;
    PatternVelocity(rig.ctx, vx, vy, vz, 0, size);  // cube surface: one face coordinate at +-s
    const float m = std::max({std::fabs(vx), std::fabs(vy), std::fabs(vz)});
    EXPECT_NEAR(m, s, 1e-5);
    PatternVelocity(rig.ctx, vx, vy, vz, 1, size);  // pyramid, apex up (y = -s)
    EXPECT_LE(std::fabs(vx), (s + vy) / 2 + 1e-5);
    EXPECT_LE(std::fabs(vz), (s + vy) / 2 + 1e-5);
    PatternVelocity(rig.ctx, vx, vy, vz, 2, size);  // apex down
    EXPECT_LE(std::fabs(vx), (s - vy) / 2 + 1e-5);
    PatternVelocity(rig.ctx, vx, vy, vz, 3, size);  // double cone: radius shrinks with |y|
    EXPECT_NEAR(std::sqrt(vx * vx + vz * vz), (2 * s - std::fabs(vy)) * 0.5f, 1e-4);
  }
}

}  // namespace
}  // namespace qsrn
