// The run loops driven headless with recording engines: which effects and themes run, in which
// order and for how many frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

#include "run/run_loop.h"
#include "render/frame.h"
#include "render/surface.h"
#include "effects/loaders.h"
#include "settings/store.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

struct EngineRun {
  int effect;
  int theme;
  int32_t quota;
  int32_t frames;
  int16_t particles;
};

using Sequence = std::vector<std::tuple<int, int, int32_t>>;

// "effect/theme*frames" items; "5/1-16*500" stands for themes 1 to 16 of effect 5.
Sequence Expected(const char* text) {
  Sequence out;
  std::istringstream in(text);
  for (std::string item; in >> item;) {
    int effect = 0, first = 0, last = 0, frames = 0;
    if (std::sscanf(item.c_str(), "%d/%d-%d*%d", &effect, &first, &last, &frames) != 4) {
      std::sscanf(item.c_str(), "%d/%d*%d", &effect, &first, &frames);
      last = first;
    }
    for (int theme = first; theme <= last; ++theme) out.emplace_back(effect, theme, frames);
  }
  return out;
}

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
  test::TempDir home;
  SettingsStore store{home.path() / "settings"};

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

  void Run(LoopKind kind) {
    if (kind == LoopKind::Preview) ctx.runMode = RunMode::Preview;
    if (kind == LoopKind::Saver) loop.RunSaver(demo);
    if (kind == LoopKind::Screen) loop.RunScreen(demo);
    if (kind == LoopKind::Preview) loop.RunPreview();
  }

  Sequence Runs() const {
    Sequence out;
    for (const EngineRun& r : runs) out.emplace_back(r.effect, r.theme, r.frames);
    return out;
  }

  std::unique_ptr<Context> ctxStorage = std::make_unique<Context>();
  Context& ctx = *ctxStorage;
  Surface surface;
  StoppingPlatform platform;
  RunLoop loop{ctx, store};
  DemoCounters demo;

  std::vector<EngineRun> runs;
  std::vector<float> firstDraws;
  int lastTheme = 0;
  int32_t framesRun = 0;
  int32_t budget = 1 << 30;
};

struct LoopCase {
  const char* name;
  LoopKind kind;
  const char* animationType;  // nullptr: never stored, the demonstrations run
  const char* quota;
  const char* mask;
  int32_t budget;
  const char* expected;
};

class RunLoopSequence : public RunLoopTest, public ::testing::WithParamInterface<LoopCase> {};

TEST_P(RunLoopSequence, RunsTheEffectsAndThemesInOrderForTheirQuota) {
  const LoopCase& c = GetParam();
  if (c.animationType) Set("General", "AnimationType", c.animationType);
  if (c.quota) Set("Advanced", "Adv_EffectFPC", c.quota);
  if (c.mask) Set("Advanced", "Adv_PickQSRN", c.mask);
  const std::string before = store.RegGetString(0, kAppName, "General", "AnimationType", "<never>");
  const uint32_t start = platform.TickCount();
  budget = c.budget;
  Run(c.kind);
  EXPECT_EQ(Runs(), Expected(c.expected));
  for (size_t k = 0; k + 1 < runs.size(); ++k) EXPECT_EQ(runs[k].quota, runs[k].frames) << k;
  EXPECT_EQ(store.RegGetString(0, kAppName, "General", "AnimationType", "<never>"), before);
  if (c.kind == LoopKind::Preview) return;  // the preview pumps its events once before it starts
  // One dispatch and one frame delay per frame; steps skipped by the mask cost nothing.
  EXPECT_EQ(platform.dispatches, c.budget);
  EXPECT_EQ(platform.TickCount() - start, static_cast<uint32_t>(c.budget) * 25u);
}

