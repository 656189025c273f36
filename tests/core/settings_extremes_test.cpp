// Every effect with its settings below, at and above both ends of their ranges, through the real
// store and loaders into the engine and a few seconds of frames (under the sanitizers by
// scripts/test.sh); below the ranges on a surface of a few pixels, so every drawing lands off it.
// At the high end every effect must show something (a sphere larger than the star pool once left
// the screen black). And ended by its frame quota, an engine draws no random number past it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "engine_rig.h"
#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

enum class End { Below, Low, High, Beyond };

const SectionSpec& SectionOfEffect(int effect) {
  static constexpr SectionId kSections[] = {SectionId::Fireworks, SectionId::Starfield, SectionId::Warp,
                                            SectionId::Sparkler,  SectionId::Gravity,   SectionId::Galaxy};
  return Section(kSections[effect]);
}

// Outside the range by as much again, yet within the key's type (a value that does not fit the
// type reads as 0, which would test the low end once more).
std::string ValueAt(const KeySpec& k, End end) {
  const double limit = k.type == KeyType::Integer ? 32767 : k.type == KeyType::Long ? 2147483647.0 : 1e30;
  switch (end) {
    case End::Below: return FormatNumber(std::max(k.lo - 1 - std::abs(k.lo), -limit));
    case End::Low: return FormatNumber(k.lo);
    case End::High: return FormatNumber(k.hi);
    case End::Beyond: return FormatNumber(std::min(k.hi + 1 + std::abs(k.hi), limit));
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

  const int32_t width = end == End::Below ? 3 : 320, height = end == End::Below ? 2 : 240;
  testing::EngineRig rig(std::nullopt, width, height, 7);
  LoadGeneralSettings(rig.ctx, store, width, height, false);
  LoadEffectSettings(rig.ctx, store, effect, 0, true);
  std::unique_ptr<Engine> engine = CreateEngine(effect);
  ASSERT_NE(engine, nullptr);
  PrepareSurface(rig.surface);
  engine->Setup(rig.ctx);
  int shown = 0;  // about three seconds at the default frame delay
  for (int frame = 0; frame < 120; ++frame) {
    engine->Step(rig.ctx);
    if (shown == 0) shown = rig.LitPixels();
  }
  EXPECT_GE(engine->ParticleCount(), 0);
  EXPECT_TRUE(end != End::High || shown > 0) << EffectName(effect);
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, SettingsExtremes,
                         ::testing::Combine(::testing::Range(0, kEffectCount),
                                            ::testing::Values(End::Below, End::Low, End::High, End::Beyond)));

class EveryEngine : public ::testing::TestWithParam<int> {};

TEST_P(EveryEngine, QuotaEndsWithoutFurtherDraws) {
  const auto effect = static_cast<EffectIndex>(GetParam());
  testing::EngineRig byQuota(effect, 160, 120, 9), stepped(effect, 160, 120, 9);
  byQuota.ctx.settings.Adv_EffectFPC = 10;
  auto a = CreateEngine(GetParam()), b = CreateEngine(GetParam());
  EXPECT_EQ(RunEngine(byQuota.ctx, *a), 10);
  b->Setup(stepped.ctx);
  for (int frame = 0; frame < 10; ++frame) b->Step(stepped.ctx);
  EXPECT_EQ(byQuota.ctx.rng.Next(), stepped.ctx.rng.Next());
  EXPECT_EQ(byQuota.LitPixels(), stepped.LitPixels());
}

INSTANTIATE_TEST_SUITE_P(Effects, EveryEngine, ::testing::Range(0, kEffectCount));

}  // namespace
}  // namespace qsrn
