// B-Spline Warp run headless: every pixel drawn is erased again.
#include "effects/warp.h"

#include <gtest/gtest.h>

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
