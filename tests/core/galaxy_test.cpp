// The galaxy headless: the seven thickness profiles, the star lifecycle seen through the pixels
// it leaves, the nova glyph, burst and comet slots, the solar wind and the ambient stars' shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "effects/galaxy.h"
#include "effects/galaxy_events.h"
#include "effects/galaxy_shape.h"
#include "engine_rig.h"
#include "render/surface.h"

namespace qsrn {
namespace {

using testing::EngineRig;

// No new stars, novas, bursts, comets or ambient stars: only the disc.
void SetGalaxyEventsOff(EffectSettings& s) {
  s.Galaxy_NewFreq = s.Galaxy_BurstFreq = s.Galaxy_CometFreq = s.Galaxy_AmbStars = 0;
  s.Galaxy_NovaFreq = 0;
}

// The galaxy factory settings, stepped directly, one Step per frame.
struct GalaxyRun : EngineRig {
  GalaxyEngine engine;
  explicit GalaxyRun(int32_t w = 640, int32_t h = 480) : EngineRig(EffectIndex::Galaxies, w, h, 777) {}
  void Setup() { engine.Setup(ctx); }
  void Run(int frames) {
    for (int f = 0; f < frames; ++f) engine.Step(ctx);
  }
};

struct Sample { double r, E; };  // in units of R

TEST(GalaxyProfiles, EnvelopesAtTheirSampleRadii) {
  const double R = 2.0;
  const struct {
    GalaxyProfile profile;
    std::vector<Sample> samples;
  } cases[] = {
      {GalaxyProfile::Standard, {{0, 1}, {0.25, 0.7}, {0.5, 0.4}, {1, 0}}},
      {GalaxyProfile::TopLike, {{0, 1}, {0.1, 0.75}, {0.75, 0.25}, {1, 0}}},
      {GalaxyProfile::Spherical, {{0, 1}, {0.6, 0.8}, {1, 0}}},
      {GalaxyProfile::Conical, {{0, 1}, {0.5, 0.5}, {1, 0}}},
      {GalaxyProfile::Hyperbolic, {{0, 1}, {1, 0}}},
      {GalaxyProfile::OuterHyperbolic, {{0, 0}, {1, 1}}},
      {GalaxyProfile::InnerHyperbolic, {{0, 0}, {1, 1}}},
  };
  for (const auto& c : cases)
    for (const Sample& s : c.samples)
      EXPECT_NEAR(ProfileEnvelope(static_cast<int32_t>(c.profile), s.r * R, R), s.E * R, 2e-3 * R)
          << "profile " << static_cast<int>(c.profile) << " at " << s.r << "R";
}

// Star 9 of 10 is sent into its countdown with no novas: it must come back as a new star whose
// flash shrinks one row per frame over Galaxy_NewFrames and then turns into an ordinary star.
TEST(GalaxyLifecycle, NewStarFlashShrinksRowByRow) {
  GalaxyRun run(400, 400);
  SetGalaxyEventsOff(run.ctx.settings);
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 10;
  s.Galaxy_Radius = 1;  // a galaxy of 0.01: every star within a pixel of the centre
  s.Galaxy_Distance = 500;
  s.Galaxy_Velocity = 0;
  s.Galaxy_NewExtMult = 9999;  // e = 1 / 5 x 9.999, two pixels
  s.Galaxy_ColorComp = 0;
  run.Setup();
  const int32_t L = run.engine.Params().Trail;
  run.Run(L + 1);
  run.engine.MutableStars().Countdown[9] = static_cast<int16_t>(L + 1);
  run.Run(L);  // counting down: not drawn
  EXPECT_EQ(run.CountColor(0xFFFFFF), 0);
  const int expected[] = {33, 33, 25, 21, 17, 13, 9, 7, 5, 3};
  for (int frame = 0; frame < 10; ++frame) {
    run.Run(1);
    EXPECT_EQ(run.engine.Stars().NewFlash[9], 10 - frame);
    EXPECT_EQ(run.CountColor(0xFFFFFF), expected[frame]) << "flash frame " << frame;
  }
  run.Run(1);
  EXPECT_EQ(run.engine.Stars().NewFlash[9], 0);
  EXPECT_EQ(run.CountColor(0xFFFFFF), 0);
  const auto& t = run.engine.TrailX();
  const int32_t slot = 9 * L + (run.engine.TrailIndex() + L - 1) % L;
  EXPECT_EQ(run.surface.GetPixel(t[slot], run.engine.TrailY()[slot]), run.engine.Stars().Color[9]);
}

TEST(GalaxyLifecycle, NovaFadesToTheLastRampEntryAtMost) {
  GalaxyRun run;
  SetGalaxyEventsOff(run.ctx.settings);
  EffectSettings& s = run.ctx.settings;
  s.ParticleCount = 10;
  s.Galaxy_Velocity = 0;
  s.Galaxy_ColorComp = 4;  // ordinary stars black: only the nova shows
  s.Galaxy_NovaFrames = 999;
  run.Setup();
  run.Run(3);
  GalaxyStars& stars = run.engine.MutableStars();
  // The nova's last drawn frame: (999 - 1) x (100 / 999) is 99.9, which rounds to 100.
  stars.Nova[9] = 2;
  run.Run(1);
  ASSERT_EQ(run.engine.Stars().Nova[9], 1);
  const int32_t last = run.ctx.colors.AgeRamp[99];
  const auto lit = run.Lit();
  ASSERT_GT(lit.size(), 10u);
  EXPECT_EQ(run.CountColor(last), static_cast<int>(lit.size()));
  // Then it comes back as a new star.
  run.Run(1);
  EXPECT_EQ(run.engine.Stars().Nova[9], 0);
  EXPECT_EQ(run.engine.Stars().NewFlash[9], run.engine.Params().NewFrames);
  EXPECT_EQ(run.CountColor(last), 0);
}

GalaxyParams FactoryParams() {
  EffectSettings s = testing::FactorySettings(EffectIndex::Galaxies);
  return ClampGalaxySettings(s);
}

// The nova's five layers as described: the middle one at the star's depth, two 0.1 M and two
// 0.2 M in front of and behind it, each with its own list of offsets in its own unit e; a layer
// at or behind the eye is left out.
std::set<std::pair<int32_t, int32_t>> DescribedNova(const EngineRig& h, const GalaxyParams& p, float x, float z,
                                                    int frames) {
  using Offsets = std::vector<std::pair<int, int>>;
  auto cross = [](int k) { return Offsets{{k, 0}, {0, k}}; };
  auto pair = [](int a, int b) { return Offsets{{a, b}}; };
  const Offsets kinds[3][8] = {{cross(16), pair(16, 16), pair(7, 7), cross(11), pair(11, 11), pair(2, 24),
                                pair(24, 2), cross(32)},
                               {pair(3, 10), pair(10, 3), pair(7, 5), pair(5, 7), cross(24)},
                               {cross(2), pair(3, 5), pair(5, 3)}};
  const double M = p.NovaExt;
  const double g = static_cast<float>(std::pow(p.NovaFrames - frames + 1.0, static_cast<double>(0.6375f)));
  std::set<std::pair<int32_t, int32_t>> out;
  const std::pair<double, int> layers[] = {{z, 0}, {z + 0.1 * M, 1}, {z - 0.1 * M, 1}, {z + 0.2 * M, 2}, {z - 0.2 * M, 2}};
  for (const auto& [depth, kind] : layers) {
    const auto w = static_cast<float>(depth);
    if (w <= 0) continue;
    const double P = ProjectX(h.ctx.geometry, x, w), Q = ProjectY(h.ctx.geometry, 0, w);
    const auto e = static_cast<float>(1.0 / w * M * g);
    if (kind == 0) out.insert({static_cast<int32_t>(P), static_cast<int32_t>(Q)});
    for (const Offsets& list : kinds[kind])
      for (const auto& [a, b] : list)
        for (int sa : {-1, 1})
          for (int sb : {-1, 1})
            out.insert({static_cast<int32_t>(std::nearbyint(P + sa * a * e)),
                        static_cast<int32_t>(std::nearbyint(Q + sb * b * e))});
  }
  std::erase_if(out, [&](const auto& pt) {
    return pt.first < 0 || pt.second < 0 || pt.first >= h.surface.Width() || pt.second >= h.surface.Height();
  });
  return out;
}

TEST(GalaxyNovaGlyph, PixelsLandWhereTheLayersPutThem) {
  GalaxyParams p = FactoryParams();
  p.NovaFrames = 40;
  // All five layers in front of the eye; a star so close that two layers fall behind it; a unit
  // of exactly 1/2 in the middle layer around an odd column, so that odd steps round half to
  // even; a nova across the left edge, whose points beyond it are dropped. (Columns from the
  // centre; -500 is the left edge.)
  for (const auto& [column, z, ext, frames] : {std::tuple{0, 0.5f, 1.5f, 40}, std::tuple{0, 0.12f, 0.9999f, 31},
                                               std::tuple{1, 0.5f, 0.25f, 40}, std::tuple{-500, 0.5f, 1.5f, 40}}) {
    EngineRig h(std::nullopt, 1000, 1000, 1);
    p.NovaExt = ext;
    const float x = static_cast<float>(column) / h.ctx.geometry.ScaleX * z;
    DrawNova(h.ctx, p, x, 0, z, frames, 0xFFFFFF);
    EXPECT_EQ(h.Lit(), DescribedNova(h, p, x, z, frames)) << z << " " << ext;
    DrawNova(h.ctx, p, x, 0, z, frames, 0);
    EXPECT_TRUE(h.Lit().empty());
  }
}

// A nova that goes on is erased and drawn anew in one go, skipping the layers it draws again
// over the same pixels: the picture and its changed tiles must end as if it were erased whole
// and then drawn, whether it stayed put (the unit nudged, or a multiple of 1/64), moved a pixel
// or grew, inside the surface, across its edges or off it.
TEST(GalaxyNovaGlyph, RedrawingEndsAsErasingThenDrawing) {
  std::mt19937 rng(5);
  auto uniform = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int trial = 0; trial < 400; ++trial) {
    Surface erased(160, 120), redrawn(160, 120);
    for (int32_t y = 0; y < 120; ++y)
      for (int32_t x = 0; x < 160; ++x) erased.SetPixel(x, y, static_cast<int32_t>(rng() & 0xFFFFFF));
    redrawn = erased;
    erased.ClearChangedTiles();
    redrawn.ClearChangedTiles();
    NovaLayers before{}, now{};
    for (size_t i = 0; i < kNovaLayers; ++i) {
      const float e = trial % 8 == 0 ? static_cast<float>(static_cast<int>(uniform(1, 200)) / 64.0)
                                     : static_cast<float>(uniform(0, 3));
      before[i] = {static_cast<int32_t>(uniform(-120, 280)), static_cast<int32_t>(uniform(-90, 210)), e};
      now[i] = before[i];
      switch (static_cast<int>(uniform(0, 4))) {
        case 0: now[i].e = std::nextafter(e, 9.0f); break;
        case 1: now[i].P += 1; break;
        case 2: now[i].e = e * 1.05f; break;
        default: break;
      }
    }
    DrawNovaLayers(erased, before, 0);
    DrawNovaLayers(erased, now, 0x123456);
    RedrawNovaLayers(redrawn, before, now, 0x123456);
    const size_t pixels = 160 * 120, tiles = erased.TileStride() * static_cast<size_t>(erased.TileRows());
    ASSERT_TRUE(std::equal(erased.Pixels(), erased.Pixels() + pixels, redrawn.Pixels())) << trial;
    ASSERT_TRUE(std::equal(erased.ChangedTiles(), erased.ChangedTiles() + tiles, redrawn.ChangedTiles())) << trial;
  }
}

// Also across passes, which clear every slot: a pass every frame on the smallest, fastest galaxy.
TEST(GalaxyBursts, SlotsAreTakenOnlyWhenFreeAndCountTheirStars) {
  for (bool passEveryFrame : {false, true}) {
    GalaxyRun run;
    EffectSettings& s = run.ctx.settings;
    s.ParticleCount = 100;
    s.Galaxy_BurstFreq = 9999;
    s.Galaxy_BurstStars = 999;
    s.Galaxy_BurstPersist = 0.99f;
    s.Galaxy_Velocity = passEveryFrame ? 9999 : 0;
    s.Galaxy_Distance = 0;
    s.Galaxy_Radius = 1;
    run.Setup();
    bool bothUsed = false;
    for (int frame = 0; frame < 200; ++frame) {
      run.Run(1);
      const StarBursts& b = run.engine.Bursts();
      ASSERT_EQ(b.Slots, 2);
      int liveSlots = 0;
      for (int32_t slot = 0; slot < b.Slots; ++slot) {
        int alive = 0;
        for (int32_t j = 0; j < b.StarsPerSlot; ++j) alive += b.Alive[slot * b.StarsPerSlot + j] != 0;
        ASSERT_EQ(alive, b.LiveCount[slot]) << passEveryFrame;
        liveSlots += b.LiveCount[slot] > 0;
      }
      bothUsed = bothUsed || liveSlots == 2;
    }
    EXPECT_EQ(bothUsed, !passEveryFrame);
  }
}

// A galaxy with comets only, launched whenever a slot is free, on a disc that stays put.
struct CometRun : GalaxyRun {
  CometRun(int16_t sparks, float wind, float headPersist) {
    EffectSettings& s = ctx.settings;
    SetGalaxyEventsOff(s);
    s.ParticleCount = 100;
    s.Galaxy_CometFreq = 9999;
    s.Galaxy_CometStars = sparks;
    s.Galaxy_CometSWind = wind;
    s.Galaxy_CometSPersist = 0.99f;
    s.Galaxy_CometCPersist = headPersist;
    s.Galaxy_Velocity = 0;
    Setup();
  }
  const Comets& c() const { return engine.CometSlots(); }
};

// A spark leaves the head pushed away from the scene centre (0, 0, 1) along every axis; without
// wind half of them head inwards.
TEST(GalaxyComets, SolarWindPushesEveryAxisAwayFromTheCentre) {
  for (float wind : {0.0f, 9999.0f}) {
    CometRun run(999, wind, 0.9999f);
    run.Run(1);
    int alive = 0, outward[3] = {0, 0, 0};
    for (int32_t k = 0; k < run.c().Slots * run.c().SparksPerSlot; ++k) {
      if (run.c().Alive[k] == 0) continue;
      ++alive;
      // Emitted this frame: the head is one velocity step back.
      const double head[3] = {run.c().X[k] - run.c().VX[k], run.c().Y[k] - run.c().VY[k],
                              run.c().Z[k] - run.c().VZ[k] - 1.0};
      const double v[3] = {run.c().VX[k], run.c().VY[k], run.c().VZ[k]};
      for (int axis = 0; axis < 3; ++axis) outward[axis] += v[axis] * head[axis] > 0;
    }
    ASSERT_GT(alive, 900);
    for (int axis = 0; axis < 3; ++axis)
      EXPECT_NEAR(static_cast<double>(outward[axis]) / alive, wind > 0 ? 1.0 : 0.5, wind > 0 ? 0.01 : 0.2) << axis;
  }
}

// A head lives on with probability Galaxy_CometCPersist a frame; a dead head's sparks die out.
TEST(GalaxyComets, HeadsDieByTheirPersistence) {
  CometRun lasting(999, 0, 0.9999f);
  lasting.Run(30);
  EXPECT_TRUE(lasting.c().Active[0] != 0 && lasting.c().Active[1] != 0);
  CometRun brief(999, 0, 0.25f);
  int headless = 0;
  for (int frame = 0; frame < 30; ++frame) {
    brief.Run(1);
    for (int32_t s = 0; s < brief.c().Slots; ++s) headless += brief.c().Active[s] == 0 && brief.c().LiveCount[s] > 0;
  }
  EXPECT_GT(headless, 10);
}

// Slots of a single spark: the live ones move on each frame, the last spark of a slot too.
TEST(GalaxyComets, SingleSparkSlotsKeepMoving) {
  CometRun run(1, 0, 0.9999f);
  ASSERT_EQ(run.c().SparksPerSlot, 1);
  run.Run(50);
  const std::vector<float> x = run.c().X;
  run.Run(1);
  int moved = 0, alive = 0;
  for (int32_t k = 0; k < run.c().Slots; ++k) {
    if (run.c().Alive[k] == 0 || x[static_cast<size_t>(k)] == 0) continue;
    ++alive;
    moved += run.c().X[k] != x[static_cast<size_t>(k)];
  }
  EXPECT_GT(alive, 10);
  EXPECT_GT(moved, alive * 9 / 10);
}

// At a pass the ambient stars lie in the ball of Galaxy_AmbRadius in front of the centre.
TEST(GalaxyAmbient, PlacedInTheBallAtThePass) {
  GalaxyRun run;
  run.ctx.settings.Galaxy_AmbSymmetry = 0.5f;
  run.ctx.settings.Galaxy_AmbStars = 500;
  run.Setup();
  const AmbientStars& a = run.engine.Ambient();
  const double R = run.engine.Params().AmbRadius, D = run.engine.View().D;
  double farthest = 0;
  for (int32_t i = 0; i < a.Count(); ++i) {
    EXPECT_GE(a.Z[i], D);
    farthest = std::max(farthest, std::sqrt(a.X[i] * a.X[i] + a.Y[i] * a.Y[i] + (a.Z[i] - D) * (a.Z[i] - D)));
  }
  EXPECT_LE(farthest, R * 1.0001);
  EXPECT_GT(farthest, R * 0.9);
}

}  // namespace
}  // namespace qsrn
