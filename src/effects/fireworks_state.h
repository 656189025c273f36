// The fireworks engine's state: the per-shell values and the flat per-spark arrays (one array per
// attribute, sized once at set-up, shell s owning the block s * ParticleCount onwards), plus the
// small motion and projection steps that every burst type shares. The eraser of a standard
// burst replays its spark's motion with exactly the same arithmetic, so both go through the same
// inline steps here.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/context.h"
#include "render/geometry.h"
#include "render/surface.h"

namespace qsrn {

// Values of ShellState. 6 is only a set-up code; ShellIdle is a shell that has been told not to
// start again (a state above 8 other than 999 does nothing).
enum ShellStateCode : int16_t {
  kShellRising = 0,
  kShellStandard = 1,
  kShellScintillator = 2,
  kShellMultiBurst = 3,
  kShellJet = 4,
  kShellSparkle = 5,
  kShellRingSetup = 6,
  kShellTwister = 7,
  kShellDecayStars = 8,
  kShellGlitter = 999,
  kShellIdle = 1000,
};

inline constexpr int32_t kWhite = 0xFFFFFF;

// What NewShell chose for one burst: size, shape and the colour scheme of ChooseColorScheme.
struct BurstParams {
  float BurstSize = 1.0f;
  int16_t BurstShape = 0;    // 0 sphere, 1 spline path, 2 geometric pattern
  int16_t PatternIndex = 0;  // 0..3 with the pattern shape
  int32_t color = 0;
  bool keep = false;
  int16_t hue = 0;
};

struct FireworksState {
  int32_t shells = 0;          // FireWorks
  int32_t sparksPerShell = 0;  // ParticleCount
  int32_t launchPixels = 0;    // FireLaunchPixel, kept within the shell's block
  float JetDamping = 1.0f;
  float DecayScale = 0.0f;
  bool draining = false;       // ended shells go idle instead of starting again

  // Shells, 0 .. FireWorks - 1.
  std::vector<float> ShellX, ShellY, ShellZ, LaunchStepX, LaunchStepY, LaunchStepZ;
  std::vector<int16_t> ShellState, ShellAge, LiveCount, TrailFrames, Stride, StartDelay;

  // Sparks, 0 .. FireWorks * ParticleCount (one spare).
  std::vector<float> X, Y, Z, VX, VY, VZ;
  std::vector<float> TailX, TailY, TailZ, TailVX, TailVY, TailVZ;
  std::vector<int16_t> HeadAge, TailCountdown;
  std::vector<uint8_t> Alive, TailActive;
  std::vector<int32_t> Colour;

  // Temporaries of the ring set-up and of SecondaryBurst, sized here once rather than per burst.
  std::vector<float> RingAngleA, RingAngleB;
  std::vector<float> SubX, SubY, SubZ, SubVX, SubVY, SubVZ;

  void Allocate(int32_t shellCount, int32_t sparkCount, int32_t ringCount) {
    shells = std::max<int32_t>(shellCount, 0);
    sparksPerShell = std::max<int32_t>(sparkCount, 0);
    const size_t ns = static_cast<size_t>(shells);
    for (auto* v : {&ShellX, &ShellY, &ShellZ, &LaunchStepX, &LaunchStepY, &LaunchStepZ}) v->assign(ns, 0.0f);
    for (auto* v : {&ShellState, &ShellAge, &LiveCount, &TrailFrames, &StartDelay}) v->assign(ns, 0);
    Stride.assign(ns, 1);  // a rising shell has no heads, but a stride is never 0
    const size_t np = static_cast<size_t>(shells) * static_cast<size_t>(sparksPerShell) + 1;
    for (auto* v : {&X, &Y, &Z, &VX, &VY, &VZ, &TailX, &TailY, &TailZ, &TailVX, &TailVY, &TailVZ}) v->assign(np, 0.0f);
    HeadAge.assign(np, 0);
    TailCountdown.assign(np, 0);
    Alive.assign(np, 0);
    TailActive.assign(np, 0);
    Colour.assign(np, 0);
    const size_t nr = static_cast<size_t>(std::max<int32_t>(ringCount, 1));
    RingAngleA.assign(nr, 0.0f);
    RingAngleB.assign(nr, 0.0f);
    const size_t nsub = static_cast<size_t>(sparksPerShell) + 1;
    for (auto* v : {&SubX, &SubY, &SubZ, &SubVX, &SubVY, &SubVZ}) v->assign(nsub, 0.0f);
  }

