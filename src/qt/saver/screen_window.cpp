// The windowed display; see screen_window.h.
#include "qt/saver/screen_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "qt/saver/host_session.h"
#include "qt/saver/properties_entry.h"
#include "qt/saver/window_placement.h"
#include "effects/loaders.h"

namespace qsrn {

namespace {
constexpr int kResizeSettleMs = 300;

bool IsLoneModifier(int key) {
  switch (key) {
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Meta: case Qt::Key_Alt: case Qt::Key_AltGr:
    case Qt::Key_Super_L: case Qt::Key_Super_R: case Qt::Key_Hyper_L: case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock: case Qt::Key_NumLock: case Qt::Key_ScrollLock:
      return true;
    default:
      return false;
  }
}
}  // namespace

ScreenWindow::ScreenWindow(HostSession& session) : DisplayWindow(true), session_(session) {
  setWindowTitle(QString());
  setFocusPolicy(Qt::StrongFocus);
  resizeSettled_.setSingleShot(true);
  resizeSettled_.setInterval(kResizeSettleMs);
  // A new size restarts the run at that size once the user has stopped resizing.
  // The new size is stored first, or the restart would put the stored one back.
  connect(&resizeSettled_, &QTimer::timeout, this, [this] {
    if (!running_) return;
    SavePlacement();
    Request(Pending::Restart);
  });
  connect(&instance_, &InstanceServer::bringForwardRequested, this, [this] {
    raise();
    activateWindow();
  });
}

void ScreenWindow::Run() {
  while (!unloaded_) {  // closed (a signal) while the window was being set up: nothing to run
    pending_ = Pending::None;
    session_.runLoop().RunScreen(demo(), [this] { SetupAppearance(); });
    if (pending_ == Pending::Restart) continue;
    if (pending_ == Pending::Properties) {
      OpenProperties();
      if (pending_ != Pending::Exit) continue;
    }
    break;  // Escape, Exit, the window's own close, or a stop from elsewhere
  }
  CloseScreen();
  session_.ctx().surface = nullptr;
}

void ScreenWindow::SetupAppearance() {
  Context& ctx = session_.ctx();
  running_ = false;
  const bool resizable = ReadWinResize(session_.store());
  // Without resizing the window has no caption and no frame, so the window manager draws none.
  const Qt::WindowFlags flags = resizable ? Qt::WindowFlags(Qt::Window) : Qt::Window | Qt::FramelessWindowHint;
  if (windowFlags() != flags) setWindowFlags(flags);
  if (resizable) {
    setWindowTitle(QString::fromLatin1(kSaverTitle));
    unsetCursor();
    RestoreWindowPlacement(*this, session_.store(), ctx.TwipsPerPixelX, ctx.TwipsPerPixelY);
    instance_.Listen(QString::fromLatin1(kSaverTitle));
  } else {
    setWindowTitle(QString());
    // Without a window manager nothing would maximise the window, so it is also given the
    // screen's available area directly.
    if (QScreen* s = screen()) setGeometry(s->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    setCursor(Qt::BlankCursor);
    instance_.Close();
  }
  show();
  WaitUntilSettled();
  SizeSurfaceToWindow();
  session_.platform().SetDisplay(this);
  ctx.surface = &surface();
  running_ = true;
}

void ScreenWindow::resizeEvent(QResizeEvent* event) {
  DisplayWindow::resizeEvent(event);
  if (running_) resizeSettled_.start();
}

void ScreenWindow::Request(Pending what) {
  // Exit outranks everything; otherwise the latest request wins.
  if (pending_ != Pending::Exit) pending_ = what;
  session_.ctx().StopRequested = true;
}

void ScreenWindow::keyPressEvent(QKeyEvent* event) {
  if (IsLoneModifier(event->key())) return;  // the Alt of Alt+Tab is no request for the dialog
  switch (event->key()) {
    case Qt::Key_Escape:
      CloseScreen();
      break;
    case Qt::Key_F5:
      SavePlacement();
      Request(Pending::Restart);
      break;
    default:
      Request(Pending::Properties);
      break;
  }
}

void ScreenWindow::mousePressEvent(QMouseEvent*) { Request(Pending::Properties); }

// The platform's own close ends the program, as Escape does.
void ScreenWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  CloseScreen();
}

void ScreenWindow::OpenProperties() {
  SavePlacement();
  QDialog* dialog = CreatePropertiesDialog(session_, this);
  dialog->exec();
  ClearMessage();
  if (session_.state().ExitRequested) CloseScreen();
}

void ScreenWindow::SavePlacement() {
  SaveWindowPlacement(*this, session_.store(), session_.ctx().TwipsPerPixelX, session_.ctx().TwipsPerPixelY);
}

void ScreenWindow::CloseScreen() {
  session_.platform().SetDisplay(nullptr);
  Request(Pending::Exit);
  Unload();
}

void ScreenWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  SavePlacement();
  instance_.Close();
  hide();
}

}  // namespace qsrn
