// Random directions from the half-turn tables, shared by the engines that throw particles out:
// RandomVelocity (gravity wells) and SphereVelocity, the same with its horizontal part narrowed
// by the aspect ratio so that bursts look round on a wide screen (fireworks, galaxy events).
#pragma once

#include <cstdint>

#include "render/context.h"
#include "settings/numeric.h"

namespace qsrn {

// A random direction of length about r; three draws in the order t, p, then the vertical sign.
inline void RandomVelocity(Context& ctx, float r, float& vx, float& vy, float& vz) {
  const auto& cosT = ctx.trig.CosTable;
  const auto& sinT = ctx.trig.SinTable;
  // Rnd() < 1, so both indexes stay within 0..1000.
  const int16_t t = CInt(ctx.Rnd() * 1000.0f);
  const int16_t p = CInt(ctx.Rnd() * 1000.0f);
  vx = r * cosT[p] * sinT[t];
  const float s = ctx.Rnd();
  vy = static_cast<float>(Sgn(s - 0.5)) * r * sinT[p] * sinT[t];
  vz = r * cosT[t];
}

inline void SphereVelocity(Context& ctx, float& vx, float& vy, float& vz, float r) {
  RandomVelocity(ctx, r, vx, vy, vz);
  vx = vx * ctx.geometry.AspectRatio;
}

}  // namespace qsrn
