// Every numeric key stored below its range, above it and as text that is not a number, one key at
// a time, through the loaders and the engine's set-up: the value the engine then runs with. By
// default a stored value ends at the nearest end of the key's range and text reads as the factory
// value; the table lists where the engine keeps other bounds or works in other units.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <variant>

#include "engine_rig.h"
#include "settings/catalogue.h"
#include "settings/numeric.h"

namespace qsrn {
namespace {

using testing::FieldValue;

// The values used for a store below / above the range, where not simply the range's nearest end.
using Used = std::pair<double, double>;
const std::map<std::string, Used>& Exceptions() {
  static const std::map<std::string, Used> table = {
      // Fireworks: shells x sparks at most 30000, a launch trail no longer than a shell's sparks;
      // radii and gravity in scene units, damping as the per-frame velocity factor.
      {"FireSparks", {10, 1500}}, {"FireLaunchPixel", {10, 500}}, {"FireSizeDev", {1, 99}},
      {"FireGravity", {0, 9.9 * 0.005}}, {"FireDamping", {1, 0.5}}, {"FireLaunchPersist", {0.25, 0.99}},
      {"FireBurstRadius", {0.25 * 0.0025, 99.9 * 0.0025}}, {"FireLaunchRadius", {0.25 * 0.0025, 99.9 * 0.0025}},
      {"FireTwistRad", {0.1 * 0.0025, 99.9 * 0.0025}}, {"FireTwistExt", {0.25 * 0.0025, 999.9 * 0.0025}},
      {"FirePatternPct", {-1, 201}},  // a share of random draws: used as stored
      {"FireMultiMoment", {0, 0}}, {"FireBurstShell", {0, 0}},  // on only for 1
      // Starfield: either kind of star may be switched off.
      {"Star_Comet_Percent", {0, 100}}, {"Star_Dyson_Percent", {0, 100}}, {"Star_Comet_NonBallistic", {0, 0}},
      // Warp and sparklers: symmetric types pair their splines; the spark table fits 16 bits.
      {"Warp_Works", {2, 970}}, {"Warp_Sparks", {10, 327}}, {"Warp_Damping", {1, 0.5}}, {"Warp_HueLock", {0, 0}},
      {"Warp_CyclePct", {-1, 201}},  // a share of random draws: used as stored
      {"Warp_Type", {-1, 9}},        // kept in the record; the golden renders show what runs
      {"B_Spline_Splines", {2, 970}}, {"B_Spline_ESpeed", {0.25 * 0.001, 999 * 0.001}},
      {"B_Spline_Gravity", {0, 9.99 * 0.001}}, {"B_Spline_Damping", {1, 0.5}}, {"B_Spline_MaxExtent", {0.001, 99}},
      {"B_Spline_Symmetry", {0, 0}},
      // Gravity wells: speeds and pull in scene units per frame.
      {"Grav_ESpeed", {0.001, 0.999}}, {"Grav_Gravity", {1e-6, 0.03}}, {"Grav_Refresh", {0, 19999}},
      {"Grav_ColorMult", {10, 99990}}, {"Grav_ColorComp", {-1, 5}},  // as Warp_Type
      // Galaxies: scene units and radians; the trail ring holds at most 32000 positions.
      {"Galaxy_Radius", {0.01, 99.99}}, {"Galaxy_Rotation", {0, 0.009999}}, {"Galaxy_Velocity", {0, 0.09999}},
      {"Galaxy_Trail", {1, 12}}, {"Galaxy_NewExtMult", {0.001, 9.999}}, {"Galaxy_NovaFreq", {0, 0.9999}},
      {"Galaxy_NovaExtMult", {0.0001, 0.9999}}, {"Galaxy_BurstSpeed", {0.00001, 0.09999}},
      {"Galaxy_CometOrbit", {0.00001, 0.09999}}, {"Galaxy_CometSpeed", {0, 0.09999}},
      {"Galaxy_CometSWind", {0, 0.09999}}, {"Galaxy_CometSPersist", {0.25, 0.99}}, {"Galaxy_AmbRadius", {1, 999.99}},
      {"Galaxy_AmbCAgeInc", {0, 3}}, {"Galaxy_AngleTilt", {0, 6.2831855}}, {"Galaxy_AngleTInc", {0, 6.2831855}},
  };
  return table;
}

// Outside the range by as much again, within the key's type (a value that does not fit the type
// reads as 0).
std::string Outside(const KeySpec& k, bool above) {
  const double limit = k.type == KeyType::Integer ? 32767 : k.type == KeyType::Long ? 2147483647.0 : 1e30;
  return FormatNumber(above ? std::min(k.hi + 1 + std::abs(k.hi), limit) : std::max(k.lo - 1 - std::abs(k.lo), -limit));
}

// The record after the loaders and the set-up of effect (none: the general settings only) with
// one key stored as text; a few frames follow (the sanitizers watch them in scripts/test.sh).
EffectSettings UsedWith(int effect, std::string_view section, std::string_view key, std::string_view text) {
  SettingsStore store(std::filesystem::temp_directory_path() / "qsrn-clamps-no-store");
  EXPECT_TRUE(key.empty() || store.Override(section, key, text)) << key;
  testing::EngineRig rig(std::nullopt, 64, 48, 3);
  LoadGeneralSettings(rig.ctx, store, 64, 48, false);
  if (effect >= 0) {
    LoadEffectSettings(rig.ctx, store, effect, 0, false);
    PrepareSurface(rig.surface);
    std::unique_ptr<Engine> engine = CreateEngine(effect);
    engine->Setup(rig.ctx);
    for (int frame = 0; frame < 20; ++frame) engine->Step(rig.ctx);
  }
  return rig.ctx.settings;
}

TEST(Clamps, EveryStoredValueEndsInsideWhatTheEngineUses) {
  const std::pair<SectionId, int> parts[] = {  // a section and the effect that reads it (-1: none)
      {SectionId::General, -1}, {SectionId::Advanced, -1}, {SectionId::PixelColor, -1}, {SectionId::Fireworks, 0},
      {SectionId::Starfield, 1}, {SectionId::Warp, 2}, {SectionId::Sparkler, 3}, {SectionId::Gravity, 4},
      {SectionId::Galaxy, 5}};
  for (const auto& [id, effect] : parts) {
    const SectionSpec& sec = Section(id);
    const EffectSettings factory = UsedWith(effect, sec.name, {}, {});
    for (const KeySpec& k : sec.keys) {
      if (!k.HasRange() || k.type == KeyType::String || std::holds_alternative<std::monostate>(k.field)) continue;
      // The general sections' keys without a loader clamp are bounded where they are used.
      if (effect < 0 && !k.Has(kClampOnLoad)) continue;
      const auto exception = Exceptions().find(std::string(k.key));
      const Used want = exception != Exceptions().end() ? exception->second : Used{k.lo, k.hi};
      const double below = FieldValue(UsedWith(effect, sec.name, k.key, Outside(k, false)), k.field);
      const double above = FieldValue(UsedWith(effect, sec.name, k.key, Outside(k, true)), k.field);
      const double text = FieldValue(UsedWith(effect, sec.name, k.key, "many"), k.field);
      EXPECT_FLOAT_EQ(below, want.first) << k.key << " stored as " << Outside(k, false);
      EXPECT_FLOAT_EQ(above, want.second) << k.key << " stored as " << Outside(k, true);
      EXPECT_FLOAT_EQ(text, FieldValue(factory, k.field)) << k.key << " stored as text";
    }
  }
}

}  // namespace
}  // namespace qsrn
