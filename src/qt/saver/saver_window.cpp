// The full-screen saver windows; see saver_window.h.
#include "qt/saver/saver_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "qt/saver/host_session.h"
#include "qt/platform/platform_password.h"
#include "qt/platform/platform_x11.h"
#include "qt/saver/saver_screens.h"

namespace qsrn {

namespace {
constexpr int kResizeSettleMs = 300;
constexpr int kGrabTryMs = 2000;

bool OnX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }
}  // namespace

SaverWindow::SaverWindow(HostSession& session, SaverWindow* lead)
    : DisplayWindow(true), session_(session), lead_(lead) {
  setWindowTitle(QString::fromLatin1(kSaverTitle));
  // Above everything; on X11 outside the window manager's stacking too, as screen savers are.
  Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  if (OnX11()) flags |= Qt::X11BypassWindowManagerHint;
  setWindowFlags(flags);
  setCursor(Qt::BlankCursor);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  resizeSettled_.setSingleShot(true);
  resizeSettled_.setInterval(kResizeSettleMs);
  connect(&resizeSettled_, &QTimer::timeout, this, [this] {
    if (!running_ || unloaded_) return;
    restart_ = true;
    session_.ctx().StopRequested = true;
  });
}

SaverWindow::~SaverWindow() {
  others_.reset();  // their windows leave this one's keeper before it goes
  if (lead_ != nullptr && lead_->onTop_) lead_->onTop_->Forget(internalWinId());
}

void SaverWindow::SetupSaverForm(QScreen* screen) {
  if (lead_ == nullptr) instance_.Listen(QString::fromLatin1(kSaverTitle));
  if (screen != nullptr) {
    setScreen(screen);
    setGeometry(screen->geometry());
  }
  showFullScreen();
  MakeTopmost(*this);
  raise();
  activateWindow();
  WaitUntilSettled();
  // One keeper for every screen's window: each kept apart would raise itself above the others
  // without end.
  SaverWindow& lead = Lead();
  if (OnX11() && !lead.unloaded_) {
    if (!lead.onTop_) lead.onTop_ = std::make_unique<StayOnTop>();
    lead.onTop_->Keep(winId());
  }
  // Keys and the pointer reach the saver wherever they were (Wayland lets no window hold them).
  if (lead_ == nullptr && OnX11()) HoldInput();
  SizeSurfaceToWindow();
}

void SaverWindow::HoldInput() {
  // Another program may hold a grab for a moment (the key that started us, an open menu).
  QElapsedTimer waited;
  waited.start();
  QWindow* window = windowHandle();
  while (window != nullptr && waited.elapsed() < kGrabTryMs) {
    if (window->setKeyboardGrabEnabled(true) && window->setMouseGrabEnabled(true)) break;
    QThread::msleep(50);
    QCoreApplication::processEvents();
  }
  grabKeyboard();
  grabMouse();
}

void SaverWindow::Run() {
  SetupSaverForm(QGuiApplication::primaryScreen());
  Context& ctx = session_.ctx();
  others_ = std::make_unique<SaverScreens>(session_, *this);
  others_->CoverOtherScreens();
  session_.platform().SetOnDispatch(
      [this, &ctx] { others_->TurnAll(static_cast<uint32_t>(ctx.frame.FrameStartTick)); });
  // Input while the windows were being set up already stopped the saver.
  while (!unloaded_) {
    restart_ = false;
    SizeSurfaceToWindow();
    session_.platform().SetDisplay(this);
    ctx.surface = &surface();
    running_ = true;
    session_.runLoop().RunSaver(demo());
    running_ = false;
    if (!restart_) break;
  }
  session_.platform().SetOnDispatch({});
  others_.reset();
  CloseSaver();
  ctx.surface = nullptr;
}

void SaverWindow::CloseSaver() {
  if (lead_ != nullptr) {
    lead_->CloseSaver();
  } else if (!unloaded_) {
    close();
  }
}

void SaverWindow::keyPressEvent(QKeyEvent*) { CloseSaver(); }

void SaverWindow::mousePressEvent(QMouseEvent*) { CloseSaver(); }

void SaverWindow::wheelEvent(QWheelEvent*) { CloseSaver(); }

void SaverWindow::mouseMoveEvent(QMouseEvent*) {
  if (Lead().mouse_.OnMouseMove(MouseRuleSeconds())) CloseSaver();
}

void SaverWindow::resizeEvent(QResizeEvent* event) {
  DisplayWindow::resizeEvent(event);
  if (lead_ == nullptr && running_) resizeSettled_.start();
}

// Query-unload, then unload: the engine sees StopRequested at the end of its frame. Closing one
// of the other screens' windows asks the lead.
void SaverWindow::closeEvent(QCloseEvent* event) {
  if (lead_ != nullptr) {
    event->ignore();
    CloseSaver();
    return;
  }
  if (unloaded_) return;
  Context& ctx = session_.ctx();
  ctx.StopRequested = true;
  if (!VerifyPassword(session_.store())) {
    event->ignore();
    ctx.StopRequested = false;
    return;
  }
  event->accept();
  unloaded_ = true;
  releaseMouse();
  releaseKeyboard();
  onTop_.reset();
  SetSaverRunning(session_.store(), false);
  session_.platform().SetDisplay(nullptr);
  instance_.Close();
}

}  // namespace qsrn
