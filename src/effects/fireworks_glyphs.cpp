// Glyph offset tables. Scintillator and carrier tables are cumulative (each row adds to the ones
// above it); sparkle patterns are complete lists, one per range of FireSparkPix.
#include "effects/fireworks_glyphs.h"

#include <cstddef>
#include <span>

#include "render/geometry.h"
#include "render/surface.h"

namespace qsrn {

namespace {

struct Offset {
  int8_t a, b;
};

// Rows of four offsets, row k added when n >= 5 + 4k.
constexpr Offset kScintillator[] = {
    {-1, 0}, {1, 0}, {0, -1}, {0, 1},          // 5
    {-2, 0}, {2, 0}, {0, -2}, {0, 2},          // 9
    {-4, -4}, {4, -4}, {-4, 4}, {4, 4},        // 13
    {-8, 0}, {8, 0}, {0, -8}, {0, 8},          // 17
    {-12, 0}, {12, 0}, {0, -12}, {0, 12},      // 21
    {-7, -7}, {7, -7}, {-7, 7}, {7, 7},        // 25
    {-16, 0}, {16, 0}, {0, -16}, {0, 16},      // 29
    {-11, -11}, {11, -11}, {-11, 11}, {11, 11},// 33
    {-25, 0}, {25, 0}, {0, -25}, {0, 25},      // 37
};

// Carrier and decay-star offsets in the order their rows add them.
constexpr Offset kCarrier[] = {
    {1, 0}, {-1, 0},                                    // 3
    {0, 1}, {0, -1},                                    // 5
    {1, 1}, {-1, 1}, {1, -1}, {-1, -1},                 // 9
    {2, 0}, {-2, 0}, {0, 2}, {0, -2},                   // 13
    {3, 0}, {-3, 0}, {0, 3}, {0, -3},                   // 17
    {4, 0}, {-4, 0}, {0, 4}, {0, -4},                   // 21
    {3, 3}, {-3, 3}, {3, -3}, {-3, -3},                 // 25
    {5, 0}, {-5, 0}, {0, 5}, {0, -5}, {8, 0}, {-8, 0}, {0, 8}, {0, -8},  // 33
};

// How many carrier offsets a glyph of n uses (besides the centre).
size_t CarrierOffsets(int n) {
  if (n <= 1) return 0;
  if (n == 2) return 1;  // the centre and (1, 0) only
  if (n < 5) return 2;
  if (n < 9) return 4;
  if (n < 13) return 8;
  if (n < 17) return 12;
  if (n < 21) return 16;
  if (n < 25) return 20;
  if (n < 33) return 24;
  return 32;
}

// Sparkle patterns, complete lists.
constexpr Offset kSparkle2[] = {{2, 0}};
constexpr Offset kSparkle3[] = {{-1, 1}, {1, 1}};
constexpr Offset kSparkle4[] = {{0, -2}, {0, 2}, {-2, 0}, {2, 0}};
constexpr Offset kSparkle6[] = {{-1, -1}, {1, -1}, {-2, 0}, {2, 0}, {-1, 1}, {1, 1}};
constexpr Offset kSparkle8[] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {-4, 0}, {4, 0}, {0, -4}, {0, 4}};
constexpr Offset kSparkle11[] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {-5, 0}, {5, 0},
                                 {-2, -3}, {2, -3}, {-2, 3}, {2, 3}};
constexpr Offset kSparkle13[] = {{-2, -2}, {2, -2}, {-2, 2}, {2, 2}, {-6, 0}, {6, 0},
                                 {0, -6},  {0, 6},  {-4, -4}, {4, -4}, {-4, 4}, {4, 4}};
constexpr Offset kSparkle15[] = {{-2, -2}, {2, -2}, {-2, 2}, {2, 2}, {-5, 0},  {5, 0},  {0, -5}, {0, 5},
                                 {-3, -3}, {3, -3}, {-3, 3}, {3, 3}, {-6, -6}, {6, -6}, {-6, 6}, {6, 6}};
