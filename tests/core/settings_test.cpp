// Settings from the tables to the record: the shared numeric rules at their edges; the catalogue's
// tables hold together; the loaders' factory values, clamps, performance multiplier, fireworks caps,
// type conversions and flag rules; theme presets, loaded instead of the store; and every numeric
// key stored out of range or as text, through the loaders and the engine's set-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <variant>

#include "engine_rig.h"
#include "settings/catalogue.h"
#include "effects/loaders.h"
#include "settings/numeric.h"
#include "settings/record_text.h"
#include "settings/themes.h"
#include "temp_dir.h"

namespace qsrn {

// Rounding is half to even and a value that does not fit the type gives 0 (the store's typed
// getters show it for an Integer); CLng's inline path agrees with the checked conversion
// everywhere, at the edges of the Long range too.
TEST(Numeric, ConversionsRoundHalfToEvenAndOverflowToZero) {
  EXPECT_EQ(CInt(32767.5), 0);  // rounds to 32768: does not fit
  EXPECT_EQ(CInt(-32768.0), -32768);
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Fix(-0.5), 0);
  EXPECT_EQ(IntDiv(7, 0), 0);
  EXPECT_EQ(IntDiv(2.5, 1), 2);  // operands round first
  for (double v = -3000.5; v <= 3000.5; v += 0.25) ASSERT_EQ(CLng(v), TryCLng(v).value_or(0)) << v;
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {0.49999999999999994, -0.0, 2147483646.5, 2147483647.0, 2147483647.4, 2147483647.5, 2147483648.0,
                   -2147483647.5, -2147483648.0, -2147483648.4, -2147483648.5, -2147483649.0, 4503599627370495.5,
                   1e18, -1e300, inf, -inf, std::nan("")})
    EXPECT_EQ(CLng(v), TryCLng(v).value_or(0)) << v;
  EXPECT_EQ(CLng(2147483647.5), 0);                 // rounds to 2^31: does not fit
  EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);  // rounds to -2^31: fits
}

// Val takes the leading number; too large for a Double is infinity of its sign, too small is 0,
// decided from the value and not from the length of the text.
TEST(Numeric, ValTakesTheLeadingNumberAndDecidesRangeFromTheValue) {
  const std::string zeros(400, '0');
  for (auto [text, want] :
       {std::pair<std::string, double>{"  12abc", 12}, {"-.5", -0.5}, {"1e3x", 1000}, {"1e", 1}, {"abc", 0}, {"", 0},
        {".", 0}, {"0.95", 0.95}, {"1,5", 1}, {"-1e999", -HUGE_VAL}, {"1d999", HUGE_VAL}, {"-1e-999", 0},
        {"0." + zeros + "1", 0}, {"1" + zeros + "e-1", HUGE_VAL}, {"1" + zeros + "e-800", 0},
        {"-1" + zeros, -HUGE_VAL}, {"0.0001e999", HUGE_VAL}})
    EXPECT_EQ(Val(text), want) << text;
}

TEST(Numeric, IsNumericTextAcceptsOneWholeNumber) {
  for (const char* text : {" 12 ", "-2.5E+3", ".02"}) EXPECT_TRUE(IsNumericText(text)) << text;
  for (const char* text : {"abc", "", "   ", "12a", "1 2", "-"}) EXPECT_FALSE(IsNumericText(text)) << text;
}

