// Shells of the fireworks: starting a shell anew (rise from the bottom edge, or burst at once as
// one of eight types), the rising shell with its trail of reborn sparks, and the standard burst,
// whose sparks draw trails that an eraser, replaying each spark's motion a few frames behind,
// blacks out again.
#pragma once

#include "effects/fireworks_state.h"

namespace qsrn {

// Starts shell s again: a new position (unless it has just risen), launch or burst type, shape,
// size, colour scheme and sound, then the set-up of its sparks.
void NewShell(Context& ctx, FireworksState& st, int32_t s);

// Shape roll shared by NewShell and SecondaryBurst: spline path, pattern (with its index) or sphere.
void RollBurstShape(Context& ctx, BurstParams& b);

// The standard trail rule: Max(1, CInt(Ln(TrailLength))) plus a random part below TrailLength.
int16_t StandardTrailFrames(Context& ctx);

void SetupRisingShell(Context& ctx, FireworksState& st, int32_t s);
void UpdateRisingShell(Context& ctx, FireworksState& st, int32_t s);

void SetupStandardBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);
void UpdateStandardBurst(Context& ctx, FireworksState& st, int32_t s);

// Ends a burst: the shell starts again with state 1 (a new position, maybe a new rise).
void RestartShell(Context& ctx, FireworksState& st, int32_t s);

// The colour of one spark under the burst's scheme.
int32_t SparkColour(Context& ctx, const BurstParams& b);

}  // namespace qsrn
