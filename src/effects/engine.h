// An effect engine: set-up once (clamps, arrays sized from the settings, initial state), then one
// step per frame. Long sequences are state machines inside Step, never loops that block.
#pragma once

#include <memory>

#include "render/context.h"

namespace qsrn {

enum class EffectIndex : int { Fireworks = 0, Starfield = 1, Warp = 2, Sparklers = 3, GravityWells = 4, Galaxies = 5 };
inline constexpr int kEffectCount = 6;
const char* EffectName(int effect);

class Engine {
 public:
  virtual ~Engine() = default;
  // Runs after the effect's loader and PrepareSurface.
  virtual void Setup(Context& ctx) = 0;
  // One frame: move, erase, draw. The frame protocol runs between steps.
  virtual void Step(Context& ctx) = 0;
  // Live particles, for --bench.
  virtual int ParticleCount() const { return 0; }
};

// The engine of effect index 0..5; nullptr where that effect is not built.
std::unique_ptr<Engine> CreateEngine(int effect);

// Steps one frame that starts at `tick` (a millisecond tick count), with the vector registers
// cleared first (see render/vector_state.h). Every run of an engine steps its frames here.
void StepFrame(Context& ctx, Engine& engine, uint32_t tick);

// Runs one effect with the frame protocol until EndFrame or FrameLimitReached ends it.
// Returns the number of frames run (0, running nothing, without a surface or a platform).
int32_t RunEngine(Context& ctx, Engine& engine);

}  // namespace qsrn
