// Small helpers shared by the gravity-well and galaxy engines: a projection that never wraps,
// hue and age-ramp indexes that always land inside their tables, the random direction both
// engines throw particles in, and a plot at fractional coordinates for the flash and nova glyphs.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

#include "render/context.h"
#include "render/surface.h"
#include "effects/random_direction.h"
#include "render/geometry.h"
#include "settings/numeric.h"

namespace qsrn {

// Round half to even for |v| below 2^51, as nearbyint does in the default rounding mode but
// without a library call: adding 1.5 x 2^52 leaves no fraction bits, so the sum is rounded.
inline double RoundHalfEven(double v) {
  constexpr double kShift = 6755399441055744.0;
  return (v + kShift) - kShift;
}

// CLng(v) Mod 360, wrapped into 0..359 for negative values; values beyond a Long keep wrapping
// the same way, and a value that is not a number gives hue 0.
inline int32_t HueIndex(double v) {
  if (v >= -2147483648.0 && v <= 2147483647.0) {
    const int32_t m = static_cast<int32_t>(RoundHalfEven(v)) % 360;
    return m < 0 ? m + 360 : m;
  }
  if (!std::isfinite(v)) return 0;
  double m = std::fmod(std::nearbyint(v), 360.0);
  if (m < 0) m += 360.0;
  return static_cast<int32_t>(m);
}

// CLng(v) limited to the age ramp's entries 0..99 (99.5 would round to 100).
inline int32_t AgeRampIndex(double v) {
  if (!(v < 99.5)) return 99;
  if (v < 0.5) return 0;
  return static_cast<int32_t>(RoundHalfEven(v));
}


// Moves a point by its velocity and, when it is in front of the eye, projects it, keeps its
// screen position and plots it (honouring PixelSize); true when it was drawn.
inline bool MoveAndPlot(Context& ctx, float& x, float& y, float& z, float vx, float vy, float vz, int32_t& sx,
                        int32_t& sy, int32_t color) {
  x += vx;
  y += vy;
  z += vz;
  if (!(z > 0.0001)) return false;
  sx = ProjectX(ctx.geometry, x, z);
  sy = ProjectY(ctx.geometry, y, z);
  PlotPoint(*ctx.surface, ctx.settings.PixelSize, sx, sy, color);
  return true;
}

// One pixel at a fractional position, each coordinate rounded half to even; positions beyond a
// Long are skipped (always written with the single-pixel call, never as a block).
inline void PlotAt(Surface& surface, double x, double y, int32_t color) {
  const int32_t sx = ScreenCoord(x), sy = ScreenCoord(y);
  if (sx != kOffSurface && sy != kOffSurface) surface.SetPixel(sx, sy, color);
}

}  // namespace qsrn
