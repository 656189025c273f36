// The run loops, the effect cycle and the demonstration; see run_loop.h.
#include "run/run_loop.h"

#include <algorithm>
#include <chrono>
#include <iterator>

#include "render/frame.h"
#include "render/surface.h"
#include "effects/loaders.h"
#include "settings/numeric.h"
#include "settings/store.h"
#include "settings/themes.h"

namespace qsrn {

namespace {

// An idle pass waits at least this long, so a selection without effects never spins.
constexpr int32_t kIdleFrameMs = 50;

struct DemoStep {
  EffectIndex effect;
  int32_t framesPerEffect;
  int themes;  // 0: the stored settings; else themes 1..themes, one per visit
};

using E = EffectIndex;
constexpr DemoStep kSaverDemo[] = {{E::Fireworks, 600, kFireworksThemeCount},
                                   {E::Warp, 600, 0},
                                   {E::Sparklers, 800, 0},
                                   {E::GravityWells, 1000, 0},
                                   {E::Galaxies, 500, kGalaxyThemeCount}};
constexpr DemoStep kScreenDemo[] = {{E::Galaxies, 200, kGalaxyThemeCount},
                                    {E::Fireworks, 400, kFireworksThemeCount},
                                    {E::Sparklers, 600, 0},
                                    {E::GravityWells, 1000, 0}};

constexpr int Index(EffectIndex effect) { return static_cast<int>(effect); }

bool AnimationTypeNeverStored(const SettingsStore& store) { return ReadAnimationType(store, -1) == -1; }

// A visit ends after one quota, unless the effect steps through its themes and has some left.
bool VisitOver(const RunLoop::CycleState& c, int32_t pickMask) {
  if (c.CycleIndex == Index(E::Fireworks))
    return (pickMask & kPickFireworksThemes) == 0 || c.FireThemeIndex == kFireworksThemeCount;
  if (c.CycleIndex == Index(E::Galaxies))
    return (pickMask & kPickGalaxyThemes) == 0 || c.GalaxyThemeIndex == kGalaxyThemeCount;
  return true;
}

}  // namespace

RunLoop::RunLoop(Context& ctx, const SettingsStore& store)
    : ctx_(ctx), store_(store), factory_(CreateEngine), loader_(LoadEffectSettings) {}

void RunLoop::RunSaver(DemoCounters& demo) { Run(LoopKind::Saver, &demo, {}); }

void RunLoop::RunScreen(DemoCounters& demo, const std::function<void()>& windowSetup) {
  Run(LoopKind::Screen, &demo, windowSetup);
}

void RunLoop::RunPreview() { Run(LoopKind::Preview, nullptr, {}); }

void RunLoop::Run(LoopKind kind, DemoCounters* demo, const std::function<void()>& windowSetup) {
  ctx_.StopRequested = false;
  if (windowSetup) windowSetup();
  if (ctx_.surface == nullptr || ctx_.platform == nullptr) return;  // nowhere to draw, no clock

  const LoopChoice choice = StartLoop(kind);
  CycleState cycle;
  while (!ctx_.StopRequested) {
    ctx_.frame.FrameCount = 0;
    if (demo != nullptr && !fixedEffect_ && AnimationTypeNeverStored(store_)) {
      RunDemoCycle(kind, *demo);
    } else if (choice.framesPerEffect != 0) {
      VisitCycle(cycle, choice.pickMask);
    } else {
      Load(choice.effect, choice.theme, kind == LoopKind::Preview);
      PrepareSurface(*ctx_.surface);
      if (!RunEffect(choice.effect)) IdleFrame();
    }
  }
}

RunLoop::LoopChoice RunLoop::StartLoop(LoopKind kind) {
  const bool isPreview = kind == LoopKind::Preview;
  double innerWidth = ctx_.surface->Width();
  double innerHeight = ctx_.surface->Height();
  if (isPreview) {  // the preview's picture box is measured in twips
    innerWidth *= ctx_.TwipsPerPixelX;
    innerHeight *= ctx_.TwipsPerPixelY;
  }
  LoadGeneralSettings(ctx_, store_, innerWidth, innerHeight, isPreview);

  LoopChoice choice;
  const int16_t animationType = ReadAnimationType(store_, 0);
  choice.pickMask = ReadPickMask(store_);
  choice.framesPerEffect = ctx_.settings.Adv_EffectFPC;
  if (kind == LoopKind::Screen) {
    choice.framesPerEffect = Clamp(ReadFramesPerEffect(store_), 0, 9999);
  } else if (isPreview) {
    choice.pickMask = Clamp(choice.pickMask & 255, 1, 255);
    ctx_.settings.Adv_EffectFPC =
        AnimationTypeNeverStored(store_) ? 1000 : Clamp(ReadFramesPerEffect(store_), 0, 30000);
    choice.framesPerEffect = ctx_.settings.Adv_EffectFPC;
  }
  choice.effect = fixedEffect_ ? fixedEffect_->effect : Clamp<int>(animationType, 0, kEffectCount - 1);
  choice.theme = fixedEffect_ ? fixedEffect_->theme : 0;
  if (fixedEffect_) choice.framesPerEffect = ctx_.settings.Adv_EffectFPC = 0;  // one effect, no quota

  Reseed();
  if (!isPreview) ClearAndShowMessage(ctx_);
  return choice;
}

void RunLoop::LoadCycleVisit(CycleState& c, int32_t pickMask) {
  if (c.CycleIndex == Index(E::Fireworks)) {
    if (pickMask & kPickFireworksThemes) {
      Load(c.CycleIndex, ++c.FireThemeIndex, true);
    } else if (pickMask & PickBit(E::Fireworks)) {
      Load(c.CycleIndex, 0, true);
    }
  } else if (c.CycleIndex == Index(E::Galaxies)) {
    if (pickMask & kPickGalaxyThemes) {
      Load(c.CycleIndex, ++c.GalaxyThemeIndex, true);
    } else if (pickMask & PickBit(E::Galaxies)) {
      Load(c.CycleIndex, c.GalaxyThemeIndex, true);
    }
  } else {
    Load(c.CycleIndex, 0, true);  // loaded whether or not the effect is selected
  }
}

void RunLoop::VisitCycle(CycleState& c, int32_t pickMask) {
  LoadCycleVisit(c, pickMask);
  PrepareSurface(*ctx_.surface);
  const bool ran = (pickMask & PickBit(static_cast<EffectIndex>(c.CycleIndex))) != 0 && RunEffect(c.CycleIndex);
  c.ranThisCycle = c.ranThisCycle || ran;
  if (!VisitOver(c, pickMask)) return;  // the same effect again with its next theme
  const bool lastOfCycle = c.CycleIndex == kEffectCount - 1;
  // Skipped steps cost nothing; only a whole cycle that ran no engine waits a frame.
  if (lastOfCycle && !c.ranThisCycle) IdleFrame();
  c.CycleIndex = static_cast<int16_t>(lastOfCycle ? 0 : c.CycleIndex + 1);
  c.FireThemeIndex = 0;
  c.GalaxyThemeIndex = 0;
  if (lastOfCycle) c.ranThisCycle = false;
}

void RunLoop::RunDemoCycle(LoopKind kind, DemoCounters& demo) {
  const DemoStep* steps = kind == LoopKind::Saver ? kSaverDemo : kScreenDemo;
  const int16_t count = static_cast<int16_t>(kind == LoopKind::Saver ? std::size(kSaverDemo)
                                                                      : std::size(kScreenDemo));
  while (!ctx_.StopRequested) {
    ctx_.frame.FrameCount = 0;
    if (demo.step < 0 || demo.step >= count) demo.step = 0;
    const DemoStep& step = steps[demo.step];
    ctx_.settings.Adv_EffectFPC = step.framesPerEffect;

    int16_t* themeCounter = nullptr;
    int theme = 0;
    if (step.themes > 0) {
      themeCounter = step.effect == E::Fireworks ? &demo.fireTheme : &demo.galaxyTheme;
      theme = ++*themeCounter;
    }
    Load(Index(step.effect), theme, true);
    PrepareSurface(*ctx_.surface);
    const bool ran = RunEffect(Index(step.effect));

    // A step cut short (F5, the properties dialog, a resize) is where the next loop in this
    // window starts again; only a step that ran its quota moves the demonstration on.
    if (ran && ctx_.StopRequested) {
      if (themeCounter != nullptr) --*themeCounter;
      break;
    }
    if (themeCounter == nullptr || *themeCounter >= step.themes) {
      if (themeCounter != nullptr) *themeCounter = 0;
      demo.step = static_cast<int16_t>(demo.step + 1 < count ? demo.step + 1 : 0);
    }
    if (!ran) IdleFrame();
  }
}

void RunLoop::Load(int effect, int theme, bool applyPerfMult) {
  if (loader_) loader_(ctx_, store_, effect, theme, applyPerfMult);
}

bool RunLoop::RunEffect(int effect) {
  std::unique_ptr<Engine> engine = factory_ ? factory_(effect) : nullptr;
  if (!engine) return false;
  RunEngine(ctx_, *engine);
  return true;
}

void RunLoop::IdleFrame() {
  FramePlatform& platform = *ctx_.platform;
  platform.Present(ctx_);
  const uint32_t start = platform.TickCount();
  const int32_t wait = std::max(ctx_.settings.Adv_TimeDelay, kIdleFrameMs);
  const uint32_t deadline = start + static_cast<uint32_t>(wait);
  do {
    platform.DispatchEvents(ctx_, deadline);
  } while (!ctx_.StopRequested && static_cast<int32_t>(platform.TickCount() - start) < wait);
  if (ctx_.runMode == RunMode::Preview && !platform.PreviewParentAlive()) ctx_.StopRequested = true;
}

void RunLoop::Reseed() {
  if (fixedSeed_) {
    ctx_.rng.Seed(*fixedSeed_);
    return;
  }
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  ctx_.rng.Seed(static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace qsrn