  int32_t First(int32_t s) const { return s * sparksPerShell; }
  // The last index a head may take: heads are first, first + Stride, ... up to this.
  int32_t LastHead(int32_t s) const { return First(s) + sparksPerShell - Stride[static_cast<size_t>(s)]; }
};

// Frames counted in an Integer stop at its top instead of wrapping.
inline void CountUp(int16_t& v) {
  if (v < INT16_MAX) ++v;
}

struct ScreenPoint {
  int32_t sx = 0;
  int32_t sy = 0;
};

inline ScreenPoint ProjectPoint(const SurfaceGeometry& g, float x, float y, float z) {
  return {ProjectX(g, x, z), ProjectY(g, y, z)};
}
inline ScreenPoint ProjectSpark(const Context& ctx, const FireworksState& st, int32_t j) {
  return ProjectPoint(ctx.geometry, st.X[j], st.Y[j], st.Z[j]);
}
inline ScreenPoint ProjectTail(const Context& ctx, const FireworksState& st, int32_t j) {
  return ProjectPoint(ctx.geometry, st.TailX[j], st.TailY[j], st.TailZ[j]);
}
inline bool OnScreen(const Context& ctx, ScreenPoint p) { return OnScreen(ctx.geometry, p.sx, p.sy); }

// Sparks behind the eye (or at it) are moved but not drawn.
inline bool InFront(float z) { return static_cast<double>(z) > 0.0001; }

inline void Plot(Context& ctx, ScreenPoint p, int32_t colour) { ctx.surface->SetPixel(p.sx, p.sy, colour); }

// One step of motion, and the physics that follows it: gravity pulls down (+y), then damping.
inline void MoveStep(float& x, float& y, float& z, float vx, float vy, float vz) {
  x = x + vx;
  y = y + vy;
  z = z + vz;
}
inline void PhysicsStep(float& vx, float& vy, float& vz, float gravity, float damping) {
  vy = vy + gravity;
  vx = vx * damping;
  vy = vy * damping;
  vz = vz * damping;
}
inline void MoveSpark(FireworksState& st, int32_t j) {
  MoveStep(st.X[j], st.Y[j], st.Z[j], st.VX[j], st.VY[j], st.VZ[j]);
}
inline void SparkPhysics(const Context& ctx, FireworksState& st, int32_t j) {
  PhysicsStep(st.VX[j], st.VY[j], st.VZ[j], ctx.settings.Gravity, ctx.settings.Damping);
}
inline void MoveTail(FireworksState& st, int32_t j) {
  MoveStep(st.TailX[j], st.TailY[j], st.TailZ[j], st.TailVX[j], st.TailVY[j], st.TailVZ[j]);
}
inline void TailPhysics(const Context& ctx, FireworksState& st, int32_t j) {
  PhysicsStep(st.TailVX[j], st.TailVY[j], st.TailVZ[j], ctx.settings.Gravity, ctx.settings.Damping);
}

// The eraser of a standard-burst spark starts as a copy of the spark's start state.
inline void CopyToEraser(FireworksState& st, int32_t j) {
  st.TailX[j] = st.X[j];
  st.TailY[j] = st.Y[j];
  st.TailZ[j] = st.Z[j];
  st.TailVX[j] = st.VX[j];
  st.TailVY[j] = st.VY[j];
  st.TailVZ[j] = st.VZ[j];
}

}  // namespace qsrn
