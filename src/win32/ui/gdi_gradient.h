// A gradient (forms/gradient.h) painted with GDI: its bands as filled boxes, or as filled circles
// about (cx, cy) for the radial style.
#pragma once

#include <windows.h>

#include "forms/gradient.h"

namespace qsrn {

void DrawGradient(HDC dc, int width, int height, const Gradient& gradient, double cx, double cy);

}  // namespace qsrn
