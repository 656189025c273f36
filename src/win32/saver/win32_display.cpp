// The display windows; see win32_display.h.
#include "win32/saver/win32_display.h"

#include "win32/saver/saver_session.h"

namespace qsrn {

namespace {

constexpr wchar_t kClassName[] = L"QuasarineDisplay";

ATOM RegisterDisplayClass(WNDPROC proc) {
  static const ATOM atom = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC;  // one device context for the window's life: fetching it every frame is cheap
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  return atom;
}

// The parent's client area: in its own coordinates for a child, on the screen for a popup.
RECT PreviewPlace(HWND parent, bool onScreen) {
  RECT area{};
  GetClientRect(parent, &area);
  if (onScreen) MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

bool IsModifier(WPARAM key) {
  switch (key) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_LWIN: case VK_RWIN: case VK_CAPITAL:
    case VK_NUMLOCK: case VK_SCROLL: return true;
    default: return false;
  }
}

}  // namespace

Win32Display::Win32Display(Context& stop, DisplayKind kind, Win32Display* lead)
    : stop_(stop), kind_(kind), lead_(lead) {}

Win32Display::~Win32Display() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Win32Display::CreateWindowAt(DWORD ex, DWORD style, const wchar_t* title, const RECT& area, HWND parent) {
  if (RegisterDisplayClass(Proc) == 0) return false;
  hwnd_ = CreateWindowExW(ex, kClassName, title, style, area.left, area.top, area.right - area.left,
                          area.bottom - area.top, parent, nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd_ == nullptr) return false;
  GetCursorPos(&lastMouse_);  // where the pointer rests when the saver starts
  ShowWindow(hwnd_, kind_ == DisplayKind::Preview ? SW_SHOWNOACTIVATE : SW_SHOW);
  if (kind_ != DisplayKind::Preview) {
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
  }
  UpdateWindow(hwnd_);
  return true;
}

bool Win32Display::Create(const RECT& area, bool sizable) {
  if (kind_ == DisplayKind::Saver)  // above everything, and not in the task bar
    return CreateWindowAt(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, kSaverTitleW, area, nullptr);
  hideCursor_ = !sizable;
  return sizable ? CreateWindowAt(0, WS_OVERLAPPEDWINDOW, kSaverTitleW, area, nullptr)
                 : CreateWindowAt(0, WS_POPUP, L"", area, nullptr);
}

bool Win32Display::CreatePreview(HWND parent) {
  hideCursor_ = false;
  // Wine (8) gives a child window of another process's window nothing to draw on: there the
  // preview is a window of its own, owned by the parent (so it goes with it) and kept over it.
  popupPreview_ = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  RECT area = PreviewPlace(parent, popupPreview_);
  return popupPreview_ ? CreateWindowAt(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_POPUP, kPreviewTitleW, area, parent)
                       : CreateWindowAt(0, WS_CHILD, kPreviewTitleW, area, parent);
}

bool Win32Display::FollowParent(HWND parent) {
  RECT now{}, was{};
  if (hwnd_ == nullptr || !GetClientRect(parent, &now)) return false;
  now = PreviewPlace(parent, popupPreview_);
  GetWindowRect(hwnd_, &was);
  if (!popupPreview_) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&was), 2);
  if (EqualRect(&now, &was)) return false;
  MoveWindow(hwnd_, now.left, now.top, now.right - now.left, now.bottom - now.top, TRUE);
  return now.right - now.left != surface_.Width() || now.bottom - now.top != surface_.Height();
}

void Win32Display::SizeSurface() {
  RECT r{};
  if (hwnd_ != nullptr) GetClientRect(hwnd_, &r);
  surface_.Resize(r.right - r.left, r.bottom - r.top);
  presenter_.Invalidate();
}

void Win32Display::PresentFrame() {
  if (hwnd_ == nullptr) return;
  const HDC dc = GetDC(hwnd_);
  presenter_.Present(dc, surface_);
  label_.Draw(dc);
  ReleaseDC(hwnd_, dc);
}

void Win32Display::ApplyMessage(const Context& ctx) {
  if (hwnd_ == nullptr || kind_ == DisplayKind::Preview) return;
  const HDC dc = GetDC(hwnd_);
  label_.Apply(dc, ctx.settings, ctx.TwipsPerPixelY, surface_.Width());
  ReleaseDC(hwnd_, dc);
}

void Win32Display::Close() {
  if (lead_ != nullptr) return lead_->Close();
  closed = true;
  stop_.StopRequested = true;  // no password on this system: the stop is always accepted
}

void Win32Display::Restart() {
  restart = true;
  stop_.StopRequested = true;
}

void Win32Display::OnKey(WPARAM key) {
  if (kind_ == DisplayKind::Saver) return Close();
  if (kind_ != DisplayKind::Screen) return;
  if (key == VK_ESCAPE) {
    Close();
  } else if (key == VK_F5) {
    Restart();
  } else if (!IsModifier(key) && onProperties) {
    onProperties();
  }
}

void Win32Display::OnMouseMove(LPARAM lParam) {
  // The system also reports a move when a window appears under a still pointer: only a pointer
  // that went somewhere counts.
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd_, &at);
  Win32Display& lead = Lead();
  const bool moved = at.x != lead.lastMouse_.x || at.y != lead.lastMouse_.y;
  lead.lastMouse_ = at;
  if (moved && lead.mouse_.OnMouseMove(MouseRuleSeconds())) Close();
}

bool Win32Display::HandleInput(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: OnKey(wParam); return true;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
      if (kind_ == DisplayKind::Saver) Close();
      else if (kind_ == DisplayKind::Screen && onProperties) onProperties();
      return true;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      if (kind_ == DisplayKind::Saver) Close();
      return true;
    case WM_MOUSEMOVE:
      if (kind_ == DisplayKind::Saver) OnMouseMove(lParam);
      return true;
    default: return false;
  }
}

LRESULT Win32Display::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HandleInput(msg, wParam, lParam)) return 0;
  switch (msg) {
    case WM_SETCURSOR:
      if (!hideCursor_ || LOWORD(lParam) != HTCLIENT) break;
      SetCursor(nullptr);
      return TRUE;
    case WM_ERASEBKGND: return 1;  // the frames cover the window
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      EndPaint(hwnd_, &ps);
      presenter_.Invalidate();  // the next frame shows the whole surface again
      return 0;
    }
    case WM_SIZE:
      if (kind_ == DisplayKind::Screen && wParam != SIZE_MINIMIZED &&
          (LOWORD(lParam) != surface_.Width() || HIWORD(lParam) != surface_.Height()))
        Restart();
      break;
    case WM_CLOSE: Close(); return 0;  // the run loop ends first; the window goes after it
    case WM_DISPLAYCHANGE:
      // Answered between frames, not here: setting up windows lets messages through.
      if (kind_ == DisplayKind::Saver) Lead().displayChanged = true;
      break;
    case WM_SYSCOMMAND:
      if (kind_ == DisplayKind::Saver && (wParam & 0xFFF0) == SC_SCREENSAVE) return 0;  // already running
      break;
    case WM_DESTROY:
      // The preview's host took us with it: that ends the preview.
      hwnd_ = nullptr;
      stop_.StopRequested = true;
      closed = true;
      return 0;
    default: break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Win32Display::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Win32Display*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Display*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

}  // namespace qsrn
