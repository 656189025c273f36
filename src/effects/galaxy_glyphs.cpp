// The two glyphs of the star lifecycle: the new-star flash and the nova. Both are sets of
// points around a centre, a unit e apart: a cross k is (X +- k e, Y) and (X, Y +- k e), a
// diagonal k is (X +- k e, Y +- k e), a pair (a, b) is (X +- a e, Y +- b e). Every point is a
// single pixel, never a block, and erasing draws the same points in black.
#include <cmath>

#include "effects/galaxy_events.h"
#include "effects/gravity_galaxy_common.h"
#include "render/surface.h"

namespace qsrn {

namespace {

struct Glyph {
  Surface& surface;
  double X, Y, e;
  int32_t color;
  bool inside = false;  // every point of the glyph lands on the surface: no clipping needed

  void Point(double x, double y) const {
    if (inside)
      surface.SetPixelInside(static_cast<int32_t>(std::rint(x)), static_cast<int32_t>(std::rint(y)), color);
    else
      PlotAt(surface, x, y, color);
  }
  void Pair(double a, double b) const {
    Point(X - a * e, Y - b * e);
    Point(X + a * e, Y - b * e);
    Point(X - a * e, Y + b * e);
    Point(X + a * e, Y + b * e);
  }
  void Cross(double k) const {
    Point(X - k * e, Y);
    Point(X + k * e, Y);
    Point(X, Y - k * e);
    Point(X, Y + k * e);
  }
  void Diagonal(double k) const { Pair(k, k); }
};

// The flash's row for q = frames / F_new, compared in Single so that 0.7 and 0.9 fall in
// their own rows: 0 below 0.1, then one row per tenth, 9 from 0.9 on.
int FlashRow(float q) {
  constexpr float kBounds[] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f};
  int row = 0;
  for (float b : kBounds)
    if (q >= b) ++row;
  return row;
}

}  // namespace

void DrawNewStar(Context& ctx, const GalaxyParams& p, int32_t X, int32_t Y, float z, int32_t frames, int32_t color) {
  Surface& surface = *ctx.surface;
  const auto e = static_cast<float>(static_cast<double>(ctx.settings.FocalLength) / z * p.NewExt);
  surface.SetPixel(X, Y, color);
  const Glyph g{surface, static_cast<double>(X), static_cast<double>(Y), e, color};
  const int row = FlashRow(static_cast<float>(frames) / static_cast<float>(p.NewFrames));
  switch (row) {
    case 0:
      return;
    case 1:
      g.Point(X - g.e, Y);
      g.Point(X + g.e, Y);
      return;
    case 2:
      g.Cross(1);
      return;
    case 3:
      g.Cross(1);
      g.Point(X - 2 * g.e, Y);
      g.Point(X + 2 * g.e, Y);
      return;
    default:
      break;
  }
  g.Cross(1);
  g.Cross(2);
  if (row >= 5) g.Diagonal(4);
  if (row >= 6) g.Cross(8);
  if (row == 7) g.Cross(14);
  if (row >= 8) {
    g.Cross(16);
    g.Diagonal(7);
  }
  if (row >= 9) {
    g.Cross(32);
    g.Diagonal(11);
  }
}

void DrawNova(Context& ctx, const GalaxyParams& p, float x, float y, float z, int32_t frames, int32_t color) {
  Surface& surface = *ctx.surface;
  const SurfaceGeometry& geo = ctx.geometry;
  const double M = p.NovaExt;
  // Grows as the remaining frames fall.
  const int32_t base = p.NovaFrames - frames + 1;
  const float g = base >= 1 && base <= p.NovaFrames && base < static_cast<int32_t>(p.NovaGrowth.size())
                      ? p.NovaGrowth[static_cast<size_t>(base)]
                      : NovaGrowthOf(base);
  const double zd = z;
  // Layers in drawing order; the two in front are drawn only while in front of the eye.
  const struct {
    double depth;
    int kind;  // 0 the middle layer, 1 the layers 0.1 M away, 2 those 0.2 M away
  } layers[] = {{zd, 0}, {zd + 0.1 * M, 1}, {zd - 0.1 * M, 1}, {zd + 0.2 * M, 2}, {zd - 0.2 * M, 2}};
  for (const auto& layer : layers) {
    const auto w = static_cast<float>(layer.depth);
    if (!(w > 0)) continue;
    const int32_t P = ProjectX(geo, x, w);
    const int32_t Q = ProjectY(geo, y, w);
    if (P == kOffSurface || Q == kOffSurface) continue;
    const auto e = static_cast<float>(static_cast<double>(ctx.settings.FocalLength) / w * M * g);
    // No point lies further than 32 e from the centre on either axis.
    const double reach = 32.0 * std::fabs(static_cast<double>(e)) + 1;
    const bool inside = P - reach >= 0 && P + reach <= surface.Width() - 1 && Q - reach >= 0 &&
                        Q + reach <= surface.Height() - 1;
    const Glyph gl{surface, static_cast<double>(P), static_cast<double>(Q), e, color, inside};
    switch (layer.kind) {
      case 0:
        surface.SetPixel(P, Q, color);
        gl.Cross(16);
        gl.Diagonal(16);
        gl.Diagonal(7);
        gl.Cross(11);
        gl.Diagonal(11);
        gl.Pair(2, 24);
        gl.Pair(24, 2);
        gl.Cross(32);
        break;
      case 1:
        gl.Pair(3, 10);
        gl.Pair(10, 3);
        gl.Pair(7, 5);
        gl.Pair(5, 7);
        gl.Cross(24);
        break;
      default:
        gl.Cross(2);
        gl.Pair(3, 5);
        gl.Pair(5, 3);
        break;
    }
  }
}

}  // namespace qsrn
