// Headless driving of the windowed run loop; see headless_run.h.
#include "tools/headless_run.h"

#include "render/frame.h"
#include "render/geometry.h"

namespace qsrn {

namespace {

// Passes everything to the platform underneath, counts the presented frames and asks for the
// stop with the last one, which the frame protocol then sees at the end of that same frame.
class CountingPlatform : public FramePlatform {
 public:
  CountingPlatform(FramePlatform& inner, int32_t frames) : inner_(inner), frames_(frames) {}
  uint32_t TickCount() override { return inner_.TickCount(); }
  void Present(Context& ctx) override {
    inner_.Present(ctx);
    if (++shown_ >= frames_) ctx.StopRequested = true;
  }
  void DispatchEvents(Context& ctx, uint32_t deadlineTick) override { inner_.DispatchEvents(ctx, deadlineTick); }
  bool PreviewParentAlive() override { return inner_.PreviewParentAlive(); }
  void ShowMessage(Context& ctx) override { inner_.ShowMessage(ctx); }
  int32_t Shown() const { return shown_; }

 private:
  FramePlatform& inner_;
  int32_t frames_;
  int32_t shown_ = 0;
};

}  // namespace

int32_t RunScreenHeadless(Context& ctx, const SettingsStore& store, const HeadlessRunOptions& options,
                          DemoCounters& demo) {
  if (options.frames < 1 || ctx.surface == nullptr) return 0;
  HeadlessPlatform fallback;
  FramePlatform* const previous = ctx.platform;
  CountingPlatform platform(previous != nullptr ? *previous : fallback, options.frames);
  const RunMode previousMode = ctx.runMode;
  ctx.platform = &platform;
  ctx.runMode = RunMode::Windowed;
  BuildTrigTables(ctx.trig);

  RunLoop loop(ctx, store);
  if (options.factory) loop.SetEngineFactory(options.factory);
  loop.SetFixedSeed(options.seed);
  loop.RunScreen(demo);

  ctx.platform = previous;
  ctx.runMode = previousMode;
  return platform.Shown();
}

}  // namespace qsrn
