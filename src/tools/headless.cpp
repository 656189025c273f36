// Offscreen runs: the store (or its overridden copy), the display start and the effect pass.
#include "tools/headless.h"

#include <chrono>
#include <random>
#include <system_error>

#include "render/geometry.h"
#include "settings/catalogue.h"
#include "settings/loaders.h"
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

// A fresh, empty directory of our own under the system's temporary directory.
std::optional<std::filesystem::path> MakePrivateDirectory() {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return std::nullopt;
  std::random_device entropy;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const auto name = "quasarine-tool-" + std::to_string(entropy()) + std::to_string(entropy());
    const std::filesystem::path dir = base / name;
    if (std::filesystem::create_directory(dir, ec) && !ec) {
      std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::replace, ec);
      return dir;
    }
  }
  return std::nullopt;
}

}  // namespace

ToolStore::~ToolStore() {
  if (!temp_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(temp_, ec);
  }
}

bool ToolStore::Open(const std::filesystem::path& dir,
                     const std::vector<std::pair<std::string, std::string>>& overrides,
                     std::string* error) {
  if (overrides.empty()) {
    store_.emplace(dir);
    return true;
  }
  // Check every key before copying anything.
  struct Resolved {
    const SectionSpec* section;
    const KeySpec* key;
    const std::string* value;
  };
  std::vector<Resolved> resolved;
  for (const auto& [key, value] : overrides) {
    const KeySpec* keySpec = nullptr;
    const SectionSpec* section = SectionOfKey(key, &keySpec);
    if (section == nullptr) {
      *error = "unknown setting " + key;
      return false;
    }
    resolved.push_back({section, keySpec, &value});
  }
  const std::optional<std::filesystem::path> temp = MakePrivateDirectory();
  if (!temp) {
    *error = "cannot make a temporary copy of the settings";
    return false;
  }
  temp_ = *temp;
  std::error_code probe, ec;
  if (std::filesystem::is_directory(dir, probe))  // a store never written to has nothing to copy
    std::filesystem::copy(dir, temp_, std::filesystem::copy_options::recursive, ec);
  if (ec) {
    *error = "cannot copy the settings from " + dir.string() + ": " + ec.message();
    return false;
  }
  store_.emplace(temp_);
  for (const Resolved& r : resolved) {
    if (!store_->RegSetString(kAppName, r.section->name, r.key->key, *r.value)) {
      *error = "cannot set " + std::string(r.key->key);
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
