// The presenting trace; see present_log.h.
#include "qt/present/present_log.h"

#include <QDateTime>
#include <QLoggingCategory>

namespace qsrn {

namespace {
Q_LOGGING_CATEGORY(lcPresent, "qsrn.present", QtWarningMsg)
constexpr int64_t kReportEveryMs = 1000;

double EpochSeconds() { return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0; }
}  // namespace

void PresentLog::FramePresented() {
  if (!lcPresent().isDebugEnabled()) return;
  ++frames_;
  if (frames_ == 1) {
    qCDebug(lcPresent, "first frame presented%s at %.3f", where_.constData(), EpochSeconds());
    sinceReport_.start();
  } else if (sinceReport_.elapsed() >= kReportEveryMs) {
    qCDebug(lcPresent, "%lld frames presented%s at %.3f", static_cast<long long>(frames_), where_.constData(),
            EpochSeconds());
    sinceReport_.restart();
  }
}

}  // namespace qsrn
