// Whether there is a display to draw on, asked before Qt is started (Qt aborts the whole process
// when it finds none), and which kind it is once Qt runs.
#pragma once

#include <string>

namespace qsrn {

// Empty when an X11 or Wayland display (or a platform the user forced with QT_QPA_PLATFORM)
// can be reached; else why not, and what to do, for one line on stderr. When only one of X11 and
// Wayland answers, QT_QPA_PLATFORM is set to it so that Qt does not try the other.
std::string DisplayProblem();

// True when Qt draws through Wayland, where other programs' windows have no ids to draw into.
bool OnWayland();

}  // namespace qsrn
