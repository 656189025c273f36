// The windowed display's placement (run/window_placement.h) applied to a Qt window.
#pragma once

#include "run/window_placement.h"

class QWidget;

namespace qsrn {

// Positions are the window frame's top-left, sizes its inner size, both in logical pixels.
void SaveWindowPlacement(const QWidget& form, SettingsStore& store, float twipsPerPixelX,
                         float twipsPerPixelY);
void RestoreWindowPlacement(QWidget& form, const SettingsStore& store, float twipsPerPixelX,
                            float twipsPerPixelY);

}  // namespace qsrn
