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

namespace qsrn {

namespace {

constexpr int16_t kFireThemes = 13;
constexpr int16_t kGalaxyThemes = 16;
// An idle pass waits at least this long, so a selection without effects never spins.
constexpr int32_t kIdleFrameMs = 50;

struct DemoStep {
  int effect;
  int32_t framesPerEffect;
  int16_t themes;  // 0: the stored settings; else themes 1..themes, one per visit
};

constexpr DemoStep kSaverDemo[] = {
    {0, 600, kFireThemes}, {2, 600, 0}, {3, 800, 0}, {4, 1000, 0}, {5, 500, kGalaxyThemes}};
constexpr DemoStep kScreenDemo[] = {
    {5, 200, kGalaxyThemes}, {0, 400, kFireThemes}, {3, 600, 0}, {4, 1000, 0}};

bool AnimationTypeNeverStored(const SettingsStore& store) { return ReadAnimationType(store, -1) == -1; }

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

  const bool isPreview = kind == LoopKind::Preview;
  double innerWidth = ctx_.surface->Width();
  double innerHeight = ctx_.surface->Height();
  if (isPreview) {  // the preview's picture box is measured in twips
    innerWidth *= ctx_.TwipsPerPixelX;
    innerHeight *= ctx_.TwipsPerPixelY;
  }
  LoadGeneralSettings(ctx_, store_, innerWidth, innerHeight, isPreview);

  const int16_t animationType = ReadAnimationType(store_, 0);
  int32_t pickMask = ReadPickMask(store_);
  int32_t framesPerEffect = ctx_.settings.Adv_EffectFPC;
  if (kind == LoopKind::Screen) {
    framesPerEffect = Clamp(ReadFramesPerEffect(store_), 0, 9999);
  } else if (isPreview) {
    pickMask = Clamp(pickMask & 255, 1, 255);
    ctx_.settings.Adv_EffectFPC =
        AnimationTypeNeverStored(store_)
            ? 1000
            : Clamp(ReadFramesPerEffect(store_), 0, 30000);
    framesPerEffect = ctx_.settings.Adv_EffectFPC;
  }
  const int chosenEffect = fixedEffect_ ? fixedEffect_->effect : Clamp<int>(animationType, 0, kEffectCount - 1);
  const int chosenTheme = fixedEffect_ ? fixedEffect_->theme : 0;
  if (fixedEffect_) framesPerEffect = ctx_.settings.Adv_EffectFPC = 0;  // one effect, no quota

  Reseed();
  if (!isPreview) ClearAndShowMessage(ctx_);

  int16_t CycleIndex = 0;
  int16_t FireThemeIndex = 0;
  int16_t GalaxyThemeIndex = 0;
  bool ranThisCycle = false;
  while (!ctx_.StopRequested) {
    ctx_.frame.FrameCount = 0;
    if (demo != nullptr && !fixedEffect_ && AnimationTypeNeverStored(store_)) {
      RunDemoCycle(kind, *demo);
      continue;
    }

    bool ran = false;
    if (framesPerEffect == 0) {
      Load(chosenEffect, chosenTheme, isPreview);
      PrepareSurface(*ctx_.surface);
      ran = RunEffect(chosenEffect);
    } else {
      if (CycleIndex == 0) {
        if (pickMask & 64) {
          ++FireThemeIndex;
          Load(0, FireThemeIndex, true);
        } else if (pickMask & 1) {
          Load(0, 0, true);
        }
      } else if (CycleIndex == 5) {
        if (pickMask & 128) {
          ++GalaxyThemeIndex;
          Load(5, GalaxyThemeIndex, true);
        } else if (pickMask & 32) {
          Load(5, GalaxyThemeIndex, true);
        }
      } else {
        Load(CycleIndex, 0, true);  // loaded whether or not the effect is selected
      }
      PrepareSurface(*ctx_.surface);
      if (pickMask & (1 << CycleIndex)) ran = RunEffect(CycleIndex);
      ranThisCycle = ranThisCycle || ran;

      const bool visitOver =
          (CycleIndex >= 1 && CycleIndex <= 4) ||
          (CycleIndex == 0 && (!(pickMask & 64) || FireThemeIndex == kFireThemes)) ||
          (CycleIndex == 5 && (!(pickMask & 128) || GalaxyThemeIndex == kGalaxyThemes));
      if (visitOver) {
        // Skipped steps cost nothing; only a whole cycle that ran no engine waits a frame.
        if (CycleIndex == 5 && !ranThisCycle) IdleFrame();
        if (CycleIndex == 5) ranThisCycle = false;
        CycleIndex = CycleIndex < 5 ? CycleIndex + 1 : 0;
        FireThemeIndex = 0;
        GalaxyThemeIndex = 0;
      }
      continue;
    }
    if (!ran) IdleFrame();
  }
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
      themeCounter = step.effect == 0 ? &demo.fireTheme : &demo.galaxyTheme;
      theme = ++*themeCounter;
    }
    Load(step.effect, theme, true);
    PrepareSurface(*ctx_.surface);
    const bool ran = RunEffect(step.effect);

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
