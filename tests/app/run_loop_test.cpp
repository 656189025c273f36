// The run loops driven headless with recording engines: which effects and themes run, in which
// order and for how many frames, with cycling, theme stepping, quotas, the performance
// multiplier, the demonstrations and the stop request.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tools/headless_run.h"
#include "host/run_loop.h"
#include "host_test_support.h"
#include "render/frame.h"
#include "render/surface.h"
#include "settings/loaders.h"
#include "settings/store.h"

namespace qsrn {
namespace {

struct Load {
  int effect;
  int theme;
  bool applyPerfMult;
  bool operator==(const Load&) const = default;
};

struct EngineRun {
  int effect;
  int theme;
  int32_t quota;
  int32_t frames;
  int16_t particles;
};

// A platform that asks for the stop after a number of event dispatches, for loops that run no
// engine at all.
class StoppingPlatform : public HeadlessPlatform {
 public:
  void DispatchEvents(Context& ctx, uint32_t deadlineTick) override {
    HeadlessPlatform::DispatchEvents(ctx, deadlineTick);
    if (++dispatches >= stopAfter) ctx.StopRequested = true;
  }
  int dispatches = 0;
  int stopAfter = 1 << 30;
};

class RunLoopTest : public ::testing::Test {
 protected:
  // An engine that draws nothing and records how long it ran; it asks for the stop once the
  // test's frame budget is spent.
  class RecordingEngine : public Engine {
   public:
    RecordingEngine(RunLoopTest& test, int effect) : test_(test), effect_(effect) {}
    void Setup(Context& ctx) override {
      test_.runs.push_back({effect_, test_.lastTheme, ctx.settings.Adv_EffectFPC, 0, ctx.settings.ParticleCount});
      test_.firstDraws.push_back(ctx.Rnd());
    }
    void Step(Context& ctx) override {
      ++test_.runs.back().frames;
      if (++test_.framesRun >= test_.budget) ctx.StopRequested = true;
    }

   private:
    RunLoopTest& test_;
    int effect_;
  };

  void SetUp() override {
    ctx.surface = &surface;
    ctx.platform = &platform;
    surface.Resize(320, 240);
    loop.SetFixedSeed(11);
    loop.SetEffectLoader([this](Context& c, const SettingsStore& s, int effect, int theme, bool perf) {
      LoadEffectSettings(c, s, effect, theme, perf);
      loads.push_back({effect, theme, perf});
      lastTheme = theme;
    });
    loop.SetEngineFactory([this](int effect) -> std::unique_ptr<Engine> {
      return std::make_unique<RecordingEngine>(*this, effect);
    });
  }

  // Forgets what ran so far before another run loop with a new frame budget.
  void Again(int32_t newBudget) {
    runs.clear();
    firstDraws.clear();
    framesRun = 0;
    budget = newBudget;
  }

  void Set(const char* section, const char* name, const char* value) {
    store.RegSetString(kAppName, section, name, value);
  }

  // The runs as (effect, theme, frames) triples.
  std::vector<std::tuple<int, int, int32_t>> Sequence() const {
    std::vector<std::tuple<int, int, int32_t>> out;
    for (const EngineRun& r : runs) out.emplace_back(r.effect, r.theme, r.frames);
    return out;
  }

  host_test::TempHome home;
  SettingsStore store{home.path()};
  std::unique_ptr<Context> ctxStorage = std::make_unique<Context>();
  Context& ctx = *ctxStorage;
  Surface surface;
  StoppingPlatform platform;
  RunLoop loop{ctx, store};
  DemoCounters demo;

  std::vector<Load> loads;
  std::vector<EngineRun> runs;
  std::vector<float> firstDraws;
  int lastTheme = 0;
  int32_t framesRun = 0;
  int32_t budget = 1 << 30;
};

TEST_F(RunLoopTest, CyclingWithTheDefaultMaskVisitsEachSelectedEffectForItsQuota) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "500");
  budget = 20 * 500 + 7;
  loop.RunSaver(demo);

