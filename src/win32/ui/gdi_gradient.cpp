// GDI gradients; see gdi_gradient.h.
#include "win32/ui/gdi_gradient.h"

#include <algorithm>
#include <cmath>

namespace qsrn {

namespace {
int Round(double v) { return static_cast<int>(std::lround(v)); }

void Fill(HDC dc, const RECT& box, int32_t color) {
  const HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(color));
  FillRect(dc, &box, brush);
  DeleteObject(brush);
}
}  // namespace

void DrawGradient(HDC dc, int width, int height, const Gradient& g, double cx, double cy) {
  const int bands = std::max(g.bands, 1);
  if (g.style != kRadialGradient) {
    for (int i = 0; i <= bands; ++i) {
      const GradientBox b = GradientBandBox(g.style, width, height, i, bands);
      Fill(dc, RECT{Round(b.x), Round(b.y), Round(b.x + b.width), Round(b.y + b.height)},
           GradientBandColor(g.startColor, g.endColor, i, bands));
    }
    return;
  }
  Fill(dc, RECT{0, 0, width, height}, g.startColor);
  const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  for (int i = 0; i <= bands; ++i) {
    const double r = GradientBandRadius(width, height, cx, cy, i, bands);
    const HBRUSH brush =
        CreateSolidBrush(static_cast<COLORREF>(GradientBandColor(g.startColor, g.endColor, i, bands)));
    const HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, Round(cx - r), Round(cy - r), Round(cx + r) + 1, Round(cy + r) + 1);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  }
  SelectObject(dc, oldPen);
}

}  // namespace qsrn
