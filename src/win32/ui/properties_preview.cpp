// The live preview; see properties_preview.h.
#include "win32/ui/properties_preview.h"

#include "render/surface.h"

namespace qsrn {

namespace {
constexpr wchar_t kClass[] = L"QuasarinePreview";
constexpr UINT_PTR kRestartTimer = 1;
constexpr UINT_PTR kFrameTimer = 2;
constexpr UINT kRestartPauseMs = PreviewRun::kRestartPauseMs;
}  // namespace

void LivePreview::Register() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // already there from an earlier dialog: fine
}

LivePreview* LivePreview::Of(HWND window) {
  return window != nullptr ? reinterpret_cast<LivePreview*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LivePreview::LivePreview(HWND window) : window_(window) {}

LivePreview::~LivePreview() = default;

void LivePreview::Restart(const FieldTexts& texts, EffectIndex effect) {
  texts_ = texts;
  effect_ = effect;
  pending_ = true;
  if (!paused_) SetTimer(window_, kRestartTimer, kRestartPauseMs, nullptr);
}

void LivePreview::Pause(bool paused) {
  if (paused == paused_) return;
  paused_ = paused;
  if (paused) {
    KillTimer(window_, kRestartTimer);
    KillTimer(window_, kFrameTimer);
  } else if (pending_) {
    SetTimer(window_, kRestartTimer, kRestartPauseMs, nullptr);
  } else if (run_.Running()) {
    SetTimer(window_, kFrameTimer, frameDelay_, nullptr);
  }
}

void LivePreview::StartEngine() {
  KillTimer(window_, kFrameTimer);
  pending_ = false;
  if (store_ == nullptr) return;
  RECT r{};
  GetClientRect(window_, &r);
  frameDelay_ = static_cast<UINT>(run_.Start(*store_, texts_, effect_, r.right - r.left, r.bottom - r.top, GetTickCount64()));
  presenter_.Invalidate();
  if (!paused_ && run_.Running()) SetTimer(window_, kFrameTimer, frameDelay_, nullptr);
}

void LivePreview::Present() {
  if (HDC dc = GetDC(window_)) {
    presenter_.Present(dc, run_.surface());
    ReleaseDC(window_, dc);
  }
}

void LivePreview::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (run_.Running()) {
    presenter_.Invalidate();
    presenter_.Present(dc, run_.surface());
  }
  EndPaint(window_, &ps);
}

LRESULT CALLBACK LivePreview::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LivePreview* self = Of(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new LivePreview(hwnd)));
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete self;
      return 0;
    case WM_TIMER:
      if (self == nullptr) break;
      if (wp == kRestartTimer) {
        KillTimer(hwnd, kRestartTimer);
        self->StartEngine();
      } else if (wp == kFrameTimer) {
        self->run_.Frame();
      }
      return 0;
    case WM_PAINT:
      if (self == nullptr) break;
      self->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace qsrn
