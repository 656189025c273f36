// quasarine --render FILE.png: runs one effect offscreen with no frame delay and writes its last
// frame (or, with a frame-number pattern, every frame) as PNG, for screenshots and for tests
// that compare films frame by frame; FILE.webp or FILE.gif becomes one animated image of every
// frame, to share what the saver shows.
#include <cstdio>
#include <string>

#include <algorithm>

#include "tools/animation_file.h"
#include "tools/frame_file.h"
#include "tools/headless.h"
#include "tools/headless_run.h"
#include "tools/tools.h"

namespace qsrn {

namespace {
constexpr int32_t kShortestFrameMs = 20;

int Usage(const std::string& why) { return RefuseArguments(Program::Render, why); }
}  // namespace

int RenderMain(const ToolOptions& options) {
  std::string error;
  const std::optional<FramePattern> pattern = ParseFramePattern(options.file);
  if (!pattern) return Usage("the file name may hold one frame number (%d, %04d) and nothing else");

  ToolStore store;
  if (!store.Open(SettingsStore::DefaultDirectory(), options.overrides, &error)) return Usage(error);

  // Without --effect the film is what the windowed display would show: the stored effect, or
  // the cycle or demonstration, exactly as its run loop chooses them.
  const bool followRunLoop = !options.effect.has_value();
  if (followRunLoop && options.theme != 0) return Usage("--theme needs --effect");
  HeadlessDisplay display;
  std::unique_ptr<Engine> engine;
  if (followRunLoop) {
    display.surface.Resize(options.width, options.height);
  } else {
    const int effect = *options.effect;
    display.Start(store.store(), options.width, options.height, options.seed.value_or(ClockSeed()));
    engine = PrepareEffect(display.ctx, store.store(), effect, options.theme, false);
    if (engine == nullptr) {
      std::fprintf(stderr, "quasarine: the %s effect is not available\n", EffectName(effect));
      return 1;
    }
  }

  bool written = true;
  std::string failed;
  std::unique_ptr<AnimationFile> animation = pattern->numbered ? nullptr : AnimationFile::ForName(options.file);
  if (!pattern->numbered && !animation && AnimationFile::IsAnimationName(options.file))
    return Usage("this build cannot write WebP (libwebp was missing when it was built)");
  if (animation) {
    display.platform.onPresent = [&](Context& ctx) {
      // Each frame lasts the frame delay, as on screen (viewers round very short delays up).
      const int32_t durationMs = std::max(ctx.settings.Adv_TimeDelay, kShortestFrameMs);
      if (written && !animation->Add(*ctx.surface, durationMs)) {
        written = false;
        failed = options.file;
        ctx.StopRequested = true;
      }
    };
  } else if (pattern->numbered) {
    // The count lives in the callback itself: it runs long after this block has ended.
    display.platform.onPresent = [&, frame = int32_t{0}](Context& ctx) mutable {
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
    RunScreenHeadless(display.ctx, store.store(), HeadlessRunOptions{options.frames, options.seed, {}}, demo);
  } else {
    RunFrames(display.ctx, *engine, options.frames);
  }
  if (animation) {
    if (written && !animation->Finish()) {
      written = false;
      failed = options.file;
    }
  } else if (!pattern->numbered && !WritePng(display.surface, pattern->prefix)) {
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
