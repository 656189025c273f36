// B-Spline Sparklers engine: settings preparation (stored or demonstration), set-up with the
// symmetric hues, emission with the solar wind, and the per-frame step.
#include "effects/sparklers.h"

#include <algorithm>
#include <cmath>

#include "effects/fireworks_shapes.h"
#include "render/color.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "settings/numeric.h"

namespace qsrn {

void ClampSparklerSettings(EffectSettings& s) {
  s.SplineCount = Clamp(s.SplineCount, 1, 999);
  s.ParticleCount = Clamp(s.ParticleCount, 10, 9999);
  s.SplineSteps = Clamp(s.SplineSteps, 1, 999);
  s.EmitSpeed = static_cast<float>(Clamp(s.EmitSpeed, 0.25f, 999.0f) * 0.001);
  s.Persistence = Clamp(s.Persistence, 0.25f, 0.99f);
  s.Gravity = static_cast<float>(Clamp(s.Gravity, 0.0f, 9.99f) * 0.001);
  s.Damping = static_cast<float>((1.0f - Clamp(s.Damping, 0.0f, 1.0f)) * 0.5 + 0.5);
  s.B_Spline_AntiGrav = Clamp(s.B_Spline_AntiGrav, 0.0f, 999.0f);
  s.B_Spline_MaxExtent = Clamp(s.B_Spline_MaxExtent, 0.001f, 99.0f);
}

void SetSparklerDemoSettings(Context& ctx) {
  EffectSettings& s = ctx.settings;
  s.B_Spline_Symmetry = ctx.Rnd() > 0.25f;
  const double range = s.B_Spline_Symmetry ? 25 : 5;
  s.SplineCount = static_cast<int16_t>(Int(range * ctx.Rnd()) + 6);
  s.ParticleCount = 1200;
  s.SplineSteps = 100;
  s.EmitSpeed = 0.002f;
  s.Persistence = 0.95f;
  s.Gravity = 0;
  s.Damping = 1.0f;
  const double wind = Int(static_cast<double>(ctx.Rnd()) * 4 + 1);  // 1 to 4, never 5
  s.B_Spline_AntiGrav = static_cast<float>(wind * wind);
  s.B_Spline_MaxExtent = 0.7f;
}

void SparklerEngine::Setup(Context& ctx) {
  if (start_ == Start::Settings) ClampSparklerSettings(ctx.settings);
  if (start_ == Start::Demo) SetSparklerDemoSettings(ctx);
  EffectSettings& s = ctx.settings;
  // Unclamped fields must still give at least one head to emit from and a segment to divide by.
  s.SplineCount = std::max<int16_t>(s.SplineCount, 1);
  s.ParticleCount = std::max<int16_t>(s.ParticleCount, 0);
  s.SplineSteps = std::max<int16_t>(s.SplineSteps, 1);

  symmetric_ = s.B_Spline_Symmetry;
  if (symmetric_) s.SplineCount = SymmetricCount(s.SplineCount);
  headCount_ = s.SplineCount;
  pixelSize_ = s.PixelSize;
  focal_ = s.FocalLength;
  extent_ = s.B_Spline_MaxExtent;
  emitSpeed_ = s.EmitSpeed;
  persistence_ = s.Persistence;
  gravity_ = s.Gravity;
  damping_ = s.Damping;
  solarWind_ = s.B_Spline_AntiGrav;

  const size_t heads = static_cast<size_t>(headCount_);
  for (auto* v : {&heads_.X, &heads_.Y, &heads_.Z}) v->assign(heads, 0.0f);
  heads_.SchemeColor.assign(heads, 0);
  heads_.SchemeKeep.assign(heads, 0);
  heads_.SchemeHue.assign(heads, 0);
  const size_t sparks = static_cast<size_t>(s.ParticleCount);
  for (auto* v : {&sparks_.X, &sparks_.Y, &sparks_.Z, &sparks_.VX, &sparks_.VY, &sparks_.VZ})
    v->assign(sparks, 0.0f);
  sparks_.Colour.assign(sparks, 0);

  window_.Allocate(symmetric_ ? 1 : headCount_);
  window_.Initialise(ctx, extent_);

  for (int32_t h = 0; h < headCount_; ++h) {
    const size_t i = static_cast<size_t>(h);
    bool keep = false;
    ChooseColorScheme(ctx, heads_.SchemeColor[i], keep, heads_.SchemeHue[i]);
    heads_.SchemeKeep[i] = keep;
    if (symmetric_) {
      // Evenly spaced hues around the wheel, one per head.
      heads_.SchemeHue[i] = CInt(static_cast<float>(h) / static_cast<float>(headCount_) * 360.0f + 1.0f);
      heads_.SchemeColor[i] = PickColor(ctx, 1, heads_.SchemeHue[i]);
    }
  }

  clock_.Start(s.SplineSteps);
  PlaceHeads();
  for (size_t i = 0; i < sparks; ++i) Emit(ctx, i);
}

void SparklerEngine::PlaceHeads() {
  if (symmetric_) {
    window_.Head(0, clock_.t, heads_.X[0], heads_.Y[0], heads_.Z[0]);
    SymmetricHeads(heads_.X, heads_.Y, heads_.Z, focal_);
  } else {
    for (int32_t h = 0; h < headCount_; ++h) {
      const size_t i = static_cast<size_t>(h);
      window_.Head(h, clock_.t, heads_.X[i], heads_.Y[i], heads_.Z[i]);
    }
  }
}

void SparklerEngine::Emit(Context& ctx, size_t i) {
  const auto pick = static_cast<int32_t>(Int(static_cast<double>(ctx.Rnd()) * headCount_));
  const size_t h = static_cast<size_t>(std::min(pick, headCount_ - 1));
  float x = heads_.X[h], y = heads_.Y[h], z = heads_.Z[h];
  sparks_.X[i] = x;
  sparks_.Y[i] = y;
  sparks_.Z[i] = z;
  float vx, vy, vz;
  SphereVelocity(ctx, vx, vy, vz, emitSpeed_);
  if (solarWind_ > 0) {
    // Push away from the centre; a head exactly at the centre has no outward direction.
    const float dz = z - focal_;
    const auto d = static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y +
                                                static_cast<double>(dz) * dz));
    if (d > 0) {
      const float k = emitSpeed_ * solarWind_ / d;
      vx += x * k;
      vy += y * k;
      vz += dz * k;
    }
  }
  sparks_.VX[i] = vx;
  sparks_.VY[i] = vy;
  sparks_.VZ[i] = vz;
  sparks_.Colour[i] =
      ColorOrKeep(ctx, heads_.SchemeKeep[h] != 0, heads_.SchemeColor[h], heads_.SchemeHue[h]);
}

