// The hue wheel, the age ramp, and the routines that pick particle colours from them.
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
// The wheel colour at any whole-degree index, wrapped into 0..359.
int32_t WheelAt(const ColorTables& tables, int32_t index) {
  return tables.HueTable[static_cast<size_t>(((index % 360) + 360) % 360)];
}

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
    tables.AgeRamp[i] = Scale(WheelAt(tables, wheel), factor);
  }
  for (int i = kWheelEnd + 1; i < 100; ++i) {
    const float k = static_cast<float>((100.0 - i) / (100.0 * 0.05 + 1.0) * factor);
    tables.AgeRamp[i] = Scale(tables.HueTable[0], k);
  }
}

int32_t PickColor(Context& ctx, int32_t base, int32_t hue) {
  const EffectSettings& s = ctx.settings;
  const float r = ctx.Rnd();
  if (s.FixedHues) {
    auto channel = [r](int16_t mix) { return static_cast<int32_t>(std::floor(2.0 * r * mix + 55.0)); };
    return RGB(channel(s.ColorRed), channel(s.ColorGrn), channel(s.ColorBlu));
  }
  if (base == 0) return WheelAt(ctx.colors, static_cast<int32_t>(std::floor(r * 360.0)));
  if (hue == 0) {
    auto dim = [r](int32_t c) { return static_cast<int32_t>(std::floor(c * static_cast<double>(r))); };
    return RGB(dim(RedOf(base)), dim(GreenOf(base)), dim(BlueOf(base)));
  }
  return WheelAt(ctx.colors, static_cast<int32_t>(std::floor(s.ColorHueWheel * static_cast<double>(r))) + hue + 330);
}

int32_t ColorOrKeep(Context& ctx, bool keep, int32_t color, int32_t hue) {
  return keep ? color : PickColor(ctx, color, hue);
}

void ChooseColorScheme(Context& ctx, int32_t& color, bool& keep, int16_t& hue) {
  const float p = ctx.Rnd() * 100.0f;
  const EffectSettings& s = ctx.settings;
  if (s.ColorPctInt > p) {
    color = PickColor(ctx, 0, 0);
    keep = false;
    hue = 0;
  } else if (s.ColorPctInt + s.ColorPctHue > p) {
    color = PickColor(ctx, 0, 0);
    keep = false;
    hue = static_cast<int16_t>(std::floor(360.0 * ctx.Rnd()) + 1);
  } else {
    color = PickColor(ctx, 0, 0);
    keep = true;
    hue = 0;
  }
}

// Red is rounded on its own; green and blue are blended in place (times 256 or 65536), rounded,
// then cut back toward zero, so a half step lands differently on red than on the others.
int32_t BlendColor(const Context& ctx, int32_t fromColor, int32_t toColor, int32_t k) {
  const int32_t steps = ctx.settings.Star_Dyson_LatPixels + 1;
  const float t = steps != 0 ? static_cast<float>(k) / static_cast<float>(steps) : 0.0f;
  const int32_t red = CLng((RedOf(toColor) - RedOf(fromColor)) * static_cast<double>(t)) + RedOf(fromColor);
  const int32_t greenDiff = (toColor & 0xFF00) - (fromColor & 0xFF00);
  const int32_t blueDiff = (toColor & 0xFF0000) - (fromColor & 0xFF0000);
  const int32_t green = CLng(static_cast<float>(greenDiff) * t) / 256 + GreenOf(fromColor);
  const int32_t blue = CLng(static_cast<float>(blueDiff) * t) / 65536 + BlueOf(fromColor);
  return RGB(red, green, blue);
}

}  // namespace qsrn
