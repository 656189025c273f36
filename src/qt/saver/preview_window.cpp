// The preview carrier; see preview_window.h.
#include "qt/saver/preview_window.h"

#include <QLoggingCategory>
#include <QWindow>
#include <cmath>

#include "qt/present/display_window.h"
#include "qt/saver/host_session.h"
#include "qt/platform/platform_x11.h"
#include "qt/platform/single_instance.h"

namespace qsrn {

PreviewWindow::PreviewWindow(HostSession& session)
    : session_(session), picPreview_(new DisplayWindow(false)) {
  picPreview_->setWindowTitle(QString::fromLatin1(kPreviewTitle));
  picPreview_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}

PreviewWindow::~PreviewWindow() { delete picPreview_; }

void PreviewWindow::Run(uint64_t parentId) {
  // A handle that names no window: the preview stops before its first frame.
  const auto parentSize = NativeWindowSize(parentId);
  if (!parentSize) return;

  QWindow* host = QWindow::fromWinId(static_cast<WId>(parentId));
  picPreview_->winId();  // the picture box gets its native window before it is re-parented
  picPreview_->windowHandle()->setParent(host);
  const qreal dpr = picPreview_->devicePixelRatioF();
  picPreview_->setGeometry(0, 0, static_cast<int>(std::lround(parentSize->width / dpr)),
                           static_cast<int>(std::lround(parentSize->height / dpr)));
  picPreview_->show();
  // A child window keeps the size we gave it: no window manager will change it, so being on
  // screen is enough.
  picPreview_->WaitUntilSettled(500, 0);
  picPreview_->SizeSurfaceToWindow();

  QtFramePlatform& platform = session_.platform();
  platform.SetPreviewParent(parentId);
  platform.SetDisplay(picPreview_);
  session_.ctx().surface = &picPreview_->surface();
  session_.runLoop().RunPreview();

  platform.SetDisplay(nullptr);
  session_.ctx().surface = nullptr;
  // The host window took our child with it; the native calls Qt still makes on it are expected
  // to fail and need not be reported.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.xcb*=false"));
}

}  // namespace qsrn
