// Burst velocities and shapes of the fireworks. Random numbers are drawn in a fixed order
// (x before y before z) so that a seeded run repeats exactly.
#include "effects/fireworks_shapes.h"

#include <algorithm>
#include <cmath>

#include "render/bspline.h"
#include "settings/numeric.h"

namespace qsrn {

float RandomBurstSpeed(Context& ctx, float size) {
  const EffectSettings& st = ctx.settings;
  return ((1.0f - st.FireSymmetry) * ctx.Rnd() + st.FireSymmetry) * st.EmitSpeed * size;
}

void BurstVelocity(Context& ctx, float& vx, float& vy, float& vz, float cx, float cy, float cz,
                   float speed, int shape, int pattern, float size, bool halve) {
  switch (shape) {
    case 0: SphereVelocity(ctx, vx, vy, vz, speed); break;
    case 1: SplineVelocity(ctx, vx, vy, vz, cx, cy, cz, size, halve); break;
    case 2: PatternVelocity(ctx, vx, vy, vz, pattern, size); break;
    default: break;
  }
}

namespace {
// Knot count used by the loop: at least 4, so there is at least one segment.
int KnotCount(const EffectSettings& s) { return std::max<int>(s.FireSplineKnot, 4); }
// The knot arrays must reach index KnotCount; the set-up sizes them, this keeps any caller safe.
void EnsureKnots(EffectSettings& s) {
  const size_t n = static_cast<size_t>(KnotCount(s)) + 1;
  for (auto* knots : {&s.FireKnotX, &s.FireKnotY, &s.FireKnotZ})
    if (knots->size() < n) knots->resize(n, 0.0f);
}
}  // namespace

void MakeSplineKnots(Context& ctx, float cx, float cy, float cz) {
  EffectSettings& s = ctx.settings;
  EnsureKnots(s);
  const int n = KnotCount(s);
  for (int k = 0; k <= n - 3; ++k) {
    s.FireKnotX[k] = static_cast<float>(ctx.Rnd() * 4.0f - 2.0f + cx);
    s.FireKnotY[k] = static_cast<float>(ctx.Rnd() * 4.0f - 2.0f + cy);
    s.FireKnotZ[k] = static_cast<float>(ctx.Rnd() * 4.0f - 2.0f + cz);
  }
  for (int k = n - 2; k <= n; ++k) {
    s.FireKnotX[k] = s.FireKnotX[k - n + 2];
    s.FireKnotY[k] = s.FireKnotY[k - n + 2];
    s.FireKnotZ[k] = s.FireKnotZ[k - n + 2];
  }
}

void SplineVelocity(Context& ctx, float& vx, float& vy, float& vz, float cx, float cy, float cz,
                    float size, bool halve) {
  EffectSettings& s = ctx.settings;
  EnsureKnots(s);
  const int n = KnotCount(s);
  const int seg = std::clamp(static_cast<int>(Int(ctx.Rnd() * static_cast<float>(n - 2))), 0, n - 3);
  const float t = ctx.Rnd();
  float px = 0, py = 0, pz = 0;
  const auto& kx = s.FireKnotX;
  const auto& ky = s.FireKnotY;
  const auto& kz = s.FireKnotZ;
  BSplinePoint(px, py, pz, t, kx[seg], ky[seg], kz[seg], kx[seg + 1], ky[seg + 1], kz[seg + 1],
               kx[seg + 2], ky[seg + 2], kz[seg + 2], kx[seg + 3], ky[seg + 3], kz[seg + 3]);
  vx = (px - cx) * s.EmitSpeed * size;
  vy = (py - cy) * s.EmitSpeed * size;
  vz = (pz - cz) * s.EmitSpeed * size;
  if (halve) {
    vx = static_cast<float>(vx * 0.5);
    vy = static_cast<float>(vy * 0.5);
    vz = static_cast<float>(vz * 0.5);
  }
}

void PatternVelocity(Context& ctx, float& vx, float& vy, float& vz, int pattern, float size) {
  if (pattern < 0 || pattern > 3) return;
  const float s = static_cast<float>(RandomBurstSpeed(ctx, size) * 0.6666);
  auto U = [&]() { return static_cast<float>(2.0f * ctx.Rnd() * s - s); };
  // The pyramids narrow towards the apex; a zero speed has no extent to divide by.
  auto taper = [&](float across) { return s != 0.0f ? across / (2.0f * s) : 0.0f; };
  switch (pattern) {
    case 0: {
      const int face = static_cast<int>(Int(ctx.Rnd() * 6.0f));
      const float a = face == 0 ? s : (face == 1 ? -s : U());
      const float b = face == 2 ? s : (face == 3 ? -s : U());
      const float c = face == 4 ? s : (face == 5 ? -s : U());
      vx = a;
      vy = b;
      vz = c;
      break;
    }
    case 1:
    case 2: {
      vy = U();
      const float across = pattern == 1 ? s + vy : s - vy;
      vx = U() * taper(across);
      vz = U() * taper(across);
      break;
    }
    case 3: {
      vy = static_cast<float>(ctx.Rnd() * 4.0f * s - 2.0f * s);
      const size_t k = static_cast<size_t>(std::clamp<int32_t>(CInt(ctx.Rnd() * 1000.0f), 0, 1000));
      const float rho = static_cast<float>((2.0f * s - std::fabs(vy)) * 0.5);
      vx = rho * ctx.trig.CosTable[k];
      vz = static_cast<float>(Sgn(ctx.Rnd() - 0.5)) * rho * ctx.trig.SinTable[k];
      break;
    }
    default: break;
  }
}

void RotateVector(float x, float y, float z, float a, float b, float& outX, float& outY, float& outZ) {
  const double sa = std::sin(static_cast<double>(a)), ca = std::cos(static_cast<double>(a));
  const double sb = std::sin(static_cast<double>(b)), cb = std::cos(static_cast<double>(b));
  const float t = static_cast<float>(x * sb + z * cb);
  outX = static_cast<float>(x * cb - z * sb);
  outY = static_cast<float>(y * ca + t * sa);
  outZ = static_cast<float>(-y * sa + t * ca);
}

}  // namespace qsrn
