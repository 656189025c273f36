// The seven thickness profiles and the star placement that uses them.
#include "effects/galaxy_shape.h"

#include "effects/gravity_galaxy_common.h"

namespace qsrn {

namespace {

// A star placed a hair beyond the rim (the radius carries a tiny constant) would take the root
// of a negative number; the envelope there is 0 (or the rim's value), never NaN.
double Sqr(double v) { return v > 0 ? std::sqrt(v) : 0.0; }

}  // namespace

double ProfileEnvelope(int32_t profile, double r, double R) {
  switch (static_cast<GalaxyProfile>(profile)) {
    case GalaxyProfile::TopLike:
      if (r < 0.1 * R) return ((10 / R) * 0.25 * Sqr(0.01 * R * R - r * r) + 0.75) * R;
      if (r < 0.75 * R) {
        const double a = 0.65 * R, b = (0.85 * R - r) - 0.1 * R;
        return (1 - Sqr(a * a - b * b) / a) * 0.5 * R + 0.25 * R;
      }
      return Sqr((0.25 * R) * (0.25 * R) - (r - 0.75 * R) * (r - 0.75 * R));
    case GalaxyProfile::Spherical:
      return Sqr(R * R - r * r);
    case GalaxyProfile::Conical:
      return R - r;
    case GalaxyProfile::Hyperbolic:
      return R - Sqr(R * R - (R - r) * (R - r));
    case GalaxyProfile::OuterHyperbolic:
      return R - Sqr(R * R - r * r);
    case GalaxyProfile::InnerHyperbolic:
      return Sqr(R * R - (R - r) * (R - r));
    case GalaxyProfile::Standard:
    default: {
      const double k = static_cast<double>(0.714f);  // the Single 0.714
      const double core = (R / k) * (R / k) * 0.0625;
      if (r <= 0.25 * R) return (4 / R) * Sqr(core - r * r) * k * R;
      if (r <= 0.5 * R) return (1.4 - (4 / R) * Sqr(core - (0.5 * R - r) * (0.5 * R - r)) * k) * R;
      return (2 / R) * Sqr(0.25 * R * R - (r - 0.5 * R) * (r - 0.5 * R)) * 0.4 * R;
    }
  }
}

void PlaceStar(Context& ctx, const GalaxyParams& p, float& r, float& h) {
  const double u1 = ctx.Rnd();
  const float u2 = ctx.Rnd();
  const double u3 = ctx.Rnd();
  const double R = p.Radius;
  r = static_cast<float>(R * std::pow(u1, static_cast<double>(p.RadiusExp)) + 0.000000001);
  h = static_cast<float>(Sgn(u2 - 0.5f) * std::pow(u3, static_cast<double>(p.HeightExp)));
  const double E = ProfileEnvelope(p.Profile, r, R);
  h = static_cast<float>(h * E * static_cast<double>(p.HeightWidthRatio));
}

}  // namespace qsrn