  std::vector<std::tuple<int, int, int32_t>> expected = {{0, 0, 500}, {2, 0, 500}, {3, 0, 500}, {4, 0, 500}};
  for (int theme = 1; theme <= 16; ++theme) expected.emplace_back(5, theme, 500);
  expected.emplace_back(0, 0, 7);  // then Fireworks again, stopped after 7 frames
  EXPECT_EQ(Sequence(), expected);
  // Starfield is loaded on its visit but never runs.
  EXPECT_EQ(loads[1], (Load{1, 0, true}));
  for (const EngineRun& r : runs) EXPECT_EQ(r.quota, 500);
}

TEST_F(RunLoopTest, FireworksThemeStepping) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "100");
  Set("Advanced", "Adv_PickQSRN", "65");  // bits 64 and 0
  budget = 14 * 100;
  loop.RunSaver(demo);

  std::vector<std::tuple<int, int, int32_t>> expected;
  for (int theme = 1; theme <= 13; ++theme) expected.emplace_back(0, theme, 100);
  expected.emplace_back(0, 1, 100);  // round the cycle and back to the first theme
  EXPECT_EQ(Sequence(), expected);
}

TEST_F(RunLoopTest, ThemeBitWithoutTheEffectBitLoadsThemesButRunsNothing) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "100");
  Set("Advanced", "Adv_PickQSRN", "64");
  platform.stopAfter = 60;
  loop.RunSaver(demo);

  EXPECT_TRUE(runs.empty());
  ASSERT_GE(loads.size(), 18u);
  for (int theme = 1; theme <= 13; ++theme) EXPECT_EQ(loads[theme - 1], (Load{0, theme, true}));
  // Indexes 1 to 4 are loaded whatever the mask; Galaxies without its bits is not.
  EXPECT_EQ(loads[13], (Load{1, 0, true}));
  EXPECT_EQ(loads[16], (Load{4, 0, true}));
  EXPECT_EQ(loads[17], (Load{0, 1, true}));
  EXPECT_TRUE(ctx.StopRequested);  // the loop kept dispatching and honoured the stop
}

TEST_F(RunLoopTest, StepsSkippedByTheMaskCostNoTime) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "100");
  Set("Advanced", "Adv_PickQSRN", "33");  // Fireworks and Galaxies; four steps skipped between
  budget = 250;
  const uint32_t start = platform.TickCount();
  loop.RunSaver(demo);
  EXPECT_EQ(Sequence(), (std::vector<std::tuple<int, int, int32_t>>{{0, 0, 100}, {5, 0, 100}, {0, 0, 50}}));
  EXPECT_EQ(platform.dispatches, 250);  // one per frame, none for the skipped steps
  EXPECT_EQ(platform.TickCount() - start, 250u * 25u);
}

TEST_F(RunLoopTest, AFixedEffectRunsAloneWithItsThemeWhateverTheStoreSays) {
  Set("General", "AnimationType", "1");
  Set("Advanced", "Adv_EffectFPC", "100");
  loop.SetFixedEffect(RunLoop::EffectChoice{5, 3});
  budget = 250;
  loop.RunSaver(demo);
  EXPECT_EQ(Sequence(), (std::vector<std::tuple<int, int, int32_t>>{{5, 3, 250}}));
  EXPECT_EQ(store.RegGetString(0, kAppName, "General", "AnimationType", ""), "1");
}

TEST_F(RunLoopTest, NoEffectSelectedWaitsCalmlyInsteadOfSpinning) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "100");
  Set("Advanced", "Adv_PickQSRN", "0");
  Set("Advanced", "Adv_TimeDelay", "0");
  platform.stopAfter = 10;
  const uint32_t start = platform.TickCount();
  loop.RunSaver(demo);
  EXPECT_TRUE(runs.empty());
  // Ten idle passes took at least ten idle waits of the clock even with no frame delay.
  EXPECT_GE(platform.TickCount() - start, 10u * 50u);
}

TEST_F(RunLoopTest, AQuotaOf20000Gives9999InTheSaverAndTheWindowAnd20000InThePreview) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "20000");
  budget = 9999 + 1;
  loop.RunSaver(demo);
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(runs[0].frames, 9999);
  EXPECT_EQ(runs[0].quota, 9999);

  Again(9999 + 1);
  loop.RunScreen(demo);
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(runs[0].frames, 9999);

  Again(20000 + 1);
  ctx.runMode = RunMode::Preview;
  loop.RunPreview();
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(runs[0].frames, 20000);
  EXPECT_EQ(runs[0].quota, 20000);
}

