// A frame timer that runs only while its widget can be seen: it stops when the widget is hidden
// or minimised (or the owner pauses it, e.g. while another window covers the picture) and starts
// again when it shows, so no processor time goes into an invisible animation.
// Usage: timer_ = new AnimationTimer(this, 32, [this] { StepFrame(); });
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace qsrn {

class AnimationTimer : public QObject {
  Q_OBJECT

 public:
  AnimationTimer(QWidget* widget, int intervalMs, std::function<void()> step);

  bool Active() const { return timer_.isActive(); }
  void SetPaused(bool paused);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Update();

  QWidget* widget_;
  QTimer timer_;
  bool paused_ = false;
};

}  // namespace qsrn
