// A headless rig for the spline effects' tests: a small surface, the headless frame platform,
// the colour and trigonometric tables, and the factory settings read from an empty store.
#pragma once

#include <cstdint>
#include <filesystem>

#include "render/color.h"
#include "render/context.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "settings/loaders.h"
#include "settings/store.h"

namespace qsrn::testing {

// A store in a directory that does not exist: every value reads as its factory default.
inline const SettingsStore& EmptyStore() {
  static const SettingsStore store(std::filesystem::temp_directory_path() / "qsrn-spline-tests-no-store");
  return store;
}

// The warp and sparkler sections at their factory values, through the effects' own loaders.
inline void SetWarpFactory(Context& ctx) { LoadWarpSettings(ctx, EmptyStore(), false); }
inline void SetSparklerFactory(Context& ctx) { LoadSparklerSettings(ctx, EmptyStore(), false); }

struct SplineRig {
  Context ctx;
  Surface surface;
  HeadlessPlatform platform;

  explicit SplineRig(int32_t width = 320, int32_t height = 240, uint64_t seed = 1) {
    surface.Resize(width, height);
    ctx.surface = &surface;
    ctx.platform = &platform;
    ctx.runMode = RunMode::Saver;
    ctx.rng.Seed(seed);
    BuildTrigTables(ctx.trig);
    LoadGeneralSettings(ctx, EmptyStore(), width, height, false);
  }

  int64_t LitPixels() const {
    int64_t lit = 0;
    const uint32_t* p = surface.Pixels();
    for (int64_t i = 0, n = int64_t{surface.Width()} * surface.Height(); i < n; ++i) lit += p[i] != 0;
    return lit;
  }
};

}  // namespace qsrn::testing