TEST_F(RunLoopTest, ASingleEffectRunsUntilStoppedWithThePerformanceMultiplierOnlyInThePreview) {
  Set("General", "AnimationType", "3");
  Set("Advanced", "Adv_EffectFPC", "0");
  Set("Advanced", "Adv_PerfMult", "2");
  Set("B-SplineSpark", "B_Spline_Pixels", "1000");
  budget = 3000;
  loop.RunSaver(demo);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].effect, 3);
  EXPECT_EQ(runs[0].frames, 3000);
  EXPECT_EQ(loads.back(), (Load{3, 0, false}));
  const int16_t saverParticles = runs[0].particles;
  EXPECT_EQ(saverParticles, 1000);

  Again(10);
  ctx.runMode = RunMode::Preview;
  loop.RunPreview();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(loads.back(), (Load{3, 0, true}));
  // The preview multiplies by Adv_PerfMult, itself scaled by 0.6 in the preview.
  EXPECT_NEAR(runs[0].particles, saverParticles * 2 * 0.6, 1.0);
}

TEST_F(RunLoopTest, ANegativeQuotaInTheSaverCyclesButNeverReachesIt) {
  Set("General", "AnimationType", "3");
  Set("Advanced", "Adv_EffectFPC", "-5");
  budget = 2500;
  loop.RunSaver(demo);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].effect, 0);  // the first selected effect, not AnimationType
  EXPECT_EQ(runs[0].frames, 2500);

  // The windowed display reads the stored value again and clamps it to 0: a single effect.
  Again(2500);
  loop.RunScreen(demo);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].effect, 3);
}

TEST_F(RunLoopTest, TheSaverDemonstrationHasFiveStepsAndNeverStoresAnimationType) {
  budget = 13 * 600 + 600 + 800 + 1000 + 16 * 500 + 1;
  loop.RunSaver(demo);

  std::vector<std::tuple<int, int, int32_t>> expected;
  for (int theme = 1; theme <= 13; ++theme) expected.emplace_back(0, theme, 600);
  expected.emplace_back(2, 0, 600);
  expected.emplace_back(3, 0, 800);
  expected.emplace_back(4, 0, 1000);
  for (int theme = 1; theme <= 16; ++theme) expected.emplace_back(5, theme, 500);
  expected.emplace_back(0, 1, 1);
  EXPECT_EQ(Sequence(), expected);
  EXPECT_EQ(store.RegGetString(0, kAppName, "General", "AnimationType", "<never>"), "<never>");
}

TEST_F(RunLoopTest, TheWindowedDemonstrationHasFourSteps) {
  budget = 16 * 200 + 13 * 400 + 600 + 1000 + 1;
  loop.RunScreen(demo);

  std::vector<std::tuple<int, int, int32_t>> expected;
  for (int theme = 1; theme <= 16; ++theme) expected.emplace_back(5, theme, 200);
  for (int theme = 1; theme <= 13; ++theme) expected.emplace_back(0, theme, 400);
  expected.emplace_back(3, 0, 600);
  expected.emplace_back(4, 0, 1000);
  expected.emplace_back(5, 1, 1);
  EXPECT_EQ(Sequence(), expected);
  EXPECT_EQ(store.RegGetString(0, kAppName, "General", "AnimationType", "<never>"), "<never>");
}

TEST_F(RunLoopTest, ARestartedLoopContinuesTheDemonstrationWhereItStopped) {
  budget = 200 * 2 + 50;  // stopped during the third galaxy theme
  loop.RunScreen(demo);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs.back().theme, 3);

  Again(10);
  loop.RunScreen(demo);  // F5: a fresh run loop in the same window goes on with the cut step
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].effect, 5);
  EXPECT_EQ(runs[0].theme, 3);

  DemoCounters freshWindow;
  Again(10);
  loop.RunScreen(freshWindow);
  EXPECT_EQ(runs[0].theme, 1);
}

