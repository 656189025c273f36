// The hue wheel and the age ramp.
#include "render/color.h"

#include <cmath>

#include "settings/numeric.h"

namespace qsrn {

int32_t HueToRGB(int32_t h) {
  if (h < 0 || h >= 360) return 0;
  // The step constant is the decimal 0.0166666, not 1/60: the rising channel lands one lower.
  const float f = static_cast<float>(h % 60) * 0.0166666f;
  const auto up = static_cast<int32_t>(std::floor(200.0 * f + 55.0));
  const auto down = static_cast<int32_t>(std::floor((1.0 - f) * 200.0 + 55.0));
  if (h < 60) return RGB(255, up, 55);
  if (h < 120) return RGB(down, 255, 55);
  if (h < 180) return RGB(55, 255, up);
  if (h < 240) return RGB(55, down, 255);
  if (h < 300) return RGB(up, 55, 255);
  return RGB(255, 55, down);
}

void BuildHueTable(ColorTables& tables) {
  for (int h = 0; h < 360; ++h) tables.HueTable[h] = HueToRGB(h);
}

namespace {
int32_t Scale(int32_t color, float k) {
  return RGB(CLng(RedOf(color) * static_cast<double>(k)), CLng(GreenOf(color) * static_cast<double>(k)),
             CLng(BlueOf(color) * static_cast<double>(k)));
}
}  // namespace

void BuildAgeRamp(ColorTables& tables) {
  constexpr int kWhiteSpan = 25;   // 100 * 0.25
  constexpr int kWheelEnd = 94;    // 100 - 100 * 0.05 - 1
  for (int i = 0; i < kWhiteSpan; ++i)
    tables.AgeRamp[i] = RGB(CLng(255.0 - i / 24.0 * 255.0), 255, 255);
  float factor = 1.0f;
  for (int i = kWhiteSpan; i <= kWheelEnd; ++i) {
    const int j = i - kWhiteSpan;
    const int32_t wheel = CLng(180.0 - j / ((1.0 - 0.25 - 0.05) * 100.0) * 180.0);
    factor = static_cast<float>((150.0 - i + 25.0) / 150.0);
    tables.AgeRamp[i] = Scale(tables.HueTable[((wheel % 360) + 360) % 360], factor);
  }
  for (int i = kWheelEnd + 1; i < 100; ++i) {
    const float k = static_cast<float>((100.0 - i) / (100.0 * 0.05 + 1.0) * factor);
    tables.AgeRamp[i] = Scale(tables.HueTable[0], k);
  }
}

}  // namespace qsrn
