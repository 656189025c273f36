// The live preview's run; see preview_run.h.
#include "forms/preview_run.h"

#include <algorithm>

#include "effects/loaders.h"
#include "forms/preview_values.h"
#include "render/context.h"
#include "render/geometry.h"
#include "render/surface.h"

namespace qsrn {

namespace {
constexpr int kShortestFrameMs = 20;
}  // namespace

PreviewRun::PreviewRun(std::function<void()> present)
    : present_(std::move(present)), ctx_(std::make_unique<Context>()), surface_(std::make_unique<Surface>()) {
  BuildTrigTables(ctx_->trig);
}

PreviewRun::~PreviewRun() = default;

int PreviewRun::Start(const SettingsStore& store, const FieldTexts& texts, EffectIndex effect, int width,
                      int height, uint64_t seed) {
  store_ = &store;
  texts_ = texts;
  effect_ = effect;
  seed_ = seed;
  surface_->Resize(std::max(16, width), std::max(16, height));
  return Restart();
}

void PreviewRun::Stop() { engine_.reset(); }

int PreviewRun::Restart() {
  engine_.reset();
  // The loaders read a store: this one has no files, only the shown values and the real store's
  // Advanced keys, held in memory (nothing of the user's is ever written for a preview).
  SettingsStore shown{std::filesystem::path()};
  OverlayPreviewValues(shown, *store_, texts_, effect_);
  Context& ctx = *ctx_;
  ctx.surface = surface_.get();
  ctx.platform = &platform_;
  ctx.runMode = RunMode::Preview;
  ctx.StopRequested = false;
  ctx.frame = {};
  const int width = surface_->Width(), height = surface_->Height();
  LoadGeneralSettings(ctx, shown, width * ctx.TwipsPerPixelX, height * ctx.TwipsPerPixelY, true);
  ctx.rng.Seed(seed_++);
  LoadEffectSettings(ctx, shown, static_cast<int>(effect_), 0, true);
  PrepareSurface(*surface_);
  engine_ = CreateEngine(static_cast<int>(effect_));
  if (engine_) engine_->Setup(ctx);
  return std::max<int>(ctx.settings.Adv_TimeDelay, kShortestFrameMs);
}

void PreviewRun::Frame() {
  if (!engine_) return;
  Context& ctx = *ctx_;
  StepFrame(ctx, *engine_, platform_.TickCount());
  const bool stopped = EndFrame(ctx);
  if (stopped || FrameLimitReached(ctx)) {
    Restart();
    return;
  }
  if (!ctx.frame.PreviewSettled) PreviewSettle(ctx);
}

}  // namespace qsrn
