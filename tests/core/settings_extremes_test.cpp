// Every effect with its section (and, but for the high end, the general ones) stored at the low
// end, the high end and far beyond the range of every key (performance multiplier applied), read back through the real store and loaders into the engine's set-up and
// a few seconds of frames (run under the sanitizers by scripts/test.sh). At the high end every
// effect must show something: a sphere larger than the star pool once left the screen black.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine_rig.h"
#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

enum class End { Low, High, Beyond };

const SectionSpec& SectionOfEffect(int effect) {
  static constexpr SectionId kSections[] = {SectionId::Fireworks, SectionId::Starfield, SectionId::Warp,
                                            SectionId::Sparkler,  SectionId::Gravity,   SectionId::Galaxy};
  return Section(kSections[effect]);
}

std::string ValueAt(const KeySpec& k, End end) {
  switch (end) {
    case End::Low: return FormatNumber(k.lo);
    case End::High: return FormatNumber(k.hi);
    case End::Beyond: return FormatNumber(k.hi * 1000 + 1e6);
  }
  return {};
}

class SettingsExtremes : public ::testing::TestWithParam<std::tuple<int, End>> {};

TEST_P(SettingsExtremes, StoredValuesReachTheEngineAndShowSomething) {
  const auto [effect, end] = GetParam();
  test::TempDir dir;
  SettingsStore store(dir.path());
  SettingsStore::Batch batch(store);
  // The high end is the effect's own largest settings in an otherwise factory setup (it must show
  // something); the other ends move the general sections too.
  for (const SectionSpec* sec : {&Section(SectionId::General), &Section(SectionId::Advanced),
                                 &Section(SectionId::PixelColor), &SectionOfEffect(effect)}) {
    if (end == End::High && sec != &SectionOfEffect(effect)) continue;
    for (const KeySpec& k : sec->keys)
      if (k.HasRange() && k.type != KeyType::String) batch.Set(sec->name, k.key, ValueAt(k, end));
  }
  ASSERT_TRUE(batch.Commit());

  testing::EngineRig rig(std::nullopt, 320, 240, 7);
  LoadGeneralSettings(rig.ctx, store, 320, 240, false);
  LoadEffectSettings(rig.ctx, store, effect, 0, true);
  std::unique_ptr<Engine> engine = CreateEngine(effect);
  ASSERT_NE(engine, nullptr);
  PrepareSurface(rig.surface);
  engine->Setup(rig.ctx);
  // About three seconds at the default frame delay.
  int shown = 0;
  for (int frame = 0; frame < 120; ++frame) {
    engine->Step(rig.ctx);
    if (shown == 0) shown = rig.LitPixels();
  }
  if (end == End::High) {
    EXPECT_GT(shown, 0) << EffectName(effect);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, SettingsExtremes,
                         ::testing::Combine(::testing::Range(0, kEffectCount),
                                            ::testing::Values(End::Low, End::High, End::Beyond)));

}  // namespace
}  // namespace qsrn
