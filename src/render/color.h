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

}  // namespace qsrn
