// A headless context for the gravity-well and galaxy tests: the shared engine rig on a prepared
// surface, with the gravity-well or galaxy factory settings. Engines are stepped directly, one
// Step per frame.
#pragma once

#include <cstdint>
#include <optional>

#include "effects/engine.h"
#include "effects/galaxy.h"
#include "engine_rig.h"
#include "render/surface.h"

namespace qsrn::testing {

// No new stars, novas, bursts, comets or ambient stars: only the disc.
inline void SetGalaxyEventsOff(EffectSettings& s) {
  s.Galaxy_NewFreq = 0;
  s.Galaxy_NovaFreq = 0;
  s.Galaxy_BurstFreq = 0;
  s.Galaxy_CometFreq = 0;
  s.Galaxy_AmbStars = 0;
}

struct Harness : EngineRig {
  explicit Harness(int32_t width = 640, int32_t height = 480, uint64_t seed = 12345,
                   std::optional<EffectIndex> effect = std::nullopt)
      : EngineRig(effect, width, height, seed) {
    PrepareSurface(surface);
  }

  void Run(Engine& engine, int frames) {
    for (int f = 0; f < frames; ++f) engine.Step(ctx);
  }
};

// A galaxy at its factory settings on a headless surface.
struct GalaxyRun : Harness {
  GalaxyEngine engine;
  explicit GalaxyRun(int32_t w = 640, int32_t h = 480, uint64_t seed = 777)
      : Harness(w, h, seed, EffectIndex::Galaxies) {}
  void Setup() { engine.Setup(ctx); }
  void Run(int frames) { Harness::Run(engine, frames); }
};

}  // namespace qsrn::testing
