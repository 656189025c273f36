// quasarine --print-settings [--effect N] [--theme T] [--preview]: loads the general settings
// (for a 1920x1080 surface) and one effect's settings exactly as a run would, then prints every
// field of the settings record as Name=value. Shows what the saver will use.
#include <cstdio>

#include "tools/tools.h"
#include "render/context.h"
#include "effects/engine.h"
#include "effects/loaders.h"
#include "settings/numeric.h"
#include "settings/record_text.h"
#include "settings/store.h"
#include "settings/themes.h"

namespace qsrn {

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

}  // namespace

int PrintSettingsMain(const ToolOptions& options) {
  const bool preview = options.preview;
  const SettingsStore store(SettingsStore::DefaultDirectory());
  Context ctx;
  // The preview's surface is measured in twips.
  const double scaleX = preview ? ctx.TwipsPerPixelX : 1.0, scaleY = preview ? ctx.TwipsPerPixelY : 1.0;
  LoadGeneralSettings(ctx, store, kWidth * scaleX, kHeight * scaleY, preview);
  const int chosen = options.effect.value_or(Clamp(ReadAnimationType(store, 0), 0, kEffectCount - 1));
  if (chosen == static_cast<int>(EffectIndex::Fireworks) && options.theme > kFireworksThemeCount)
    return RefuseArguments(Program::PrintSettings, "Fireworks has themes 1 to 13");
  LoadEffectSettings(ctx, store, chosen, options.theme, true);
  const std::string text = FormatSettingsRecord(ctx.settings);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace qsrn
