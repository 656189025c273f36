// The frame protocol against a scripted platform: how long a frame waits, when events are
// dispatched, the stop and preview-parent tests, the message repaint with its signed tick
// difference, the frame quota, the preview settle, and RunEngine's order of calls.
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

TEST(FrameDelay, WaitsTheDelayFromTheFrameStart) {
  Rig r;
  r.StartFrame();
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 25);
  EXPECT_EQ(r.platform.tick - static_cast<uint32_t>(r.ctx.frame.FrameStartTick), 25u);
  // The platform is told when the frame ends, so it can wait for events instead of spinning.
  EXPECT_EQ(r.platform.deadlines.front(), static_cast<uint32_t>(r.ctx.frame.FrameStartTick) + 25u);
}

TEST(FrameDelay, ZeroOrSpentDelayStillDispatchesOnce) {
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.StartFrame();
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 1);
  r.ctx.settings.Adv_TimeDelay = 25;
  r.platform.tick += 100;  // the drawing took longer than the delay
  r.platform.dispatches = 0;
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 1);
}

TEST(FrameDelay, StopDuringTheWaitEndsItAtOnce) {
  Rig r;
  r.platform.stopAtDispatch = 3;
  r.StartFrame();
  EXPECT_TRUE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 3);
}

TEST(FrameDelay, TickWrapDoesNotStall) {
  Rig r;
  r.platform.tick = 0xFFFFFFF0u;  // 16 ms before the 32-bit clock wraps
  r.StartFrame();
  EXPECT_FALSE(FrameDelay(r.ctx));
  EXPECT_EQ(r.platform.dispatches, 25);
  EXPECT_EQ(r.platform.tick, 9u);
}

TEST(EndFrame, PresentsBeforeWaitingAndReportsStop) {
  Rig r;
  r.StartFrame();
  EXPECT_FALSE(EndFrame(r.ctx));
  ASSERT_EQ(r.platform.presents, 1);
  EXPECT_EQ(r.platform.presentedAtDispatch.front(), 0);
  r.ctx.StopRequested = true;
  r.StartFrame();
  EXPECT_TRUE(EndFrame(r.ctx));
}

TEST(EndFrame, PreviewStopsWhenItsParentIsGone) {
  Rig r;
  r.platform.parentAlive = false;
  r.ctx.runMode = RunMode::Saver;  // only the preview has a parent to lose
  r.StartFrame();
  EXPECT_FALSE(EndFrame(r.ctx));
  EXPECT_FALSE(r.ctx.StopRequested);
  r.ctx.runMode = RunMode::Preview;
  r.StartFrame();
  EXPECT_TRUE(EndFrame(r.ctx));
  EXPECT_TRUE(r.ctx.StopRequested);
}

TEST(EndFrame, MessageRepaintedEveryThreeSeconds) {
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.platform.step = 0;
  r.platform.tick = 2999;
  r.ctx.frame.LastMessageTick = 0;
  r.StartFrame();
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 0);
  r.platform.tick = 3000;
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 1);
  EXPECT_EQ(r.ctx.frame.LastMessageTick, 3000);
  r.platform.tick = 5999;
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 1);
  r.platform.tick = 6000;
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 2);
}

TEST(EndFrame, NegativeTickDifferenceSkipsTheRepaint) {
  Rig r;
  r.ctx.settings.Adv_TimeDelay = 0;
  r.platform.step = 0;
  r.platform.tick = 0x80000010u;  // negative as a signed tick; LastMessageTick still 0
  r.StartFrame();
  EndFrame(r.ctx);
  EXPECT_EQ(r.platform.messages, 0);
  EXPECT_EQ(r.ctx.frame.LastMessageTick, 0);
}

