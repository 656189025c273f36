// The run loops of the three displays: load the general settings, choose the effect (or the next
// selected one when cycling, with theme stepping for Fireworks and Galaxies), load its settings,
// prepare the surface and run its engine; again until StopRequested. With AnimationType never
// stored, the saver and the windowed display play a built-in demonstration instead.
// No Qt here: the windows only set up the surface and the platform; tests drive this headless.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "effects/engine.h"
#include "render/context.h"

namespace qsrn {

class SettingsStore;

enum class LoopKind { Saver, Screen, Preview };

// The demonstration's position; it lives in the window, so a restarted run loop in the same
// window continues where the last one stopped.
struct DemoCounters {
  int16_t step = 0;
  int16_t fireTheme = 0;
  int16_t galaxyTheme = 0;
};

class RunLoop {
 public:
  using EngineFactory = std::function<std::unique_ptr<Engine>(int effect)>;
  using EffectLoader = std::function<void(Context&, const SettingsStore&, int effect, int theme,
                                          bool applyPerfMult)>;

  // ctx.surface and ctx.platform are set by the display before a loop runs.
  RunLoop(Context& ctx, const SettingsStore& store);

  void SetEngineFactory(EngineFactory factory) { factory_ = std::move(factory); }
  void SetEffectLoader(EffectLoader loader) { loader_ = std::move(loader); }
  // A fixed seed for every run loop instead of the clock (--seed, tests).
  void SetFixedSeed(std::optional<uint64_t> seed) { fixedSeed_ = seed; }
  // One effect (and theme) for every run loop, whatever the store says: the hack's --effect.
  struct EffectChoice {
    int effect = 0;
    int theme = 0;
  };
  void SetFixedEffect(std::optional<EffectChoice> choice) { fixedEffect_ = choice; }

  // windowSetup runs after the stop request is cleared and before the settings load.
  void RunSaver(DemoCounters& demo);
  void RunScreen(DemoCounters& demo, const std::function<void()>& windowSetup = {});
  void RunPreview();
  // The demonstration sequence of the saver (five steps) or the windowed display (four steps).
  void RunDemoCycle(LoopKind kind, DemoCounters& demo);

  // Where the effect cycle stands: the effect being visited and the theme shown last.
  struct CycleState {
    int16_t CycleIndex = 0;
    int16_t FireThemeIndex = 0;
    int16_t GalaxyThemeIndex = 0;
    bool ranThisCycle = false;  // some engine ran since the cycle last began
  };

 private:
  // What a run loop runs, read once at its start.
  struct LoopChoice {
    int32_t pickMask = 0;
    int32_t framesPerEffect = 0;  // 0: the one chosen effect, no cycling
    int effect = 0;
    int theme = 0;
  };

  void Run(LoopKind kind, DemoCounters* demo, const std::function<void()>& windowSetup);
  // The general settings, the choice of effect or cycle, the seed and the message.
  LoopChoice StartLoop(LoopKind kind);
  // One pass of the cycle: the visited effect's settings (its next theme when its themes
  // cycle), the engine when the effect is selected, then on to the next visit.
  void VisitCycle(CycleState& cycle, int32_t pickMask);
  void LoadCycleVisit(CycleState& cycle, int32_t pickMask);
  void Load(int effect, int theme, bool applyPerfMult);
  // Creates and runs the engine of one effect; false when there is none to run.
  bool RunEffect(int effect);
  // A pass that ran no engine still dispatches events and honours the stop request, at a calm
  // pace instead of spinning.
  void IdleFrame();
  void Reseed();

  Context& ctx_;
  const SettingsStore& store_;
  EngineFactory factory_;
  EffectLoader loader_;
  std::optional<uint64_t> fixedSeed_;
  std::optional<EffectChoice> fixedEffect_;
};

}  // namespace qsrn
