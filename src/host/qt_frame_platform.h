// The frame protocol's platform under Qt: a monotonic millisecond clock, presenting the current
// display's surface, and event dispatch that sleeps in Qt's event loop until the next event or
// the frame deadline, whichever comes first, so that pacing never burns a core.
#pragma once

#include <QTimer>
#include <cstdint>

#include "host/present_log.h"
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

 private:
  DisplayWindow* display_ = nullptr;
  uint64_t previewParent_ = 0;
  QTimer wake_;
  PresentLog presentLog_;
};

}  // namespace qsrn