void SparklerEngine::Step(Context& ctx) {
  if (clock_.Next()) window_.Shift(ctx, window_.Splines, extent_);
  PlaceHeads();

  const SurfaceGeometry& g = ctx.geometry;
  Surface& surface = *ctx.surface;
  SparklerSparks& p = sparks_;
  const size_t n = p.X.size();
  for (size_t i = 0; i < n; ++i) {
    PlotPoint(surface, pixelSize_, ProjectX(g, p.X[i], p.Z[i]), ProjectY(g, p.Y[i], p.Z[i]), 0);
    p.X[i] += p.VX[i];
    p.Y[i] += p.VY[i];
    p.Z[i] += p.VZ[i];
    int32_t sx = ProjectX(g, p.X[i], p.Z[i]);
    int32_t sy = ProjectY(g, p.Y[i], p.Z[i]);
    const bool unlucky = ctx.Rnd() > persistence_;  // drawn for every spark, every frame
    if (unlucky || !OnScreen(g, sx, sy)) {
      Emit(ctx, i);  // a re-emitted spark keeps its emission velocity this frame
      sx = ProjectX(g, p.X[i], p.Z[i]);
      sy = ProjectY(g, p.Y[i], p.Z[i]);
    } else {
      p.VY[i] += gravity_;
      p.VX[i] *= damping_;
      p.VY[i] *= damping_;
      p.VZ[i] *= damping_;
    }
    if (p.Z[i] > 0.0001) PlotPoint(surface, pixelSize_, sx, sy, p.Colour[i]);
  }
}

}  // namespace qsrn
