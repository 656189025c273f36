// Set-up and per-frame update of the burst types other than the standard burst, and the second
// stage of multi-bursts and jets. Every glyph or pixel drawn is erased, at the same projection,
// before its spark moves again.
#include "effects/fireworks_bursts.h"

#include <algorithm>
#include <cmath>

#include "effects/fireworks_glyphs.h"
#include "effects/fireworks_shapes.h"
#include "effects/fireworks_shells.h"
#include "render/color.h"
#include "render/geometry.h"
#include "render/sound.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

struct Centre {
  float x, y, z;
};
Centre ShellCentre(const FireworksState& st, int32_t s) {
  const size_t i = static_cast<size_t>(s);
  return {st.ShellX[i], st.ShellY[i], st.ShellZ[i]};
}
int32_t StrideOf(const FireworksState& st, int32_t s) { return st.Stride[static_cast<size_t>(s)]; }

// Heads that leave the centre like a standard spark: the scintillator, carriers, sparkle, decay.
void LaunchHead(Context& ctx, FireworksState& st, int32_t j, Centre c, const BurstParams& b) {
  st.X[j] = c.x;
  st.Y[j] = c.y;
  st.Z[j] = c.z;
  const float speed = RandomBurstSpeed(ctx, b.BurstSize);
  BurstVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], c.x, c.y, c.z, speed, b.BurstShape, b.PatternIndex,
                b.BurstSize, false);
  st.Alive[j] = 1;
}

// Jet and twister heads start one step out from the centre.
void PlaceHeadOneStepOut(FireworksState& st, int32_t j, Centre c) {
  st.X[j] = c.x + st.VX[j];
  st.Y[j] = c.y + st.VY[j];
  st.Z[j] = c.z + st.VZ[j];
  st.Alive[j] = 1;
}

void StartFollower(Context& ctx, FireworksState& st, int32_t f, float x, float y, float z, float radius) {
  st.X[f] = x;
  st.Y[f] = y;
  st.Z[f] = z;
  SphereVelocity(ctx, st.VX[f], st.VY[f], st.VZ[f], radius);
}

// Jet and twister heads die of age only after FireBurstAge frames, or when they leave the screen.
bool JetHeadDies(Context& ctx, const FireworksState& st, int32_t s, ScreenPoint p) {
  const bool aged = ctx.Rnd() > ctx.settings.Persistence;
  return (aged & (st.ShellAge[static_cast<size_t>(s)] >= ctx.settings.FireBurstAge)) | !OnScreen(ctx, p);
}

// The followers of one jet or twister head: short-lived white (or coloured) sparks, reborn at the
// emission point while their head lives.
void UpdateFollowers(Context& ctx, FireworksState& st, int32_t s, int32_t head, float ex, float ey, float ez,
                     float radius) {
  const EffectSettings& S = ctx.settings;
  const size_t i = static_cast<size_t>(s);
  const int32_t end = head + StrideOf(st, s);
  for (int32_t f = head + 1; f < end; ++f) {
    if (!st.Alive[f]) continue;
    Plot(ctx, ProjectSpark(ctx, st, f), 0);
    MoveSpark(st, f);
    ScreenPoint p = ProjectSpark(ctx, st, f);
    const bool dead = (ctx.Rnd() > S.FireLaunchPersist) | !OnScreen(ctx, p);
    if (dead) {
      if (st.Alive[head]) {
        StartFollower(ctx, st, f, ex, ey, ez, radius);
        p = ProjectSpark(ctx, st, f);
      } else {
        st.Alive[f] = 0;
        st.LiveCount[i] -= 1;
        continue;
      }
    }
    if (InFront(st.Z[f])) Plot(ctx, p, st.Colour[f]);
    SparkPhysics(ctx, st, f);
  }
}

