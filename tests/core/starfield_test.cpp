// The Starfield run headless with fixed seeds: its clamps against the dialog's ranges, stars
// recycled at the near plane and at the screen's edges, the sphere layout, the comet's paths and
// shed stars, and that erasing removes exactly what was drawn, leaving no stray pixel behind.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "effects/starfield.h"
#include "engine_rig.h"
#include "render/color.h"
#include "settings/catalogue.h"

namespace qsrn {

namespace {

struct Rig : testing::EngineRig {
  Starfield engine;

  explicit Rig(uint64_t seed = 7) : EngineRig(EffectIndex::Starfield, 320, 240, seed) {}
  const Starfield::State& st() const { return engine.state(); }
  void Run(int frames) {
    for (int i = 0; i < frames; ++i) engine.Step(ctx);
  }
  // Draws every live star again in black: what remains was left behind by an erase that missed.
  void EraseLiveStars() {
    const auto& s = st();
    for (size_t i = 0; i < s.StarAlive.size(); ++i) {
      if (!s.StarAlive[i]) continue;
      surface.DrawWidth = Starfield::DotWidth(ctx, s.StarZ[i]);
      surface.DrawDot(ProjectX(ctx.geometry, s.StarX[i], s.StarZ[i]),
                      ProjectY(ctx.geometry, s.StarY[i], s.StarZ[i]), 0);
    }
  }
};

// Puts a live plain star where a test needs it.
void PlaceStar(Starfield::State& s, size_t i, float x, float y, float z) {
  s.StarX[i] = x;
  s.StarY[i] = y;
  s.StarZ[i] = z;
  s.StarDX[i] = s.StarDY[i] = 0;
  s.StarAlive[i] = 1;
  s.StarInSphere[i] = 0;
}

}  // namespace

// Below and above its range each count is clamped to the end the dialog offers, so that a value
// the dialog allows always runs as it is (the percentages may also be 0 in a hand-edited store).
TEST(Starfield, ClampsItsCountsToTheDialogsRanges) {
  for (const char* key : {"Star_Stars", "Star_Comet_Lifespan", "Star_Comet_Expansion", "Star_Dyson_Laterals",
                          "Star_Dyson_LatPixels", "Star_Dyson_RotAngle", "Star_Dyson_Radius"}) {
    const KeySpec& k = *FindKey(SectionId::Starfield, key);
    const auto field = std::get<int16_t EffectSettings::*>(k.field);
    for (const double end : {k.lo, k.hi}) {
      Rig r;
      r.ctx.settings.*field = static_cast<int16_t>(end == k.lo ? end - 1 : end + 1);
      r.engine.Setup(r.ctx);
      EXPECT_EQ(r.ctx.settings.*field, end) << key;
    }
  }
  Rig r;
  r.ctx.settings.Star_Speed = 0;
  r.ctx.settings.Star_Comet_Percent = -3;
  r.engine.Setup(r.ctx);
  EXPECT_FLOAT_EQ(r.ctx.settings.Star_Speed, 0.0001f);
  EXPECT_EQ(r.ctx.settings.Star_Comet_Percent, 0);
}

// Default settings, then crowded fast ones with big spheres and every star shed by the comet.
TEST(Starfield, EraseRemovesExactlyWhatWasDrawn) {
  for (bool crowded : {false, true}) {
    Rig r(100 + crowded);
    EffectSettings& s = r.ctx.settings;
    if (crowded) {
      s.Star_Stars = 999;
      s.Star_Speed = 0.02f;
      s.Star_Dyson_Percent = 60;
      s.Star_Dyson_Radius = 50;
      s.Star_Dyson_Laterals = 8;
      s.Star_Dyson_RotAngle = 7;
      s.Star_Comet_Percent = 100;
      s.Star_Comet_NonBallistic = false;
      s.Star_Comet_Expansion = 99;
      s.FocalLength = 0.5f;
      r.ctx.geometry = DeriveGeometry(320, 240, 1, 1, s.FocalLength);
    }
    r.engine.Setup(r.ctx);
    r.Run(1000);
    EXPECT_GT(r.LitPixels(), 0);
    r.EraseLiveStars();
    EXPECT_EQ(r.LitPixels(), 0) << crowded;
  }
}

// A star is recycled when it reaches the near plane (even dead centre on screen) or passes an
// edge of the screen, but not on the edge itself: at 320 x 240 columns 0 and 320, rows 0 and 240.
TEST(Starfield, StarsRecycledAtTheNearPlaneAndPastTheEdges) {
  Rig r;
  r.ctx.settings.Star_Dyson_Percent = 0;
  r.ctx.settings.Star_Comet_Percent = 0;
  r.ctx.settings.Star_Speed = 0.5f;
  r.engine.Setup(r.ctx);
  Starfield::State& s = r.engine.state();
  // Each edge star moves from depth 1.5 to exactly 1, where x = 1 lands on column 320.
  const float edge[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (size_t i = 0; i < 4; ++i) {
    PlaceStar(s, i, edge[i][0], edge[i][1], 1.5f);
    PlaceStar(s, 4 + i, edge[i][0] * 1.01f, edge[i][1] * 1.01f, 1.5f);
  }
  r.engine.Step(r.ctx);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(s.StarZ[i], 1.0f) << "star on edge " << i << " stays";
    EXPECT_EQ(s.StarZ[4 + i], s.ZFar) << "star past edge " << i << " is recycled";
  }
  EXPECT_EQ(r.surface.GetPixel(0, 120), s.StarColour[1]);
  PlaceStar(s, 8, 0, 0, 0.501f);   // reaches 0.001: recycled
  PlaceStar(s, 9, 0, 0, 0.5025f);  // reaches 0.0025: still in front of the eye
  r.engine.Step(r.ctx);
  EXPECT_EQ(s.StarZ[8], s.ZFar);
  EXPECT_TRUE(s.StarAlive[8]);
  EXPECT_NEAR(s.StarZ[9], 0.0025f, 1e-6);
}

TEST(Starfield, SphereLayout) {
  Rig r;
  // Every star into the pool at set-up, then one frame, which builds the first sphere.
  EffectSettings& s = r.ctx.settings;
  s.Star_Stars = 40;
  s.Star_Dyson_Percent = 100;
  s.Star_Dyson_Laterals = 4;
  s.Star_Dyson_LatPixels = 5;
  s.Star_Dyson_Radius = 30;
  s.Star_Dyson_RotAngle = 0;
  r.engine.Setup(r.ctx);
  r.engine.Step(r.ctx);
  const Starfield::State& st = r.st();
  ASSERT_EQ(st.SphereSize, 22);
  // The sphere is the newest 22 entries of the pool: stars 39 (far pole) down to 18.
  const float R = 0.3f;
  const float cx = st.StarX[39], cy = st.StarY[39];
  EXPECT_EQ(st.StarZ[39], st.ZFar);
  EXPECT_EQ(st.StarX[38], cx);
  EXPECT_NEAR(st.StarZ[38], st.ZFar - 2 * R, 1e-6);
  const float cz = st.ZFar - R;
  for (size_t i = 18; i < 40; ++i) {
    ASSERT_TRUE(st.StarAlive[i]);
    EXPECT_NEAR(std::hypot(double{st.StarX[i] - cx}, double{st.StarY[i] - cy}, double{st.StarZ[i] - cz}), R, 1e-5) << i;
  }
  for (size_t i = 0; i < 18; ++i) EXPECT_FALSE(st.StarAlive[i]);
  // Rings of four from the far pole inwards, at polar angles k * pi / 6, coloured along the blend.
  const int32_t ca = st.StarColour[39], cb = st.StarColour[38];
  for (int ring = 1; ring <= 5; ++ring) {
    const double theta = ring * 3.14159265 / 6;
    for (int m = 0; m < 4; ++m) {
      const auto j = static_cast<size_t>(37 - (ring - 1) * 4 - m);
      EXPECT_TRUE(st.StarInSphere[j]);
      EXPECT_NEAR(st.StarZ[j], st.ZFar - R * (1 - std::cos(theta)), 1e-5);
      EXPECT_NEAR(st.OrbitRadius[j], R * std::sin(theta), 1e-5);
      EXPECT_EQ(st.StarColour[j], BlendColor(r.ctx, ca, cb, ring));
    }
  }
  // The first move puts a ring star at its stored angle, one longitude step beyond where it was
  // placed; with no spin it keeps that angle as the sphere approaches.
  const float angle = st.OrbitAngle[20];
  r.engine.Step(r.ctx);
  const float x = st.StarX[20];
  EXPECT_NEAR(x, cx + st.OrbitRadius[20] * std::cos(angle), 1e-6);
  r.engine.Step(r.ctx);
  r.engine.Step(r.ctx);
  EXPECT_EQ(st.OrbitAngle[20], angle);
  EXPECT_EQ(st.StarX[20], x);
}

// Every star shed by the comet starts at its head, one spread away, and drifts by its own step.
TEST(Starfield, CometShedsStarsThatDrift) {
  Rig all;
  all.ctx.settings.Star_Comet_Percent = 100;
  all.ctx.settings.Star_Dyson_Percent = 0;
  all.engine.Setup(all.ctx);
  const Starfield::State& st = all.st();
  for (size_t i = 0; i < st.StarX.size(); ++i) {
    EXPECT_EQ(st.StarX[i], st.CometX);
    EXPECT_EQ(st.StarZ[i], st.CometZ);
    const float len = std::hypot(st.StarDX[i], st.StarDY[i]);
    EXPECT_NEAR(len, st.CometSpread, 1e-6);
  }
  const std::vector<float> x = st.StarX, dx = st.StarDX;
  all.engine.Step(all.ctx);
  int drifted = 0;
  for (size_t i = 0; i < x.size(); ++i) drifted += st.StarX[i] == x[i] + dx[i];
  EXPECT_GT(drifted, static_cast<int>(x.size()) / 2);
}

// A ballistic comet crosses from an edge to the opposite one in its lifespan, then starts again on
// an edge; a wandering one follows four random knots and rolls them on at the end of its lifespan.
TEST(Starfield, CometPaths) {
  Rig r;
  r.ctx.settings.Star_Comet_NonBallistic = false;
  r.ctx.settings.Star_Comet_Lifespan = 10;
  for (uint64_t seed = 1; seed <= 4; ++seed) {
    r.ctx.rng.Seed(seed);
    r.engine.Setup(r.ctx);
    const Starfield::State& st = r.st();
    const bool onX = std::fabs(st.CometX) == 1.0f;
    ASSERT_TRUE(onX || std::fabs(st.CometY) == 1.0f);
    const float start = onX ? st.CometX : st.CometY;
    EXPECT_EQ(st.CometZ, st.ZFar);
    r.Run(10);
    EXPECT_NEAR(onX ? st.CometX : st.CometY, -start, 1e-5);
    r.Run(1);  // frame 11 passes the lifespan: a new path starts on an edge
    EXPECT_EQ(st.CometFrame, 0);
    EXPECT_TRUE(std::fabs(st.CometX) == 1.0f || std::fabs(st.CometY) == 1.0f);
  }
  r.ctx.settings.Star_Comet_NonBallistic = true;
  r.engine.Setup(r.ctx);
  const Starfield::State& st = r.st();
  const auto knotsX = st.CometKnotX;
  const auto knotsY = st.CometKnotY;
  for (float k : knotsX) EXPECT_TRUE(k >= -0.5f && k < 0.5f);
  EXPECT_EQ(std::set<float>(knotsX.begin(), knotsX.end()).size(), 4u);
  r.Run(10);
  EXPECT_EQ(st.CometKnotX, knotsX);
  r.Run(1);  // t = 11/10 on the old knots, then the window rolls
  EXPECT_EQ(st.CometFrame, 0);
  EXPECT_EQ(st.CometKnotX[2], knotsX[3]);
  EXPECT_EQ(st.CometKnotY[0], knotsY[1]);
  EXPECT_NE(st.CometKnotX[3], knotsX[3]);
  EXPECT_NEAR(st.CometZ, st.ZFar, 1e-5);
}

}  // namespace qsrn