TEST_F(RunLoopTest, ThePreviewCyclesThroughTheDefaultMaskWhenNothingWasStored) {
  budget = 1000 * 5 + 1;
  ctx.runMode = RunMode::Preview;
  loop.RunPreview();
  std::vector<std::tuple<int, int, int32_t>> expected = {
      {0, 0, 1000}, {2, 0, 1000}, {3, 0, 1000}, {4, 0, 1000}, {5, 1, 1000}, {5, 2, 1}};
  EXPECT_EQ(Sequence(), expected);
}

TEST_F(RunLoopTest, ThePreviewMaskIsCutToEightBitsAndNeverZero) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "100");
  Set("Advanced", "Adv_PickQSRN", "256");  // no bit left: becomes 1, Fireworks only
  budget = 250;
  ctx.runMode = RunMode::Preview;
  loop.RunPreview();
  for (const EngineRun& r : runs) EXPECT_EQ(r.effect, 0);
  EXPECT_EQ(runs.size(), 3u);
}

TEST_F(RunLoopTest, TheGeneratorIsReseededOncePerRunLoop) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "100");
  Set("Advanced", "Adv_PickQSRN", "5");  // Fireworks and Warp
  budget = 201;
  loop.RunSaver(demo);
  ASSERT_EQ(firstDraws.size(), 3u);
  EXPECT_NE(firstDraws[0], firstDraws[1]);  // not reseeded per effect

  const float firstOfFirstLoop = firstDraws[0];
  Again(1);
  loop.RunSaver(demo);
  EXPECT_EQ(firstDraws[0], firstOfFirstLoop);  // the fixed seed again at the loop's start
}

TEST_F(RunLoopTest, AStopBeforeTheLoopStartsIsClearedAndOneWithoutASurfaceEndsAtOnce) {
  Set("General", "AnimationType", "0");
  ctx.StopRequested = true;
  budget = 5;
  loop.RunSaver(demo);
  EXPECT_EQ(framesRun, 5);

  ctx.surface = nullptr;
  Again(5);
  loop.RunSaver(demo);
  EXPECT_TRUE(runs.empty());
}

TEST(HeadlessRun, FollowsTheWindowedLoopAndStopsAfterTheFramesAsked) {
  host_test::TempHome home;
  SettingsStore store(home.path());
  auto ctx = std::make_unique<Context>();
  Surface surface(64, 48);
  ctx->surface = &surface;
  std::vector<int> effects;
  HeadlessRunOptions options;
  options.frames = 450;
  options.seed = 3;
  class Blank : public Engine {
   public:
    void Setup(Context&) override {}
    void Step(Context&) override {}
  };
  options.factory = [&effects](int effect) -> std::unique_ptr<Engine> {
    effects.push_back(effect);
    return std::make_unique<Blank>();
  };
  DemoCounters demo;
  EXPECT_EQ(RunScreenHeadless(*ctx, store, options, demo), 450);
  // The windowed demonstration: Galaxies at 200 frames a theme; the third was cut short, so it
  // is the one the next run starts with.
  EXPECT_EQ(effects, (std::vector<int>{5, 5, 5}));
  EXPECT_EQ(demo.galaxyTheme, 2);
  EXPECT_EQ(ctx->platform, nullptr);
}

TEST(HeadlessRun, EveryFrameReachesTheCallersPlatform) {
  host_test::TempHome home;
  SettingsStore store(home.path());
  store.RegSetString(kAppName, "General", "AnimationType", "1");
  auto ctx = std::make_unique<Context>();
  Surface surface(64, 48);
  ctx->surface = &surface;
  class Counting : public HeadlessPlatform {
   public:
    void Present(Context&) override { ++presented; }
    int presented = 0;
  } caller;
  ctx->platform = &caller;
  HeadlessRunOptions options;
  options.frames = 25;
  options.seed = 9;
  DemoCounters demo;
  EXPECT_EQ(RunScreenHeadless(*ctx, store, options, demo), 25);
  EXPECT_EQ(caller.presented, 25);
  EXPECT_EQ(ctx->platform, &caller);
  EXPECT_GT(caller.TickCount(), 1u);  // the caller's clock paced the frames
}

}  // namespace
}  // namespace qsrn