// Numbers are written shortest, reading back the same; a text is cut by characters, never
// splitting one (stray continuation bytes stay with their lead).
TEST(Numeric, FormatIsShortestAndLeftCharsNeverSplitsACharacter) {
  EXPECT_EQ(FormatSingle(0.95f), "0.95");
  EXPECT_EQ(FormatSingle(20.0f), "20");
  EXPECT_EQ(FormatSingle(1.0f) + FormatNumber(1) + FormatNumber(-0.0) + FormatSingle(-0.0f), "1100");
  EXPECT_EQ(FormatSingle(0.00001f), "1E-05");
  EXPECT_EQ(FormatNumber(0.0025), "0.0025");
  EXPECT_EQ(FormatNumber(-3), "-3");
  EXPECT_EQ(Val(FormatNumber(1.0 / 3.0)), 1.0 / 3.0);
  EXPECT_EQ(LeftChars("abcdef", 3), "abc");
  EXPECT_EQ(LeftChars("ab", 3), "ab");
  EXPECT_EQ(LeftChars("\xC3\xA9\xC3\xA9x", 2), "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(LeftChars("\x80\x80z", 1), "\x80\x80z");
}

// A derived field is shown beside the field it comes from.
TEST(RecordText, DerivedFieldFollowsItsSource) {
  EffectSettings s;
  s.FocalLength = 2;
  s.FocalLengthInverse = 0.5f;
  EXPECT_NE(FormatSettingsRecord(s).find("FocalLength=2\nFocalLengthInverse=0.5\n"), std::string::npos);
}

namespace {

class Loaders : public ::testing::Test {
 protected:
  using Value = std::tuple<std::string_view, std::string_view, std::string>;
  void Put(std::initializer_list<Value> values) {
    SettingsStore::Batch batch(store);
    for (const auto& [section, key, value] : values) batch.Set(section, key, value);
    ASSERT_TRUE(batch.Commit());
  }
  const EffectSettings& General(bool preview = false) {
    LoadGeneralSettings(ctx, store, 1920, 1080, preview);
    return ctx.settings;
  }
  void SetPerfMult(std::string_view v) {
    ASSERT_TRUE(store.RegSetString(kAppName, "Advanced", "Adv_PerfMult", v));
    LoadGeneralSettings(ctx, store, 800, 600, false);
  }
  test::TempDir dir;
  SettingsStore store{dir.path()};
  Context ctx;
};

}  // namespace

// One row per key, whatever its case, with its factory value inside its range.
TEST(Catalogue, EveryKeyIsSpelledOnceWithItsFactoryValueInRange) {
  std::set<std::string> seen;
  for (const SectionSpec& sec : Catalogue()) {
    EXPECT_EQ(&Section(sec.id), &sec);
    for (const KeySpec& k : sec.keys) {
      std::string lower(k.key);
      std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
      EXPECT_TRUE(seen.insert(lower).second) << k.key;
      EXPECT_EQ(FindKey(sec.id, lower), &k);
      if (!k.HasRange() || k.type == KeyType::String) continue;
      EXPECT_GE(Val(k.FactoryText()), k.lo) << k.key;
      EXPECT_LE(Val(k.FactoryText()), k.hi) << k.key;
    }
  }
  EXPECT_EQ(seen.size(), 10u + 9 + 3 + 43 + 11 + 11 + 10 + 10 + 37 + 10);
  EXPECT_EQ(FindKey(SectionId::Galaxy, "FireSparks"), nullptr);
  EXPECT_TRUE(FindKey(SectionId::Sparkler, "B_Spline_AntiGrav")->AcceptsFraction());
  EXPECT_FALSE(FindKey(SectionId::Gravity, "Grav_Pixels")->AcceptsFraction());
}

// The range each key's field offers and the steps of its spinner and arrow keys (printed on a mismatch).
TEST(Catalogue, DialogRangesAndSteps) {
  std::string table;
  for (const SectionSpec& sec : Catalogue())
    for (const KeySpec& k : sec.keys) {
      table += std::string(k.key) + " " + FormatNumber(k.lo) + "-" + FormatNumber(k.hi) + " " +
               (k.HasSpinner() ? std::to_string(k.steps.spin) + "/" + std::to_string(k.steps.arrow) : "-") +
               "\n";
    }
  EXPECT_EQ(test::Fingerprint(table), 2245042784726092442ull) << table;
}

TEST(Catalogue, TemplateSlotsAndThemeFieldsAreComplete) {
  for (const SectionSpec& sec : Catalogue()) {
    std::vector<int> slots;
    for (const KeySpec& k : sec.keys)
      if (k.templateSlot >= 0) slots.push_back(k.templateSlot);
    std::sort(slots.begin(), slots.end());
    for (size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i], static_cast<int>(i)) << sec.name;
  }
  auto themeFields = [](SectionId id) {
    std::vector<int> fields;
    for (const KeySpec& k : Section(id).keys)
      if (k.themeField >= 0) fields.push_back(k.themeField);
    std::sort(fields.begin(), fields.end());
    return fields;
  };
  std::vector<int> fire(43), galaxy;
  for (int i = 0; i < 43; ++i) fire[static_cast<size_t>(i)] = i;
  for (int i = 0; i < 38; ++i)
    if (i != 6) galaxy.push_back(i);  // field 6 is the axial plane
  EXPECT_EQ(themeFields(SectionId::Fireworks), fire);
  EXPECT_EQ(themeFields(SectionId::Galaxy), galaxy);
}

