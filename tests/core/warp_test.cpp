// B-Spline Warp run headless: settings preparation, where sparks start and fly, the hue lock,
// the spark table's bounds and equilibrium, and that every pixel drawn is erased again.
#include "effects/warp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "engine_rig.h"

namespace qsrn {
namespace {

// The general settings and the warp section at their factory values, in saver mode.
struct WarpRig : testing::EngineRig {
  WarpRig(int16_t type, int16_t splines, uint64_t seed = 1) : EngineRig(EffectIndex::Warp, 320, 240, seed) {
    ctx.runMode = RunMode::Saver;
    ctx.settings.Warp_Type = type;
    ctx.settings.SplineCount = splines;
  }
};

// A slot fired in the last step: age 1, and either its head lives or it died on that first move
// (its eraser has then counted down once).
bool FiredThisFrame(const WarpSparks& p, size_t k, int16_t trail) {
  return p.InUse[k] && p.Age[k] == 1 && (p.HeadLive[k] || p.TailLeft[k] == trail - 1);
}

void Steps(WarpEngine& e, Context& ctx, int n) {
  for (int i = 0; i < n; ++i) e.Step(ctx);
}

// The stored damping 0..1 becomes the factor 1..0.5; symmetric types take an even count of at
// least 2 and an unknown type runs as type 4.
TEST(WarpSettings, DampingFactorAndSplineCountPerType) {
  Context ctx;
  testing::LoadFactorySettings(ctx, EffectIndex::Warp);
  EffectSettings& s = ctx.settings;
  EXPECT_EQ(PrepareWarpSettings(s), 4);
  EXPECT_EQ(s.SplineCount, 100);  // the factory 100 splines are symmetric already
  EXPECT_FLOAT_EQ(s.Damping, 0.99f);
  for (auto [in, out] : {std::pair{-3.0f, 1.0f}, {5.0f, 0.5f}, {0.5f, 0.75f}}) {
    s.Damping = in;
    PrepareWarpSettings(s);
    EXPECT_FLOAT_EQ(s.Damping, out) << in;
  }
  for (auto [type, want] : {std::pair<int16_t, int16_t>{0, 7}, {1, 7}, {2, 6}, {3, 6}, {4, 6}, {-1, 6}, {99, 6}}) {
    s.SplineCount = 7;
    s.Warp_Type = type;
    EXPECT_EQ(PrepareWarpSettings(s), type >= 0 && type <= 4 ? type : 4);
    EXPECT_EQ(s.SplineCount, want) << "type " << type;
  }
}

// The spark table (splines x sparks) stays within an Integer: the spark count gives way.
TEST(WarpSettings, TableStaysWithinSixteenBits) {
  Context ctx;
  testing::LoadFactorySettings(ctx, EffectIndex::Warp);
  EffectSettings& s = ctx.settings;
  for (auto [splines, type, wantSplines] : {std::tuple{999, 0, 999}, {999, 2, 970}, {32, 0, 32}}) {
    s.SplineCount = static_cast<int16_t>(splines);
    s.ParticleCount = 999;
    s.Warp_Type = static_cast<int16_t>(type);
    PrepareWarpSettings(s);
    EXPECT_EQ(s.SplineCount, wantSplines);
    EXPECT_LE(int32_t{s.SplineCount} * s.ParticleCount, 32767);
    EXPECT_EQ(s.ParticleCount, splines == 32 ? 999 : 32767 / wantSplines);
  }
}

TEST(WarpSparks, CentralRandomFliesFromTheCentreThroughTheHead) {
  for (uint64_t seed : {1u, 2u, 3u}) {
    auto rig = WarpRig(0, 1, seed);
    WarpEngine e;
    e.Setup(rig.ctx);
    const float f = rig.ctx.settings.FocalLength;
    int checked = 0;
    for (int frame = 0; frame < 400; ++frame) {
      e.Step(rig.ctx);
      const auto& p = e.Sparks();
      const auto& h = e.Splines();
      const double hx = h.HeadX[0], hy = h.HeadY[0], hz = h.HeadZ[0] - f;
      for (size_t k = 0; k < p.InUse.size(); ++k) {
        if (!p.HeadLive[k] || p.Age[k] != 1) continue;  // fired this frame
        const double x = p.X[k], y = p.Y[k], z = static_cast<double>(p.Z[k]) - f;
        // parallel: the cross product vanishes; same sense: the dot product is positive
        const double cx = y * hz - z * hy, cy = z * hx - x * hz, cz = x * hy - y * hx;
        const double scale = std::hypot(x, y, z) * std::hypot(hx, hy, hz);
        EXPECT_LT(std::hypot(cx, cy, cz), 1e-5 * scale + 1e-12);
        EXPECT_GT(x * hx + y * hy + z * hz, 0);
        EXPECT_EQ(p.VZ[k] < 0, hz < 0) << "toward the viewer exactly when the head is nearer";
        ++checked;
      }
    }
    EXPECT_GT(checked, 20);
  }
}

TEST(WarpColour, HueLockGivesOneColourPerFrameAdvancingOneEntry) {
  auto rig = WarpRig(2, 34);
  rig.ctx.settings.Warp_HueLock = true;
  WarpEngine e;
  e.Setup(rig.ctx);
  for (int frame = 1; frame <= 400; ++frame) {
    e.Step(rig.ctx);
    EXPECT_EQ(e.SharedHue(), frame % 360);
    const int32_t want = rig.ctx.colors.HueTable[static_cast<size_t>(frame % 360)];
    const auto& p = e.Sparks();
    std::set<int32_t> colours;
    for (size_t k = 0; k < p.InUse.size(); ++k)
      if (FiredThisFrame(p, k, 12)) colours.insert(p.Colour[k]);
    if (!colours.empty()) {
      EXPECT_EQ(colours.size(), 1u);
      EXPECT_EQ(*colours.begin(), want);
    }
  }
}

TEST(WarpSparks, AtMostOneSparkPerSplinePerFrameAndLiveCountBelowTable) {
  auto rig = WarpRig(0, 10);
  rig.ctx.settings.ParticleCount = 10;
  rig.ctx.settings.Persistence = 0.99f;
  rig.ctx.settings.Damping = 1.0f;  // slow sparks stay on screen long
  WarpEngine e;
  e.Setup(rig.ctx);
  const int32_t table = 10 * 10;
  int32_t peak = 0;
  for (int frame = 0; frame < 1500; ++frame) {
    e.Step(rig.ctx);
    const auto& p = e.Sparks();
    std::vector<int> firedPerSpline(10, 0);
    int32_t inUse = 0;
    for (size_t k = 0; k < p.InUse.size(); ++k) {
      inUse += p.InUse[k];
      if (FiredThisFrame(p, k, 12)) ++firedPerSpline[k / 10];
    }
    for (int n : firedPerSpline) ASSERT_LE(n, 1);
    ASSERT_EQ(inUse, e.ParticleCount());
    peak = std::max(peak, inUse);
  }
  EXPECT_GT(peak, table / 2);  // the table fills up...
  EXPECT_LT(peak, table);      // ...but a busy slot is never fired into, so it never fills
}

// Every pixel a head draws is wiped by its eraser: stop firing and the surface goes black.
TEST(WarpErase, StoppedRunLeavesABlackSurface) {
  for (int16_t type = 0; type <= 4; ++type) {
    auto rig = WarpRig(type, 12, 40 + type);
    rig.ctx.settings.PixelSize = type % 2 ? 1 : 9;  // single pixels and the widest blocks
    rig.ctx.settings.SplineSteps = 20;
    WarpEngine e;
    e.Setup(rig.ctx);
    Steps(e, rig.ctx, 150);
    EXPECT_GT(rig.LitPixels(), 0);
    e.SetFiring(false);
    int guard = 0;
    while (e.ParticleCount() > 0 && guard++ < 100000) e.Step(rig.ctx);
    EXPECT_EQ(e.ParticleCount(), 0);
    EXPECT_EQ(rig.LitPixels(), 0) << "type " << type;
  }
}

}  // namespace
}  // namespace qsrn
