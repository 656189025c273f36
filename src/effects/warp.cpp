// B-Spline Warp engine: set-up, the per-frame step (heads, firing, spark and eraser updates) and
// the segment bookkeeping that rolls the control windows on.
#include "effects/warp.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "render/color.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "settings/numeric.h"

namespace qsrn {
namespace {
constexpr float kHalfExtent = 1.0f;      // the heads wander in a cube of half-side 1
constexpr int32_t kMaxTableSlots = 32767;  // the spark table is indexed by a 16-bit Integer
}  // namespace

int16_t PrepareWarpSettings(EffectSettings& s) {
  s.SplineCount = Clamp(s.SplineCount, 1, 999);
  s.ParticleCount = Clamp(s.ParticleCount, 10, 999);
  s.TrailLength = Clamp(s.TrailLength, 1, 99);
  s.SplineSteps = Clamp(s.SplineSteps, 1, 999);
  s.EmitSpeed = Clamp(s.EmitSpeed, 1.0f, 999.0f);
  s.Persistence = Clamp(s.Persistence, 0.25f, 0.99f);
  s.ExtentMagnitude = Clamp(s.ExtentMagnitude, 1, 999);
  s.Damping = static_cast<float>((1.0f - Clamp(s.Damping, 0.0f, 1.0f)) * 0.5 + 0.5);

  // A type the list does not offer runs as the default, Extended Symmetric.
  const int16_t type = s.Warp_Type >= 0 && s.Warp_Type <= 4 ? s.Warp_Type : int16_t{4};
  if (type >= 2) s.SplineCount = SymmetricCount(s.SplineCount);
  // 999 splines of 999 sparks would overflow the table's 16-bit size: fewer sparks per spline.
  if (int32_t{s.SplineCount} * s.ParticleCount > kMaxTableSlots)
    s.ParticleCount = static_cast<int16_t>(kMaxTableSlots / s.SplineCount);
  return type;
}

void WarpEngine::Setup(Context& ctx) {
  type_ = PrepareWarpSettings(ctx.settings);
  const EffectSettings& s = ctx.settings;
  symmetric_ = type_ >= 2;
  splineCount_ = s.SplineCount;
  perSpline_ = s.ParticleCount;
  pixelSize_ = s.PixelSize;
  focal_ = s.FocalLength;
  persistence_ = s.Persistence;
  damping_ = s.Damping;
  emitSpeed_ = s.EmitSpeed;
  hueLock_ = s.Warp_HueLock;

  const size_t n = static_cast<size_t>(splineCount_);
  WarpSplines& sp = splines_;
  for (auto* v : {&sp.HeadX, &sp.HeadY, &sp.HeadZ, &sp.SizeFactor, &sp.SpeedFactor}) v->assign(n, 0.0f);
  sp.SchemeColor.assign(n, 0);
  sp.SchemeKeep.assign(n, 0);
  sp.Cycles.assign(n, 0);
  sp.SchemeHue.assign(n, 0);
  sp.Trail.assign(n, 0);
  sp.OwnHue.assign(n, 0);

  const size_t slots = n * static_cast<size_t>(perSpline_);
  WarpSparks& k = sparks_;
  for (auto* v : {&k.InUse, &k.HeadLive, &k.TailLive}) v->assign(slots, 0);
  k.Age.assign(slots, 0);
  k.TailLeft.assign(slots, 0);
  for (auto* v : {&k.X, &k.Y, &k.Z, &k.VX, &k.VY, &k.VZ, &k.EX, &k.EY, &k.EZ, &k.EVX, &k.EVY, &k.EVZ})
    v->assign(slots, 0.0f);
  k.Colour.assign(slots, 0);

  window_.Allocate(splineCount_);
  window_.Initialise(ctx, kHalfExtent);

  for (int32_t w = 0; w < splineCount_; ++w) {
    const size_t i = static_cast<size_t>(w);
    bool keep = false;
    ChooseColorScheme(ctx, sp.SchemeColor[i], keep, sp.SchemeHue[i]);
    sp.SchemeKeep[i] = keep;
    sp.Trail[i] = s.TrailLength;
    const float spread = static_cast<float>(s.ExtentMagnitude - 1) * ctx.Rnd() + 1.0f;
    sp.SizeFactor[i] = static_cast<float>(spread * 0.002);
    sp.SpeedFactor[i] = sp.SizeFactor[i] * s.EmitSpeed;
    sp.Cycles[i] = ctx.Rnd() < s.Warp_CyclePct / 100.0;
    sp.OwnHue[i] = 0;
  }

  clock_.Start(s.SplineSteps);
  sharedHue_ = 0;
  liveSparks_ = 0;
}

void WarpEngine::PlaceHeads(int32_t w) {
  WarpSplines& sp = splines_;
  if (!symmetric_) {
    const size_t i = static_cast<size_t>(w);
    window_.Head(w, clock_.t, sp.HeadX[i], sp.HeadY[i], sp.HeadZ[i]);
  } else if (w == 0) {
    window_.Head(0, clock_.t, sp.HeadX[0], sp.HeadY[0], sp.HeadZ[0]);
    SymmetricHeads(sp.HeadX, sp.HeadY, sp.HeadZ, focal_);
  }
}

void WarpEngine::Step(Context& ctx) {
  if (clock_.Next()) window_.Shift(ctx, symmetric_ ? 1 : splineCount_, kHalfExtent);
  if (hueLock_) sharedHue_ = static_cast<int16_t>((sharedHue_ + 1) % 360);

  for (int32_t w = 0; w < splineCount_; ++w) {
    PlaceHeads(w);
    const int32_t base = w * perSpline_;
    const auto pick = static_cast<int32_t>(Int(static_cast<double>(perSpline_) * ctx.Rnd()));
    const int32_t slot = base + std::min(pick, perSpline_ - 1);
    if (firing_ && !sparks_.InUse[static_cast<size_t>(slot)]) Fire(ctx, w, slot);
    UpdateSlots(ctx, w);
  }
}

void WarpEngine::Fire(Context& ctx, int32_t w, int32_t slot) {
  const size_t i = static_cast<size_t>(w), k = static_cast<size_t>(slot);
  WarpSplines& sp = splines_;
  WarpSparks& p = sparks_;
  p.HeadLive[k] = 1;
  p.InUse[k] = 1;
  p.TailLive[k] = 0;
  p.Age[k] = 0;
  p.TailLeft[k] = sp.Trail[i];
  ++liveSparks_;

  const float hx = sp.HeadX[i], hy = sp.HeadY[i], hz = sp.HeadZ[i];
  const float f = focal_, size = sp.SizeFactor[i], speed = sp.SpeedFactor[i], v = emitSpeed_;
  float px, py, pz, dz;
  switch (type_) {
    case 0:
    case 2:  // from the centre through the head
      px = 0, py = 0, pz = f;
      dz = (hz - pz) * v * size;
      break;
    case 1:
    case 3:  // from the head's mirror image through the view axis, at the head's depth
      px = -hx, py = -hy, pz = hz;
      dz = (pz - hz) * v * size;
      break;
    default:  // half-way between the centre and the head
      px = hx * 0.5f, py = hy * 0.5f, pz = (f + hz) * 0.5f;
      dz = (pz - f) * v * size * 2;
      break;
  }
  p.X[k] = p.EX[k] = px;
  p.Y[k] = p.EY[k] = py;
  p.Z[k] = p.EZ[k] = pz;
  p.VX[k] = p.EVX[k] = hx * speed;
  p.VY[k] = p.EVY[k] = hy * speed;
  p.VZ[k] = p.EVZ[k] = dz;

  if (sp.Cycles[i]) {
    if (hueLock_) {
      p.Colour[k] = ctx.colors.HueTable[static_cast<size_t>(sharedHue_)];
    } else {
      sp.OwnHue[i] = static_cast<int16_t>((sp.OwnHue[i] + 1) % 360);
      p.Colour[k] = ctx.colors.HueTable[static_cast<size_t>(sp.OwnHue[i])];
    }
  } else {
    p.Colour[k] = ColorOrKeep(ctx, sp.SchemeKeep[i] != 0, sp.SchemeColor[i], sp.SchemeHue[i]);
  }
}

void WarpEngine::UpdateSlots(Context& ctx, int32_t w) {
  const SurfaceGeometry& g = ctx.geometry;
  Surface& surface = *ctx.surface;
  const int16_t trail = splines_.Trail[static_cast<size_t>(w)];
  const float damping = damping_, persistence = persistence_;
  const int pixelSize = pixelSize_;
  // Plain pointers: the flag bytes written below could otherwise alias the vectors themselves,
  // making the compiler reload every array's address after each store.
  WarpSparks& p = sparks_;
  uint8_t* inUse = p.InUse.data();
  uint8_t* headLive = p.HeadLive.data();
  uint8_t* tailLive = p.TailLive.data();
  int16_t* age = p.Age.data();
  int16_t* tailLeft = p.TailLeft.data();
  float *x = p.X.data(), *y = p.Y.data(), *z = p.Z.data();
  float *vx = p.VX.data(), *vy = p.VY.data(), *vz = p.VZ.data();
  float *ex = p.EX.data(), *ey = p.EY.data(), *ez = p.EZ.data();
  float *evx = p.EVX.data(), *evy = p.EVY.data(), *evz = p.EVZ.data();
  const int32_t* colour = p.Colour.data();

  const size_t first = static_cast<size_t>(w) * static_cast<size_t>(perSpline_);
  const size_t last = first + static_cast<size_t>(perSpline_);
  for (size_t k = first; k < last; ++k) {
    if (!inUse[k]) continue;
    if (headLive[k]) {
      x[k] += vx[k];
      y[k] += vy[k];
      z[k] += vz[k];
      ++age[k];
      const int32_t sx = ProjectX(g, x[k], z[k]);
      const int32_t sy = ProjectY(g, y[k], z[k]);
      // The chance is drawn for every live head, whether or not it is already off screen.
      const bool unlucky = ctx.Rnd() > persistence;
      const bool dead = unlucky || !OnScreen(g, sx, sy);
      if (age[k] == trail || dead) tailLive[k] = 1;
      if (dead) {
        headLive[k] = 0;
        tailLeft[k] = trail;
      } else {
        if (z[k] > 0.0001) PlotPoint(surface, pixelSize, sx, sy, colour[k]);
        vx[k] *= damping;
        vy[k] *= damping;
        vz[k] *= damping;
      }
    }
    if (tailLive[k]) {
      PlotPoint(surface, pixelSize, ProjectX(g, ex[k], ez[k]), ProjectY(g, ey[k], ez[k]), 0);
      if (!headLive[k] && --tailLeft[k] <= 0) {
        tailLive[k] = 0;
        inUse[k] = 0;
        --liveSparks_;
      }
      ex[k] += evx[k];
      ey[k] += evy[k];
      ez[k] += evz[k];
      evx[k] *= damping;
      evy[k] *= damping;
      evz[k] *= damping;
    }
  }
}

}  // namespace qsrn
