// A headless galaxy for the tests: the shared engine rig with the galaxy factory settings,
// stepped directly, one Step per frame.
#pragma once

#include <cstdint>

#include "effects/galaxy.h"
#include "engine_rig.h"

namespace qsrn::testing {

// No new stars, novas, bursts, comets or ambient stars: only the disc.
inline void SetGalaxyEventsOff(EffectSettings& s) {
  s.Galaxy_NewFreq = 0;
  s.Galaxy_NovaFreq = 0;
  s.Galaxy_BurstFreq = 0;
  s.Galaxy_CometFreq = 0;
  s.Galaxy_AmbStars = 0;
}

struct GalaxyRun : EngineRig {
  GalaxyEngine engine;
  explicit GalaxyRun(int32_t w = 640, int32_t h = 480) : EngineRig(EffectIndex::Galaxies, w, h, 777) {}
  void Setup() { engine.Setup(ctx); }
  void Run(int frames) {
    for (int f = 0; f < frames; ++f) engine.Step(ctx);
  }
};

}  // namespace qsrn::testing
