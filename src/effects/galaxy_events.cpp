// Star bursts and comets: slots that fire at random from a point of the disc, keep orbiting and
// approaching with the galaxy, and fade along the age ramp. Their storage is one fixed pool per
// kind, sized once per run and cleared at every galaxy pass.
#include <algorithm>
#include <climits>
#include <cmath>

#include "effects/galaxy_events.h"
#include "effects/gravity_galaxy_common.h"
#include "render/surface.h"

namespace qsrn {

namespace {

constexpr int16_t kTrue = -1;

// SphereVelocity: a random direction whose horizontal part is narrowed by the aspect ratio, so
// that bursts look round on a wide screen.
void SphereVelocity(Context& ctx, float r, float& vx, float& vy, float& vz) {
  RandomVelocity(ctx, r, vx, vy, vz);
  vx = vx * ctx.geometry.AspectRatio;
}

// Int(Rnd x slots), kept inside the slots.
int32_t RandomSlot(Context& ctx, int32_t slots) {
  const auto s = static_cast<int32_t>(Int(static_cast<double>(ctx.Rnd()) * slots));
  return std::min(s, slots - 1);
}

// Counters that keep counting for as long as a slot lives stop at the top of an Integer.
void CountUp(int16_t& v, int16_t step) { v = static_cast<int16_t>(std::min<int32_t>(v + step, INT16_MAX)); }

template <typename... V>
void FillZero(V&... vs) {
  (std::fill(vs.begin(), vs.end(), typename V::value_type{}), ...);
}

template <typename... V>
void Resize(size_t n, V&... vs) {
  (vs.assign(n, typename V::value_type{}), ...);
}

void PlotPixel(Context& ctx, int32_t x, int32_t y, int32_t color) {
  PlotPoint(*ctx.surface, ctx.settings.PixelSize, x, y, color);
}

}  // namespace

void EventSlots::Allocate(int32_t slots) {
  Slots = slots;
  Resize(static_cast<size_t>(Slots), LiveCount, Age, R, H, Depth, Theta, Omega);
}

void EventSlots::Clear() { FillZero(LiveCount, Age, R, H, Depth, Theta, Omega); }

void EventSlots::Launch(Context& ctx, const GalaxyParams& p, int32_t s, int32_t live, float D, float orbitFactor) {
  Age[s] = 0;
  LiveCount[s] = static_cast<int16_t>(live);
  PlaceOnOrbit(ctx, p, orbitFactor, R[s], H[s], Theta[s], Omega[s]);
  Depth[s] = D;
}

ScenePoint EventSlots::Advance(int32_t s, const GalaxyView& view, float V) {
  CountUp(Age[s], 1);
  Theta[s] += Omega[s];
  Depth[s] -= V;
  return Position(s, view);
}

void StarBursts::Allocate(int32_t starsPerSlot) {
  StarsPerSlot = std::max(starsPerSlot, 1);
  EventSlots::Allocate(kEventPool / StarsPerSlot);
  Resize(static_cast<size_t>(kEventPool), Alive, VX, VY, VZ, SX, SY);
}

void StarBursts::Clear() {
  EventSlots::Clear();
  FillZero(Alive, VX, VY, VZ, SX, SY);
}

void Comets::Allocate(int32_t sparksPerSlot) {
  SparksPerSlot = std::max(sparksPerSlot, 1);
  EventSlots::Allocate(kEventPool / SparksPerSlot);
  Resize(static_cast<size_t>(Slots), Active);
  Resize(static_cast<size_t>(kEventPool), Alive, ColorAge, X, Y, Z, VX, VY, VZ, SX, SY);
}

void Comets::Clear() {
  EventSlots::Clear();
  FillZero(Active, Alive, ColorAge, X, Y, Z, VX, VY, VZ, SX, SY);
}

void UpdateStarBursts(Context& ctx, const GalaxyParams& p, StarBursts& bursts, const GalaxyView& view) {
  StarBursts& b = bursts;
  const int32_t fired = RandomSlot(ctx, b.Slots);
  const bool chance = static_cast<float>(p.BurstFreq) > ctx.Rnd() * 10000.0f;
  if (chance && b.LiveCount[fired] == 0) {
    b.Launch(ctx, p, fired, b.StarsPerSlot, view.D, p.Rotation);
    for (int32_t j = 0; j < b.StarsPerSlot; ++j) {
      const int32_t k = fired * b.StarsPerSlot + j;
      b.Alive[k] = kTrue;
      SphereVelocity(ctx, p.BurstSpeed, b.VX[k], b.VY[k], b.VZ[k]);
    }
  }

  for (int32_t s = 0; s < b.Slots; ++s) {
    if (b.LiveCount[s] <= 0) continue;
    const ScenePoint c = b.Advance(s, view, p.Velocity);
    const int32_t color = ctx.colors.AgeRamp[std::min<int32_t>(b.Age[s], 99)];
    const auto age = static_cast<float>(b.Age[s]);
    for (int32_t j = 0; j < b.StarsPerSlot; ++j) {
      const int32_t k = s * b.StarsPerSlot + j;
      if (b.Alive[k] == 0) continue;
      PlotPixel(ctx, b.SX[k], b.SY[k], 0);
      if (ctx.Rnd() < p.BurstPersist) {
        // A sphere expanding linearly from the orbiting centre.
        const float x = c.x + age * b.VX[k];
        const float y = c.y + age * b.VY[k];
        const float z = c.z + age * b.VZ[k];
        if (z > 0.0001) {
          b.SX[k] = ProjectClipX(ctx.geometry, x, z);
          b.SY[k] = ProjectClipY(ctx.geometry, y, z);
          PlotPixel(ctx, b.SX[k], b.SY[k], color);
        }
      } else {
        b.Alive[k] = 0;
        b.LiveCount[s] -= 1;
      }
    }
  }
}

namespace {

// A spark leaves the head in a random direction, pushed away from the scene centre
// (0, 0, FocalLength) by the solar wind.
void EmitSpark(Context& ctx, const GalaxyParams& p, Comets& c, int32_t k, const ScenePoint& head) {
  c.Alive[k] = kTrue;
  c.ColorAge[k] = 0;
  SphereVelocity(ctx, p.CometSpeed, c.VX[k], c.VY[k], c.VZ[k]);
  if (p.CometWind > 0) {
    const double ox = head.x, oy = head.y, oz = static_cast<double>(head.z) - ctx.settings.FocalLength;
    const double d = std::sqrt(ox * ox + oy * oy + oz * oz);
    // A head exactly at the scene centre has no direction to be blown in.
    if (d > 0) {
      const double push = p.CometWind / d;
      c.VX[k] = static_cast<float>(c.VX[k] + ox * push);
      c.VY[k] = static_cast<float>(c.VY[k] + oy * push);
      c.VZ[k] = static_cast<float>(c.VZ[k] + oz * push);
    }
  }
  c.X[k] = head.x + c.VX[k];
  c.Y[k] = head.y + c.VY[k];
  c.Z[k] = head.z + c.VZ[k];
}

}  // namespace

void UpdateComets(Context& ctx, const GalaxyParams& p, Comets& comets, const GalaxyView& view) {
  Comets& c = comets;
  const int32_t fired = RandomSlot(ctx, c.Slots);
  const bool chance = static_cast<float>(p.CometFreq) > ctx.Rnd() * 10000.0f;
  if (chance && c.Active[fired] == 0 && c.LiveCount[fired] == 0) {
    c.Active[fired] = kTrue;
    c.Launch(ctx, p, fired, c.SparksPerSlot, view.D, p.CometOrbit);
    const ScenePoint head = c.Position(fired, view);
    for (int32_t j = 0; j < c.SparksPerSlot; ++j) EmitSpark(ctx, p, c, fired * c.SparksPerSlot + j, head);
  }

  for (int32_t s = 0; s < c.Slots; ++s) {
    if (c.LiveCount[s] <= 0) continue;
    const ScenePoint head = c.Advance(s, view, p.Velocity);
    for (int32_t j = 0; j < c.SparksPerSlot; ++j) {
      const int32_t k = s * c.SparksPerSlot + j;
      if (c.Alive[k] == 0) continue;
      PlotPixel(ctx, c.SX[k], c.SY[k], 0);
      if (ctx.Rnd() < p.CometSparkPersist) {
        const int32_t color = ctx.colors.AgeRamp[std::min<int32_t>(c.ColorAge[k], 99)];
        if (MoveAndPlot(ctx, c.X[k], c.Y[k], c.Z[k], c.VX[k], c.VY[k], c.VZ[k], c.SX[k], c.SY[k], color))
          CountUp(c.ColorAge[k], 2);
      } else if (c.Active[s] != 0) {
        EmitSpark(ctx, p, c, k, head);
      } else {
        c.Alive[k] = 0;
        c.LiveCount[s] -= 1;
      }
    }
  }

  // Every head may die, live or not; its sparks then die out one by one.
  for (int32_t s = 0; s < c.Slots; ++s)
    if (ctx.Rnd() > p.CometPersist) c.Active[s] = 0;
}

}  // namespace qsrn
