// The drawing geometry derived from the surface's size, and the shared trigonometric tables.
#pragma once

#include <cmath>
#include <cstdint>

#include "render/context.h"
#include "settings/numeric.h"

namespace qsrn {

// Derives ScreenWidth/Height, the centre, the projection scales and the aspect ratio from the
// surface's inner size (in twips for the preview, pixels otherwise) and the loaded FocalLength.
void DeriveGeometry(Context& ctx, double innerWidth, double innerHeight, bool isPreview);

// Fills CosTable and SinTable with the angle accumulated in float steps of 3.1415927 / 1000.
void BuildTrigTables(TrigTables& trig);

// The projection: x / z * scale + centre, in double from float inputs, rounded half to even.
inline int32_t ProjectX(const SurfaceGeometry& g, float x, float z) {
  return CLng(static_cast<double>(x) / static_cast<double>(z) * static_cast<double>(g.ScaleX) + g.CenterX);
}
inline int32_t ProjectY(const SurfaceGeometry& g, float y, float z) {
  return CLng(static_cast<double>(y) / static_cast<double>(z) * static_cast<double>(g.ScaleY) + g.CenterY);
}

// The engines' inclusive on-screen test (one past the last column or row still counts).
inline bool OnScreen(const SurfaceGeometry& g, int32_t sx, int32_t sy) {
  return sx >= 0 && sx <= g.ScreenWidth && sy >= 0 && sy <= g.ScreenHeight;
}

}  // namespace qsrn