// Scintillator stars and sparkle glitter: heads that die with a fixed chance a frame, and while
// they live show themselves (and feel the physics) ever more rarely as the shell ages. A head
// dies when Rnd * deathScale > Persistence + deathOffset, and shows when
// r * (ShellAge + Persistence * twinkleSpan) > ShellAge. Glyph(point, z, colour) draws one.
template <typename Glyph>
void UpdateTwinklingHeads(Context& ctx, FireworksState& st, int32_t s, float deathScale, float deathOffset,
                          float twinkleSpan, Glyph glyph) {
  const EffectSettings& S = ctx.settings;
  const size_t i = static_cast<size_t>(s);
  const int32_t stride = StrideOf(st, s);
  const float age = st.ShellAge[i];
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    if (!st.Alive[j]) continue;
    glyph(ProjectSpark(ctx, st, j), st.Z[j], 0);
    MoveSpark(st, j);
    const ScreenPoint p = ProjectSpark(ctx, st, j);
    const bool dead = (ctx.Rnd() * deathScale > S.Persistence + deathOffset) | !OnScreen(ctx, p);
    if (dead) {
      st.Alive[j] = 0;
      st.LiveCount[i] -= 1;
      continue;
    }
    const float r = ctx.Rnd();
    if (r * (age + S.Persistence * twinkleSpan) > age) {
      if (InFront(st.Z[j])) glyph(p, st.Z[j], st.Colour[j]);
      SparkPhysics(ctx, st, j);
    }
  }
  if (st.LiveCount[i] == 0) RestartShell(ctx, st, s);
}

}  // namespace

// ---- Scintillator: white stars that twinkle more rarely as the shell ages.

void SetupScintillator(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  const Centre c = ShellCentre(st, s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    LaunchHead(ctx, st, j, c, b);
    st.Colour[j] = kWhite;
  }
}

void UpdateScintillator(Context& ctx, FireworksState& st, int32_t s) {
  const int32_t stride = StrideOf(st, s);
  UpdateTwinklingHeads(ctx, st, s, 1.5f, 0.5f, 40.0f, [&](ScreenPoint p, float z, int32_t colour) {
    DrawScintillator(ctx, p.sx, p.sy, z, stride, colour);
  });
}

// ---- Multi-burst: white carriers fly out, then each becomes the centre of a small burst.

void SetupMultiBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  SetupScintillator(ctx, st, s, b);
}

void UpdateMultiBurst(Context& ctx, FireworksState& st, int32_t s) {
  const size_t i = static_cast<size_t>(s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    if (!st.Alive[j]) continue;
    const ScreenPoint old = ProjectSpark(ctx, st, j);
    DrawCarrier(ctx, old.sx, old.sy, st.Z[j], stride, 0);
    MoveSpark(st, j);
    const ScreenPoint p = ProjectSpark(ctx, st, j);
    if (OnScreen(ctx, p)) {
      if (InFront(st.Z[j])) DrawCarrier(ctx, p.sx, p.sy, st.Z[j], stride, st.Colour[j]);
      SparkPhysics(ctx, st, j);
    } else {
      st.Alive[j] = 0;  // LiveCount is not counted down: the age ends this stage
    }
  }
  // Reached exactly for any age of at least 1; never missed if the age setting is below that.
  if (st.ShellAge[i] >= ctx.settings.FireMultiAge) SecondaryBurst(ctx, st, s, true);
}

// ---- Jet burst: invisible heads spraying short-lived white followers.

void SetupJetBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  const EffectSettings& S = ctx.settings;
  const Centre c = ShellCentre(st, s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    const float r = ctx.Rnd();
    const float speed = static_cast<float>(
        S.EmitSpeed * b.BurstSize * (((1.0f - S.FireSymmetry) * r + S.FireSymmetry) * 0.5 + 0.25));
    BurstVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], c.x, c.y, c.z, speed, b.BurstShape, b.PatternIndex,
                  b.BurstSize, true);
    PlaceHeadOneStepOut(st, j, c);
    for (int32_t f = j + 1; f < j + stride; ++f) {
      StartFollower(ctx, st, f, st.X[j], st.Y[j], st.Z[j], S.FireBurstRadius);
      st.Alive[f] = 1;
      st.Colour[f] = kWhite;
    }
  }
}

void UpdateJetBurst(Context& ctx, FireworksState& st, int32_t s) {
  const EffectSettings& S = ctx.settings;
  const size_t i = static_cast<size_t>(s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    if (st.Alive[j]) {
      MoveSpark(st, j);
      if (JetHeadDies(ctx, st, s, ProjectSpark(ctx, st, j))) {
        st.Alive[j] = 0;
      } else {
        PhysicsStep(st.VX[j], st.VY[j], st.VZ[j], S.Gravity, st.JetDamping);
      }
    }
    UpdateFollowers(ctx, st, s, j, st.X[j], st.Y[j], st.Z[j], S.FireBurstRadius);
  }
  if (st.LiveCount[i] == 0) {
    if (S.FireBurstShell)
      SecondaryBurst(ctx, st, s, false);
    else
      RestartShell(ctx, st, s);
  }
}

