// The frame-rate label; see fps_overlay.h.
#include "qt/present/fps_overlay.h"

#include <QLabel>
#include <QWidget>

namespace qsrn {

namespace {
constexpr int kUpdateMs = 1000;
constexpr int kMargin = 6;
}  // namespace

FpsOverlay::FpsOverlay(QWidget* window) : window_(window), label_(new QLabel(window)) {
  label_->setObjectName(QStringLiteral("lblFps"));
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->setStyleSheet(QStringLiteral("QLabel { color: yellow; background: black; padding: 2px; }"));
  label_->setTextFormat(Qt::PlainText);
  label_->setText(QStringLiteral("FPS: --"));
  label_->adjustSize();
  label_->show();
  since_.start();
}

void FpsOverlay::OnFrame() {
  ++frames_;
  const qint64 elapsed = since_.elapsed();
  if (elapsed >= kUpdateMs) {
    label_->setText(QStringLiteral("FPS: %1").arg(frames_ * 1000.0 / static_cast<double>(elapsed), 0, 'f', 1));
    frames_ = 0;
    since_.restart();
  }
  label_->adjustSize();
  label_->move(kMargin, window_->height() - label_->height() - kMargin);
  label_->raise();
}

}  // namespace qsrn
