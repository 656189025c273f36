// The frame protocol. Engines are driven: the host runs set-up once, then for every frame takes
// the start tick, calls the engine's step (move, erase, draw), and runs EndFrame (present, event
// dispatch, stop test), FrameLimitReached and, in the preview, PreviewSettle.
#pragma once

#include <cstdint>

#include "render/context.h"

namespace qsrn {

// What the frame protocol needs from the platform. The headless one never waits.
class FramePlatform {
 public:
  virtual ~FramePlatform() = default;
  // Milliseconds from a monotonic clock, wrapping as a 32-bit value.
  virtual uint32_t TickCount() = 0;
  // Shows the finished frame (a window copies the framebuffer; headless does nothing).
  virtual void Present(Context&) {}
  // Dispatches pending events, waiting for one at most until the tick deadline (never spinning).
  virtual void DispatchEvents(Context&, uint32_t deadlineTick) = 0;
  // False once the preview's parent window has gone.
  virtual bool PreviewParentAlive() { return true; }
  // Re-applies the on-screen message (saver and windowed displays only).
  virtual void ShowMessage(Context&) {}
};

// The tick count of the displays: milliseconds from a monotonic clock, wrapping as 32 bits.
uint32_t MonotonicTickCount();

bool FrameDelay(Context& ctx);
bool EndFrame(Context& ctx);
bool FrameLimitReached(Context& ctx);
void PreviewSettle(Context& ctx);
void ShowMessage(Context& ctx);
// Clears the surface to its background colour and shows the message.
void ClearAndShowMessage(Context& ctx);

// A platform for tests, --render and --bench: ticks advance by the frame delay, nothing waits.
class HeadlessPlatform : public FramePlatform {
 public:
  uint32_t TickCount() override { return tick_; }
  void DispatchEvents(Context& ctx, uint32_t deadlineTick) override;
  void SetTick(uint32_t tick) { tick_ = tick; }  // tests start the clock where they need it
 private:
  uint32_t tick_ = 1;
};

}  // namespace qsrn
