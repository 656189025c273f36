// Whether there is a display to draw on, asked before Qt is started (Qt aborts the whole process
// when it finds none), and which kind it is once Qt runs.
#pragma once

#include <string>

namespace qsrn {

// Asks whether there is a display to draw on. The X11 connection it opens stays open for as long
// as the probe lives, so that Qt's own connection does not follow a disconnect too closely (a
// server can refuse that one); keep the probe until Qt has started.
class DisplayProbe {
 public:
  DisplayProbe() = default;
  DisplayProbe(const DisplayProbe&) = delete;
  DisplayProbe& operator=(const DisplayProbe&) = delete;
  ~DisplayProbe() { Release(); }

  // Empty when an X11 or Wayland display (or a platform the user forced with QT_QPA_PLATFORM)
  // can be reached; else why not, and what to do, for one line on stderr. When only one of X11
  // and Wayland answers, QT_QPA_PLATFORM is set to it so that Qt does not try the other.
  std::string Problem();
  // Closes the probe's connection (once Qt has its own).
  void Release();

 private:
  bool XReachable();
  void* x11_ = nullptr;  // the xcb connection, when one was opened
};

// True when Qt draws through Wayland, where other programs' windows have no ids to draw into.
bool OnWayland();

}  // namespace qsrn
