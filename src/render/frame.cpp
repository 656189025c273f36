// The frame protocol: pacing by the tick count with event dispatch, the stop test, the preview's
// parent test, the periodic message repaint, the per-effect frame quota and the preview's settle.
// Tick differences are taken as 32-bit signed values so that the wrap of the clock is harmless.
#include "render/frame.h"

#include <chrono>
#include <cstdlib>

#include "render/surface.h"

namespace qsrn {

uint32_t MonotonicTickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {
// a - b as a 32-bit signed difference of two wrapping tick counts.
int32_t TickDiff(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b); }
}  // namespace

bool FrameDelay(Context& ctx) {
  if (ctx.platform == nullptr) return ctx.StopRequested;
  const auto start = static_cast<uint32_t>(ctx.frame.FrameStartTick);
  const int32_t delay = ctx.settings.Adv_TimeDelay;
  const uint32_t deadline = start + static_cast<uint32_t>(delay > 0 ? delay : 0);
  for (;;) {
    ctx.platform->DispatchEvents(ctx, deadline);
    if (ctx.StopRequested) return true;
    const int64_t elapsed = std::llabs(int64_t{TickDiff(ctx.platform->TickCount(), start)});
    if (elapsed >= delay) return false;
  }
}

bool EndFrame(Context& ctx) {
  if (ctx.platform == nullptr) return ctx.StopRequested;
  ctx.platform->Present(ctx);
  bool result = FrameDelay(ctx);
  if (ctx.runMode == RunMode::Preview && !ctx.platform->PreviewParentAlive()) {
    ctx.StopRequested = true;
    result = true;
  }
  // A plain signed difference: while it is negative the periodic repaint waits.
  if (TickDiff(ctx.platform->TickCount(), static_cast<uint32_t>(ctx.frame.LastMessageTick)) >= 3000) {
    ctx.frame.LastMessageTick = static_cast<int32_t>(ctx.platform->TickCount());
    ShowMessage(ctx);
  }
  return result;
}

// A count that has somehow passed the quota (FrameCount not reset) still ends the effect
// instead of running on forever and overflowing.
bool FrameLimitReached(Context& ctx) {
  const int32_t quota = ctx.settings.Adv_EffectFPC;
  if (quota < 1) return false;
  if (ctx.frame.FrameCount < quota) ++ctx.frame.FrameCount;
  return ctx.frame.FrameCount >= quota;
}

void PreviewSettle(Context& ctx) {
  ctx.frame.PreviewSettled = true;
  if (ctx.platform == nullptr) return;
  const uint32_t t0 = ctx.platform->TickCount();
  do {
    ctx.platform->DispatchEvents(ctx, t0 + 1);
  } while (ctx.platform->TickCount() == t0);
}

// The platform knows whether its surface is a form that carries the message label (never the
// preview's picture box); the core only decides whether there is anything to show.
void ShowMessage(Context& ctx) {
  if (ctx.surface == nullptr || ctx.platform == nullptr || ctx.settings.LockMessage.empty()) return;
  ctx.platform->ShowMessage(ctx);
}

void ClearAndShowMessage(Context& ctx) {
  if (ctx.surface != nullptr) ctx.surface->Clear();
  ShowMessage(ctx);
}

void HeadlessPlatform::DispatchEvents(Context&, uint32_t deadlineTick) {
  // Jump to the deadline: every frame seems to last exactly the frame delay, and nothing waits.
  if (static_cast<int32_t>(deadlineTick - tick_) > 0) tick_ = deadlineTick;
}

}  // namespace qsrn
