// The frame protocol against a scripted platform: the wait, the stop and preview-parent tests, the
// message repaint, the frame quota, and RunEngine's frames, stop and preview settle.
#include <gtest/gtest.h>

#include <vector>

#include "effects/engine.h"
#include "render/frame.h"
#include "render/surface.h"

namespace qsrn {

namespace {

// A clock that moves `step` milliseconds on each dispatch, and records what it was asked.
class ScriptedPlatform : public FramePlatform {
 public:
  uint32_t tick = 1000;
  uint32_t step = 1;
  int dispatches = 0;
  int messages = 0;
  int stopAtDispatch = -1;  // sets StopRequested on this dispatch (1-based)
  bool parentAlive = true;
  uint32_t firstDeadline = 0;
  int presentedAfter = -1;  // dispatches

  uint32_t TickCount() override { return tick; }
  void Present(Context&) override { presentedAfter = dispatches; }
  void DispatchEvents(Context& ctx, uint32_t deadline) override {
    if (dispatches++ == 0) firstDeadline = deadline;
    tick += step;
    if (dispatches == stopAtDispatch) ctx.StopRequested = true;
  }
  bool PreviewParentAlive() override { return parentAlive; }
  void ShowMessage(Context&) override { ++messages; }
};

struct Rig {
  Context ctx;
  Surface surface{16, 16};
  ScriptedPlatform platform;
  Rig() {
    ctx.surface = &surface;
    ctx.platform = &platform;
    ctx.settings.Adv_TimeDelay = 25;
    ctx.settings.LockMessage = "hello";
  }
  void StartFrame() { ctx.frame.FrameStartTick = static_cast<int32_t>(platform.tick); }
};

}  // namespace

// The wait runs from the frame's start, also across the 32-bit clock's wrap, and the platform is
// told when the frame ends (so it can wait for events instead of spinning). A delay of zero or one
// already spent still dispatches once; a stop ends the wait.
TEST(FrameDelay, WaitsTheDelayFromTheFrameStartAndStopsOnRequest) {
  for (uint32_t start : {1000u, 0xFFFFFFF0u}) {
    Rig r;
    r.platform.tick = start;
    r.StartFrame();
    EXPECT_FALSE(FrameDelay(r.ctx));
    EXPECT_EQ(r.platform.dispatches, 25);
    EXPECT_EQ(r.platform.firstDeadline, start + 25u);
  }
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.StartFrame();
  EXPECT_FALSE(FrameDelay(r.ctx));
  r.ctx.settings.Adv_TimeDelay = 25;
  r.platform.tick += 100;
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 2);
  r.platform.stopAtDispatch = 5;
  r.StartFrame();
  EXPECT_TRUE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 5);
}

// A frame is presented before the wait; it ends the run on a stop request, or in the preview
// when the parent window is gone.
TEST(EndFrame, PresentsBeforeWaitingAndStopsOnRequestOrALostPreviewParent) {
  Rig r;
  r.StartFrame();
  EXPECT_FALSE(EndFrame(r.ctx));
  EXPECT_EQ(r.platform.presentedAfter, 0);
  r.platform.parentAlive = false;
  r.ctx.runMode = RunMode::Saver;
  EXPECT_FALSE(EndFrame(r.ctx));
  r.ctx.runMode = RunMode::Preview;
  EXPECT_TRUE(EndFrame(r.ctx));
  EXPECT_TRUE(r.ctx.StopRequested);
  r.platform.parentAlive = true;  // a stop already requested ends the frame too
  EXPECT_TRUE(EndFrame(r.ctx));
}

// Every three seconds by a signed tick difference (a negative one skips the repaint); a message
// needs a text and a surface, and the full repaint clears to the background first.
TEST(EndFrame, MessageRepaintedEveryThreeSeconds) {
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.platform.step = 0;
  for (auto [tick, messages] : {std::pair{2999u, 0}, {3000u, 1}, {5999u, 1}, {6000u, 2}}) {
    r.platform.tick = tick;
    EndFrame(r.ctx);
    EXPECT_EQ(r.platform.messages, messages) << tick;
  }
  r.ctx.frame.LastMessageTick = 0;
  r.platform.tick = 0x80000010u;
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 2);
  EXPECT_EQ(r.ctx.frame.LastMessageTick, 0);
  r.surface.SetPixel(3, 3, 0xFFFFFF);
  ClearAndShowMessage(r.ctx);
  EXPECT_EQ(r.surface.GetPixel(3, 3), 0);
  EXPECT_EQ(r.platform.messages, 3);
  r.ctx.settings.LockMessage.clear();
  ShowMessage(r.ctx);
  r.ctx.settings.LockMessage.assign(1, 'x');  // (a literal here trips a false GCC 12 warning)
  r.ctx.surface = nullptr;
  ClearAndShowMessage(r.ctx);
  EXPECT_EQ(r.platform.messages, 3);
}

// A positive quota ends the effect on its last frame, or at once when the count is already past
// it; zero and negative quotas never end it.
TEST(FrameLimitReached, QuotaCountsOnlyWhenPositive) {
  Rig r;
  for (int32_t quota : {100, 0, -5}) {
    r.ctx.settings.Adv_EffectFPC = quota;
    r.ctx.frame.FrameCount = 0;
    int frames = 1;
    while (!FrameLimitReached(r.ctx) && frames < 200) ++frames;
    EXPECT_EQ(frames, quota > 0 ? quota : 200) << quota;
  }
  r.ctx.settings.Adv_EffectFPC = 100;
  r.ctx.frame.FrameCount = 250;
  EXPECT_TRUE(FrameLimitReached(r.ctx));
}

// Headless frames last exactly the delay, also across the clock's wrap; a stop ends the run after
// the frame that saw it; a preview settles once, after its first frame; nothing runs without a
// surface and a platform.
TEST(RunEngine, HeadlessFramesStopsAndThePreviewSettle) {
  struct Probe : Engine {
    std::vector<int32_t> ticks;
    std::vector<bool> settled;
    void Setup(Context&) override {}
    void Step(Context& ctx) override {
      ticks.push_back(ctx.frame.FrameStartTick);
      settled.push_back(ctx.frame.PreviewSettled);
      ctx.StopRequested = ticks.size() == 7;
    }
  };
  Rig r;
  HeadlessPlatform platform;
  platform.SetTick(0xFFFFFF00u);
  r.ctx.platform = &platform;
  r.ctx.settings.Adv_EffectFPC = 10;
  r.ctx.runMode = RunMode::Preview;
  Probe engine;
  EXPECT_EQ(RunEngine(r.ctx, engine), 7);
  for (size_t i = 2; i < engine.ticks.size(); ++i) EXPECT_EQ(engine.ticks[i] - engine.ticks[i - 1], 25);
  EXPECT_EQ(engine.settled, (std::vector<bool>{false, true, true, true, true, true, true}));
  Context none;
  Probe idle;
  EXPECT_EQ(RunEngine(none, idle), 0);
  EXPECT_TRUE(idle.ticks.empty());
  EXPECT_EQ(CreateEngine(kEffectCount), nullptr);
}

}  // namespace qsrn
