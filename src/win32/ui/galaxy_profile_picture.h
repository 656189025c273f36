// The galaxy profile picture beside the profile list: the galaxy engine's envelope for the chosen
// profile, seen edge-on from one rim through the axis to the other, filled on black.
#pragma once

#include <windows.h>

namespace qsrn {

void DrawGalaxyProfile(HDC dc, const RECT& area, int profile);

}  // namespace qsrn
