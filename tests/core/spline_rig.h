// A headless rig for the spline effects' tests: the shared engine rig in saver mode with the
// general settings only; each test loads the warp or sparkler section itself.
#pragma once

#include <cstdint>

#include "engine_rig.h"

namespace qsrn::testing {

// The warp and sparkler sections at their factory values, through the effects' own loaders.
inline void SetWarpFactory(Context& ctx) { LoadFactorySettings(ctx, EffectIndex::Warp); }
inline void SetSparklerFactory(Context& ctx) { LoadFactorySettings(ctx, EffectIndex::Sparklers); }

struct SplineRig : EngineRig {
  explicit SplineRig(int32_t width = 320, int32_t height = 240, uint64_t seed = 1)
      : EngineRig(std::nullopt, width, height, seed) {
    ctx.runMode = RunMode::Saver;
  }
};

}  // namespace qsrn::testing