INSTANTIATE_TEST_SUITE_P(
    Loops, RunLoopSequence,
    ::testing::Values(
        LoopCase{"DefaultMask", LoopKind::Saver, "0", "500", nullptr, 20 * 500 + 7,
                 "0/0*500 2/0*500 3/0*500 4/0*500 5/1-16*500 0/0*7"},
        LoopCase{"FireworksThemes", LoopKind::Saver, "0", "100", "65", 14 * 100, "0/1-13*100 0/1*100"},
        LoopCase{"SkippedSteps", LoopKind::Saver, "0", "100", "33", 250, "0/0*100 5/0*100 0/0*50"},
        LoopCase{"SaverQuotaCut", LoopKind::Saver, "0", "20000", nullptr, 10000, "0/0*9999 2/0*1"},
        LoopCase{"WindowQuotaCut", LoopKind::Screen, "0", "20000", nullptr, 10000, "0/0*9999 2/0*1"},
        LoopCase{"PreviewQuota", LoopKind::Preview, "0", "20000", nullptr, 20001, "0/0*20000 2/0*1"},
        // A negative quota cycles in the saver but is never reached; the window clamps it to 0.
        LoopCase{"SaverNegativeQuota", LoopKind::Saver, "3", "-5", nullptr, 2500, "0/0*2500"},
        LoopCase{"WindowNegativeQuota", LoopKind::Screen, "3", "-5", nullptr, 2500, "3/0*2500"},
        LoopCase{"SaverDemonstration", LoopKind::Saver, nullptr, nullptr, nullptr,
                 13 * 600 + 600 + 800 + 1000 + 16 * 500 + 1,
                 "0/1-13*600 2/0*600 3/0*800 4/0*1000 5/1-16*500 0/1*1"},
        LoopCase{"WindowDemonstration", LoopKind::Screen, nullptr, nullptr, nullptr,
                 16 * 200 + 13 * 400 + 600 + 1000 + 1, "5/1-16*200 0/1-13*400 3/0*600 4/0*1000 5/1*1"},
        LoopCase{"PreviewDefaultMask", LoopKind::Preview, nullptr, nullptr, nullptr, 5001,
                 "0/0*1000 2/0*1000 3/0*1000 4/0*1000 5/1*1000 5/2*1"},
        // No bit left in the preview's eight: Fireworks alone.
        LoopCase{"PreviewMaskCut", LoopKind::Preview, "0", "100", "256", 250, "0/0*100 0/0*100 0/0*50"}),
    [](const ::testing::TestParamInfo<LoopCase>& info) { return std::string(info.param.name); });

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

TEST_F(RunLoopTest, ASingleOrFixedEffectRunsUntilStoppedWithThePerformanceMultiplierOnlyInThePreview) {
  Set("General", "AnimationType", "3");
  Set("Advanced", "Adv_EffectFPC", "0");
  Set("Advanced", "Adv_PerfMult", "2");
  Set("B-SplineSpark", "B_Spline_Pixels", "1000");
  budget = 3000;
  loop.RunSaver(demo);
  EXPECT_EQ(Runs(), Expected("3/0*3000"));
  EXPECT_EQ(runs[0].particles, 1000);

  Again(10);
  Run(LoopKind::Preview);
  ASSERT_EQ(runs.size(), 1u);
  // The preview multiplies by Adv_PerfMult, itself scaled by 0.6 in the preview.
  EXPECT_NEAR(runs[0].particles, 1000 * 2 * 0.6, 1.0);

  // A fixed effect runs alone with its theme whatever the store says, cycling included.
  Set("Advanced", "Adv_EffectFPC", "100");
  loop.SetFixedEffect(RunLoop::EffectChoice{5, 3});
  Again(250);
  loop.RunSaver(demo);
  EXPECT_EQ(Runs(), Expected("5/3*250"));
}

TEST_F(RunLoopTest, ARestartedLoopContinuesTheDemonstrationWhereItStopped) {
  budget = 200 * 2 + 50;  // stopped during the third galaxy theme
  loop.RunScreen(demo);
  EXPECT_EQ(Runs(), Expected("5/1-2*200 5/3*50"));

  Again(10);
  loop.RunScreen(demo);  // F5: a fresh run loop in the same window goes on with the cut step
  EXPECT_EQ(Runs(), Expected("5/3*10"));

  DemoCounters freshWindow;
  Again(10);
  loop.RunScreen(freshWindow);
  EXPECT_EQ(Runs(), Expected("5/1*10"));
}

// The generator is reseeded once per run loop; the stop that ended the last loop is cleared
// when the next starts, and a loop without a surface ends at once.
TEST_F(RunLoopTest, EachLoopReseedsOnceAndStartsAfresh) {
  Set("General", "AnimationType", "0");
  Set("Advanced", "Adv_EffectFPC", "100");
  Set("Advanced", "Adv_PickQSRN", "5");  // Fireworks and Warp
  budget = 201;
  loop.RunSaver(demo);
  ASSERT_EQ(firstDraws.size(), 3u);
  EXPECT_NE(firstDraws[0], firstDraws[1]);  // not reseeded per effect

  const float firstOfFirstLoop = firstDraws[0];
  ASSERT_TRUE(ctx.StopRequested);
  Again(5);
  loop.RunSaver(demo);
  EXPECT_EQ(framesRun, 5);
  EXPECT_EQ(firstDraws[0], firstOfFirstLoop);  // the fixed seed again at the loop's start

  ctx.surface = nullptr;
  Again(5);
  loop.RunSaver(demo);
  EXPECT_TRUE(runs.empty());
}

}  // namespace
}  // namespace qsrn
