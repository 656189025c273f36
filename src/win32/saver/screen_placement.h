// The windowed display's stored placement (run/window_placement.h) applied to a Win32 window:
// the frame's top-left and the inner size, as the Linux program keeps them.
#pragma once

#include <windows.h>

#include "run/window_placement.h"

namespace qsrn {

// The frame of a sizable window whose inner area has the stored place's size.
RECT FrameForPlace(const WindowPixels& place);

// Stores where the window is, its state and size.
void StoreScreenPlacement(HWND hwnd, SettingsStore& store, float twipsPerPixelX, float twipsPerPixelY);

}  // namespace qsrn
