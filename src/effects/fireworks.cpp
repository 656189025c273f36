// The fireworks engine: the clamps, the set-up of the shell and spark arrays, and the frame step
// that runs each shell's state (with the start-up stagger that spreads the first bursts out).
#include "effects/fireworks.h"

#include <algorithm>
#include <cmath>

#include "effects/fireworks_bursts.h"
#include "effects/fireworks_shells.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

// A Single clamp that also pins a value that is not a number to the low end.
float ClampSingle(float v, float lo, float hi) {
  if (!(v == v)) return lo;
  return Clamp(v, lo, hi);
}
template <typename... T>
void ClampIntegers(int16_t lo, int16_t hi, T&... fields) {
  ((fields = Clamp(fields, lo, hi)), ...);
}

}  // namespace

void ClampFireworksSettings(EffectSettings& s) {
  s.FireWorks = Clamp(s.FireWorks, 1, 99);
  s.ParticleCount = Clamp(s.ParticleCount, 10, 9999);
  s.TrailLength = Clamp(s.TrailLength, 1, 99);
  s.FireSymmetry = ClampSingle(s.FireSymmetry, 0.0f, 1.0f);
  s.EmitSpeed = ClampSingle(s.EmitSpeed, 0.1f, 99.9f);
  s.Persistence = ClampSingle(s.Persistence, 0.25f, 0.99f);
  s.Gravity = ClampSingle(s.Gravity, 0.0f, 9.9f);
  s.Gravity = static_cast<float>(s.Gravity * 0.005);
  s.ExtentMagnitude = Clamp(s.ExtentMagnitude, 1, 99);
  s.Damping = ClampSingle(s.Damping, 0.0f, 1.0f);
  s.Damping = static_cast<float>((1.0f - s.Damping) * 0.5 + 0.5);  // the per-frame velocity factor
  ClampIntegers(0, 100, s.FireSplinePct, s.FireMultiPct, s.FireBurstPct, s.FireSparkPct, s.FireRingPct,
                s.FireTwistPct, s.FireDecayPct, s.FireScintPct, s.FireLaunchPct);
  s.FireSplineKnot = Clamp(s.FireSplineKnot, 4, 99);
  ClampIntegers(5, 99, s.FireMultiAge, s.FireBurstAge, s.FireSparkAge);
  ClampIntegers(1, 99, s.FireMultiBurst, s.FireBurstCount, s.FireRingEmb, s.FireTwistCnt, s.FireDecayCnt);
  s.FireSparkPix = Clamp(s.FireSparkPix, 1, 30);
  s.FireRingDeg = Clamp(s.FireRingDeg, 0, 180);
  s.FireTwistDeg = Clamp(s.FireTwistDeg, 0, 90);
  s.FireScintStyle = Clamp(s.FireScintStyle, 1, 9);
  s.FireBurstRadius = ClampSingle(s.FireBurstRadius, 0.25f * 0.0025f, 99.9f * 0.0025f);
  s.FireLaunchRadius = ClampSingle(s.FireLaunchRadius, 0.25f * 0.0025f, 99.9f * 0.0025f);
  s.FireTwistRad = ClampSingle(s.FireTwistRad, 0.1f * 0.0025f, 99.9f * 0.0025f);
  s.FireTwistExt = ClampSingle(s.FireTwistExt, 0.25f * 0.0025f, 999.9f * 0.0025f);
  s.FireDecayMSize = std::nearbyint(ClampSingle(s.FireDecayMSize, 1.0f, 9999.0f));
  s.FireDecayMLife = Clamp(s.FireDecayMLife, 5, 999);
  s.FireLaunchPixel = Clamp(s.FireLaunchPixel, 10, 999);
  s.FireLaunchSteps = Clamp(s.FireLaunchSteps, 1, 999);
  s.FireLaunchPersist = ClampSingle(s.FireLaunchPersist, 0.25f, 0.99f);
}

void FireworksEngine::Setup(Context& ctx) {
  EffectSettings& S = ctx.settings;
  if (clampSettings_) ClampFireworksSettings(S);
  FireworksState& st = state_;
  st = FireworksState{};
  st.Allocate(S.FireWorks, S.ParticleCount, S.FireRingEmb);
  // A launch trail uses the first sparks of its shell's block and must stay inside it.
  st.launchPixels = std::clamp<int32_t>(S.FireLaunchPixel, 0, st.sparksPerShell);
  // The spline shape's knots reach index FireSplineKnot, whatever the loader sized them for.
  const size_t knots = static_cast<size_t>(std::max<int16_t>(S.FireSplineKnot, 4)) + 1;
  S.FireKnotX.assign(knots, 0.0f);
  S.FireKnotY.assign(knots, 0.0f);
  S.FireKnotZ.assign(knots, 0.0f);
  st.JetDamping = 1.0f - (1.0f - S.Damping) * 0.2f;
  st.DecayScale = S.FireDecayMLife != 0
                      ? static_cast<float>(S.FireDecayMSize * S.FocalLength / S.FireDecayMLife * 0.01)
                      : 0.0f;
  if (ctx.surface == nullptr) return;  // nowhere to draw: nothing starts
  for (int32_t s = 0; s < st.shells; ++s) {
    st.ShellState[static_cast<size_t>(s)] = kShellStandard;
    st.StartDelay[static_cast<size_t>(s)] = 0;
    NewShell(ctx, st, s);
  }
}

void FireworksEngine::Step(Context& ctx) {
  FireworksState& st = state_;
  if (ctx.surface == nullptr) return;
  const double stagger = st.sparksPerShell / 32.0;
  for (int32_t s = 0; s < st.shells; ++s) {
    const size_t i = static_cast<size_t>(s);
    // Shell s starts about s * ParticleCount / 32 frames after shell 0.
    if (s * stagger > st.StartDelay[i]) {
      CountUp(st.StartDelay[i]);
      continue;
    }
    CountUp(st.ShellAge[i]);
    switch (st.ShellState[i]) {
      case kShellRising: UpdateRisingShell(ctx, st, s); break;
      case kShellStandard: UpdateStandardBurst(ctx, st, s); break;
      case kShellScintillator: UpdateScintillator(ctx, st, s); break;
      case kShellMultiBurst: UpdateMultiBurst(ctx, st, s); break;
      case kShellJet: UpdateJetBurst(ctx, st, s); break;
      case kShellSparkle: UpdateSparkle(ctx, st, s); break;
      case kShellTwister: UpdateTwister(ctx, st, s); break;
      case kShellDecayStars: UpdateDecayStars(ctx, st, s); break;
      case kShellGlitter: UpdateGlitter(ctx, st, s); break;
      default: break;
    }
  }
}

int FireworksEngine::ParticleCount() const {
  int live = 0;
  for (uint8_t a : state_.Alive) live += a != 0;
  return live;
}

bool FireworksEngine::AllShellsIdle() const {
  return std::all_of(state_.ShellState.begin(), state_.ShellState.end(),
                     [](int16_t v) { return v == kShellIdle; });
}

std::unique_ptr<Engine> RunFireworks() { return std::make_unique<FireworksEngine>(true); }
std::unique_ptr<Engine> FireworksLoop() { return std::make_unique<FireworksEngine>(false); }

}  // namespace qsrn
