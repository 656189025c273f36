// The windowed display's placement on a Win32 window; see screen_placement.h.
#include "win32/saver/screen_placement.h"

namespace qsrn {

RECT FrameForPlace(const WindowPixels& place) {
  RECT frame{0, 0, place.width, place.height};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return RECT{place.left, place.top, place.left + frame.right - frame.left,
              place.top + frame.bottom - frame.top};
}

void StoreScreenPlacement(HWND hwnd, SettingsStore& store, float twipsPerPixelX, float twipsPerPixelY) {
  RECT frame{}, inner{};
  if (!GetWindowRect(hwnd, &frame) || !GetClientRect(hwnd, &inner)) return;
  const WindowPixels place{frame.left, frame.top, inner.right - inner.left, inner.bottom - inner.top};
  StorePlacement(store, IsZoomed(hwnd) != FALSE, IsIconic(hwnd) != FALSE, place, twipsPerPixelX,
                 twipsPerPixelY);
}

}  // namespace qsrn
