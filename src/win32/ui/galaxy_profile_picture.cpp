// The galaxy profile picture; see galaxy_profile_picture.h.
#include "win32/ui/galaxy_profile_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/galaxy_shape.h"

namespace qsrn {

void DrawGalaxyProfile(HDC dc, const RECT& area, int profile) {
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const int left = area.left + 2, width = area.right - area.left - 4, height = area.bottom - area.top - 4;
  if (width < 4 || height < 2) return;
  const int steps = std::max(8, width);
  std::vector<double> envelope(static_cast<size_t>(steps) + 1);
  double highest = 1e-9;
  for (int i = 0; i <= steps; ++i) {
    // r is the distance from the axis.
    const double r = std::abs(2.0 * i / steps - 1.0);
    const double e = ProfileEnvelope(profile, r, 1.0);
    envelope[static_cast<size_t>(i)] = std::isfinite(e) ? std::max(e, 0.0) : 0.0;
    highest = std::max(highest, envelope[static_cast<size_t>(i)]);
  }
  const double mid = (area.top + area.bottom) / 2.0;
  std::vector<POINT> outline;
  outline.reserve(2 * envelope.size());
  for (int i = 0; i <= steps; ++i)
    outline.push_back({left + width * i / steps, static_cast<LONG>(std::lround(mid - envelope[static_cast<size_t>(i)] / highest * height / 2))});
  for (int i = steps; i >= 0; --i)
    outline.push_back({left + width * i / steps, static_cast<LONG>(std::lround(mid + envelope[static_cast<size_t>(i)] / highest * height / 2))});
  HBRUSH fill = CreateSolidBrush(RGB(120, 140, 255));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(220, 230, 255));
  HGDIOBJ oldBrush = SelectObject(dc, fill), oldPen = SelectObject(dc, pen);
  Polygon(dc, outline.data(), static_cast<int>(outline.size()));
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(fill);
  DeleteObject(pen);
}

}  // namespace qsrn
