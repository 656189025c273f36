// Qt pacing and presenting; see qt_frame_platform.h.
#include "qt/present/qt_frame_platform.h"

#include <QCoreApplication>

#include "qt/present/display_window.h"
#include "qt/platform/platform_x11.h"

namespace qsrn {

QtFramePlatform::QtFramePlatform() {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
}

uint32_t QtFramePlatform::TickCount() { return MonotonicTickCount(); }

void QtFramePlatform::Present(Context&) {
  if (display_ != nullptr) {
    display_->PresentFrame();
    presentLog_.FramePresented();
  }
  if (onPresented_) onPresented_();
}

void QtFramePlatform::DispatchEvents(Context& ctx, uint32_t deadlineTick) {
  if (onDispatch_) onDispatch_();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // No event handler is running at this point, so objects released with deleteLater can go.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (ctx.StopRequested) return;
  const auto remaining = static_cast<int32_t>(deadlineTick - TickCount());
  if (remaining <= 0) return;
  // Sleep until an event arrives or the timer marks the deadline.
  wake_.start(remaining);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  wake_.stop();
}

bool QtFramePlatform::PreviewParentAlive() {
  return previewParent_ != 0 && NativeWindowExists(previewParent_);
}

void QtFramePlatform::ShowMessage(Context& ctx) {
  if (display_ != nullptr && display_->isForm()) display_->ApplyMessage(ctx.settings, ctx.TwipsPerPixelY);
}

}  // namespace qsrn
