// Small helpers shared by the gravity-well and galaxy engines: a projection that never wraps,
// hue and age-ramp indexes that always land inside their tables, the random direction both
// engines throw particles in, and a plot at fractional coordinates for the flash and nova glyphs.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

#include "render/context.h"
#include "render/surface.h"
#include "settings/numeric.h"

namespace qsrn {

// A screen coordinate that fits no surface: where a projection too large for a Long goes.
inline constexpr int32_t kOffSurface = INT32_MIN;

// Round half to even for |v| below 2^51, as nearbyint does in the default rounding mode but
// without a library call: adding 1.5 x 2^52 leaves no fraction bits, so the sum is rounded.
inline double RoundHalfEven(double v) {
  constexpr double kShift = 6755399441055744.0;
  return (v + kShift) - kShift;
}

// Rounds half to even into a Long; a value that does not fit (or NaN) lands off the surface
// instead of wrapping onto column 0, so a star grazing the eye never paints the left edge.
inline int32_t ClipToLong(double v) {
  if (v >= -2147483648.0 && v <= 2147483647.0) return static_cast<int32_t>(RoundHalfEven(v));
  return kOffSurface;
}

// The projection rule: divide by depth, multiply by the scale, add the centre.
inline int32_t ProjectClipX(const SurfaceGeometry& g, float x, float z) {
  return ClipToLong(static_cast<double>(x) / static_cast<double>(z) * static_cast<double>(g.ScaleX) + g.CenterX);
}
inline int32_t ProjectClipY(const SurfaceGeometry& g, float y, float z) {
  return ClipToLong(static_cast<double>(y) / static_cast<double>(z) * static_cast<double>(g.ScaleY) + g.CenterY);
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
  return static_cast<int32_t>(std::nearbyint(v));
}

inline float Sgn(float v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

// RandomVelocity: a random direction of length about r from the half-turn tables, with no
// screen-aspect factor; three draws in the order t, p, then the sign of the vertical part.
inline void RandomVelocity(Context& ctx, float r, float& vx, float& vy, float& vz) {
  const auto& cosT = ctx.trig.CosTable;
  const auto& sinT = ctx.trig.SinTable;
  const int16_t t = CInt(ctx.Rnd() * 1000.0f);
  const int16_t p = CInt(ctx.Rnd() * 1000.0f);
  vx = r * cosT[p] * sinT[t];
  const float s = ctx.Rnd();
  vy = Sgn(s - 0.5f) * r * sinT[p] * sinT[t];
  vz = r * cosT[t];
}

// Moves a point by its velocity and, when it is in front of the eye, projects it, keeps its
// screen position and plots it (honouring PixelSize); true when it was drawn.
inline bool MoveAndPlot(Context& ctx, float& x, float& y, float& z, float vx, float vy, float vz, int32_t& sx,
                        int32_t& sy, int32_t color) {
  x += vx;
  y += vy;
  z += vz;
  if (!(z > 0.0001)) return false;
  sx = ProjectClipX(ctx.geometry, x, z);
  sy = ProjectClipY(ctx.geometry, y, z);
  PlotPoint(*ctx.surface, ctx.settings.PixelSize, sx, sy, color);
  return true;
}

// One pixel at a fractional position, each coordinate rounded half to even; positions beyond a
// Long are skipped (always written with the single-pixel call, never as a block).
inline void PlotAt(Surface& surface, double x, double y, int32_t color) {
  const int32_t sx = ClipToLong(x), sy = ClipToLong(y);
  if (sx != kOffSurface && sy != kOffSurface) surface.SetPixel(sx, sy, color);
}

}  // namespace qsrn
