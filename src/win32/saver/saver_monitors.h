// The saver on every monitor: beside the lead window (the primary monitor, whose run loop is the
// session's), one saver window per other monitor, each with its own context, engine and run loop.
// Those loops run on lockstep threads, one turn at every event dispatch of the lead's loop, so all
// of them start and stop together, every window is drawn from the program's one GUI thread, and
// input on any monitor ends all.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qsrn {

struct SaverSession;
class Win32Display;

// The monitors' rectangles on the virtual screen, the primary one first.
std::vector<RECT> MonitorAreas();

class SaverMonitors {
 public:
  SaverMonitors(SaverSession& session, Win32Display& lead);
  // Stops every other monitor's loop and closes its window.
  ~SaverMonitors();
  SaverMonitors(const SaverMonitors&) = delete;
  SaverMonitors& operator=(const SaverMonitors&) = delete;

  void Cover(const std::vector<RECT>& areas);
  // Follows the monitors as they are now: a window whose monitor went or changed goes, a monitor
  // without one gets one, and the lead moves to the primary monitor. True when the lead's place
  // changed, so that its loop starts again at the new size.
  bool Follow();
  // Every other loop runs up to its next event dispatch; its frame is then shown.
  // frameTick: when the lead's current frame began (the other loops' clock).
  void TurnAll(uint32_t frameTick);

 private:
  struct Other;
  void Drop(size_t i);
  SaverSession& session_;
  Win32Display& lead_;
  std::vector<std::unique_ptr<Other>> others_;
};

}  // namespace qsrn
