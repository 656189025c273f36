// The properties form's rules; see properties_rules.h.
#include "forms/properties_rules.h"

#include <algorithm>
#include <array>
#include <utility>

#include "render/color.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

// The burst types' shares, visited in this order when one of them changes.
constexpr std::array<std::string_view, 7> kBurstPercents = {"FireScintPct", "FireMultiPct", "FireBurstPct",
                                                            "FireSparkPct", "FireRingPct",  "FireTwistPct",
                                                            "FireDecayPct"};
// Pairs whose sum stays at most 100: when one changes, the other gives way.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kSharedHundreds = {
    {{"FireSplinePct", "FirePatternPct"}, {"ColorPctInt", "ColorPctHue"}, {"Star_Comet_Percent", "Star_Dyson_Percent"}}};
// Count per unit against the units, their product at most 30000.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kSparkCaps = {
    {{"FireWorks", "FireSparks"}, {"Warp_Works", "Warp_Sparks"}}};

constexpr std::array<std::string_view, 4> kSwatchKeys = {"ColorRed", "ColorGrn", "ColorBlu", "Galaxy_HWheelIdx"};

}  // namespace

void ApplyCrossFieldRules(std::string_view key, const RuleFields& f) {
  for (const auto& [units, count] : kSparkCaps)
    if (key == units || key == count) f.set(count, Clamp(f.number(count), 1, IntDiv(30000, std::max(f.number(units), 1.0))));
  for (const auto& [a, b] : kSharedHundreds) {
    if (key == a) f.set(b, Clamp(f.number(b), 0, 100 - f.number(a)));
    if (key == b) f.set(a, Clamp(f.number(a), 0, 100 - f.number(b)));
  }
  if (key == "ColorHueWheel") f.set(key, Clamp(f.number(key), 0, 360));
  if (std::find(kBurstPercents.begin(), kBurstPercents.end(), key) != kBurstPercents.end()) {
    double taken = f.number(key);
    for (const std::string_view other : kBurstPercents) {
      if (other == key) continue;
      f.set(other, Clamp(f.number(other), 0, 100 - taken));
      taken += f.number(other);
    }
  }
}

bool PaintsSwatch(std::string_view key) {
  return std::find(kSwatchKeys.begin(), kSwatchKeys.end(), key) != kSwatchKeys.end();
}

bool ColourDistributionApplies(EffectIndex effect) {
  return effect == EffectIndex::Fireworks || effect == EffectIndex::Warp || effect == EffectIndex::Sparklers;
}

bool PixelSizeApplies(EffectIndex effect) {
  return effect != EffectIndex::Fireworks && effect != EffectIndex::Starfield;
}

int32_t HueShareSwatch(int field, double percent) {
  const int level = 2 * CInt(Clamp(percent, 0, 100)) + 55;
  return RGB(field == 0 ? level : 0, field == 1 ? level : 0, field == 2 ? level : 0);
}

int32_t GalaxyHueSwatch(double hue) { return HueToRGB(CInt(Clamp(hue, 0, 359))); }

}  // namespace qsrn
