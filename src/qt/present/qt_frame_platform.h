// The frame protocol's platform under Qt: a monotonic millisecond clock, presenting the current
// display's surface, and event dispatch that sleeps in Qt's event loop until the next event or
// the frame deadline, whichever comes first, so that pacing never burns a core.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

#include "qt/present/present_log.h"
#include "render/frame.h"

namespace qsrn {

class DisplayWindow;

class QtFramePlatform : public FramePlatform {
 public:
  QtFramePlatform();

  uint32_t TickCount() override;
  void Present(Context& ctx) override;
  void DispatchEvents(Context& ctx, uint32_t deadlineTick) override;
  bool PreviewParentAlive() override;
  void ShowMessage(Context& ctx) override;

  // The window whose surface is current; null once it has unloaded (nothing is presented then).
  void SetDisplay(DisplayWindow* display) { display_ = display; }
  DisplayWindow* display() const { return display_; }
  // The native window that hosts the preview; 0 for none.
  void SetPreviewParent(uint64_t id) { previewParent_ = id; }
  // Called after every presented frame (the frame-rate counter of -fps).
  void SetOnPresented(std::function<void()> hook) { onPresented_ = std::move(hook); }
  // Called at every event dispatch, before waiting (the other screens' frames).
  void SetOnDispatch(std::function<void()> hook) { onDispatch_ = std::move(hook); }

 private:
  DisplayWindow* display_ = nullptr;
  uint64_t previewParent_ = 0;
  std::function<void()> onPresented_;
  std::function<void()> onDispatch_;
  QTimer wake_;
  PresentLog presentLog_;
};

}  // namespace qsrn
