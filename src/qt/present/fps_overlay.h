// -fps: the frames per second in the lower left corner, as every xscreensaver hack shows them,
// counted from the presented frames and updated once a second.
#pragma once

#include <QElapsedTimer>

class QLabel;
class QWidget;

namespace qsrn {

class FpsOverlay {
 public:
  explicit FpsOverlay(QWidget* window);
  // One presented frame.
  void OnFrame();

 private:
  QWidget* window_;
  QLabel* label_;
  QElapsedTimer since_;
  int frames_ = 0;
};

}  // namespace qsrn
