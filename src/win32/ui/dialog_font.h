// The dialog's own font face at another size and weight, for titles and the credits' lines.
#pragma once

#include <windows.h>

namespace qsrn {

// The caller deletes the font (DeleteObject) when the window is gone.
inline HFONT DialogFontAt(HWND dialog, int pointSize, bool bold) {
  LOGFONTW face{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof face, &face);
  const HDC dc = GetDC(dialog);
  face.lfHeight = -MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(dialog, dc);
  face.lfWidth = 0;
  face.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  return CreateFontIndirectW(&face);
}

}  // namespace qsrn
