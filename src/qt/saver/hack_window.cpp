// The hack's window; see hack_window.h.
#include "qt/saver/hack_window.h"

#include <QWindow>
#include <cmath>

#include "qt/present/display_window.h"
#include "qt/present/fps_overlay.h"
#include "qt/saver/host_session.h"
#include "qt/platform/platform_x11.h"
#include "qt/platform/single_instance.h"
#include "render/surface.h"

namespace qsrn {

namespace {
constexpr int kFollowMs = 100;
// A new size counts as settled after this many polls without a change.
constexpr int kSettledPolls = 3;
}  // namespace

HackWindow::HackWindow(HostSession& session, const HackOptions& options)
    : session_(session), options_(options), picture_(new DisplayWindow(true)) {
  picture_->setWindowTitle(QString::fromLatin1(kSaverTitle));
  picture_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
  picture_->setFocusPolicy(Qt::NoFocus);
  if (options_.showFps) fps_ = std::make_unique<FpsOverlay>(picture_);
  follow_.setInterval(kFollowMs);
  QObject::connect(&follow_, &QTimer::timeout, [this] { FollowTarget(); });
}

HackWindow::~HackWindow() {
  session_.platform().SetOnPresented({});
  fps_.reset();
  delete picture_;
}

uint32_t HackWindow::TargetWindow(const HackOptions& options) {
  if (options.windowId != 0) return options.windowId;
  const QByteArray named = qgetenv("XSCREENSAVER_WINDOW");
  if (!named.isEmpty()) return ParseWindowId(named.toStdString());
  return NativeRootWindow();
}

void HackWindow::FitToTarget() {
  // An enormous target gets a picture of a real screen's size in its centre.
  const SurfacePlace place = PlaceSurface(targetWidth_, targetHeight_);
  const qreal dpr = picture_->devicePixelRatioF();
  const auto logical = [dpr](int32_t v) { return static_cast<int>(std::lround(v / dpr)); };
  picture_->setGeometry(logical(place.x), logical(place.y), logical(place.width), logical(place.height));
}

bool HackWindow::Run(uint32_t targetId) {
  const auto size = NativeWindowSize(targetId);
  if (!size) return false;
  target_ = targetId;
  targetWidth_ = size->width;
  targetHeight_ = size->height;

  // On the root window itself it is the desktop's background: undecorated, below every window.
  const bool onRoot = targetId == NativeRootWindow();
  if (onRoot) picture_->setWindowFlags(picture_->windowFlags() | Qt::X11BypassWindowManagerHint);
  picture_->winId();  // a native window of its own before it moves into the target
  picture_->windowHandle()->setParent(QWindow::fromWinId(static_cast<WId>(targetId)));
  FitToTarget();
  picture_->show();
  if (onRoot) picture_->lower();
  picture_->WaitUntilSettled(500);

  QtFramePlatform& platform = session_.platform();
  if (fps_) platform.SetOnPresented([this] { fps_->OnFrame(); });
  Context& ctx = session_.ctx();
  if (options_.effect) session_.runLoop().SetFixedEffect(RunLoop::EffectChoice{*options_.effect, options_.theme});
  follow_.start();
  // A SIGTERM while the window was being set up has already asked for the end.
  while (!session_.state().ExitRequested) {
    restart_ = false;
    picture_->SizeSurfaceToWindow();
    platform.SetDisplay(picture_);
    ctx.surface = &picture_->surface();
    session_.runLoop().RunSaver(picture_->demo());
    if (!restart_) break;
  }
  follow_.stop();
  platform.SetDisplay(nullptr);
  ctx.surface = nullptr;
  return true;
}

void HackWindow::FollowTarget() {
  const auto size = NativeWindowSize(target_);
  Context& ctx = session_.ctx();
  if (!size) {  // the host program took its window away: nothing left to draw on
    ctx.StopRequested = true;
    return;
  }
  if (size->width != targetWidth_ || size->height != targetHeight_) {
    targetWidth_ = size->width;
    targetHeight_ = size->height;
    FitToTarget();
    stableTicks_ = 0;
    return;
  }
  const qreal dpr = picture_->devicePixelRatioF();
  const bool surfaceOff = picture_->surface().Width() != static_cast<int>(std::lround(picture_->width() * dpr)) ||
                          picture_->surface().Height() != static_cast<int>(std::lround(picture_->height() * dpr));
  if (surfaceOff && ++stableTicks_ >= kSettledPolls && !ctx.StopRequested) {
    restart_ = true;
    ctx.StopRequested = true;
  }
}

}  // namespace qsrn
