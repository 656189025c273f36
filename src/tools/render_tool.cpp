// quasarine --render FILE.png: runs one effect offscreen with no frame delay and writes its last
// frame (or, with a frame-number pattern, every frame) as PNG, for screenshots and for tests
// that compare films frame by frame; FILE.webp or FILE.gif becomes one animated image of every
// frame, to share what the saver shows.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "tools/animation_file.h"
#include "tools/frame_file.h"
#include "tools/headless.h"
#include "tools/headless_run.h"
#include "tools/tools.h"

namespace qsrn {

namespace {
constexpr int32_t kShortestFrameMs = 20;

int Usage(const std::string& why) { return RefuseArguments(Program::Render, why); }

// Where the frames go: each presented frame into an animation or a numbered file, or the last
// frame into one PNG at the end. The first file that cannot be written stops the run.
class FilmWriter {
 public:
  FilmWriter(std::string file, FramePattern pattern, std::unique_ptr<AnimationFile> animation)
      : file_(std::move(file)), pattern_(std::move(pattern)), animation_(std::move(animation)) {}

  void Attach(ToolPlatform& platform) {
    if (animation_) {
      platform.onPresent = [this](Context& ctx) {
        // Each frame lasts the frame delay, as on screen (viewers round very short delays up).
        const int32_t durationMs = std::max(ctx.settings.Adv_TimeDelay, kShortestFrameMs);
        if (written_ && !animation_->Add(*ctx.surface, durationMs)) Fail(file_, ctx);
      };
    } else if (pattern_.numbered) {
      platform.onPresent = [this](Context& ctx) {
        const std::string name = FrameFileName(pattern_, ++frame_);
        if (written_ && !WritePng(*ctx.surface, name)) Fail(name, ctx);  // no point drawing frames that cannot be kept
      };
    }
  }

  // Ends the film; false, naming the file in failed(), when a file could not be written.
  bool Finish(const Surface& last) {
    if (animation_) {
      if (written_ && !animation_->Finish()) Fail(file_);
    } else if (!pattern_.numbered && !WritePng(last, pattern_.prefix)) {
      Fail(pattern_.prefix);
    }
    return written_;
  }
  const std::string& failed() const { return failed_; }

 private:
  void Fail(const std::string& name) {
    written_ = false;
    failed_ = name;
  }
  void Fail(const std::string& name, Context& ctx) {
    Fail(name);
    ctx.StopRequested = true;
  }

  std::string file_;
  FramePattern pattern_;
  std::unique_ptr<AnimationFile> animation_;
  int32_t frame_ = 0;
  bool written_ = true;
  std::string failed_;
};

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

  std::unique_ptr<AnimationFile> animation = pattern->numbered ? nullptr : AnimationFile::ForName(options.file);
  if (!pattern->numbered && !animation && AnimationFile::IsAnimationName(options.file))
    return Usage("this build cannot write WebP (libwebp was missing when it was built)");
  FilmWriter film(options.file, *pattern, std::move(animation));
  film.Attach(display.platform);
  if (followRunLoop) {
    DemoCounters demo;
    RunScreenHeadless(display.ctx, store.store(), HeadlessRunOptions{options.frames, options.seed, {}}, demo);
  } else {
    RunFrames(display.ctx, *engine, options.frames);
  }
  if (!film.Finish(display.surface)) {
    std::fprintf(stderr, "quasarine: cannot write %s\n", film.failed().c_str());
    return 1;
  }
  return 0;
}

}  // namespace qsrn
