// Shells: NewShell (launch or burst, type by percentage, shape, size, colours, sound), the rising
// shell and the standard burst with its eraser trails.
#include "effects/fireworks_shells.h"

#include <algorithm>
#include <cmath>

#include "effects/fireworks_bursts.h"
#include "effects/fireworks_shapes.h"
#include "render/color.h"
#include "render/sound.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

// Integer results that could only leave the 16-bit range with settings nobody can enter stop at
// its ends instead of wrapping.
int16_t ToInteger(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

// Strides step through the shell's block; a count above ParticleCount would make one 0.
int16_t HeadStride(int32_t v) { return ToInteger(std::max<int32_t>(v, 1)); }

// How a bursting shell is set up, as chosen from the percentages.
struct BurstChoice {
  int16_t state = kShellStandard;
  int16_t stride = 1;
  int32_t liveCount = 0;
  int16_t trailFrames = 1;
  int slot = kSoundStandard;
};

// The stride and counts of a burst type, as its table row gives them.
BurstChoice ChoiceOf(Context& ctx, int16_t state, int slot) {
  const EffectSettings& S = ctx.settings;
  const int32_t pc = S.ParticleCount;
  BurstChoice c;
  c.state = state;
  c.slot = slot;
  bool followers = false;  // jets and twisters: the Stride - 1 sparks after each head follow it
  switch (state) {
    case kShellScintillator:
      c.stride = HeadStride(CInt(Int(ctx.Rnd() * static_cast<float>(S.FireScintStyle)) * 4 + 5));
      break;
    case kShellMultiBurst: c.stride = HeadStride(IntDiv(pc, S.FireMultiBurst)); break;
    case kShellJet:
      c.stride = HeadStride(IntDiv(pc, S.FireBurstCount));
      followers = true;
      break;
    case kShellSparkle: c.stride = HeadStride(S.FireSparkPix); break;
    case kShellTwister:
      c.stride = HeadStride(IntDiv(pc, S.FireTwistCnt));
      followers = true;
      break;
    case kShellDecayStars: c.stride = HeadStride(IntDiv(pc, S.FireDecayCnt)); break;
    default:  // standard and ring bursts: every spark, with trails
      c.liveCount = pc;
      c.trailFrames = StandardTrailFrames(ctx);
      return c;
  }
  c.liveCount = followers ? IntDiv(pc, c.stride) * (c.stride - 1) : IntDiv(pc, c.stride);
  return c;
}

struct TypeRow {
  int16_t EffectSettings::*pct;
  int16_t state;
  int slot;
};
constexpr TypeRow kBurstTypes[] = {
    {&EffectSettings::FireScintPct, kShellScintillator, kSoundScintil},
    {&EffectSettings::FireMultiPct, kShellMultiBurst, kSoundMultiBurst},
    {&EffectSettings::FireBurstPct, kShellJet, kSoundJetBurst},
    {&EffectSettings::FireSparkPct, kShellSparkle, kSoundSparkle},
    {&EffectSettings::FireRingPct, kShellRingSetup, kSoundRingDisk},
    {&EffectSettings::FireTwistPct, kShellTwister, kSoundTwister},
    {&EffectSettings::FireDecayPct, kShellDecayStars, kSoundDecayStar},
};

// r1 against running 16-bit sums of the percentages in table order, the first match winning;
// otherwise a standard burst.
BurstChoice ChooseBurstType(Context& ctx) {
  const float r1 = ctx.Rnd() * 100.0f;
  int16_t sum = 0;
  for (const TypeRow& row : kBurstTypes) {
    sum = ToInteger(int32_t{sum} + ctx.settings.*row.pct);
    if (r1 < static_cast<float>(sum)) return ChoiceOf(ctx, row.state, row.slot);
  }
  return ChoiceOf(ctx, kShellStandard, kSoundStandard);
}

// A new shell rises from the bottom edge of the screen at its depth towards a random height.
void StartRise(Context& ctx, FireworksState& st, size_t i, BurstParams& b) {
  const EffectSettings& S = ctx.settings;
  const float steps = static_cast<float>(std::max<int16_t>(S.FireLaunchSteps, 1));
  const float bx = std::clamp(static_cast<float>(st.ShellX[i] + ctx.Rnd() * 0.25 - 0.125), -0.9f, 0.9f);
  st.LaunchStepX[i] = (st.ShellX[i] - bx) / steps;
  st.ShellY[i] = static_cast<float>(ctx.Rnd() * 1.25 - 0.925);
  st.LaunchStepY[i] = (st.ShellY[i] - st.ShellZ[i] * S.FocalLengthInverse) / steps;
  st.LaunchStepZ[i] = static_cast<float>((S.FocalLength + 0.5 - st.ShellZ[i]) / steps * 2.0);
  st.ShellX[i] = bx;
  st.ShellY[i] = st.ShellZ[i] * S.FocalLengthInverse;
  st.LiveCount[i] = ToInteger(st.launchPixels);
  st.TrailFrames[i] = 1;
  b.BurstSize = 1.0f;
  b.BurstShape = 0;
}

}  // namespace