// ---- Sparkle: coloured heads that turn to glitter at FireSparkAge.

void SetupSparkle(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  const Centre c = ShellCentre(st, s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    LaunchHead(ctx, st, j, c, b);
    st.Colour[j] = SparkColour(ctx, b);
  }
}

void UpdateSparkle(Context& ctx, FireworksState& st, int32_t s) {
  const size_t i = static_cast<size_t>(s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    if (!st.Alive[j]) continue;
    Plot(ctx, ProjectSpark(ctx, st, j), 0);
    MoveSpark(st, j);
    const ScreenPoint p = ProjectSpark(ctx, st, j);
    if (OnScreen(ctx, p)) {
      if (InFront(st.Z[j])) Plot(ctx, p, st.Colour[j]);
      SparkPhysics(ctx, st, j);
    } else {
      st.Alive[j] = 0;
      st.LiveCount[i] -= 1;
    }
  }
  if (st.ShellAge[i] >= ctx.settings.FireSparkAge) {
    if (st.LiveCount[i] < 1) {
      RestartShell(ctx, st, s);
      return;
    }
    st.ShellState[i] = kShellGlitter;
    for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride)
      if (st.Alive[j]) Plot(ctx, ProjectSpark(ctx, st, j), 0);
  }
}

void UpdateGlitter(Context& ctx, FireworksState& st, int32_t s) {
  UpdateTwinklingHeads(ctx, st, s, 2.0f, 1.0f, 100.0f, [&](ScreenPoint p, float z, int32_t colour) {
    DrawSparkle(ctx, p.sx, p.sy, z, colour);
  });
}

// ---- Ring or disk.

void SetupRingBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  const EffectSettings& S = ctx.settings;
  const auto& trig = ctx.trig;
  const Centre c = ShellCentre(st, s);
  const int32_t rings = std::clamp<int32_t>(S.FireRingEmb, 1, static_cast<int32_t>(st.RingAngleA.size()));
  for (int32_t k = 0; k < rings; ++k) {
    st.RingAngleA[k] = static_cast<float>(ctx.Rnd() * (2 * kPi));
    st.RingAngleB[k] = static_cast<float>(ctx.Rnd() * (2 * kPi));
  }
  auto index = [](double v) { return static_cast<size_t>(std::clamp<int32_t>(CInt(v), 0, 1000)); };
  const int32_t first = st.First(s);
  for (int32_t j = first; j < first + st.sparksPerShell; ++j) {
    st.X[j] = c.x;
    st.Y[j] = c.y;
    st.Z[j] = c.z;
    if (b.BurstShape != 1) {
      const int32_t k = std::clamp(static_cast<int32_t>(Int(ctx.Rnd() * static_cast<float>(S.FireRingEmb))), 0, rings - 1);
      const float speed = RandomBurstSpeed(ctx, b.BurstSize);
      const float r = ctx.Rnd();
      // Index 500 is the equator: sparks leave within FireRingDeg / 2 degrees of it.
      const size_t t = index(Int(S.FireRingDeg / 180.0 * 1000.0 * (r - 0.5)) + 500);
      const size_t p = index(ctx.Rnd() * 1000.0f);
      const float vx = speed * trig.CosTable[p] * trig.SinTable[t] * ctx.geometry.AspectRatio;
      const float r3 = ctx.Rnd();
      const float vy = static_cast<float>(Sgn(r3 - 0.5)) * speed * trig.SinTable[p] * trig.SinTable[t];
      const float vz = speed * trig.CosTable[t];
      RotateVector(vx, vy, vz, st.RingAngleA[k], st.RingAngleB[k], st.VX[j], st.VY[j], st.VZ[j]);
    } else {
      SplineVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], c.x, c.y, c.z, b.BurstSize, false);
    }
    CopyToEraser(st, j);
    st.HeadAge[j] = 0;
    st.Alive[j] = 1;
    st.TailActive[j] = 0;
    st.Colour[j] = SparkColour(ctx, b);
  }
}

// ---- Twister: heads whose followers are reborn at a point circling them.

