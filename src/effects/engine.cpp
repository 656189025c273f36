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

namespace qsrn {

const char* EffectName(int effect) {
  switch (effect) {
    case 0: return "Fireworks";
    case 1: return "Starfield";
    case 2: return "B-Spline Warp";
    case 3: return "B-Spline Sparklers";
    case 4: return "Stars and Gravity Wells";
    case 5: return "Galaxies";
    default: return "";
  }
}

std::unique_ptr<Engine> CreateEngine(int effect) {
  switch (effect) {
    case 0: return RunFireworks();
    case 1: return std::make_unique<Starfield>();
    case 2: return std::make_unique<WarpEngine>();
    case 3: return std::make_unique<SparklerEngine>();
    case 4: return CreateGravityWells();
    case 5: return CreateGalaxy();
    default: return nullptr;
  }
}

int32_t RunEngine(Context& ctx, Engine& engine) {
  // Without a surface there is nowhere to draw, and without a platform no clock or stop signal.
  if (ctx.surface == nullptr || ctx.platform == nullptr) return 0;
  engine.Setup(ctx);
  int32_t frames = 0;
  for (;;) {
    ctx.frame.FrameStartTick = static_cast<int32_t>(ctx.platform->TickCount());
    engine.Step(ctx);
    ++frames;
    if (EndFrame(ctx)) break;
    if (FrameLimitReached(ctx)) break;
    if (ctx.runMode == RunMode::Preview && !ctx.frame.PreviewSettled) PreviewSettle(ctx);
  }
  return frames;
}

}  // namespace qsrn
