// The projection and on-screen test over the surface geometry, and the shared trigonometric tables.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

#include "render/context.h"
#include "settings/numeric.h"
#include "settings/surface_geometry.h"

namespace qsrn {

// Pi as the float every angle is computed with; where the arithmetic is in double, this float
// value is widened, never a closer double.
inline constexpr float kPi = 3.1415927f;

// Fills CosTable and SinTable with the angle accumulated in float steps of kPi / 1000.
void BuildTrigTables(TrigTables& trig);

// A screen coordinate that fits no surface: where a projection too large for a Long goes.
inline constexpr int32_t kOffSurface = INT32_MIN;

// Rounds half to even into a Long; a value that does not fit (or NaN) lands off the surface
// instead of wrapping onto column 0, so a point grazing the eye never paints the left edge.
inline int32_t ScreenCoord(double v) {
  const double r = std::rint(v);
  return r >= -2147483648.0 && r <= 2147483647.0 ? static_cast<int32_t>(r) : kOffSurface;
}

// The projection: x / z * scale + centre, in double from float inputs, rounded half to even.
inline int32_t ProjectX(const SurfaceGeometry& g, float x, float z) {
  return ScreenCoord(static_cast<double>(x) / static_cast<double>(z) * static_cast<double>(g.ScaleX) + g.CenterX);
}
inline int32_t ProjectY(const SurfaceGeometry& g, float y, float z) {
  return ScreenCoord(static_cast<double>(y) / static_cast<double>(z) * static_cast<double>(g.ScaleY) + g.CenterY);
}

// The engines' inclusive on-screen test (one past the last column or row still counts).
inline bool OnScreen(const SurfaceGeometry& g, int32_t sx, int32_t sy) {
  return sx >= 0 && sx <= g.ScreenWidth && sy >= 0 && sy <= g.ScreenHeight;
}

}  // namespace qsrn
