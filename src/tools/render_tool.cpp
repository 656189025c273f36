// quasarine --render FILE.png: runs one effect offscreen with no frame delay and writes its last
// frame (or, with a frame-number pattern, every frame) as PNG, for screenshots and for tests
// that compare films frame by frame.
#include <cstdio>
#include <string>

#include "tools/frame_file.h"
#include "tools/headless.h"
#include "tools/headless_run.h"
#include "tools/tool_options.h"
#include "tools/tools.h"

namespace qsrn {

namespace {
int Usage(const std::string& why) {
  std::fprintf(stderr, "quasarine: %s\n%s", why.c_str(), ToolUsage(ToolKind::Render));
  return 2;
}
}  // namespace

int RenderMain(int argc, char** argv) {
  std::string error;
  const std::optional<ToolOptions> options = ParseToolOptions(ToolKind::Render, argc, argv, &error);
  if (!options) return Usage(error);
  const std::optional<FramePattern> pattern = ParseFramePattern(options->file);
  if (!pattern) return Usage("the file name may hold one frame number (%d, %04d) and nothing else");

  ToolStore store;
  if (!store.Open(SettingsStore::DefaultDirectory(), options->overrides, &error)) return Usage(error);

  // Without --effect the film is what the windowed display would show: the stored effect, or
  // the cycle or demonstration, exactly as its run loop chooses them.
  const bool followRunLoop = !options->effect.has_value();
  if (followRunLoop && options->theme != 0) return Usage("--theme needs --effect");
  HeadlessDisplay display;
  std::unique_ptr<Engine> engine;
  if (followRunLoop) {
    display.surface.Resize(options->width, options->height);
  } else {
    const int effect = *options->effect;
    display.Start(store.store(), options->width, options->height, options->seed.value_or(ClockSeed()));
    engine = PrepareEffect(display.ctx, store.store(), effect, options->theme, false);
    if (engine == nullptr) {
      std::fprintf(stderr, "quasarine: the %s effect is not available\n", EffectName(effect));
      return 1;
    }
  }

  bool written = true;
  std::string failed;
  if (pattern->numbered) {
    int32_t frame = 0;
    display.platform.onPresent = [&](Context& ctx) {
      const std::string name = FrameFileName(*pattern, ++frame);
      if (written && !WritePng(*ctx.surface, name)) {
        written = false;
        failed = name;
        ctx.StopRequested = true;  // no point drawing frames that cannot be kept
      }
    };
  }
  if (followRunLoop) {
    DemoCounters demo;
    RunScreenHeadless(display.ctx, store.store(), HeadlessRunOptions{options->frames, options->seed, {}}, demo);
  } else {
    RunFrames(display.ctx, *engine, options->frames);
  }
  if (!pattern->numbered && !WritePng(display.surface, pattern->prefix)) {
    written = false;
    failed = pattern->prefix;
  }
  if (!written) {
    std::fprintf(stderr, "quasarine: cannot write %s\n", failed.c_str());
    return 1;
  }
  return 0;
}

}  // namespace qsrn
