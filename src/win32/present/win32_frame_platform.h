// The frame protocol's platform under Win32: a 64-bit high-resolution clock (the run loop sees its
// milliseconds wrapping as 32 bits), presenting the current display window, and event dispatch
// that sleeps in MsgWaitForMultipleObjectsEx until the next message or the frame's end, with the
// system timer at 1 ms while it exists, so a 25 ms frame lasts 25 ms and not 31.
// QSRN_PRESENT_LOG=1 in the environment reports the frames presented and their median interval
// on stderr about once a second.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "render/frame.h"

namespace qsrn {

// A window that shows frames: the platform presents the current one after every frame.
class FrameTarget {
 public:
  virtual ~FrameTarget() = default;
  virtual void PresentFrame() = 0;
  virtual void ApplyMessage(const Context& ctx) = 0;
};

class Win32FramePlatform : public FramePlatform {
 public:
  Win32FramePlatform();
  ~Win32FramePlatform() override;
  Win32FramePlatform(const Win32FramePlatform&) = delete;
  Win32FramePlatform& operator=(const Win32FramePlatform&) = delete;

  uint32_t TickCount() override;
  void Present(Context& ctx) override;
  void DispatchEvents(Context& ctx, uint32_t deadlineTick) override;
  bool PreviewParentAlive() override;
  void ShowMessage(Context& ctx) override;

  // The window whose surface is current; null presents nothing.
  void SetTarget(FrameTarget* target) { target_ = target; }
  void SetPreviewParent(HWND parent) { previewParent_ = parent; }
  // Called at every event dispatch, before waiting (the other monitors' frames, the preview's size).
  void SetOnDispatch(std::function<void()> hook) { onDispatch_ = std::move(hook); }
  // Handles the messages waiting; a WM_QUIT stops the loop.
  void Pump(Context& ctx);

 private:
  void LogFrame();

  LARGE_INTEGER frequency_{};
  FrameTarget* target_ = nullptr;
  HWND previewParent_ = nullptr;
  std::function<void()> onDispatch_;
  bool log_ = false;
  std::vector<int64_t> frameTimes_;  // this second's presents, in counter units
};

}  // namespace qsrn
