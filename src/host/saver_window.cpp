// The full-screen saver window; see saver_window.h.
#include "host/saver_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "host/host_session.h"
#include "host/platform_password.h"

namespace qsrn {

SaverWindow::SaverWindow(HostSession& session) : DisplayWindow(true), session_(session) {
  setWindowTitle(QString::fromLatin1(kSaverTitle));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setCursor(Qt::BlankCursor);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void SaverWindow::SetupSaverForm() {
  instance_.Listen(QString::fromLatin1(kSaverTitle));
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) setGeometry(screen->geometry());
  showFullScreen();
  MakeTopmost(*this);
  raise();
  activateWindow();
  WaitUntilSettled();
  // Keys reach the saver wherever the focus was.
  grabKeyboard();
  SizeSurfaceToWindow();
  session_.platform().SetDisplay(this);
  session_.ctx().surface = &surface();
}

void SaverWindow::Run() {
  SetupSaverForm();
  // Input while the window was being set up already stopped the saver.
  if (!unloaded_) session_.runLoop().RunSaver(demo());
  CloseSaver();
  session_.ctx().surface = nullptr;
}

void SaverWindow::CloseSaver() {
  if (!unloaded_) close();
}

void SaverWindow::keyPressEvent(QKeyEvent*) { CloseSaver(); }

void SaverWindow::mousePressEvent(QMouseEvent*) { CloseSaver(); }

void SaverWindow::mouseMoveEvent(QMouseEvent*) {
  if (mouse_.OnMouseMove(MouseRuleSeconds())) CloseSaver();
}

// Query-unload, then unload: the engine sees StopRequested at the end of its frame.
void SaverWindow::closeEvent(QCloseEvent* event) {
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
  releaseKeyboard();
  SetSaverRunning(session_.store(), false);
  session_.platform().SetDisplay(nullptr);
  instance_.Close();
}

}  // namespace qsrn
