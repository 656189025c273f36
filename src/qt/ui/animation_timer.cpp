// The visibility-bound frame timer; see animation_timer.h.
#include "qt/ui/animation_timer.h"

#include <QEvent>
#include <QWidget>

namespace qsrn {

AnimationTimer::AnimationTimer(QWidget* widget, int intervalMs, std::function<void()> step)
    : QObject(widget), widget_(widget) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(intervalMs);
  connect(&timer_, &QTimer::timeout, this, std::move(step));
  widget_->installEventFilter(this);
}

void AnimationTimer::SetPaused(bool paused) {
  paused_ = paused;
  Update();
}

void AnimationTimer::Update() {
  const bool visible = widget_->isVisible() && !widget_->isMinimized() && !paused_;
  if (visible && !timer_.isActive())
    timer_.start();
  else if (!visible)
    timer_.stop();
}

bool AnimationTimer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
                             event->type() == QEvent::WindowStateChange))
    Update();
  return false;
}

}  // namespace qsrn
