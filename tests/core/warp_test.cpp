// B-Spline Warp run headless: the hue lock, and that every pixel drawn is erased again.
#include "effects/warp.h"

#include <gtest/gtest.h>

#include <set>

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
    // Fired in this step: age 1, its head alive or dead on that first move (its eraser counted once).
    for (size_t k = 0; k < p.InUse.size(); ++k)
      if (p.InUse[k] && p.Age[k] == 1 && (p.HeadLive[k] || p.TailLeft[k] == 11)) colours.insert(p.Colour[k]);
    if (!colours.empty()) {
      EXPECT_EQ(colours.size(), 1u);
      EXPECT_EQ(*colours.begin(), want);
    }
  }
}

// Every pixel a head draws is wiped by its eraser: stop firing and the surface goes black.
TEST(WarpErase, StoppedRunLeavesABlackSurface) {
  for (int16_t type = 0; type <= 4; ++type) {
    auto rig = WarpRig(type, 12, 40 + type);
    rig.ctx.settings.PixelSize = type % 2 ? 1 : 9;  // single pixels and the widest blocks
    rig.ctx.settings.SplineSteps = 20;
    WarpEngine e;
    e.Setup(rig.ctx);
    for (int i = 0; i < 150; ++i) e.Step(rig.ctx);
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
