// The headless rig every engine test builds on: tables, surface, headless platform, a fixed seed,
// and the general and one effect's settings read by the real loaders from an empty store.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>
#include <variant>

#include "effects/engine.h"
#include "render/context.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "settings/catalogue.h"
#include "effects/loaders.h"
#include "settings/store.h"

namespace qsrn::testing {

// A numeric field's value in the record; NaN for text and for keys without a field.
inline double FieldValue(const EffectSettings& s, const FieldRef& field) {
  return std::visit([&](auto m) -> double {
    using M = decltype(m);
    if constexpr (std::is_same_v<M, std::monostate> || std::is_same_v<M, std::string EffectSettings::*>) return NAN;
    else return static_cast<double>(s.*m);
  }, field);
}

// A store in a directory that does not exist: every value reads as its factory default.
inline const SettingsStore& EmptyStore() {
  static const SettingsStore store(std::filesystem::temp_directory_path() / "qsrn-tests-no-store");
  return store;
}

// The record as the loaders leave it for one effect (the performance multiplier left out).
inline EffectSettings FactorySettings(EffectIndex effect) {
  Context ctx;
  LoadGeneralSettings(ctx, EmptyStore(), 320, 240, false);
  LoadEffectSettings(ctx, EmptyStore(), static_cast<int>(effect), 0, false);
  return ctx.settings;
}

struct EngineRig {
  Context ctx;
  Surface surface;
  HeadlessPlatform platform;

  // Without an effect only the general settings are loaded.
  EngineRig(std::optional<EffectIndex> effect, int32_t width, int32_t height, uint64_t seed) {
    surface.Resize(width, height);
    ctx.surface = &surface;
    ctx.platform = &platform;
    ctx.rng.Seed(seed);
    BuildTrigTables(ctx.trig);
    LoadGeneralSettings(ctx, EmptyStore(), width, height, false);
    if (effect) LoadEffectSettings(ctx, EmptyStore(), static_cast<int>(*effect), 0, false);
  }
  // The context points into the rig itself: a copy would point at the original.
  EngineRig(const EngineRig&) = delete;
  EngineRig& operator=(const EngineRig&) = delete;

  int LitPixels() const {
    int lit = 0;
    const uint32_t* p = surface.Pixels();
    for (int64_t i = 0, n = int64_t{surface.Width()} * surface.Height(); i < n; ++i) lit += p[i] != 0;
    return lit;
  }

  // The positions of all pixels that are not black.
  std::set<std::pair<int32_t, int32_t>> Lit() const {
    std::set<std::pair<int32_t, int32_t>> out;
    for (int32_t y = 0; y < surface.Height(); ++y)
      for (int32_t x = 0; x < surface.Width(); ++x)
        if (surface.GetPixel(x, y) != 0) out.insert({x, y});
    return out;
  }

  int CountColor(int32_t color) const {
    int n = 0;
    for (int32_t y = 0; y < surface.Height(); ++y)
      for (int32_t x = 0; x < surface.Width(); ++x) n += surface.GetPixel(x, y) == color;
    return n;
  }
};

}  // namespace qsrn::testing
