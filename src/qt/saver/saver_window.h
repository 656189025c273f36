// frmSaver: the full-screen saver window, one per screen. Frameless, black, with a hidden cursor,
// kept above every other window; the first (the lead) holds the keyboard and the pointer. Any
// key, button or wheel turn, or the fourth mouse move in about ten seconds, on any screen, stops
// every screen once the password check (none on this platform) accepts.
#pragma once

#include <QTimer>
#include <memory>

#include "qt/present/display_window.h"
#include "run/mouse_move_rule.h"
#include "qt/platform/single_instance.h"

class QScreen;

namespace qsrn {

class HostSession;
class SaverScreens;
class StayOnTop;

class SaverWindow : public DisplayWindow {
  Q_OBJECT
 public:
  // Without a lead this is the lead: it runs the session's run loop and the other screens.
  explicit SaverWindow(HostSession& session, SaverWindow* lead = nullptr);
  ~SaverWindow() override;

  // The load step: SetupSaverForm on the first screen, a window on every other screen, the
  // saver's run loop (again at the new size after the screen changed), then CloseSaver.
  void Run();
  // Covers the screen, above everything; the lead also takes the keyboard and the pointer.
  void SetupSaverForm(QScreen* screen);
  // Asks for the lead window to unload (the query-unload step decides).
  void CloseSaver();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  SaverWindow& Lead() { return lead_ != nullptr ? *lead_ : *this; }
  // Takes the keyboard and the pointer, trying for a while when another program holds them.
  void HoldInput();

  HostSession& session_;
  SaverWindow* lead_;
  MouseMoveRule mouse_;
  InstanceServer instance_;
  std::unique_ptr<SaverScreens> others_;
  std::unique_ptr<StayOnTop> onTop_;  // the lead's, keeping every screen's window on top
  QTimer resizeSettled_;  // a new size restarts the run once it has settled
  bool restart_ = false;
  bool running_ = false;
  bool unloaded_ = false;
};

}  // namespace qsrn
