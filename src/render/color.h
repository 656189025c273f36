// The hue wheel and the colour tables built on it. Every wheel colour has each channel
// between 55 and 255; colours are 0x00BBGGRR.
#pragma once

#include <cstdint>

#include "render/context.h"

namespace qsrn {

inline int32_t RGB(int32_t r, int32_t g, int32_t b) {
  auto ch = [](int32_t c) { return c > 255 ? 255 : (c < 0 ? 0 : c); };
  return ch(r) | (ch(g) << 8) | (ch(b) << 16);
}
inline int32_t RedOf(int32_t c) { return c & 0xFF; }
inline int32_t GreenOf(int32_t c) { return (c >> 8) & 0xFF; }
inline int32_t BlueOf(int32_t c) { return (c >> 16) & 0xFF; }

int32_t HueToRGB(int32_t hue);
void BuildHueTable(ColorTables& tables);
void BuildAgeRamp(ColorTables& tables);  // needs HueTable built first

// The colour of one particle; one random draw. FixedHues: the fixed mix at random intensity.
// Otherwise base 0: a random wheel colour; hue 0: base at random intensity; else a wheel colour
// from 30 degrees below hue up to ColorHueWheel - 31 above it.
int32_t PickColor(Context& ctx, int32_t base, int32_t hue);

// color when keep is set, otherwise PickColor(color, hue).
int32_t ColorOrKeep(Context& ctx, bool keep, int32_t color, int32_t hue);

// How a group of particles is coloured (by ColorPctInt and ColorPctHue): a random intensity of
// one colour (hue 0), hue variation around hue (1..360), or one solid colour (keep).
// The engine then colours each particle with ColorOrKeep(keep, color, hue).
void ChooseColorScheme(Context& ctx, int32_t& color, bool& keep, int16_t& hue);

// Step k of a straight blend from fromColor to toColor in Star_Dyson_LatPixels + 1 steps.
int32_t BlendColor(const Context& ctx, int32_t fromColor, int32_t toColor, int32_t k);

}  // namespace qsrn
