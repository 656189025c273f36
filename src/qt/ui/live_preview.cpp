// The live preview; see live_preview.h.
#include "qt/ui/live_preview.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "effects/engine.h"
#include "render/context.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "effects/loaders.h"
#include "forms/preview_values.h"

namespace qsrn {

namespace {
constexpr int kRestartPauseMs = 250;
constexpr int kShortestFrameMs = 20;
}  // namespace

LivePreview::LivePreview(const SettingsStore& store, QWidget* parent)
    : QWidget(parent), store_(store), ctx_(std::make_unique<Context>()), surface_(std::make_unique<Surface>()) {
  setObjectName(QStringLiteral("picPreview"));
  setMinimumSize(160, 120);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(tr("The chosen effect with the values shown, before they are accepted"));
  restartTimer_.setSingleShot(true);
  restartTimer_.setInterval(kRestartPauseMs);
  connect(&restartTimer_, &QTimer::timeout, this, &LivePreview::StartEngine);
  connect(&frameTimer_, &QTimer::timeout, this, &LivePreview::Frame);
  BuildTrigTables(ctx_->trig);
}

LivePreview::~LivePreview() = default;

void LivePreview::Restart(const FieldTexts& texts, EffectIndex effect) {
  texts_ = texts;
  effect_ = effect;
  pending_ = true;
  if (isVisible()) restartTimer_.start();
}

void LivePreview::StartEngine() {
  frameTimer_.stop();
  engine_.reset();
  pending_ = false;
  // The loaders read a store: this one has no files, only the shown values and the real store's
  // Advanced keys, held in memory (nothing of the user's is ever written for a preview).
  SettingsStore shown{std::filesystem::path()};
  OverlayPreviewValues(shown, store_, texts_, effect_);

  Context& ctx = *ctx_;
  const QSize size = this->size().expandedTo(QSize(16, 16));
  surface_->Resize(size.width(), size.height());
  ctx.surface = surface_.get();
  ctx.platform = &platform_;
  ctx.runMode = RunMode::Preview;
  ctx.StopRequested = false;
  ctx.frame = {};
  LoadGeneralSettings(ctx, shown, size.width() * ctx.TwipsPerPixelX, size.height() * ctx.TwipsPerPixelY, true);
  ctx.rng.Seed(static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()));
  LoadEffectSettings(ctx, shown, static_cast<int>(effect_), 0, true);
  PrepareSurface(*surface_);
  engine_ = CreateEngine(static_cast<int>(effect_));
  if (!engine_) return;
  engine_->Setup(ctx);
  frames_ = 0;
  frameTimer_.start(std::max<int>(ctx.settings.Adv_TimeDelay, kShortestFrameMs));
}

void LivePreview::Frame() {
  Context& ctx = *ctx_;
  ctx.frame.FrameStartTick = static_cast<int32_t>(platform_.TickCount());
  engine_->Step(ctx);
  ++frames_;
  const bool stopped = EndFrame(ctx);
  // The effect's quota used up: start it afresh, as the preview display's run loop does.
  if (stopped || FrameLimitReached(ctx)) {
    StartEngine();
    return;
  }
  if (!ctx.frame.PreviewSettled) PreviewSettle(ctx);
}

void LivePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (surface_->Width() == 0 || !engine_) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const QImage frame(reinterpret_cast<const uchar*>(surface_->Pixels()), surface_->Width(), surface_->Height(),
                     surface_->Width() * 4, QImage::Format_RGBX8888);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(0, 0, frame);
}

void LivePreview::showEvent(QShowEvent*) {
  if (pending_) restartTimer_.start();
  else if (engine_) frameTimer_.start();
}

void LivePreview::hideEvent(QHideEvent*) {
  restartTimer_.stop();
  frameTimer_.stop();
}

}  // namespace qsrn
