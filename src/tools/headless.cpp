// Offscreen runs: the store (with overrides in memory), the display start and the effect pass.
#include "tools/headless.h"

#include <chrono>

#include "render/geometry.h"
#include "settings/catalogue.h"
#include "effects/loaders.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

// The section that holds key, found through the catalogue (names matched without regard to case).
const SectionSpec* SectionOfKey(std::string_view key, const KeySpec** keySpec) {
  for (const SectionSpec& section : Catalogue()) {
    if (const KeySpec* found = FindKey(section.id, key)) {
      *keySpec = found;
      return &section;
    }
  }
  return nullptr;
}

}  // namespace

bool ToolStore::Open(const std::filesystem::path& dir,
                     const std::vector<std::pair<std::string, std::string>>& overrides,
                     std::string* error) {
  store_.emplace(dir);
  for (const auto& [key, value] : overrides) {
    const KeySpec* keySpec = nullptr;
    const SectionSpec* section = SectionOfKey(key, &keySpec);
    if (section == nullptr) {
      *error = "unknown setting " + key;
      return false;
    }
    if (!store_->Override(section->name, keySpec->key, value)) {
      *error = "cannot set " + key;
      return false;
    }
  }
  return true;
}

void HeadlessDisplay::Start(const SettingsStore& store, int32_t width, int32_t height, uint64_t seed) {
  BuildTrigTables(ctx.trig);
  surface.Resize(width, height);
  ctx.runMode = RunMode::Saver;
  ctx.StopRequested = false;
  LoadGeneralSettings(ctx, store, width, height, false);
  ctx.rng.Seed(seed);
}

std::unique_ptr<Engine> PrepareEffect(Context& ctx, const SettingsStore& store, int effect, int theme,
                                      bool applyPerfMult) {
  std::unique_ptr<Engine> engine = CreateEngine(effect);
  if (engine == nullptr) return nullptr;
  LoadEffectSettings(ctx, store, effect, theme, applyPerfMult);
  if (ctx.surface != nullptr) PrepareSurface(*ctx.surface);
  return engine;
}

int32_t RunFrames(Context& ctx, Engine& engine, int32_t frames) {
  ctx.settings.Adv_EffectFPC = frames;
  ctx.frame.FrameCount = 0;
  return RunEngine(ctx, engine);
}

uint64_t ClockSeed() {
  return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace qsrn
