// The small pixel patterns that stand in for single sparks in some bursts: scintillator stars,
// sparkles (glitter), multi-burst carriers and decay stars. Each writes the centre pixel, then its
// offsets, each offset (a, b) scaled by the glyph's unit u. Erasing is the same call in black.
#pragma once

#include <cstdint>

#include "render/context.h"

namespace qsrn {

// u = FocalLength / z; only n = 5, 9, ..., 37 draw more than the centre, and then n pixels.
void DrawScintillator(Context& ctx, int32_t sx, int32_t sy, float z, int n, int32_t colour);
// u = FocalLength / z; the pattern is chosen by FireSparkPix.
void DrawSparkle(Context& ctx, int32_t sx, int32_t sy, float z, int32_t colour);
// u = FocalLength / z; the pattern grows with n (the shell's Stride).
void DrawCarrier(Context& ctx, int32_t sx, int32_t sy, float z, int n, int32_t colour);
// u = life / z * DecayScale, so the star shrinks to a point as its life runs out.
void DrawDecayStar(Context& ctx, int32_t sx, int32_t sy, float z, int life, int n, int32_t colour,
                   float decayScale);

}  // namespace qsrn