int16_t StandardTrailFrames(Context& ctx) {
  const int16_t length = ctx.settings.TrailLength;
  const int32_t m = std::max<int32_t>(1, CInt(length > 0 ? std::log(static_cast<double>(length)) : 0.0));
  // At least one frame, so that every eraser's countdown ends.
  return ToInteger(std::max<int32_t>(1, CInt(Int(ctx.Rnd() * static_cast<float>(length)) + m)));
}

void RollBurstShape(Context& ctx, BurstParams& b) {
  const EffectSettings& S = ctx.settings;
  const float r2 = ctx.Rnd() * 100.0f;
  if (r2 < static_cast<float>(S.FireSplinePct)) {
    b.BurstShape = 1;
  } else if (r2 < static_cast<float>(int32_t{S.FireSplinePct} + S.FirePatternPct)) {
    b.BurstShape = 2;
    b.PatternIndex = static_cast<int16_t>(Int(ctx.Rnd() * 4.0f));
  } else {
    b.BurstShape = 0;
  }
}

int32_t SparkColour(Context& ctx, const BurstParams& b) { return ColorOrKeep(ctx, b.keep, b.color, b.hue); }

void RestartShell(Context& ctx, FireworksState& st, int32_t s) {
  st.ShellState[static_cast<size_t>(s)] = kShellStandard;
  NewShell(ctx, st, s);
}

void NewShell(Context& ctx, FireworksState& st, int32_t s) {
  const size_t i = static_cast<size_t>(s);
  if (st.draining) {
    st.ShellState[i] = kShellIdle;
    return;
  }
  const EffectSettings& S = ctx.settings;
  // A shell that has just finished rising keeps its position and bursts there.
  if (st.ShellState[i] != kShellRising) {
    st.ShellX[i] = static_cast<float>(ctx.Rnd() * 1.8 - 0.9);
    st.ShellY[i] = static_cast<float>(ctx.Rnd() * 1.8 - 0.9);
    st.ShellZ[i] = ctx.Rnd() + S.FocalLength;
  }
  st.ShellAge[i] = 0;
  const float r = ctx.Rnd() * 100.0f;
  BurstParams b;
  int slot = kSoundLaunch;
  if (st.ShellState[i] == kShellStandard && r < static_cast<float>(S.FireLaunchPct)) {
    st.ShellState[i] = kShellRising;
    StartRise(ctx, st, i, b);
  } else {
    const BurstChoice c = ChooseBurstType(ctx);
    st.ShellState[i] = c.state;
    st.Stride[i] = c.stride;
    st.LiveCount[i] = ToInteger(c.liveCount);
    st.TrailFrames[i] = c.trailFrames;
    slot = c.slot;
    RollBurstShape(ctx, b);
    b.BurstSize = static_cast<float>((static_cast<float>(S.ExtentMagnitude - 1) * ctx.Rnd() + 1.0f) * 0.0025);
    if (b.BurstShape == 1) MakeSplineKnots(ctx, st.ShellX[i], st.ShellY[i], st.ShellZ[i]);
  }
  ChooseColorScheme(ctx, b.color, b.keep, b.hue);
  PlaySoundSlot(ctx, slot);
  switch (st.ShellState[i]) {
    case kShellRising: SetupRisingShell(ctx, st, s); break;
    case kShellStandard: SetupStandardBurst(ctx, st, s, b); break;
    case kShellScintillator: SetupScintillator(ctx, st, s, b); break;
    case kShellMultiBurst: SetupMultiBurst(ctx, st, s, b); break;
    case kShellJet: SetupJetBurst(ctx, st, s, b); break;
    case kShellSparkle: SetupSparkle(ctx, st, s, b); break;
    case kShellRingSetup:
      SetupRingBurst(ctx, st, s, b);
      st.ShellState[i] = kShellStandard;
      break;
    case kShellTwister: SetupTwister(ctx, st, s, b); break;
    case kShellDecayStars: SetupDecayStars(ctx, st, s, b); break;
    default: break;
  }
}

