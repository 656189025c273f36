// Running effects offscreen, as --render and --bench do and as tests may: the settings read
// from the store the way the saver reads them (optionally with overrides held in memory), a
// framebuffer of a chosen size, a platform that never waits, and the
// loader / PrepareSurface / engine sequence of one run-loop pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "effects/engine.h"
#include "render/context.h"
#include "render/frame.h"
#include "render/surface.h"
#include "settings/store.h"

namespace qsrn {

// The store in a directory, with some values overridden in memory for this run; the files are
// never written.
class ToolStore {
 public:
  ToolStore() = default;
  ToolStore(const ToolStore&) = delete;
  ToolStore& operator=(const ToolStore&) = delete;

  // False, with the reason in *error, for a key no section knows or a value that cannot be stored.
  bool Open(const std::filesystem::path& dir,
            const std::vector<std::pair<std::string, std::string>>& overrides, std::string* error);
  const SettingsStore& store() const { return *store_; }

 private:
  std::optional<SettingsStore> store_;
};

// A platform for offscreen runs: the headless clock, and a hook called with every finished frame.
class ToolPlatform : public HeadlessPlatform {
 public:
  std::function<void(Context&)> onPresent;
  void Present(Context& ctx) override {
    if (onPresent) onPresent(ctx);
  }
};

// One offscreen display: the context, its framebuffer and its platform, tied together.
struct HeadlessDisplay {
  Context ctx;
  Surface surface;
  ToolPlatform platform;

  HeadlessDisplay() {
    ctx.surface = &surface;
    ctx.platform = &platform;
  }
  HeadlessDisplay(const HeadlessDisplay&) = delete;
  HeadlessDisplay& operator=(const HeadlessDisplay&) = delete;

  // Start of a run loop on a width x height surface: the trigonometric tables, the general
  // settings (colour tables and geometry with them), then the generator seeded.
  void Start(const SettingsStore& store, int32_t width, int32_t height, uint64_t seed);
};

// One pass of a run loop: the effect's loader (theme where the effect has themes), PrepareSurface
// and the effect's engine, not yet set up. Null, with nothing loaded, when the effect has no engine.
std::unique_ptr<Engine> PrepareEffect(Context& ctx, const SettingsStore& store, int effect, int theme,
                                      bool applyPerfMult);

// Runs the engine for exactly `frames` frames (or until a stop) under the frame protocol.
int32_t RunFrames(Context& ctx, Engine& engine, int32_t frames);

// A seed from the clock, as the run loop reseeds.
uint64_t ClockSeed();

}  // namespace qsrn
