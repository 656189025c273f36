// Where the stars of a galaxy sit: PlaceStar draws a star's distance from the axis and its
// height within one of seven thickness profiles, and Orbit turns a star's orbit into a scene
// position for the current tilt and depth.
#pragma once

#include <cmath>
#include <cstdint>

#include "effects/galaxy_settings.h"
#include "render/context.h"

namespace qsrn {

enum class GalaxyProfile : int32_t {
  Standard = 0, TopLike = 1, Spherical = 2, Conical = 3, Hyperbolic = 4, OuterHyperbolic = 5, InnerHyperbolic = 6
};

// The envelope E(r): the largest height fraction of the disc at distance r from the axis.
double ProfileEnvelope(int32_t profile, double r, double R);

// PlaceStar: three draws, u1 for the radius, u2 for the side of the plane, u3 for the height.
void PlaceStar(Context& ctx, const GalaxyParams& p, float& r, float& h);

// A full turn as the galaxy's angles use it.
inline constexpr double kGalaxyTurn = 6.2831855;

// A new orbit: PlaceStar, then a random angle, and the angular speed that gives the linear speed
// orbitFactor x one turn at any radius (so inner orbits turn faster).
inline void PlaceOnOrbit(Context& ctx, const GalaxyParams& p, float orbitFactor, float& r, float& h, float& theta,
                         float& omega) {
  PlaceStar(ctx, p, r, h);
  theta = static_cast<float>(ctx.Rnd() * kGalaxyTurn);
  omega = static_cast<float>((1.0 / r) * kGalaxyTurn * orbitFactor);
}

// The current view of a pass: the centre's depth and the frame's tilt.
struct GalaxyView {
  float D = 0;
  float SinT = 0;
  float CosT = 1;
};

// Orbit(r, theta, h, depth): the scene position of a point on an orbit, the plane tilted about x.
struct ScenePoint {
  float x, y, z;
};
inline ScenePoint Orbit(const GalaxyView& v, float r, float theta, float h, float depth) {
  const float e = r * std::sin(theta);
  const float x = r * std::cos(theta);
  return {x, e * v.SinT - h * v.CosT, e * v.CosT + depth + h * v.SinT};
}

}  // namespace qsrn
