// frmSaver: the full-screen saver window. Frameless, black, with a hidden cursor; any key, any
// button or the fourth mouse move in about ten seconds stops it, once the password check (none
// on this platform) accepts.
#pragma once

#include "host/display_window.h"
#include "host/mouse_move_rule.h"
#include "host/single_instance.h"

namespace qsrn {

class HostSession;

class SaverWindow : public DisplayWindow {
  Q_OBJECT
 public:
  explicit SaverWindow(HostSession& session);

  // The load step: SetupSaverForm, the saver's run loop, then CloseSaver. Returns when it stops.
  void Run();
  void SetupSaverForm();
  // Asks for the window to unload (the query-unload step decides).
  void CloseSaver();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  HostSession& session_;
  MouseMoveRule mouse_;
  InstanceServer instance_;
  bool unloaded_ = false;
};

}  // namespace qsrn
