// The properties form's rules between fields and per effect, without a toolkit:
//  - the sparks per shell (or per spline) are kept at most 30000 \ the shells and at least 1;
//  - pairs of shares (spline path and pattern, intensity and hue wheel, comets and spheres) keep
//    their sum at most 100: the other one gives way;
//  - the seven burst shares keep their total at most 100, the one just edited wins and the others
//    give way in a fixed order; the hue variation stays within 0 - 360;
//  - the colour distribution applies to Fireworks, Warp and Sparklers only, the pixel size to
//    every effect but Fireworks and Starfield;
//  - the colour swatches beside the hue fields.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "effects/engine.h"

namespace qsrn {

// A field's number (its text read with "0" in front) and writing a rule's result into a field.
struct RuleFields {
  std::function<double(std::string_view key)> number;
  std::function<void(std::string_view key, double value)> set;
};

// Applies every rule that key's change sets off.
void ApplyCrossFieldRules(std::string_view key, const RuleFields& fields);
// Whether a key's change repaints a swatch.
bool PaintsSwatch(std::string_view key);

bool ColourDistributionApplies(EffectIndex effect);
bool PixelSizeApplies(EffectIndex effect);

// The swatch of hue field 0..2 (red, green, blue share) at share percent; the galaxy's initial
// hue swatch at hue.
int32_t HueShareSwatch(int field, double percent);
int32_t GalaxyHueSwatch(double hue);

}  // namespace qsrn
