// A window's frame timer (WM_TIMER) that runs only while the window can be seen: stopped when it
// is hidden or minimised, or paused by its owner (another window covers the picture), and started
// again when it shows, so no processor time goes into an invisible animation.
// Usage: call Update from WM_SHOWWINDOW (with its wParam), WM_SIZE and after SetPaused.
#pragma once

#include <windows.h>

namespace qsrn {

class FrameTimer {
 public:
  static constexpr UINT_PTR kId = 1;

  FrameTimer(HWND window, UINT intervalMs) : window_(window), interval_(intervalMs) {}
  ~FrameTimer() { Stop(); }
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  void Update(bool visible) {
    if (visible && !paused_ && !IsIconic(window_)) {
      if (!active_) active_ = SetTimer(window_, kId, interval_, nullptr) != 0;
    } else {
      Stop();
    }
  }
  void Update() { Update(IsWindowVisible(window_) != FALSE); }
  void SetPaused(bool paused) {
    paused_ = paused;
    Update();
  }
  bool Active() const { return active_; }

 private:
  void Stop() {
    if (active_) KillTimer(window_, kId);
    active_ = false;
  }

  HWND window_;
  UINT interval_;
  bool paused_ = false;
  bool active_ = false;
};

}  // namespace qsrn
