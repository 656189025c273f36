// The galaxy profile picture; see galaxy_profile_picture.h.
#include "win32/ui/galaxy_profile_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "forms/galaxy_profile_outline.h"

namespace qsrn {

void DrawGalaxyProfile(HDC dc, const RECT& area, int profile) {
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const int left = area.left + 2, width = area.right - area.left - 4, height = area.bottom - area.top - 4;
  if (width < 4 || height < 2) return;
  const int steps = std::max(8, width);
  const std::vector<double> outline = GalaxyProfileOutline(profile, steps);
  const double mid = (area.top + area.bottom) / 2.0;
  std::vector<POINT> shape;
  shape.reserve(2 * outline.size());
  for (int i = 0; i <= steps; ++i)
    shape.push_back({left + width * i / steps, static_cast<LONG>(std::lround(mid - outline[static_cast<size_t>(i)] * height / 2))});
  for (int i = steps; i >= 0; --i)
    shape.push_back({left + width * i / steps, static_cast<LONG>(std::lround(mid + outline[static_cast<size_t>(i)] * height / 2))});
  HBRUSH fill = CreateSolidBrush(RGB(120, 140, 255));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(220, 230, 255));
  HGDIOBJ oldBrush = SelectObject(dc, fill), oldPen = SelectObject(dc, pen);
  Polygon(dc, shape.data(), static_cast<int>(shape.size()));
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(fill);
  DeleteObject(pen);
}

}  // namespace qsrn
