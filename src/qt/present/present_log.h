// A trace of presenting, off unless the logging rules turn on "qsrn.present" (for example
// QT_LOGGING_RULES=qsrn.present.debug=true): the wall-clock time of the first frame on screen,
// then about once a second the running count of frames presented. scripts/cpu-usage.sh reads it.
// The saver's other screens each keep their own, naming the screen ("... presented on HDMI-1 at").
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <cstdint>

namespace qsrn {

class PresentLog {
 public:
  explicit PresentLog(const QByteArray& screen = {}) : where_(screen.isEmpty() ? screen : " on " + screen) {}
  // Called after every frame has been handed to the window system.
  void FramePresented();

 private:
  QByteArray where_;
  int64_t frames_ = 0;
  QElapsedTimer sinceReport_;
};

}  // namespace qsrn
