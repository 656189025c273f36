// The credits: their text scrolling up over a star field flying at the viewer, modal over the
// about box, with the size and place of the window the about box was opened over.
#pragma once

#include <windows.h>

namespace qsrn {

void ShowCredits(HWND aboutBox);

}  // namespace qsrn
