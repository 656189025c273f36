// Every numeric key stored below its range, above it and as text that is not a number, one key at
// a time, through the loaders and the engine's set-up: the value the engine then runs with. By
// default a stored value ends at the nearest end of the key's range and text reads as the factory
// value; the table lists where the engine keeps other bounds or works in other units.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "engine_rig.h"
#include "settings/catalogue.h"
#include "settings/numeric.h"

namespace qsrn {
namespace {

struct Used {
  double below, above;  // the value used for a store below / above the range
};

// Where the value used is not simply the nearest end of the range.
const std::map<std::string, Used>& Exceptions() {
  static const std::map<std::string, Used> table = {
      // Fireworks: shells x sparks at most 30000; the radii and gravity in scene units; damping as
      // the per-frame velocity factor; a launch trail no longer than a shell's sparks.
      {"FireSparks", {10, 1500}},
      {"FireGravity", {0, 9.9 * 0.005}},
      {"FireSizeDev", {1, 99}},
      {"FireDamping", {1, 0.5}},
      {"FireBurstRadius", {0.25 * 0.0025, 99.9 * 0.0025}},
      {"FireLaunchRadius", {0.25 * 0.0025, 99.9 * 0.0025}},
      {"FireTwistRad", {0.1 * 0.0025, 99.9 * 0.0025}},
      {"FireTwistExt", {0.25 * 0.0025, 999.9 * 0.0025}},
      {"FirePatternPct", {-1, 201}},  // a share of random draws: used as stored
      {"FireLaunchPixel", {10, 500}},
      {"FireLaunchPersist", {0.25, 0.99}},
      {"FireMultiMoment", {0, 0}},  // on only for 1
      {"FireBurstShell", {0, 0}},
      // Starfield: either kind of star may be switched off.
      {"Star_Comet_Percent", {0, 100}},
      {"Star_Dyson_Percent", {0, 100}},
      {"Star_Comet_NonBallistic", {0, 0}},
      // Warp and sparklers: symmetric types pair their splines; the spark table fits 16 bits.
      {"Warp_Works", {2, 970}},
      {"Warp_Sparks", {10, 327}},
      {"Warp_Damping", {1, 0.5}},
      {"Warp_CyclePct", {-1, 201}},  // a share of random draws: used as stored
      {"Warp_Type", {-1, 9}},        // the record keeps it; the pictures below show what runs
      {"Warp_HueLock", {0, 0}},
      {"B_Spline_Splines", {2, 970}},
      {"B_Spline_ESpeed", {0.25 * 0.001, 999 * 0.001}},
      {"B_Spline_Gravity", {0, 9.99 * 0.001}},
      {"B_Spline_Damping", {1, 0.5}},
      {"B_Spline_MaxExtent", {0.001, 99}},
      {"B_Spline_Symmetry", {0, 0}},
      // Gravity wells: speeds and pull in scene units per frame.
      {"Grav_ESpeed", {0.001, 0.999}},
      {"Grav_Gravity", {1e-6, 0.03}},
      {"Grav_Refresh", {0, 19999}},
      {"Grav_ColorMult", {10, 99990}},
      {"Grav_ColorComp", {-1, 5}},  // as for Warp_Type
      // Galaxies: scene units and radians; the trail ring holds at most 32000 positions.
      {"Galaxy_Radius", {0.01, 99.99}},
      {"Galaxy_Rotation", {0, 0.009999}},
      {"Galaxy_Velocity", {0, 0.09999}},
      {"Galaxy_Trail", {1, 12}},
      {"Galaxy_NewExtMult", {0.001, 9.999}},
      {"Galaxy_NovaFreq", {0, 0.9999}},
      {"Galaxy_NovaExtMult", {0.0001, 0.9999}},
      {"Galaxy_BurstSpeed", {0.00001, 0.09999}},
      {"Galaxy_CometOrbit", {0.00001, 0.09999}},
      {"Galaxy_CometSpeed", {0, 0.09999}},
      {"Galaxy_CometSWind", {0, 0.09999}},
      {"Galaxy_CometSPersist", {0.25, 0.99}},
      {"Galaxy_AmbRadius", {1, 999.99}},
      {"Galaxy_AmbCAgeInc", {0, 3}},
      {"Galaxy_AngleTilt", {0, 6.2831855}},
      {"Galaxy_AngleTInc", {0, 6.2831855}},
  };
  return table;
}

double FieldValue(const EffectSettings& s, const FieldRef& field) {
  return std::visit(
      [&](auto member) -> double {
        using M = decltype(member);
        if constexpr (std::is_same_v<M, std::monostate> || std::is_same_v<M, std::string EffectSettings::*>)
          return NAN;
        else
          return static_cast<double>(s.*member);
      },
      field);
}

// Outside the range by as much again, within the key's type (a value that does not fit the type
// reads as 0).
std::string Outside(const KeySpec& k, bool above) {
  const double limit = k.type == KeyType::Integer ? 32767 : k.type == KeyType::Long ? 2147483647.0 : 1e30;
  return FormatNumber(above ? std::min(k.hi + 1 + std::abs(k.hi), limit) : std::max(k.lo - 1 - std::abs(k.lo), -limit));
}

// The record after the loaders and the set-up of effect (none: the general settings only) with
// one key stored as text.
EffectSettings UsedWith(int effect, std::string_view section, std::string_view key, std::string_view text) {
  SettingsStore store(std::filesystem::temp_directory_path() / "qsrn-clamps-no-store");
  if (!key.empty()) {
    EXPECT_TRUE(store.Override(section, key, text)) << key;
  }
  testing::EngineRig rig(std::nullopt, 64, 48, 3);
  LoadGeneralSettings(rig.ctx, store, 64, 48, false);
  if (effect >= 0) {
    LoadEffectSettings(rig.ctx, store, effect, 0, false);
    PrepareSurface(rig.surface);
    CreateEngine(effect)->Setup(rig.ctx);
  }
  return rig.ctx.settings;
}

TEST(Clamps, EveryStoredValueEndsInsideWhatTheEngineUses) {
  struct Part {
    SectionId section;
    int effect;
  };
  const Part parts[] = {{SectionId::General, -1},  {SectionId::Advanced, -1}, {SectionId::PixelColor, -1},
                        {SectionId::Fireworks, 0}, {SectionId::Starfield, 1}, {SectionId::Warp, 2},
                        {SectionId::Sparkler, 3},  {SectionId::Gravity, 4},   {SectionId::Galaxy, 5}};
  for (const Part& part : parts) {
    const SectionSpec& sec = Section(part.section);
    const EffectSettings factory = UsedWith(part.effect, sec.name, {}, {});
    for (const KeySpec& k : sec.keys) {
      if (!k.HasRange() || k.type == KeyType::String || std::holds_alternative<std::monostate>(k.field)) continue;
      // The general sections' keys without a loader clamp are bounded where they are used.
      if (part.effect < 0 && !k.Has(kClampOnLoad)) continue;
      const auto exception = Exceptions().find(std::string(k.key));
      const Used want = exception != Exceptions().end() ? exception->second : Used{k.lo, k.hi};
      const double below = FieldValue(UsedWith(part.effect, sec.name, k.key, Outside(k, false)), k.field);
      const double above = FieldValue(UsedWith(part.effect, sec.name, k.key, Outside(k, true)), k.field);
      const double text = FieldValue(UsedWith(part.effect, sec.name, k.key, "many"), k.field);
      EXPECT_FLOAT_EQ(below, want.below) << k.key << " stored as " << Outside(k, false);
      EXPECT_FLOAT_EQ(above, want.above) << k.key << " stored as " << Outside(k, true);
      EXPECT_FLOAT_EQ(text, FieldValue(factory, k.field)) << k.key << " stored as text";
    }
  }
}

// The frames of a short run of effect with one key stored.
std::vector<uint32_t> Picture(int effect, std::string_view section, std::string_view key, std::string_view text) {
  SettingsStore store(std::filesystem::temp_directory_path() / "qsrn-clamps-no-store");
  EXPECT_TRUE(store.Override(section, key, text));
  testing::EngineRig rig(std::nullopt, 64, 48, 3);
  LoadGeneralSettings(rig.ctx, store, 64, 48, false);
  LoadEffectSettings(rig.ctx, store, effect, 0, false);
  PrepareSurface(rig.surface);
  std::unique_ptr<Engine> engine = CreateEngine(effect);
  engine->Setup(rig.ctx);
  for (int frame = 0; frame < 60; ++frame) engine->Step(rig.ctx);
  return {rig.surface.Pixels(), rig.surface.Pixels() + 64 * 48};
}

// List indexes the engine maps itself: a warp type off the list runs as the default type, a hue
// rule off the list as the nearest rule.
TEST(Clamps, ListIndexesOffTheListRunAsTheirStandIn) {
  const struct {
    int effect;
    const char *section, *key, *stored, *runsAs, *other;
  } cases[] = {{2, "B-SplineWarp", "Warp_Type", "-1", "4", "1"}, {2, "B-SplineWarp", "Warp_Type", "9", "4", "1"},
               {4, "GravityWell", "Grav_ColorComp", "-1", "0", "2"}, {4, "GravityWell", "Grav_ColorComp", "5", "2", "0"}};
  for (const auto& c : cases) {
    const auto runsAs = Picture(c.effect, c.section, c.key, c.runsAs);
    EXPECT_EQ(Picture(c.effect, c.section, c.key, c.stored), runsAs) << c.key << " " << c.stored;
    EXPECT_NE(Picture(c.effect, c.section, c.key, c.other), runsAs) << c.key << " " << c.other;
  }
}

}  // namespace
}  // namespace qsrn
