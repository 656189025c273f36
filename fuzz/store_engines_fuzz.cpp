// Fuzzes the way from a stored settings file to the screen: the input's first byte chooses the
// effect (and, with its top bit, a theme), the rest is the store's text. The general settings
// and the effect's settings go through the real loaders into the engine's set-up and a few frames
// on a small surface, so a loader's clamp that lets a value through unbounded is found here.
#include <cstdint>
#include <memory>
#include <string_view>

#include "effects/engine.h"
#include "fuzz_files.h"
#include "render/context.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "effects/loaders.h"
#include "settings/store.h"

namespace {

constexpr int kWidth = 64, kHeight = 48, kFrames = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  const int effect = choice % qsrn::kEffectCount;
  const int theme = (choice & 0x80) != 0 ? (choice >> 3) & 15 : 0;
  const std::filesystem::path& dir = qsrn::fuzz::ScratchDirectory();
  // A store object per input: its snapshot must never answer from the previous input's text
  // (rewritten in place within one clock tick, the file could look unchanged).
  const qsrn::SettingsStore store(dir / "store");
  std::filesystem::create_directories(store.Directory());
  qsrn::fuzz::WriteWhole(store.FileFor(0), std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

  static qsrn::TrigTables trig = [] {
    qsrn::TrigTables t;
    qsrn::BuildTrigTables(t);
    return t;
  }();
  qsrn::Context ctx;
  qsrn::Surface surface;
  qsrn::HeadlessPlatform platform;
  surface.Resize(kWidth, kHeight);
  ctx.surface = &surface;
  ctx.platform = &platform;
  ctx.trig = trig;
  ctx.rng.Seed(size);
  qsrn::LoadGeneralSettings(ctx, store, kWidth, kHeight, false);
  qsrn::LoadEffectSettings(ctx, store, effect, theme, true);
  std::unique_ptr<qsrn::Engine> engine = qsrn::CreateEngine(effect);
  if (engine == nullptr) return 0;
  qsrn::PrepareSurface(surface);
  engine->Setup(ctx);
  for (int frame = 0; frame < kFrames; ++frame) engine->Step(ctx);
  return 0;
}