void TwisterEmitPoint(const Context& ctx, float x, float y, float z, float& prevX, float& prevY,
                      float& prevZ, float& angle, float& outX, float& outY, float& outZ) {
  const EffectSettings& S = ctx.settings;
  float rx = 0, ry = 0, rz = 0;
  RotateVector(x - prevX, y - prevY, z - prevZ, kPi / 2, angle, rx, ry, rz);
  const float len = std::sqrt(rx * rx + ry * ry + rz * rz) + 1e-9f;
  constexpr float kRamp = 2 * kPi * 0.1f;
  const float f = angle < kRamp ? S.FireTwistExt * angle / kRamp : S.FireTwistExt;
  outX = x + rx / len * f;
  outY = y + ry / len * f;
  outZ = z + rz / len * f;
  prevX = x;
  prevY = y;
  prevZ = z;
  angle = static_cast<float>(angle + S.FireTwistDeg * kPi / 180.0f);
}

void SetupTwister(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  const EffectSettings& S = ctx.settings;
  const Centre c = ShellCentre(st, s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    const float speed = RandomBurstSpeed(ctx, b.BurstSize);
    BurstVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], c.x, c.y, c.z, speed, b.BurstShape, b.PatternIndex,
                  b.BurstSize, true);
    PlaceHeadOneStepOut(st, j, c);
    st.TailX[j] = c.x;  // previous position
    st.TailY[j] = c.y;
    st.TailZ[j] = c.z;
    st.TailVX[j] = 0;   // spin angle
    for (int32_t f = j + 1; f < j + stride; ++f) {
      StartFollower(ctx, st, f, st.X[j], st.Y[j], st.Z[j], S.FireTwistRad);
      st.Alive[f] = 1;
      st.Colour[f] = SparkColour(ctx, b);
    }
  }
}

void UpdateTwister(Context& ctx, FireworksState& st, int32_t s) {
  const EffectSettings& S = ctx.settings;
  const size_t i = static_cast<size_t>(s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    float ex = st.X[j], ey = st.Y[j], ez = st.Z[j];
    if (st.Alive[j]) {
      MoveSpark(st, j);
      if (JetHeadDies(ctx, st, s, ProjectSpark(ctx, st, j))) {
        st.Alive[j] = 0;
      } else {
        TwisterEmitPoint(ctx, st.X[j], st.Y[j], st.Z[j], st.TailX[j], st.TailY[j], st.TailZ[j], st.TailVX[j],
                         ex, ey, ez);
        SparkPhysics(ctx, st, j);
      }
    }
    UpdateFollowers(ctx, st, s, j, ex, ey, ez, S.FireTwistRad);
  }
  if (st.LiveCount[i] == 0) RestartShell(ctx, st, s);
}

// ---- Decay stars: white stars that shrink to a point as their life runs out.

void SetupDecayStars(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  const EffectSettings& S = ctx.settings;
  const Centre c = ShellCentre(st, s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    LaunchHead(ctx, st, j, c, b);
    const int16_t life = CInt(Int(ctx.Rnd() * static_cast<float>(S.FireDecayMLife - 5)) + 5);
    st.HeadAge[j] = std::max<int16_t>(life, 0);
    st.Colour[j] = kWhite;
  }
}

void UpdateDecayStars(Context& ctx, FireworksState& st, int32_t s) {
  const size_t i = static_cast<size_t>(s);
  const int32_t stride = StrideOf(st, s);
  for (int32_t j = st.First(s); j <= st.LastHead(s); j += stride) {
    if (!st.Alive[j]) continue;
    const ScreenPoint old = ProjectSpark(ctx, st, j);
    DrawDecayStar(ctx, old.sx, old.sy, st.Z[j], st.HeadAge[j], stride, 0, st.DecayScale);
    MoveSpark(st, j);
    const ScreenPoint p = ProjectSpark(ctx, st, j);
    if (st.HeadAge[j] != 0 && OnScreen(ctx, p)) {
      st.HeadAge[j] -= 1;
      if (InFront(st.Z[j]))
        DrawDecayStar(ctx, p.sx, p.sy, st.Z[j], st.HeadAge[j], stride, st.Colour[j], st.DecayScale);
      SparkPhysics(ctx, st, j);
    } else {
      st.Alive[j] = 0;
      st.LiveCount[i] -= 1;
    }
  }
  if (st.LiveCount[i] == 0) RestartShell(ctx, st, s);
}

// ---- Second stage of multi-bursts and jets.

