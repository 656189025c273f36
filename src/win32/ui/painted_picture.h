// A static control of a dialog template turned into a picture: the owner paints its whole face
// (nothing erases it first), when the system asks and whenever a frame is ready.
// Usage:
//   PaintedPicture picture(GetDlgItem(dlg, IDC_PICTURE), [&](HDC dc) { ...everything... });
//   picture.DrawNow([&](HDC dc) { ...only what changed... });
#pragma once

#include <windows.h>

#include <functional>

namespace qsrn {

class PaintedPicture {
 public:
  using Painter = std::function<void(HDC)>;
  // The control is subclassed until it is destroyed; the picture must outlive it.
  PaintedPicture(HWND control, Painter onPaint);
  PaintedPicture(const PaintedPicture&) = delete;
  PaintedPicture& operator=(const PaintedPicture&) = delete;

  HWND hwnd() const { return control_; }
  // Draws on the control at once, outside WM_PAINT.
  void DrawNow(const Painter& draw) const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  HWND control_;
  Painter onPaint_;
};

}  // namespace qsrn
