// The burst types besides the standard one: scintillator, multi-burst with its carriers and
// second stage, jets with invisible heads and white followers, sparkle with its glitter phase,
// ring or disk, twister and decay stars. Heads are the sparks first, first + Stride, ... of the
// shell's block; in jets and twisters the Stride - 1 sparks after each head follow it.
#pragma once

#include "effects/fireworks_state.h"

namespace qsrn {

void SetupScintillator(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);
void UpdateScintillator(Context& ctx, FireworksState& st, int32_t s);

void SetupMultiBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);
void UpdateMultiBurst(Context& ctx, FireworksState& st, int32_t s);

void SetupJetBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);
void UpdateJetBurst(Context& ctx, FireworksState& st, int32_t s);

void SetupSparkle(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);
void UpdateSparkle(Context& ctx, FireworksState& st, int32_t s);
void UpdateGlitter(Context& ctx, FireworksState& st, int32_t s);

// Ring or disk: sparks leave near the equators of FireRingEmb randomly tilted rings; the shell
// then runs as a standard burst.
void SetupRingBurst(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);

void SetupTwister(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);
void UpdateTwister(Context& ctx, FireworksState& st, int32_t s);

void SetupDecayStars(Context& ctx, FireworksState& st, int32_t s, const BurstParams& b);
void UpdateDecayStars(Context& ctx, FireworksState& st, int32_t s);

// The second stage of a multi-burst (from its live carriers) or of a jet burst (from its heads
// still on screen): small standard bursts with trails, all from one colour scheme.
void SecondaryBurst(Context& ctx, FireworksState& st, int32_t s, bool fromCarriers);

// The point a twister's followers are reborn at: it circles the head by FireTwistDeg degrees a
// frame at distance FireTwistExt, the distance growing from 0 over the first 36 degrees.
void TwisterEmitPoint(const Context& ctx, float x, float y, float z, float& prevX, float& prevY,
                      float& prevZ, float& angle, float& outX, float& outY, float& outZ);

}  // namespace qsrn
