// Win32 pacing and presenting; see win32_frame_platform.h.
#include "win32/present/win32_frame_platform.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace qsrn {

Win32FramePlatform::Win32FramePlatform() {
  QueryPerformanceFrequency(&frequency_);
  timeBeginPeriod(1);
  const char* log = std::getenv("QSRN_PRESENT_LOG");
  log_ = log != nullptr && *log != '\0' && *log != '0';
}

Win32FramePlatform::~Win32FramePlatform() { timeEndPeriod(1); }

uint32_t Win32FramePlatform::TickCount() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const uint64_t count = static_cast<uint64_t>(now.QuadPart), f = static_cast<uint64_t>(frequency_.QuadPart);
  // Split so that the product never overflows, however long the machine has been up.
  return static_cast<uint32_t>((count / f) * 1000 + (count % f) * 1000 / f);
}

void Win32FramePlatform::Present(Context&) {
  if (target_ == nullptr) return;
  target_->PresentFrame();
  if (log_) LogFrame();
}

void Win32FramePlatform::LogFrame() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  frameTimes_.push_back(now.QuadPart);
  if (frameTimes_.size() < 2 || now.QuadPart - frameTimes_.front() < frequency_.QuadPart) return;
  std::vector<int64_t> intervals;
  for (size_t i = 1; i < frameTimes_.size(); ++i) intervals.push_back(frameTimes_[i] - frameTimes_[i - 1]);
  std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
  const double median = 1000.0 * static_cast<double>(intervals[intervals.size() / 2]) / frequency_.QuadPart;
  std::fprintf(stderr, "quasarine: %zu frames presented, median interval %.2f ms\n", intervals.size(), median);
  std::fflush(stderr);
  frameTimes_.assign(1, now.QuadPart);
}

void Win32FramePlatform::Pump(Context& ctx) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ctx.StopRequested = true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Win32FramePlatform::DispatchEvents(Context& ctx, uint32_t deadlineTick) {
  if (onDispatch_) onDispatch_();
  Pump(ctx);
  if (ctx.StopRequested) return;
  const auto remaining = static_cast<int32_t>(deadlineTick - TickCount());
  if (remaining <= 0) return;
  // Sleeps until a message arrives or the frame is over.
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(remaining), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  Pump(ctx);
}

bool Win32FramePlatform::PreviewParentAlive() { return previewParent_ != nullptr && IsWindow(previewParent_); }

void Win32FramePlatform::ShowMessage(Context& ctx) {
  if (target_ != nullptr) target_->ApplyMessage(ctx);
}

}  // namespace qsrn