constexpr Offset kSparkle19[] = {{-2, -2}, {2, -2}, {-2, 2}, {2, 2}, {-5, 0},  {5, 0},  {0, -5}, {0, 5},
                                 {-3, -3}, {3, -3}, {-3, 3}, {3, 3}, {-6, -6}, {6, -6}, {-6, 6}, {6, 6},
                                 {-8, 0},  {8, 0},  {0, -8}, {0, 8}};
constexpr Offset kSparkle23[] = {{-2, -2}, {2, -2}, {-2, 2}, {2, 2}, {-5, 0},  {5, 0},  {0, -5}, {0, 5},
                                 {-3, -3}, {3, -3}, {-3, 3}, {3, 3}, {-5, -5}, {5, -5}, {-5, 5}, {5, 5},
                                 {-6, -6}, {6, -6}, {-6, 6}, {6, 6}, {-9, 0},  {9, 0},  {0, -9}, {0, 9}};
constexpr Offset kSparkle27[] = {{-2, -2}, {2, -2}, {-2, 2}, {2, 2}, {-5, 0},   {5, 0},  {0, -5},  {0, 5},
                                 {-7, 0},  {7, 0},  {0, -7}, {0, 7}, {-3, -3},  {3, -3}, {-3, 3},  {3, 3},
                                 {-5, -5}, {5, -5}, {-5, 5}, {5, 5}, {-7, -7},  {7, -7}, {-7, 7},  {7, 7},
                                 {-11, 0}, {11, 0}, {0, -11}, {0, 11}};

std::span<const Offset> SparklePattern(int pix) {
  if (pix == 2) return kSparkle2;
  if (pix == 3) return kSparkle3;
  if (pix >= 4 && pix <= 5) return kSparkle4;
  if (pix >= 6 && pix <= 7) return kSparkle6;
  if (pix >= 8 && pix <= 10) return kSparkle8;
  if (pix >= 11 && pix <= 12) return kSparkle11;
  if (pix >= 13 && pix <= 14) return kSparkle13;
  if (pix >= 15 && pix <= 18) return kSparkle15;
  if (pix >= 19 && pix <= 22) return kSparkle19;
  if (pix >= 23 && pix <= 26) return kSparkle23;
  if (pix >= 27 && pix <= 30) return kSparkle27;
  return {};  // 1, and anything above 30: the centre only
}

void DrawGlyph(Context& ctx, int32_t sx, int32_t sy, float u, std::span<const Offset> offsets, int32_t colour) {
  Surface& surface = *ctx.surface;
  surface.SetPixel(sx, sy, colour);
  for (const Offset& o : offsets) {
    const float du = static_cast<float>(o.a) * u;
    const float dv = static_cast<float>(o.b) * u;
    // Off the surface when too large for a Long, as the projection does; never column or row 0.
    surface.SetPixel(ScreenCoord(sx + static_cast<double>(du)), ScreenCoord(sy + static_cast<double>(dv)), colour);
  }
}

}  // namespace

void DrawScintillator(Context& ctx, int32_t sx, int32_t sy, float z, int n, int32_t colour) {
  const float u = ctx.settings.FocalLength / z;
  size_t count = 0;
  if (n >= 5 && n <= 37 && (n - 5) % 4 == 0) count = static_cast<size_t>(n - 1);
  DrawGlyph(ctx, sx, sy, u, std::span<const Offset>(kScintillator).first(count), colour);
}

void DrawSparkle(Context& ctx, int32_t sx, int32_t sy, float z, int32_t colour) {
  const float u = ctx.settings.FocalLength / z;
  DrawGlyph(ctx, sx, sy, u, SparklePattern(ctx.settings.FireSparkPix), colour);
}

void DrawCarrier(Context& ctx, int32_t sx, int32_t sy, float z, int n, int32_t colour) {
  const float u = ctx.settings.FocalLength / z;
  DrawGlyph(ctx, sx, sy, u, std::span<const Offset>(kCarrier).first(CarrierOffsets(n)), colour);
}

void DrawDecayStar(Context& ctx, int32_t sx, int32_t sy, float z, int life, int n, int32_t colour,
                   float decayScale) {
  const float u = static_cast<float>(life) / z * decayScale;
  DrawGlyph(ctx, sx, sy, u, std::span<const Offset>(kCarrier).first(CarrierOffsets(n)), colour);
}

}  // namespace qsrn
