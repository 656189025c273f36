// The saver's other monitors; see saver_monitors.h.
#include "win32/saver/saver_monitors.h"

#include <algorithm>

#undef Yield  // an empty macro of winbase.h, from 16-bit Windows
#include "run/lockstep_thread.h"
#include "run/run_loop.h"
#include "win32/saver/saver_session.h"
#include "win32/saver/win32_display.h"

namespace qsrn {

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& areas = *reinterpret_cast<std::vector<RECT>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0)
    areas.insert(areas.begin(), info.rcMonitor);
  else
    areas.push_back(info.rcMonitor);
  return TRUE;
}
}  // namespace

std::vector<RECT> MonitorAreas() {
  std::vector<RECT> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&areas));
  if (areas.empty())
    areas.push_back(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  return areas;
}

struct SaverMonitors::Other {
  Other(SaverSession& session, Win32Display& lead)
      : ctx(std::make_unique<Context>()), window(*session.ctx, DisplayKind::Saver, &lead), loop(*ctx, session.store) {
    const Context& first = *session.ctx;
    ctx->trig = first.trig;
    ctx->runMode = first.runMode;
    ctx->TwipsPerPixelX = first.TwipsPerPixelX;
    ctx->TwipsPerPixelY = first.TwipsPerPixelY;
    ctx->platform = &platform;  // no sound: one sound plays at a time, from the lead's monitor
  }

  std::unique_ptr<Context> ctx;
  RECT area{};
  Win32Display window;
  LockstepPlatform platform;
  RunLoop loop;
  std::unique_ptr<LockstepThread> thread;
};

SaverMonitors::SaverMonitors(SaverSession& session, Win32Display& lead) : session_(session), lead_(lead) {}

SaverMonitors::~SaverMonitors() {
  while (!others_.empty()) Drop(others_.size() - 1);
}

void SaverMonitors::Drop(size_t i) {
  Other& o = *others_[i];
  if (o.thread) o.thread->Finish([&o] { o.ctx->StopRequested = true; });
  others_.erase(others_.begin() + static_cast<std::ptrdiff_t>(i));
}

bool SaverMonitors::Follow() {
  std::vector<RECT> areas = MonitorAreas();
  const RECT primary = areas.front();
  areas.erase(areas.begin());
  for (size_t i = others_.size(); i-- > 0;) {
    auto kept = std::find_if(areas.begin(), areas.end(), [&](const RECT& a) { return EqualRect(&a, &others_[i]->area); });
    if (kept == areas.end())
      Drop(i);
    else
      areas.erase(kept);  // still covered
  }
  Cover(areas);
  RECT now{};
  GetWindowRect(lead_.hwnd(), &now);
  if (EqualRect(&now, &primary)) return false;
  SetWindowPos(lead_.hwnd(), HWND_TOPMOST, primary.left, primary.top, primary.right - primary.left,
               primary.bottom - primary.top, SWP_NOACTIVATE);
  return true;
}

void SaverMonitors::Cover(const std::vector<RECT>& areas) {
  for (const RECT& area : areas) {
    auto o = std::make_unique<Other>(session_, lead_);
    o->area = area;
    if (!o->window.Create(area)) continue;
    o->window.SizeSurface();
    o->ctx->surface = &o->window.surface();
    Other* other = o.get();
    o->thread = std::make_unique<LockstepThread>([other] { other->loop.RunSaver(other->window.demo()); });
    o->platform.thread = o->thread.get();
    others_.push_back(std::move(o));
  }
  SetForegroundWindow(lead_.hwnd());  // the keyboard stays with the lead
}

void SaverMonitors::TurnAll(uint32_t frameTick) {
  for (const auto& o : others_) {
    o->platform.clock = frameTick;
    o->thread->Turn();
    if (o->platform.messagePending) {
      o->platform.messagePending = false;
      o->window.ApplyMessage(*o->ctx);
    }
    if (o->platform.framePending) {
      o->platform.framePending = false;
      o->window.PresentFrame();
    }
  }
}

}  // namespace qsrn