TEST(ShowMessage, NeedsAMessageAndASurface) {
  Rig r;
  ShowMessage(r.ctx);
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

TEST(ClearAndShowMessage, ClearsToTheBackground) {
  Rig r;
  r.surface.SetPixel(3, 3, 0xFFFFFF);
  r.surface.BackColor = 0;
  ClearAndShowMessage(r.ctx);
  EXPECT_EQ(r.surface.GetPixel(3, 3), 0);
  EXPECT_EQ(r.platform.messages, 1);
}

TEST(FrameLimitReached, QuotaCountsOnlyWhenPositive) {
  Rig r;
  r.ctx.settings.Adv_EffectFPC = 100;
  for (int i = 1; i < 100; ++i) ASSERT_FALSE(FrameLimitReached(r.ctx)) << i;
  EXPECT_TRUE(FrameLimitReached(r.ctx));
  EXPECT_EQ(r.ctx.frame.FrameCount, 100);
  for (int32_t quota : {0, -5}) {
    r.ctx.settings.Adv_EffectFPC = quota;
    r.ctx.frame.FrameCount = 0;
    for (int i = 0; i < 1000; ++i) ASSERT_FALSE(FrameLimitReached(r.ctx));
    EXPECT_EQ(r.ctx.frame.FrameCount, 0);
  }
  // A count already past the quota ends the effect rather than running on.
  r.ctx.settings.Adv_EffectFPC = 100;
  r.ctx.frame.FrameCount = 250;
  EXPECT_TRUE(FrameLimitReached(r.ctx));
}

TEST(PreviewSettle, WaitsForTheClockToMoveOnce) {
  Rig r;
  r.platform.step = 0;
  int calls = 0;
  struct Slow : ScriptedPlatform {
    int* calls;
    void DispatchEvents(Context&, uint32_t) override {
      if (++*calls == 4) ++tick;
    }
  } slow;
  slow.calls = &calls;
  r.ctx.platform = &slow;
  PreviewSettle(r.ctx);
  EXPECT_TRUE(r.ctx.frame.PreviewSettled);
  EXPECT_EQ(calls, 4);
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

TEST(RunEngine, HeadlessFramesLastExactlyTheDelay) {
  Context ctx;
  Surface surface(8, 8);
  HeadlessPlatform platform;
  ctx.surface = &surface;
  ctx.platform = &platform;
  ctx.settings.Adv_TimeDelay = 25;
  ctx.settings.Adv_EffectFPC = 10;
  ProbeEngine engine;
  EXPECT_EQ(RunEngine(ctx, engine), 10);
  EXPECT_EQ(engine.setups, 1);
  ASSERT_EQ(engine.startTicks.size(), 10u);
  for (size_t i = 1; i < engine.startTicks.size(); ++i)
    EXPECT_EQ(engine.startTicks[i] - engine.startTicks[i - 1], 25);
}

TEST(RunEngine, StopEndsAfterTheFrameThatSawIt) {
  Context ctx;
  Surface surface(8, 8);
  HeadlessPlatform platform;
  platform.SetTick(0xFFFFFF00u);  // across the clock's wrap
  ctx.surface = &surface;
  ctx.platform = &platform;
  ctx.settings.Adv_TimeDelay = 40;
  ProbeEngine engine;
  engine.stopAtStep = 30;
  EXPECT_EQ(RunEngine(ctx, engine), 30);
}

TEST(RunEngine, PreviewSettlesOnceAfterTheFirstFrame) {
  Context ctx;
  Surface surface(8, 8);
  HeadlessPlatform platform;
  ctx.surface = &surface;
  ctx.platform = &platform;
  ctx.runMode = RunMode::Preview;
  ctx.settings.Adv_TimeDelay = 0;
  ctx.settings.Adv_EffectFPC = 3;
  ProbeEngine engine;
  EXPECT_EQ(RunEngine(ctx, engine), 3);
  EXPECT_EQ(engine.settledAtStep, (std::vector<bool>{false, true, true}));
}

TEST(RunEngine, NothingRunsWithoutSurfaceOrPlatform) {
  Context ctx;
  ProbeEngine engine;
  EXPECT_EQ(RunEngine(ctx, engine), 0);
  EXPECT_EQ(engine.setups, 0);
}

TEST(Engines, NamesAndFactoryBounds) {
  EXPECT_STREQ(EffectName(0), "Fireworks");
  EXPECT_STREQ(EffectName(1), "Starfield");
  EXPECT_STREQ(EffectName(4), "Stars and Gravity Wells");
  EXPECT_STREQ(EffectName(5), "Galaxies");
  EXPECT_STREQ(EffectName(6), "");
  EXPECT_STREQ(EffectName(-1), "");
  EXPECT_EQ(CreateEngine(-1), nullptr);
  EXPECT_EQ(CreateEngine(kEffectCount), nullptr);
}

}  // namespace qsrn
