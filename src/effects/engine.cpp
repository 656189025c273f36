// The effect names, the factory that builds an effect's engine, and the driver that runs an
// engine under the frame protocol. Each effect adds its one case to CreateEngine.
#include "effects/engine.h"

#include "effects/fireworks.h"
#include "effects/galaxy.h"
#include "effects/gravity.h"
#include "effects/sparklers.h"
#include "effects/starfield.h"
#include "effects/warp.h"
#include "render/frame.h"
#include "render/vector_state.h"

namespace qsrn {

using E = EffectIndex;

const char* EffectName(int effect) {
  switch (static_cast<E>(effect)) {
    case E::Fireworks: return "Fireworks";
    case E::Starfield: return "Starfield";
    case E::Warp: return "B-Spline Warp";
    case E::Sparklers: return "B-Spline Sparklers";
    case E::GravityWells: return "Stars and Gravity Wells";
    case E::Galaxies: return "Galaxies";
    default: return "";
  }
}

std::unique_ptr<Engine> CreateEngine(int effect) {
  switch (static_cast<E>(effect)) {
    case E::Fireworks: return RunFireworks();
    case E::Starfield: return std::make_unique<Starfield>();
    case E::Warp: return std::make_unique<WarpEngine>();
    case E::Sparklers: return std::make_unique<SparklerEngine>();
    case E::GravityWells: return CreateGravityWells();
    case E::Galaxies: return CreateGalaxy();
    default: return nullptr;
  }
}

void StepFrame(Context& ctx, Engine& engine, uint32_t tick) {
  ctx.frame.FrameStartTick = static_cast<int32_t>(tick);
  ClearUpperVectorState();
  engine.Step(ctx);
}

int32_t RunEngine(Context& ctx, Engine& engine) {
  // Without a surface there is nowhere to draw, and without a platform no clock or stop signal.
  if (ctx.surface == nullptr || ctx.platform == nullptr) return 0;
  engine.Setup(ctx);
  int32_t frames = 0;
  for (;;) {
    StepFrame(ctx, engine, ctx.platform->TickCount());
    ++frames;
    if (EndFrame(ctx)) break;
    if (FrameLimitReached(ctx)) break;
    if (ctx.runMode == RunMode::Preview && !ctx.frame.PreviewSettled) PreviewSettle(ctx);
  }
  return frames;
}

}  // namespace qsrn