TEST_F(Loaders, EmptyStoreFactoryValuesSpotCheck) {
  const EffectSettings& s = General();
  // No cycling until the dialog writes a frame quota of 1000.
  EXPECT_EQ(std::tuple(s.Adv_EffectFPC, s.Adv_TimeDelay, s.Adv_PerfMult, s.FocalLengthInverse, s.SoundFX_ON),
            std::tuple(0, 25, 1.0f, 1.0f, false));
  EXPECT_EQ(s.Adv_FontName, "MS Sans Serif");
  EXPECT_EQ(std::tuple(ReadAnimationType(store, 3), ReadPickMask(store), ReadFramesPerEffect(store), ReadWinResize(store)),
            std::tuple(3, 189, 0, false));
  // A resizable window only for the text "1"; the others as stored, before any clamp.
  Put({{"General", "AnimationType", "9"}, {"Advanced", "Adv_PickQSRN", "12"}, {"Advanced", "Adv_EffectFPC", "5"},
       {"Advanced", "Adv_WinResize", "1"}});
  EXPECT_EQ(std::tuple(ReadAnimationType(store, 3), ReadPickMask(store), ReadFramesPerEffect(store), ReadWinResize(store)),
            std::tuple(9, 12, 5, true));
  Put({{"Advanced", "Adv_WinResize", "1.0"}});
  EXPECT_FALSE(ReadWinResize(store));
  // Sound is on only for the text "1"; the files come with it.
  Put({{"SoundFX", "SoundFX_ON", "1.0"}});
  EXPECT_FALSE(General().SoundFX_ON);
  Put({{"SoundFX", "SoundFX_ON", "1"}, {"SoundFX", SoundFileKey(8).key, "/tmp/bang.wav"}});
  EXPECT_TRUE(General().SoundFX_ON);
  EXPECT_EQ(ctx.settings.SoundFiles[8], "/tmp/bang.wav");
  EXPECT_EQ(ctx.geometry.CenterY, 540);
  EXPECT_NE(ctx.colors.AgeRamp[50], 0);  // the colour tables are built
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(std::tuple(ctx.settings.ParticleCount, ctx.settings.Galaxy_CometCPersist, ctx.settings.OrbitTrailLength),
            std::tuple(2500, 0.998f, 2));
}

TEST_F(Loaders, GeneralLoaderDerivedValues) {
  Put({{"General", "FocalLength", "1e6"}, {"Advanced", "Adv_EffectFPC", "50"}, {"Advanced", "Adv_FontName", ""},
       {"General", "LockMessage", "     " + std::string(45, 'a') + "bcdefghij" + "KLMNOP   "}});
  const EffectSettings& s = General();
  EXPECT_EQ(s.Adv_EffectFPC, 100);
  EXPECT_FLOAT_EQ(s.FocalLengthInverse, 1 / 9999.0f);
  EXPECT_EQ(s.Adv_FontName, "MS Sans Serif");
  EXPECT_EQ(s.LockMessage, std::string(45, 'a') + "bcdef");  // trimmed, then its first 50
  // Zero and negative frame quotas are kept: 0 means no cycling.
  Put({{"Advanced", "Adv_EffectFPC", "-5"}});
  EXPECT_EQ(General().Adv_EffectFPC, -5);
}

// Counts are scaled by the multiplier and rounded half to even; a preview scales by six tenths; a
// product beyond an Integer keeps the count.
TEST_F(Loaders, PerformanceMultiplierPreviewAndOverflow) {
  General(true);
  EXPECT_FLOAT_EQ(ctx.settings.Adv_PerfMult, 0.6f);
  LoadStarfieldSettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.Star_Stars, 72);
  Put({{"Advanced", "Adv_PerfMult", "0.5"}, {"GravityWell", "Grav_Pixels", "2001"}});
  General();
  LoadGravitySettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 1000);  // 1000.5 goes to the even neighbour
  LoadGravitySettings(ctx, store, false);
  EXPECT_EQ(ctx.settings.ParticleCount, 2001);
  Put({{"Advanced", "Adv_PerfMult", "2"}, {"Galaxy", "Galaxy_Stars", "30000"}});
  General();
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 30000);
  EXPECT_EQ(ctx.settings.Galaxy_AmbStars, 200);
}

