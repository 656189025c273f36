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
  std::vector<uint32_t> deadlines;
  std::vector<int> presentedAtDispatch;

  uint32_t TickCount() override { return tick; }
  void Present(Context&) override { presentedAtDispatch.push_back(dispatches); }
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
    EXPECT_EQ(r.platform.deadlines.front(), start + 25u);
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

TEST(EndFrame, PresentsBeforeWaitingAndStopsOnRequestOrALostPreviewParent) {
  Rig r;
  r.StartFrame();
  EXPECT_FALSE(EndFrame(r.ctx));
  EXPECT_EQ(r.platform.presentedAtDispatch, std::vector<int>{0});
  r.platform.parentAlive = false;
  r.ctx.runMode = RunMode::Saver;  // only the preview has a parent to lose
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

namespace {
// An engine that records what it saw at each step and can ask to stop.
struct ProbeEngine : Engine {
  int setups = 0;
  int stopAtStep = -1;
  std::vector<int32_t> startTicks;
  std::vector<bool> settledAtStep;
  void Setup(Context&) override { ++setups; }
  void Step(Context& ctx) override {
    startTicks.push_back(ctx.frame.FrameStartTick);
    settledAtStep.push_back(ctx.frame.PreviewSettled);
    ctx.StopRequested = static_cast<int>(startTicks.size()) == stopAtStep;
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