void SetupRisingShell(Context& ctx, FireworksState& st, int32_t s) {
  const size_t i = static_cast<size_t>(s);
  const int32_t first = st.First(s);
  for (int32_t j = first; j < first + st.launchPixels; ++j) {
    st.X[j] = st.ShellX[i];
    st.Y[j] = st.ShellY[i];
    st.Z[j] = st.ShellZ[i];
    SphereVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], ctx.settings.FireLaunchRadius);
    st.Alive[j] = 1;
    st.Colour[j] = kWhite;
  }
}

void UpdateRisingShell(Context& ctx, FireworksState& st, int32_t s) {
  const EffectSettings& S = ctx.settings;
  const size_t i = static_cast<size_t>(s);
  const int16_t age = st.ShellAge[i];
  if (age <= S.FireLaunchSteps) {
    st.ShellX[i] += st.LaunchStepX[i];
    st.ShellY[i] += st.LaunchStepY[i];
    st.ShellZ[i] += st.LaunchStepZ[i];
  }
  const bool arrived = age >= S.FireLaunchSteps;
  const int32_t first = st.First(s);
  for (int32_t j = first; j < first + st.launchPixels; ++j) {
    ScreenPoint p;
    if (st.Alive[j]) {
      Plot(ctx, ProjectSpark(ctx, st, j), 0);
      MoveSpark(st, j);
      p = ProjectSpark(ctx, st, j);
      const bool dead = (ctx.Rnd() > S.FireLaunchPersist) | !OnScreen(ctx, p);
      if (dead) {
        if (arrived) {
          st.Alive[j] = 0;
          st.LiveCount[i] -= 1;
        } else {
          // Until the shell arrives its trail sparks are reborn at the moving shell.
          st.X[j] = st.ShellX[i];
          st.Y[j] = st.ShellY[i];
          st.Z[j] = st.ShellZ[i];
          SphereVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], S.FireLaunchRadius);
          p = ProjectSpark(ctx, st, j);
        }
      }
    }
    if (st.Alive[j]) {
      Plot(ctx, p, st.Colour[j]);
      SparkPhysics(ctx, st, j);
    }
  }
  if (arrived && st.LiveCount[i] <= 0) NewShell(ctx, st, s);  // still state 0: it bursts here
}

void SetupStandardBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b) {
  const size_t i = static_cast<size_t>(s);
  const float cx = st.ShellX[i], cy = st.ShellY[i], cz = st.ShellZ[i];
  const int32_t first = st.First(s);
  for (int32_t j = first; j < first + st.sparksPerShell; ++j) {
    st.X[j] = cx;
    st.Y[j] = cy;
    st.Z[j] = cz;
    const float speed = RandomBurstSpeed(ctx, b.BurstSize);
    BurstVelocity(ctx, st.VX[j], st.VY[j], st.VZ[j], cx, cy, cz, speed, b.BurstShape, b.PatternIndex,
                  b.BurstSize, false);
    CopyToEraser(st, j);
    st.HeadAge[j] = 0;
    st.Alive[j] = 1;
    st.TailActive[j] = 0;
    st.Colour[j] = SparkColour(ctx, b);
  }
}

void UpdateStandardBurst(Context& ctx, FireworksState& st, int32_t s) {
  const EffectSettings& S = ctx.settings;
  const size_t i = static_cast<size_t>(s);
  const int16_t trail = st.TrailFrames[i];
  const int32_t first = st.First(s);
  for (int32_t j = first; j < first + st.sparksPerShell; ++j) {
    if (st.Alive[j]) {
      MoveSpark(st, j);
      CountUp(st.HeadAge[j]);
      const ScreenPoint p = ProjectSpark(ctx, st, j);
      const bool dead = (ctx.Rnd() > S.Persistence) | !OnScreen(ctx, p);
      if (st.HeadAge[j] == trail || dead) st.TailActive[j] = 1;
      if (dead) {
        st.Alive[j] = 0;
        st.TailCountdown[j] = trail;
      } else {
        if (InFront(st.Z[j])) Plot(ctx, p, st.Colour[j]);
        SparkPhysics(ctx, st, j);
      }
    }
    if (st.TailActive[j]) {
      // The eraser retraces the spark's path TrailFrames behind it.
      Plot(ctx, ProjectTail(ctx, st, j), 0);
      if (!st.Alive[j]) {
        st.TailCountdown[j] -= 1;
        if (st.TailCountdown[j] == 0) {
          st.TailActive[j] = 0;
          st.LiveCount[i] -= 1;
        }
      }
      MoveTail(st, j);
      TailPhysics(ctx, st, j);
    }
  }
  if (st.LiveCount[i] == 0) RestartShell(ctx, st, s);
}

}  // namespace qsrn
