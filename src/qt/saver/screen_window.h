// frmScreen: the windowed display. Escape ends the program, F5 restarts the animation with the
// stored settings, any other key (not a lone modifier) or a click opens the properties dialog; a
// resize restarts the animation at the new size once it settles; its placement is kept in the
// store. A restart unwinds the running engine first and then starts a fresh run loop,
// so run loops never nest.
#pragma once

#include <QTimer>

#include "qt/present/display_window.h"
#include "qt/platform/single_instance.h"

namespace qsrn {

class HostSession;

class ScreenWindow : public DisplayWindow {
  Q_OBJECT
 public:
  explicit ScreenWindow(HostSession& session);

  // Shows the window and runs the animation until the program is to end. A new run loop starts
  // after F5 and after the properties dialog closes, with freshly loaded settings.
  void Run();
  void OpenProperties();
  void CloseScreen();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // What the running loop is to do once it has unwound.
  enum class Pending { None, Restart, Properties, Exit };
  void Request(Pending what);
  // Caption, cursor and placement by Adv_WinResize, then the surface from this window.
  void SetupAppearance();
  // WindowState and WindowSize from the window as it is now.
  void SavePlacement();
  // The unload step: the placement is saved once.
  void Unload();

  HostSession& session_;
  InstanceServer instance_;
  Pending pending_ = Pending::None;
  QTimer resizeSettled_;
  bool running_ = false;  // set up and drawing: a resize from now on restarts the run
  bool unloaded_ = false;
};

}  // namespace qsrn
