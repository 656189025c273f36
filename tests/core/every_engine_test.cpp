// What every engine honours: with every key of its section stored at the ends of its range and
// far beyond, read through the real loader, it runs without crashing, hanging or leaving the
// bounds of its arrays (the sanitizer build runs this too); and ended by its frame quota, it
// has drawn no random number beyond its last frame.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine_rig.h"
#include "settings/catalogue.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

enum class End { FarBelow, Low, High, FarAbove };

const SectionId kSectionOf[kEffectCount] = {SectionId::Fireworks, SectionId::Starfield, SectionId::Warp,
                                            SectionId::Sparkler,  SectionId::Gravity,   SectionId::Galaxy};

std::string ValueAt(const KeySpec& k, End end) {
  switch (end) {
    case End::FarBelow: return "-30000";
    case End::Low: return std::to_string(k.lo);
    case End::High: return std::to_string(k.hi);
    case End::FarAbove: return "30000";
  }
  return {};
}

class Extremes : public ::testing::TestWithParam<std::tuple<int, End>> {};

TEST_P(Extremes, EveryKeyAtOneEndRunsCleanly) {
  const auto [effect, end] = GetParam();
  test::TempDir dir;
  SettingsStore store(dir.path());
  SettingsStore::Batch batch(store);
  const SectionSpec& section = Section(kSectionOf[effect]);
  for (const KeySpec& k : section.keys)
    if (k.HasRange() && k.type != KeyType::String) batch.Set(section.name, k.key, ValueAt(k, end));
  ASSERT_TRUE(batch.Commit());

  // The smallest surface where everything is off its edges; an ordinary one otherwise.
  const bool tiny = end == End::FarBelow;
  testing::EngineRig rig(std::nullopt, tiny ? 3 : 64, tiny ? 2 : 48, 5);
  LoadEffectSettings(rig.ctx, store, effect, 0, false);
  rig.ctx.settings.PixelSize = end == End::High ? 9 : 1;
  auto engine = CreateEngine(effect);
  ASSERT_NE(engine, nullptr);
  engine->Setup(rig.ctx);
  for (int frame = 0; frame < 25; ++frame) engine->Step(rig.ctx);
  EXPECT_GE(engine->ParticleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, Extremes,
                         ::testing::Combine(::testing::Range(0, kEffectCount),
                                            ::testing::Values(End::FarBelow, End::Low, End::High, End::FarAbove)));

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