namespace {

// The origins of a second stage, into SubX..SubVZ: the live carriers with their momentum (each
// drawn once more), or the jet heads strictly inside the screen, alive or not, without momentum.
// Returns how many there are.
int32_t GatherSubBursts(Context& ctx, FireworksState& st, int32_t s, bool fromCarriers) {
  const int32_t stride = StrideOf(st, s);
  const int32_t capacity = static_cast<int32_t>(st.SubX.size());
  const SurfaceGeometry& g = ctx.geometry;
  int32_t m = 0;
  for (int32_t j = st.First(s); j <= st.LastHead(s) && m < capacity; j += stride) {
    if (fromCarriers && !st.Alive[j]) continue;
    const ScreenPoint p = ProjectSpark(ctx, st, j);
    if (!fromCarriers && !(p.sx > 0 && p.sx < g.ScreenWidth && p.sy > 0 && p.sy < g.ScreenHeight)) continue;
    st.SubX[m] = st.X[j];
    st.SubY[m] = st.Y[j];
    st.SubZ[m] = st.Z[j];
    st.SubVX[m] = fromCarriers ? st.VX[j] : 0;
    st.SubVY[m] = fromCarriers ? st.VY[j] : 0;
    st.SubVZ[m] = fromCarriers ? st.VZ[j] : 0;
    ++m;
    if (fromCarriers) DrawCarrier(ctx, p.sx, p.sy, st.Z[j], stride, 0);
  }
  return m;
}

// Every spark of shell s bursts from one of the m origins, picked at random, in one new shape.
void BurstFromOrigins(Context& ctx, FireworksState& st, int32_t s, int32_t m) {
  const EffectSettings& S = ctx.settings;
  // Smaller sub-bursts the more of them there are.
  const double lnCount = S.ParticleCount > 1 ? std::log(static_cast<double>(S.ParticleCount)) : 0.0;
  const double ratio = (lnCount > 0 && S.FireMultiBurst >= 1) ? std::log(static_cast<double>(S.FireMultiBurst)) / lnCount : 0.0;
  const float size2 = static_cast<float>((1.0 - ratio) * (1.0 - ratio) * 0.0025);
  BurstParams b;
  RollBurstShape(ctx, b);
  const Centre c = ShellCentre(st, s);
  if (b.BurstShape == 1) MakeSplineKnots(ctx, c.x, c.y, c.z);
  ChooseColorScheme(ctx, b.color, b.keep, b.hue);
  PlaySoundSlot(ctx, kSoundStandard);
  const int32_t first = st.First(s);
  for (int32_t j = first; j < first + st.sparksPerShell; ++j) {
    const int32_t k = std::clamp(static_cast<int32_t>(Int(ctx.Rnd() * static_cast<float>(m))), 0, m - 1);
    st.X[j] = st.SubX[k];
    st.Y[j] = st.SubY[k];
    st.Z[j] = st.SubZ[k];
    switch (b.BurstShape) {
      case 0: SphereVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], RandomBurstSpeed(ctx, size2)); break;
      case 1: SplineVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], c.x, c.y, c.z, size2, false); break;
      default: PatternVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], b.PatternIndex, size2); break;
    }
    if (S.FireMultiMoment) {
      st.VX[j] += st.SubVX[k];
      st.VY[j] += st.SubVY[k];
      st.VZ[j] += st.SubVZ[k];
    }
    CopyToEraser(st, j);
    st.HeadAge[j] = 0;
    st.Alive[j] = 1;
    st.TailActive[j] = 0;
    st.Colour[j] = SparkColour(ctx, b);
  }
}

}  // namespace

void SecondaryBurst(Context& ctx, FireworksState& st, int32_t s, bool fromCarriers) {
  const int32_t m = GatherSubBursts(ctx, st, s, fromCarriers);
  if (m == 0) {
    RestartShell(ctx, st, s);
    return;
  }
  const size_t i = static_cast<size_t>(s);
  st.ShellAge[i] = 0;
  st.ShellState[i] = kShellStandard;
  st.Stride[i] = 1;
  st.LiveCount[i] = static_cast<int16_t>(st.sparksPerShell);
  st.TrailFrames[i] = static_cast<int16_t>(
      std::max<int32_t>(1, CInt(Int(ctx.Rnd() * static_cast<float>(ctx.settings.TrailLength)) + 1)));
  BurstFromOrigins(ctx, st, s, m);
}

}  // namespace qsrn
