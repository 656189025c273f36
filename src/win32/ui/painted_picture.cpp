// A picture painted by its owner; see painted_picture.h.
#include "win32/ui/painted_picture.h"

#include <commctrl.h>

#include <utility>

namespace qsrn {

PaintedPicture::PaintedPicture(HWND control, Painter onPaint)
    : control_(control), onPaint_(std::move(onPaint)) {
  SetWindowSubclass(control_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void PaintedPicture::DrawNow(const Painter& draw) const {
  if (const HDC dc = GetDC(control_)) {
    draw(dc);
    ReleaseDC(control_, dc);
  }
}

LRESULT CALLBACK PaintedPicture::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
  const auto& self = *reinterpret_cast<const PaintedPicture*>(data);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(window, &ps);
      self.onPaint_(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, Proc, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace qsrn
