// The three display windows of Windows, one class: the full-screen saver window (one per
// monitor: frameless, topmost, no cursor; a key, a button, the wheel or the fourth mouse move in
// about ten seconds on any of them ends all), the windowed display (Escape ends it, F5 restarts
// the animation, another key or a click asks for the properties), and the preview, a child of the
// system's preview area that ends when that area goes. The window's surface is shown through the
// changed-tile presenter, with the message line over it.
#pragma once

#include <windows.h>

#include <functional>

#include "render/context.h"
#include "render/surface.h"
#include "run/mouse_move_rule.h"
#include "run/run_loop.h"
#include "win32/present/dib_presenter.h"
#include "win32/present/message_label.h"
#include "win32/present/win32_frame_platform.h"

namespace qsrn {

enum class DisplayKind { Saver, Screen, Preview };

class Win32Display : public FrameTarget {
 public:
  // stop: the context whose loop input ends (the lead's, for every monitor's saver window).
  Win32Display(Context& stop, DisplayKind kind, Win32Display* lead = nullptr);
  ~Win32Display() override;
  Win32Display(const Win32Display&) = delete;
  Win32Display& operator=(const Win32Display&) = delete;

  // Creates the saver or windowed display over area (screen coordinates).
  bool Create(const RECT& area, bool sizable = false);
  // Creates the preview over the parent's client area.
  bool CreatePreview(HWND parent);
  // Keeps the preview over the parent's client area; true when its size changed.
  bool FollowParent(HWND parent);
  HWND hwnd() const { return hwnd_; }
  Surface& surface() { return surface_; }
  DemoCounters& demo() { return demo_; }
  // The surface takes the window's inner size.
  void SizeSurface();

  void PresentFrame() override;
  void ApplyMessage(const Context& ctx) override;

  bool restart = false;  // the loop ended to start again (F5, a new size, the properties)
  bool closed = false;   // the saver or the windowed display was asked to end
  bool displayChanged = false;  // the lead saver's: monitors came, went or changed size
  std::function<void()> onProperties;  // the windowed display's key or click

 private:
  bool CreateWindowAt(DWORD ex, DWORD style, const wchar_t* title, const RECT& area, HWND parent);
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  bool HandleInput(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnKey(WPARAM key);
  void OnMouseMove(LPARAM lParam);
  Win32Display& Lead() { return lead_ != nullptr ? *lead_ : *this; }
  // Ends the saver on every monitor, or the windowed display.
  void Close();
  void Restart();

  Context& stop_;
  DisplayKind kind_;
  Win32Display* lead_;
  HWND hwnd_ = nullptr;
  bool hideCursor_ = true;
  bool popupPreview_ = false;  // the preview as a window of its own over the parent (Wine)
  Surface surface_;
  DibPresenter presenter_;
  MessageLabel label_;
  DemoCounters demo_;
  MouseMoveRule mouse_;
  POINT lastMouse_{};  // the lead's: the pointer's last place on the screen
};

}  // namespace qsrn
