// The live preview; see live_preview.h.
#include "qt/ui/live_preview.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>

#include "render/surface.h"

namespace qsrn {

LivePreview::LivePreview(const SettingsStore& store, QWidget* parent)
    : QWidget(parent), store_(store) {
  setObjectName(QStringLiteral("picPreview"));
  setMinimumSize(160, 120);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(tr("The chosen effect with the values shown, before they are accepted"));
  restartTimer_.setSingleShot(true);
  restartTimer_.setInterval(PreviewRun::kRestartPauseMs);
  connect(&restartTimer_, &QTimer::timeout, this, &LivePreview::StartEngine);
  connect(&frameTimer_, &QTimer::timeout, this, &LivePreview::Frame);
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
  pending_ = false;
  const QSize size = this->size();
  const int interval = run_.Start(store_, texts_, effect_, size.width(), size.height(),
                                  static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()));
  frames_ = 0;
  if (run_.Running()) frameTimer_.start(interval);
}

void LivePreview::Frame() {
  run_.Frame();
  ++frames_;
}

void LivePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const Surface& surface = run_.surface();
  if (!run_.Running()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const QImage frame(reinterpret_cast<const uchar*>(surface.Pixels()), surface.Width(), surface.Height(),
                     surface.Width() * 4, QImage::Format_RGBX8888);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(0, 0, frame);
}

void LivePreview::showEvent(QShowEvent*) {
  if (pending_) restartTimer_.start();
  else if (run_.Running()) frameTimer_.start();
}

void LivePreview::hideEvent(QHideEvent*) {
  restartTimer_.stop();
  frameTimer_.stop();
}

}  // namespace qsrn
