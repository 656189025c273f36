// Headless driving of the windowed run loop; see headless_run.h.
#include "host/headless_run.h"

#include "render/frame.h"

namespace qsrn {

namespace {

// Counts presented frames and asks for the stop with the last one, which the frame protocol
// then sees at the end of that same frame.
class CountingPlatform : public HeadlessPlatform {
 public:
  explicit CountingPlatform(int32_t frames) : frames_(frames) {}
  void Present(Context& ctx) override {
    if (++shown_ >= frames_) ctx.StopRequested = true;
  }
  int32_t Shown() const { return shown_; }

 private:
  int32_t frames_;
  int32_t shown_ = 0;
};

}  // namespace

int32_t RunScreenHeadless(Context& ctx, const SettingsStore& store, const HeadlessRunOptions& options,
                          DemoCounters& demo) {
  if (options.frames < 1 || ctx.surface == nullptr) return 0;
  CountingPlatform platform(options.frames);
  FramePlatform* const previous = ctx.platform;
  const RunMode previousMode = ctx.runMode;
  ctx.platform = &platform;
  ctx.runMode = RunMode::Windowed;

  RunLoop loop(ctx, store);
  if (options.factory) loop.SetEngineFactory(options.factory);
  loop.SetFixedSeed(options.seed);
  loop.RunScreen(demo);

  ctx.platform = previous;
  ctx.runMode = previousMode;
  return platform.Shown();
}

}  // namespace qsrn