// Sparks are capped at 30000 \ shells (no cap for a hand-edited 0 shells), launch pixels at the
// sparks and 60; radii become scene units and the knot arrays are sized afresh to the knots.
TEST_F(Loaders, FireworksCapsRadiiAndKnots) {
  Put({{"Fireworks", "FireWorks", "99"}, {"Fireworks", "FireSparks", "9999"}, {"Fireworks", "FireSplineKnot", "12"},
       {"Fireworks", "FireTwistExt", "100"}});
  General();
  ctx.settings.FireKnotX.assign(3, 5.0f);
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(std::tuple(ctx.settings.ParticleCount, ctx.settings.FireLaunchPixel, ctx.settings.FireTwistExt),
            std::tuple(303, 60, 0.25f));
  EXPECT_EQ(ctx.settings.FireKnotX, std::vector<float>(13, 0.0f));
  Put({{"Fireworks", "FireSparks", "40"}});
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.FireLaunchPixel, 40);
  Put({{"Fireworks", "FireWorks", "0"}, {"Fireworks", "FireSparks", "9999"}, {"Fireworks", "FireSplineKnot", "-4"}});
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 9999);
  EXPECT_TRUE(ctx.settings.FireKnotY.empty());
}

// Values convert by the table's types (a flag is true for any number but 0, a few only for 1); out
// of range without a loader's clamp they are kept.
TEST_F(Loaders, TypeConversionsAndFlagRules) {
  Put({{"General", "FixedHues", "2"}, {"Fireworks", "FireMultiMoment", "2"}, {"Fireworks", "FireBurstShell", "1"},
       {"Starfield", "Star_Comet_NonBallistic", "0"}, {"Fireworks", "FireScintStyle", "77"},
       {"Fireworks", "FireSplinePct", "40000"}, {"B-SplineSpark", "B_Spline_AntiGrav", "2.5"},
       {"Fireworks", "FireDecayMLife", "80.5"}, {"Fireworks", "FireDecayMSize", "799.6"},
       {"GravityWell", "Grav_TrailLength", "7.5"}, {"Galaxy", "Galaxy_Distance", "300.7"}});
  General();
  LoadSparklerSettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.B_Spline_AntiGrav, 2.0f);  // Integer key: rounded, into a Single field
  LoadFireworksSettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.FireDecayMLife, 80);  // Single key rounded into an Integer field
  EXPECT_EQ(ctx.settings.FireDecayMSize, 800.0f);
  EXPECT_EQ(ctx.settings.FireScintStyle, 77);
  EXPECT_EQ(ctx.settings.FireSplinePct, 0);  // 40000 does not fit an Integer
  EXPECT_TRUE(ctx.settings.FixedHues);
  EXPECT_FALSE(ctx.settings.FireMultiMoment);
  EXPECT_TRUE(ctx.settings.FireBurstShell);
  LoadStarfieldSettings(ctx, store, true);
  EXPECT_FALSE(ctx.settings.Star_Comet_NonBallistic);
  LoadGravitySettings(ctx, store, true);
  EXPECT_EQ(ctx.settings.OrbitTrailLength, 8);
  LoadGalaxySettings(ctx, store, 0, true);
  EXPECT_EQ(ctx.settings.Galaxy_Distance, 301.0f);  // Long key
}

TEST(Themes, PresetFieldsAndLists) {
  for (auto [text, index, field] :
       {std::tuple{"1, 2,3", 1, "2"}, {"1, 2,3", 3, ""}, {"1, 2,3", -1, ""}, {" , x ,", 1, "x"}, {"1, .02", 1, ".02"}})
    EXPECT_EQ(GetPresetField(text, index), field) << text << " " << index;
  // 43 fields per fireworks preset, 38 per galaxy preset; nothing outside the lists.
  for (int i = 1; i <= kFireworksThemeCount; ++i)
    EXPECT_TRUE(GetPresetField(FireworksTheme(i), 42) != "" && GetPresetField(FireworksTheme(i), 43) == "") << i;
  for (int i = 1; i <= kGalaxyThemeCount; ++i)
    EXPECT_TRUE(GetPresetField(GalaxyTheme(i), 37) != "" && GetPresetField(GalaxyTheme(i), 38) == "") << i;
  EXPECT_EQ(FireworksTheme(14), "");
  EXPECT_EQ(GalaxyTheme(-1), "");
  EXPECT_EQ(FireworksThemeName(0), "< NONE >");
  EXPECT_EQ(GalaxyThemeName(16), "Dark Matter Sparklers  ");
  for (int i = 0; i <= kGalaxyThemeCount; ++i) EXPECT_EQ(GalaxyThemeName(i).size(), 23u);
  EXPECT_EQ(GalaxyThemeName(17), "");
  EXPECT_EQ(GalaxyProfileName(6), "Inner-Hyperbolic");
  EXPECT_EQ(GalaxyProfileName(7), "");
}

