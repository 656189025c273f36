// B-Spline Warp run headless: settings preparation, where sparks start and fly per warp type,
// hue cycling and hue lock, the spark table's bounds and equilibrium, and that every pixel drawn
// is erased again.
#include "effects/warp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "spline_rig.h"

namespace qsrn {
namespace {

using testing::SetWarpFactory;
using testing::SplineRig;

struct WarpRig : SplineRig {
  WarpRig(int16_t type, int16_t splines, uint64_t seed = 1) : SplineRig(320, 240, seed) {
    SetWarpFactory(ctx);
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

TEST(WarpSettings, ClampsMapDampingAndApplyTheCountRule) {
  Context ctx;
  SetWarpFactory(ctx);
  EffectSettings& s = ctx.settings;
  EXPECT_EQ(PrepareWarpSettings(s), 4);
  EXPECT_EQ(s.SplineCount, 100);  // 100 is a symmetric count already
  EXPECT_FLOAT_EQ(s.Damping, 0.99f);

  const std::pair<float, float> damping[] = {{0.0f, 1.0f}, {1.0f, 0.5f}, {-3.0f, 1.0f}, {5.0f, 0.5f}, {0.5f, 0.75f}};
  for (auto [in, out] : damping) {
    SetWarpFactory(ctx);
    s.Damping = in;
    PrepareWarpSettings(s);
    EXPECT_FLOAT_EQ(s.Damping, out) << in;
  }

  SetWarpFactory(ctx);
  s.SplineCount = -4;
  s.ParticleCount = 2;
  s.TrailLength = 500;
  s.SplineSteps = 0;
  s.EmitSpeed = 0.1f;
  s.Persistence = 1.5f;
  s.ExtentMagnitude = 0;
  s.Warp_Type = 0;
  PrepareWarpSettings(s);
  EXPECT_EQ(s.SplineCount, 1);
  EXPECT_EQ(s.ParticleCount, 10);
  EXPECT_EQ(s.TrailLength, 99);
  EXPECT_EQ(s.SplineSteps, 1);
  EXPECT_FLOAT_EQ(s.EmitSpeed, 1.0f);
  EXPECT_FLOAT_EQ(s.Persistence, 0.99f);
  EXPECT_EQ(s.ExtentMagnitude, 1);
}

TEST(WarpSettings, SplineCountRulePerType) {
  const std::pair<int16_t, int16_t> cases[] = {{0, 7}, {1, 7}, {2, 6}, {3, 6}, {4, 6}};
  for (auto [type, want] : cases) {
    Context ctx;
    SetWarpFactory(ctx);
    EffectSettings& s = ctx.settings;
    s.SplineCount = 7;
    s.Warp_Type = type;
    EXPECT_EQ(PrepareWarpSettings(s), type);
    EXPECT_EQ(s.SplineCount, want) << "type " << type;
  }
}

TEST(WarpSettings, UnknownTypeRunsAsExtendedSymmetric) {
  for (int16_t type : {-1, 5, 99}) {
    Context ctx;
    SetWarpFactory(ctx);
    EffectSettings& s = ctx.settings;
    s.SplineCount = 7;
    s.Warp_Type = type;
    EXPECT_EQ(PrepareWarpSettings(s), 4) << type;
    EXPECT_EQ(s.SplineCount, 6) << type;
  }
  // The fired sparks start half-way between centre and head, as type 4 does.
  auto rig = WarpRig(77, 4);
  WarpEngine e;
  e.Setup(rig.ctx);
  e.Step(rig.ctx);
  const auto& p = e.Sparks();
  const auto& h = e.Splines();
  int fired = 0;
  for (size_t k = 0; k < p.InUse.size(); ++k) {
    if (!p.InUse[k]) continue;
    const size_t w = k / static_cast<size_t>(rig.ctx.settings.ParticleCount);
    if (!p.HeadLive[k]) continue;
    // After its first move the head is one (since damped) velocity step past the start.
    EXPECT_NEAR(p.X[k] - p.VX[k] / 0.99f, h.HeadX[w] * 0.5f, 1e-6);
    EXPECT_NEAR(p.Z[k] - p.VZ[k] / 0.99f, (1.0f + h.HeadZ[w]) * 0.5f, 1e-6);
    ++fired;
  }
  EXPECT_GT(fired, 0);
}

TEST(WarpSettings, TableStaysWithinSixteenBits) {
  Context ctx;
  SetWarpFactory(ctx);
  EffectSettings& s = ctx.settings;
  s.SplineCount = 999;
  s.ParticleCount = 999;
  s.Warp_Type = 0;
  PrepareWarpSettings(s);
  EXPECT_EQ(s.SplineCount, 999);
  EXPECT_LE(int32_t{s.SplineCount} * s.ParticleCount, 32767);
  EXPECT_GE(s.ParticleCount, 10);
  s.SplineCount = 999;
  s.ParticleCount = 999;
  s.Warp_Type = 2;
  PrepareWarpSettings(s);
  EXPECT_EQ(s.SplineCount, 970);
  EXPECT_LE(int32_t{s.SplineCount} * s.ParticleCount, 32767);
  // Loads that fit keep their sparks.
  s.SplineCount = 32;
  s.ParticleCount = 999;
  s.Warp_Type = 0;
  PrepareWarpSettings(s);
  EXPECT_EQ(s.ParticleCount, 999);
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

TEST(WarpSparks, CentralReflectionKeepsTheHeadsDepth) {
  auto rig = WarpRig(1, 5);
  WarpEngine e;
  e.Setup(rig.ctx);
  std::map<size_t, float> depthAtFiring;
  int checked = 0;
  for (int frame = 0; frame < 300; ++frame) {
    e.Step(rig.ctx);
    const auto& p = e.Sparks();
    const auto& h = e.Splines();
    const size_t per = static_cast<size_t>(rig.ctx.settings.ParticleCount);
    for (size_t k = 0; k < p.InUse.size(); ++k) {
      if (!p.HeadLive[k]) continue;
      ASSERT_EQ(p.VZ[k], 0.0f);
      if (p.Age[k] == 1) {
        EXPECT_EQ(p.Z[k], h.HeadZ[k / per]);
        depthAtFiring[k] = p.Z[k];
      } else {
        ASSERT_EQ(p.Z[k], depthAtFiring.at(k));
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(WarpSparks, SymmetricTypesFireFromHeadsOnASphere) {
  for (int16_t type : {2, 3, 4}) {
    auto rig = WarpRig(type, 20);
    WarpEngine e;
    e.Setup(rig.ctx);
    const float f = rig.ctx.settings.FocalLength;
    for (int frame = 0; frame < 30; ++frame) {
      e.Step(rig.ctx);
      const auto& h = e.Splines();
      const double r0 = std::hypot(h.HeadX[0], h.HeadY[0], h.HeadZ[0] - f);
      for (size_t w = 0; w < h.HeadX.size(); ++w)
        ASSERT_NEAR(std::hypot(h.HeadX[w], h.HeadY[w], h.HeadZ[w] - f), r0, 1e-5) << type;
    }
  }
}

TEST(WarpColour, CyclePercentAllOrNothing) {
  for (int16_t pct : {0, 100}) {
    auto rig = WarpRig(0, 50);
    rig.ctx.settings.Warp_CyclePct = pct;
    WarpEngine e;
    e.Setup(rig.ctx);
    for (uint8_t c : e.Splines().Cycles) EXPECT_EQ(c != 0, pct == 100);
  }
}

TEST(WarpColour, EachCyclingSplineAdvancesItsOwnHuePerSpark) {
  auto rig = WarpRig(0, 8);
  WarpEngine e;
  e.Setup(rig.ctx);
  std::vector<int> fired(8, 0);
  const size_t per = static_cast<size_t>(rig.ctx.settings.ParticleCount);
  for (int frame = 0; frame < 100; ++frame) {
    e.Step(rig.ctx);
    const auto& p = e.Sparks();
    for (size_t k = 0; k < p.InUse.size(); ++k) {
      if (!FiredThisFrame(p, k, 12)) continue;
      const size_t w = k / per;
      ++fired[w];
      EXPECT_EQ(p.Colour[k], rig.ctx.colors.HueTable[static_cast<size_t>(fired[w] % 360)]);
      EXPECT_EQ(e.Splines().OwnHue[w], fired[w] % 360);
    }
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

TEST(WarpSparks, DampingScalesTheVelocityEachFrame) {
  auto rig = WarpRig(0, 3);
  rig.ctx.settings.Damping = 1.0f;  // factor 0.5
  WarpEngine e;
  e.Setup(rig.ctx);
  e.Step(rig.ctx);
  const auto first = e.Sparks();
  e.Step(rig.ctx);
  const auto& p = e.Sparks();
  int checked = 0;
  for (size_t k = 0; k < p.InUse.size(); ++k) {
    if (!first.HeadLive[k] || !p.HeadLive[k]) continue;
    EXPECT_FLOAT_EQ(p.VX[k], first.VX[k] * 0.5f);
    EXPECT_FLOAT_EQ(p.X[k], first.X[k] + first.VX[k]);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// Every pixel a head draws is wiped by its eraser: stop firing and the surface goes black.
TEST(WarpErase, StoppedRunLeavesABlackSurface) {
  for (int16_t type = 0; type <= 4; ++type) {
    for (int16_t pixel : {1, 4, 9}) {
      auto rig = WarpRig(type, 12, 40 + type);
      rig.ctx.settings.PixelSize = pixel;
      rig.ctx.settings.SplineSteps = 20;
      WarpEngine e;
      e.Setup(rig.ctx);
      Steps(e, rig.ctx, 150);
      EXPECT_GT(rig.LitPixels(), 0);
      e.SetFiring(false);
      int guard = 0;
      while (e.ParticleCount() > 0 && guard++ < 100000) e.Step(rig.ctx);
      EXPECT_EQ(e.ParticleCount(), 0);
      EXPECT_EQ(rig.LitPixels(), 0) << "type " << type << " pixel " << pixel;
    }
  }
}

// The segment bookkeeping of the last frame runs at the start of the next step, so an engine
// ended by its quota leaves the generator exactly where its last frame did.
TEST(WarpFrames, QuotaEndsWithoutFurtherDraws) {
  for (int16_t steps : {1, 5}) {
    auto a = WarpRig(0, 6, 9);
    a.ctx.settings.SplineSteps = steps;
    a.ctx.settings.Adv_EffectFPC = 10;
    WarpEngine ea;
    EXPECT_EQ(RunEngine(a.ctx, ea), 10);

    auto b = WarpRig(0, 6, 9);
    b.ctx.settings.SplineSteps = steps;
    WarpEngine eb;
    eb.Setup(b.ctx);
    const ControlWindow start = eb.Window();
    Steps(eb, b.ctx, 10);
    EXPECT_EQ(a.ctx.rng.Next(), b.ctx.rng.Next()) << steps;
    // Two segments ended, but only the first has been shifted: the second shift (random
    // points) waits for a frame that the quota never runs.
    if (steps == 5) {
      EXPECT_EQ(eb.Window().CPX[0], start.CPX[1]);
    }
  }
}

TEST(WarpFrames, RunLoopEntryPointsClampAndRun) {
  auto rig = WarpRig(4, 100);
  rig.ctx.settings.Adv_EffectFPC = 50;
  EXPECT_EQ(RunWarp(rig.ctx), 50);
  EXPECT_FLOAT_EQ(rig.ctx.settings.Damping, 0.99f);
  EXPECT_GT(rig.LitPixels(), 0);

  SetWarpFactory(rig.ctx);
  rig.ctx.frame.FrameCount = 0;
  auto engine = CreateEngine(2);
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(RunEngine(rig.ctx, *engine), 50);
  EXPECT_GT(engine->ParticleCount(), 0);
}

TEST(WarpFrames, SegmentCarriesOverStepsAndShiftsOnce) {
  auto rig = WarpRig(0, 3);
  rig.ctx.settings.SplineSteps = 4;
  WarpEngine e;
  e.Setup(rig.ctx);
  const ControlWindow start = e.Window();
  for (int frame = 0; frame < 4; ++frame) {
    e.Step(rig.ctx);
    float x, y, z;
    start.Head(1, static_cast<float>(frame) / 4, x, y, z);
    EXPECT_NEAR(e.Splines().HeadX[1], x, 1e-6) << frame;
  }
  EXPECT_EQ(e.Window().CPX, start.CPX);  // not shifted yet: the last frame may be the final one
  e.Step(rig.ctx);
  for (size_t s = 0; s < 3; ++s) EXPECT_EQ(e.Window().CPX[s * 4], start.CPX[s * 4 + 1]);
  float x, y, z;
  start.Head(1, 1.0f, x, y, z);
  EXPECT_NEAR(e.Splines().HeadX[1], x, 1e-5);  // the path continues where it left off
  EXPECT_NEAR(e.Splines().HeadZ[1], z, 1e-5);
}

TEST(WarpFrames, SymmetricTypesShiftOnlyTheLeadingWindow) {
  auto rig = WarpRig(3, 10);
  rig.ctx.settings.SplineSteps = 2;
  WarpEngine e;
  e.Setup(rig.ctx);
  const ControlWindow start = e.Window();
  Steps(e, rig.ctx, 3);
  EXPECT_EQ(e.Window().CPX[0], start.CPX[1]);
  for (size_t i = 4; i < start.CPX.size(); ++i) EXPECT_EQ(e.Window().CPX[i], start.CPX[i]);
}

TEST(WarpExtremes, LargestAndSmallestSettingsRunCleanly) {
  struct Case {
    int16_t splines, sparks, trail, steps, sizeDev, type, pixel;
    float speed, persist, damping;
  };
  const Case cases[] = {
      {999, 999, 99, 1, 999, 0, 1, 999.0f, 0.99f, 0.0f},
      {999, 999, 99, 999, 999, 4, 9, 1.0f, 0.99f, 1.0f},
      {1, 10, 1, 1, 1, 1, 2, 1.0f, 0.25f, 0.0f},
      {-50, -50, -50, -50, -50, -50, 1, -50.0f, -50.0f, -50.0f},
      {32767, 32767, 32767, 32767, 32767, 32767, 1, 1e30f, 1e30f, 1e30f},
  };
  for (const Case& c : cases) {
    SplineRig rig(64, 48, 5);
    SetWarpFactory(rig.ctx);
    auto& s = rig.ctx.settings;
    s.SplineCount = c.splines;
    s.ParticleCount = c.sparks;
    s.TrailLength = c.trail;
    s.SplineSteps = c.steps;
    s.ExtentMagnitude = c.sizeDev;
    s.Warp_Type = c.type;
    s.PixelSize = c.pixel;
    s.EmitSpeed = c.speed;
    s.Persistence = c.persist;
    s.Damping = c.damping;
    s.Warp_CyclePct = 50;
    WarpEngine e;
    e.Setup(rig.ctx);
    Steps(e, rig.ctx, 30);
    EXPECT_LE(e.ParticleCount(), int32_t{s.SplineCount} * s.ParticleCount);
  }
}

}  // namespace
}  // namespace qsrn
