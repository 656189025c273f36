// The hack: the animation drawn into a window that xscreensaver or xsecurelock made (-root:
// $XSCREENSAVER_WINDOW, else the root window; -window-id ID). The host program owns input and
// locking, so this never grabs input and never ends on it; it follows the window's size,
// restarting the run at the new size, and ends when the window goes or on SIGTERM.
#pragma once

#include <QTimer>
#include <cstdint>
#include <memory>

#include "run/command_line.h"

namespace qsrn {

class HostSession;
class DisplayWindow;
class FpsOverlay;

class HackWindow {
 public:
  HackWindow(HostSession& session, const HackOptions& options);
  ~HackWindow();
  HackWindow(const HackWindow&) = delete;
  HackWindow& operator=(const HackWindow&) = delete;

  // The window the options name; 0 when there is none.
  static uint32_t TargetWindow(const HackOptions& options);
  // Runs until the target window goes or a stop is requested; false when it never existed.
  bool Run(uint32_t targetId);

 private:
  // Polled: the target's size; a change resizes the picture now and restarts the run once the
  // size has settled.
  void FollowTarget();
  void FitToTarget();

  HostSession& session_;
  HackOptions options_;
  DisplayWindow* picture_;
  std::unique_ptr<FpsOverlay> fps_;
  QTimer follow_;
  uint32_t target_ = 0;
  int targetWidth_ = 0, targetHeight_ = 0;
  int stableTicks_ = 0;
  bool restart_ = false;
};

}  // namespace qsrn
