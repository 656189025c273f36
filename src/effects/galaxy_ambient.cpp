// Ambient stars: a field of background stars in a ball (or on a shell) around the galaxy that
// approach with it, fade along the age ramp and are renewed one by one at random.
#include <cmath>

#include "effects/galaxy_events.h"
#include "effects/gravity_galaxy_common.h"
#include "render/surface.h"

namespace qsrn {

void AmbientStars::Allocate(int32_t count) {
  const auto n = static_cast<size_t>(count > 0 ? count : 0);
  for (auto* v : {&X, &Y, &Z, &VX, &VY, &VZ, &ColorAge}) v->assign(n, 0.0f);
  SX.assign(n, 0);
  SY.assign(n, 0);
}

void RandomPointInBall(Context& ctx, float& x, float& y, float& z, float radius) {
  // A radius that is not a finite number would never accept a point.
  if (!std::isfinite(radius)) {
    x = y = z = 0;
    return;
  }
  do {
    x = (ctx.Rnd() * 2 - 1) * radius;
    y = (ctx.Rnd() * 2 - 1) * radius;
    z = (ctx.Rnd() * 2 - 1) * radius;
  } while (!(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z) <= radius));
}

void MapToAmbientShell(float& x, float& y, float& z, float A, float s, float aspect) {
  const double d = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z);
  if (!(d > 0)) return;
  const double k = (A / d) * s;
  const double inside = 1.0 - s;
  x = static_cast<float>((x * k + inside * x) * aspect);
  y = static_cast<float>(y * k + inside * y);
  z = static_cast<float>(z * k + inside * z);
}

void PlaceAmbientStars(Context& ctx, const GalaxyParams& p, AmbientStars& a, float D) {
  const float s = p.AmbSymmetry;
  for (int32_t i = 0; i < a.Count(); ++i) {
    a.ColorAge[i] = 0;
    const float radius = ((1 - s) * ctx.Rnd() + s) * p.AmbRadius;
    RandomPointInBall(ctx, a.X[i], a.Y[i], a.Z[i], radius);
    a.VX[i] = 0;
    a.VY[i] = 0;
    a.VZ[i] = -p.Velocity;
    a.Z[i] = std::fabs(a.Z[i]) + D;
  }
}

void UpdateAmbientStars(Context& ctx, const GalaxyParams& p, AmbientStars& a, float D) {
  for (int32_t i = 0; i < a.Count(); ++i) {
    PlotPoint(*ctx.surface, ctx.settings.PixelSize, a.SX[i], a.SY[i], 0);
    if (ctx.Rnd() < p.AmbPersist) {
      MoveAndPlot(ctx, a.X[i], a.Y[i], a.Z[i], a.VX[i], a.VY[i], a.VZ[i], a.SX[i], a.SY[i],
                  ctx.colors.AgeRamp[AgeRampIndex(a.ColorAge[i])]);
    } else {
      RandomPointInBall(ctx, a.X[i], a.Y[i], a.Z[i], p.AmbRadius);
      MapToAmbientShell(a.X[i], a.Y[i], a.Z[i], p.AmbRadius, p.AmbSymmetry, ctx.geometry.AspectRatio);
      a.Z[i] = std::fabs(a.Z[i]);
      a.VX[i] = 0;
      a.VY[i] = 0;
      a.VZ[i] = -p.Velocity;
      a.Z[i] = a.Z[i] + D;
      a.ColorAge[i] = 0;
    }
    a.ColorAge[i] += p.AmbAgeInc;
  }
}

}  // namespace qsrn
