// The frame protocol against a scripted platform: how long a frame waits, when events are
// dispatched, the stop and preview-parent tests, the message repaint with its signed tick
// difference, the frame quota, and RunEngine's frames, stop and preview settle.
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
  int presents = 0;
  int messages = 0;
  int stopAtDispatch = -1;  // sets StopRequested on this dispatch (1-based)
  bool parentAlive = true;
  std::vector<uint32_t> deadlines;
  std::vector<int> presentedAtDispatch;

  uint32_t TickCount() override { return tick; }
  void Present(Context&) override {
    ++presents;
    presentedAtDispatch.push_back(dispatches);
  }
  void DispatchEvents(Context& ctx, uint32_t deadline) override {
    ++dispatches;
    deadlines.push_back(deadline);
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

TEST(FrameDelay, WaitsTheDelayFromTheFrameStartAcrossTheClocksWrap) {
  for (uint32_t start : {1000u, 0xFFFFFFF0u}) {  // the second 16 ms before the 32-bit clock wraps
    Rig r;
    r.platform.tick = start;
    r.StartFrame();
    EXPECT_FALSE(FrameDelay(r.ctx));
    EXPECT_EQ(r.platform.dispatches, 25);
    EXPECT_EQ(r.platform.tick, start + 25u);
    // The platform is told when the frame ends, so it can wait for events instead of spinning.
    EXPECT_EQ(r.platform.deadlines.front(), start + 25u);
  }
}

TEST(FrameDelay, ZeroOrSpentDelayStillDispatchesOnceAndStopEndsTheWait) {
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.StartFrame();
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 1);
  r.ctx.settings.Adv_TimeDelay = 25;
  r.platform.tick += 100;  // the drawing took longer than the delay
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 2);
  r.platform.stopAtDispatch = 5;
  r.StartFrame();
  EXPECT_TRUE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 5);
}

TEST(EndFrame, PresentsBeforeWaitingAndStopsOnRequestOrALostPreviewParent) {
  Rig r;
  r.StartFrame();
  EXPECT_FALSE(EndFrame(r.ctx));
  ASSERT_EQ(r.platform.presents, 1);
  EXPECT_EQ(r.platform.presentedAtDispatch.front(), 0);
  r.platform.parentAlive = false;
  r.ctx.runMode = RunMode::Saver;  // only the preview has a parent to lose
  EXPECT_FALSE(EndFrame(r.ctx));
  r.ctx.runMode = RunMode::Preview;
  EXPECT_TRUE(EndFrame(r.ctx));
  EXPECT_TRUE(r.ctx.StopRequested);
  Rig stopped;
  stopped.ctx.StopRequested = true;
  EXPECT_TRUE(EndFrame(stopped.ctx));
}

// Every three seconds by a signed tick difference: a negative one skips the repaint.
TEST(EndFrame, MessageRepaintedEveryThreeSeconds) {
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.platform.step = 0;
  for (auto [tick, messages] : {std::pair{2999u, 0}, {3000u, 1}, {5999u, 1}, {6000u, 2}}) {
    r.platform.tick = tick;
    EndFrame(r.ctx);
    EXPECT_EQ(r.platform.messages, messages) << tick;
  }
  EXPECT_EQ(r.ctx.frame.LastMessageTick, 6000);
  r.ctx.frame.LastMessageTick = 0;
  r.platform.tick = 0x80000010u;
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 2);
  EXPECT_EQ(r.ctx.frame.LastMessageTick, 0);
}

TEST(ShowMessage, NeedsAMessageAndASurfaceAndClearsToTheBackground) {
  Rig r;
  r.surface.SetPixel(3, 3, 0xFFFFFF);
  ClearAndShowMessage(r.ctx);
  EXPECT_EQ(r.surface.GetPixel(3, 3), 0);
  EXPECT_EQ(r.platform.messages, 1);
  r.ctx.settings.LockMessage.clear();
  ShowMessage(r.ctx);
  EXPECT_EQ(r.platform.messages, 1);
  r.ctx.settings.LockMessage.assign(1, 'x');  // (a literal here trips a false GCC 12 warning)
  r.ctx.surface = nullptr;
  ShowMessage(r.ctx);
  ClearAndShowMessage(r.ctx);
  EXPECT_EQ(r.platform.messages, 1);
}

TEST(FrameLimitReached, QuotaCountsOnlyWhenPositive) {
  Rig r;
  r.ctx.settings.Adv_EffectFPC = 100;
  for (int i = 1; i < 100; ++i) ASSERT_FALSE(FrameLimitReached(r.ctx)) << i;
  EXPECT_TRUE(FrameLimitReached(r.ctx));
  for (int32_t quota : {0, -5}) {
    r.ctx.settings.Adv_EffectFPC = quota;
    r.ctx.frame.FrameCount = 0;
    for (int i = 0; i < 200; ++i) ASSERT_FALSE(FrameLimitReached(r.ctx));
  }
  // A count already past the quota ends the effect rather than running on.
  r.ctx.settings.Adv_EffectFPC = 100;
  r.ctx.frame.FrameCount = 250;
  EXPECT_TRUE(FrameLimitReached(r.ctx));
}

namespace {
// An engine that records what it saw at each step and can ask to stop.
class ProbeEngine : public Engine {
 public:
  int setups = 0;
  int stopAtStep = -1;
  std::vector<int32_t> startTicks;
  std::vector<bool> settledAtStep;
  void Setup(Context&) override { ++setups; }
  void Step(Context& ctx) override {
    startTicks.push_back(ctx.frame.FrameStartTick);
    settledAtStep.push_back(ctx.frame.PreviewSettled);
    if (static_cast<int>(startTicks.size()) == stopAtStep) ctx.StopRequested = true;
  }
};
}  // namespace

// Frames of the headless platform last exactly the delay, also across the clock's wrap; a stop
// ends the run after the frame that saw it; a preview settles once, after its first frame.
TEST(RunEngine, HeadlessFramesStopsAndThePreviewSettle) {
  for (uint32_t start : {0u, 0xFFFFFF00u}) {
    Context ctx;
    Surface surface(8, 8);
    HeadlessPlatform platform;
    platform.SetTick(start);
    ctx.surface = &surface;
    ctx.platform = &platform;
    ctx.settings.Adv_TimeDelay = 25;
    ctx.settings.Adv_EffectFPC = 10;
    ctx.runMode = RunMode::Preview;
    ProbeEngine engine;
    engine.stopAtStep = start ? 7 : -1;
    EXPECT_EQ(RunEngine(ctx, engine), start ? 7 : 10);
    EXPECT_EQ(engine.setups, 1);
    for (size_t i = 2; i < engine.startTicks.size(); ++i) EXPECT_EQ(engine.startTicks[i] - engine.startTicks[i - 1], 25);
    EXPECT_FALSE(engine.settledAtStep[0]);
    EXPECT_TRUE(engine.settledAtStep[1]);
  }
  Context none;
  ProbeEngine engine;
  EXPECT_EQ(RunEngine(none, engine), 0);  // no surface or platform: nothing runs
  EXPECT_EQ(engine.setups, 0);
  EXPECT_EQ(CreateEngine(kEffectCount), nullptr);
}

}  // namespace qsrn
