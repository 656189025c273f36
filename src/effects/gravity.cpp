// The gravity-well engine: cycles of emitters and attractors, the inverse-distance pull, the
// three hue computations, and the trail ring or the eraser copies that wipe the trails.
#include "effects/gravity.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "effects/gravity_galaxy_common.h"
#include "render/frame.h"
#include "render/surface.h"
#include "settings/numeric.h"

namespace qsrn {

void RunGravityWells(EffectSettings& s) {
  s.Grav_Emitters = Clamp(s.Grav_Emitters, 1, kMaxWells);
  s.Grav_Attractors = Clamp(s.Grav_Attractors, 1, kMaxWells);
  s.ParticleCount = Clamp(s.ParticleCount, 10, 9999);
  // Rounded to a whole number first; a value that is not a number counts as the lowest speed.
  const double speed = std::isnan(s.EmitSpeed) ? 1.0 : std::nearbyint(static_cast<double>(s.EmitSpeed));
  s.EmitSpeed = static_cast<float>(Clamp(speed, 1.0, 999.0) * 0.001);
  const double gravity = std::isnan(s.Gravity) ? 1.0 : static_cast<double>(s.Gravity);
  s.Gravity = static_cast<float>(Clamp(gravity, 1.0, 30000.0) * 0.000001);
  s.Grav_Refresh = Clamp(s.Grav_Refresh, 0, 30000);
  s.Grav_ARadius = Clamp(s.Grav_ARadius, 0, 99);
  s.HueMultiplier = Clamp(s.HueMultiplier, 1, 9999) * 10;
  s.OrbitTrailLength = Clamp(s.OrbitTrailLength, 1, 999);
}

void GravityLoop::Setup(Context& ctx) {
  EffectSettings& s = ctx.settings;
  if (clampFirst_) RunGravityWells(s);

  // The about box writes these directly; the bounds keep the arrays and the ring safe whatever
  // was written.
  GravityState& g = state_;
  g = GravityState{};
  g.Emitters = Clamp<int32_t>(s.Grav_Emitters, 1, kMaxWells);
  g.Attractors = Clamp<int32_t>(s.Grav_Attractors, 1, kMaxWells);
  g.Particles = std::max<int32_t>(s.ParticleCount, 0);
  g.TrailLength = std::max<int32_t>(s.OrbitTrailLength, 1);
  g.TrailMode = UsesTrailRing(g.Particles, g.TrailLength);

  refresh_ = s.Grav_Refresh;
  attractorRadius_ = s.Grav_ARadius;
  hueMultiplier_ = s.HueMultiplier;
  hueStart_ = s.Adv_HueStart;
  // Only 0, 1 and 2 come from the dialog's list; anything else takes the nearest of them.
  colorComp_ = Clamp<int32_t>(s.Grav_ColorComp, 0, 2);
  pixelSize_ = s.PixelSize;
  focalLength_ = s.FocalLength;
  emitSpeed_ = s.EmitSpeed;
  gravity_ = s.Gravity;

  const auto n = static_cast<size_t>(g.Particles);
  for (auto* v : {&g.ParticleX, &g.ParticleY, &g.ParticleZ, &g.ParticleVX, &g.ParticleVY, &g.ParticleVZ,
                  &g.LastSpeed})
    v->assign(n, 0.0f);
  if (g.TrailMode) {
    g.TrailX.assign(n * static_cast<size_t>(g.TrailLength), 0);
    g.TrailY.assign(n * static_cast<size_t>(g.TrailLength), 0);
  } else {
    for (auto* v : {&g.EraserX, &g.EraserY, &g.EraserZ, &g.EraserVX, &g.EraserVY, &g.EraserVZ}) v->assign(n, 0.0f);
  }
  frameEnded_ = false;
  CycleStart(ctx);
}

void GravityLoop::CycleStart(Context& ctx) {
  GravityState& g = state_;
  g.RefreshCount = 0;
  g.CycleFrame = 0;
  g.TrailSlot = 0;
  g.Cycles += 1;
  for (int32_t e = 0; e < g.Emitters; ++e) {
    g.EmitterX[e] = ctx.Rnd() * 1.5f - 0.75f;
    g.EmitterY[e] = ctx.Rnd() * 1.5f - 0.75f;
    g.EmitterZ[e] = focalLength_ + ctx.Rnd() * 1.5f;
  }
  for (int32_t a = 0; a < g.Attractors; ++a) {
    g.AttractorX[a] = ctx.Rnd() * 1.5f - 0.75f;
    g.AttractorY[a] = ctx.Rnd() * 1.5f - 0.75f;
    g.AttractorZ[a] = focalLength_ + ctx.Rnd() * 1.5f;
    g.AttractorMass[a] = gravity_;
  }
  for (int32_t i = 0; i < g.Particles; ++i) {
    const auto e = std::min(static_cast<int32_t>(Int(static_cast<double>(ctx.Rnd()) * g.Emitters)), g.Emitters - 1);
    g.ParticleX[i] = g.EmitterX[e];
    g.ParticleY[i] = g.EmitterY[e];
    g.ParticleZ[i] = g.EmitterZ[e];
    RandomVelocity(ctx, emitSpeed_, g.ParticleVX[i], g.ParticleVY[i], g.ParticleVZ[i]);
    if (!g.TrailMode) {
      g.EraserX[i] = g.ParticleX[i];
      g.EraserY[i] = g.ParticleY[i];
      g.EraserZ[i] = g.ParticleZ[i];
      g.EraserVX[i] = g.ParticleVX[i];
      g.EraserVY[i] = g.ParticleVY[i];
      g.EraserVZ[i] = g.ParticleVZ[i];
    }
    g.LastSpeed[i] = 0;
  }
}

// The pull of every attractor, then the move. A body exactly on an attractor has no direction
// to fall in, and one so close that the pull overflows would turn into infinities and then NaN
// in later frames; such an attractor gives no pull for that frame.
void GravityLoop::Attract(float& px, float& py, float& pz, float& vx, float& vy, float& vz) const {
  const GravityState& g = state_;
  for (int32_t a = 0; a < g.Attractors; ++a) {
    const float dx = g.AttractorX[a] - px;
    const float dy = g.AttractorY[a] - py;
    const float dz = g.AttractorZ[a] - pz;
    const float r2 = dx * dx + dy * dy + dz * dz;
    if (!(r2 > 0.0f)) continue;
    const float f = g.AttractorMass[a] / r2;
    if (!std::isfinite(f)) continue;
    vx += dx * f;
    vy += dy * f;
    vz += dz * f;
  }
  px += vx;
  py += vy;
  pz += vz;
}

int32_t GravityLoop::ParticleColor(const Context& ctx, int32_t i) {
  GravityState& g = state_;
  double h;
  if (colorComp_ == 0) {
    const double x = g.ParticleX[i], y = g.ParticleY[i], z = g.ParticleZ[i];
    h = std::sqrt(x * x + y * y + z * z) * 0.01;
  } else {
    const double vx = g.ParticleVX[i], vy = g.ParticleVY[i], vz = g.ParticleVZ[i];
    const auto speed = static_cast<float>(std::sqrt(vx * vx + vy * vy + vz * vz));
    if (colorComp_ == 1) {
      h = speed;
    } else {
      // Kept as a Single like LastSpeed, so that a constant speed gives exactly 0.
      h = std::fabs(speed - g.LastSpeed[i]) * 20.0f;
      g.LastSpeed[i] = speed;
    }
  }
  return ctx.colors.HueTable[HueIndex(h * hueMultiplier_ + hueStart_)];
}

namespace {
// The outline of the circle inscribed in the box of 2R x 2R pixels from (cx - R, cy - R), as the
// platform's ellipse call draws it: symmetric about the pixel corner (cx, cy), so radius 1 is a
// 2 x 2 block. Column offset i (pixel centre i + 0.5 from the corner) meets row offset j.
void DrawBoxCircle(Surface& surface, int32_t cx, int32_t cy, int32_t radius, int32_t color) {
  // Wholly outside: nothing to plot (and the offsets below stay within a Long).
  if (int64_t{cx} + radius < 0 || int64_t{cx} - radius > surface.Width() || int64_t{cy} + radius < 0 ||
      int64_t{cy} - radius > surface.Height())
    return;
  const double r = radius - 0.5;
  auto plot = [&](int32_t dx, int32_t dy) {
    for (int32_t x : {cx + dx, cx - 1 - dx})
      for (int32_t y : {cy + dy, cy - 1 - dy}) surface.SetPixel(x, y, color);
  };
  for (int32_t i = 0; i < radius; ++i) {
    const double d = i + 0.5;
    const auto j = std::min<int32_t>(radius - 1, static_cast<int32_t>(std::sqrt(std::max(0.0, r * r - d * d))));
    if (j < i) break;  // past the diagonal: the mirrored octant covers the rest
    plot(i, j);
    plot(j, i);
  }
}
}  // namespace

void GravityLoop::DrawAttractorCircles(Context& ctx) const {
  if (attractorRadius_ <= 0) return;
  const GravityState& g = state_;
  for (int32_t a = 0; a < g.Attractors; ++a) {
    const int32_t sx = ProjectX(ctx.geometry, g.AttractorX[a], g.AttractorZ[a]);
    const int32_t sy = ProjectY(ctx.geometry, g.AttractorY[a], g.AttractorZ[a]);
    if (sx == kOffSurface || sy == kOffSurface) continue;
    DrawBoxCircle(*ctx.surface, sx, sy, attractorRadius_, ctx.surface->ForeColor);
  }
}

// The end of the previous frame, after its frame-end checks: count towards Grav_Refresh and,
// when the cycle is over, clear the screen and start a new arrangement.
void GravityLoop::RefreshAfterFrameEnd(Context& ctx) {
  if (refresh_ <= 0) return;
  state_.RefreshCount += 1;
  if (state_.RefreshCount == refresh_) {
    ClearAndShowMessage(ctx);
    CycleStart(ctx);
  }
}

void GravityLoop::Step(Context& ctx) {
  if (frameEnded_) RefreshAfterFrameEnd(ctx);
  frameEnded_ = true;
  DrawAttractorCircles(ctx);
  if (state_.CycleFrame < INT32_MAX) state_.CycleFrame += 1;  // an endless cycle never wraps
  if (state_.TrailMode)
    StepTrailMode(ctx);
  else
    StepEraserMode(ctx);
}

void GravityLoop::StepTrailMode(Context& ctx) {
  GravityState& g = state_;
  Surface& surface = *ctx.surface;
  const bool erase = g.CycleFrame >= g.TrailLength;
  for (int32_t i = 0; i < g.Particles; ++i) {
    const int32_t slot = i * g.TrailLength + g.TrailSlot;
    if (erase) PlotPoint(surface, pixelSize_, g.TrailX[slot], g.TrailY[slot], 0);
    Attract(g.ParticleX[i], g.ParticleY[i], g.ParticleZ[i], g.ParticleVX[i], g.ParticleVY[i], g.ParticleVZ[i]);
    if (g.ParticleZ[i] > 0.0001) {
      const int32_t color = ParticleColor(ctx, i);
      g.TrailX[slot] = ProjectX(ctx.geometry, g.ParticleX[i], g.ParticleZ[i]);
      g.TrailY[slot] = ProjectY(ctx.geometry, g.ParticleY[i], g.ParticleZ[i]);
      PlotPoint(surface, pixelSize_, g.TrailX[slot], g.TrailY[slot], color);
    }
  }
  g.TrailSlot = (g.TrailSlot + 1) % g.TrailLength;
}

void GravityLoop::StepEraserMode(Context& ctx) {
  GravityState& g = state_;
  Surface& surface = *ctx.surface;
  const bool erase = g.CycleFrame >= g.TrailLength;
  for (int32_t i = 0; i < g.Particles; ++i) {
    if (erase) {
      PlotPoint(surface, pixelSize_, ProjectX(ctx.geometry, g.EraserX[i], g.EraserZ[i]),
                ProjectY(ctx.geometry, g.EraserY[i], g.EraserZ[i]), 0);
    }
    Attract(g.ParticleX[i], g.ParticleY[i], g.ParticleZ[i], g.ParticleVX[i], g.ParticleVY[i], g.ParticleVZ[i]);
    if (erase) Attract(g.EraserX[i], g.EraserY[i], g.EraserZ[i], g.EraserVX[i], g.EraserVY[i], g.EraserVZ[i]);
    if (g.ParticleZ[i] > 0.0001) {
      const int32_t color = ParticleColor(ctx, i);
      PlotPoint(surface, pixelSize_, ProjectX(ctx.geometry, g.ParticleX[i], g.ParticleZ[i]),
                ProjectY(ctx.geometry, g.ParticleY[i], g.ParticleZ[i]), color);
    }
  }
}

std::unique_ptr<Engine> CreateGravityWells() { return std::make_unique<GravityLoop>(true); }

}  // namespace qsrn