using ThemeLoading = Loaders;

// The multiplier applies to themes too; their spark counts are capped by their shells.
TEST_F(ThemeLoading, FireworksThemesAtThreePerformanceMultipliers) {
  SetPerfMult("1.0");
  LoadFireworksSettings(ctx, store, 1, false);
  const EffectSettings& s = ctx.settings;
  // Fields 0, 1, 9, 12, 15, 16, 20, 25 and 42.
  EXPECT_EQ(std::tuple(s.FireWorks, s.ParticleCount, s.FireLaunchPct, s.FireLaunchSteps, s.FireSplineKnot,
                       s.FirePatternPct, s.FireMultiMoment, s.FireBurstShell, s.FireDecayMLife),
            std::tuple(15, 600, 100, 45, 7, 25, true, true, 40));
  EXPECT_FLOAT_EQ(s.Persistence, 0.96f);
  EXPECT_FLOAT_EQ(s.FireDecayMSize, 800.0f);
  EXPECT_FLOAT_EQ(s.FireBurstRadius, 3 * 0.0025f);  // post-load steps run too
  EXPECT_EQ(s.FireKnotX.size(), 8u);
  SetPerfMult("2.0");
  LoadFireworksSettings(ctx, store, 1, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 1200);  // within 30000 \ 15
  LoadFireworksSettings(ctx, store, 2, true);   // a theme's flags are true when not zero
  EXPECT_TRUE(ctx.settings.FireMultiMoment);
  EXPECT_FALSE(ctx.settings.FireBurstShell);
  SetPerfMult("9.9");
  LoadFireworksSettings(ctx, store, 10, true);  // Sphere Space
  EXPECT_EQ(ctx.settings.ParticleCount, 7500);  // 15840 capped at 30000 \ 4 shells
}

TEST_F(ThemeLoading, GalaxyThemeOneIsTheFactoryGalaxyWithFourExceptions) {
  SetPerfMult("1");
  LoadGalaxySettings(ctx, store, 0, true);
  const EffectSettings factory = ctx.settings;
  ctx.settings.GalaxyPlane = 3;
  LoadGalaxySettings(ctx, store, 1, false);
  const EffectSettings& s = ctx.settings;
  EXPECT_EQ(s.ParticleCount, 2400);
  EXPECT_EQ(s.Galaxy_AmbRadius, 2000.0f);
  EXPECT_FLOAT_EQ(s.Galaxy_AmbPersist, 0.996f);
  EXPECT_FLOAT_EQ(s.Galaxy_AmbCAgeInc, 0.35f);
  EXPECT_EQ(s.GalaxyPlane, 0);
  for (const KeySpec& k : Section(SectionId::Galaxy).keys) {
    if (k.key != "Galaxy_Stars" && k.key != "Galaxy_AmbRadius" && k.key != "Galaxy_AmbPersist" &&
        k.key != "Galaxy_AmbCAgeInc" && !std::isnan(testing::FieldValue(factory, k.field))) {
      EXPECT_EQ(testing::FieldValue(s, k.field), testing::FieldValue(factory, k.field)) << k.key;
    }
  }
}

TEST_F(ThemeLoading, GalaxyThemeCountsAreScaledAndUnclamped) {
  SetPerfMult("0.5");
  LoadGalaxySettings(ctx, store, 5, false);
  EXPECT_EQ(ctx.settings.ParticleCount, 1125);
  EXPECT_EQ(ctx.settings.Galaxy_AmbStars, 50);
  EXPECT_FLOAT_EQ(ctx.settings.Galaxy_HeightExp, 0.02f);  // ".02"
  LoadGalaxySettings(ctx, store, 7, false);
  EXPECT_FLOAT_EQ(ctx.settings.Galaxy_AngleTInc, 359.0f);
  // A theme beyond the list loads the store.
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireWorks", "33"));
  LoadFireworksSettings(ctx, store, 99, true);
  EXPECT_EQ(ctx.settings.FireWorks, 33);
  LoadGalaxySettings(ctx, store, 17, true);
  EXPECT_EQ(ctx.settings.ParticleCount, 1250);
}

// Every numeric key stored below its range, above it and as text that is not a number, one key at
// a time: the value the engine then runs with. By default a stored value ends at the nearest end of
// the key's range and text reads as the factory value; the table lists where the engine keeps
// other bounds or works in other units.
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
