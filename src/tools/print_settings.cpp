// quasarine --print-settings [--effect N] [--theme T] [--preview]: loads the general settings
// (for a 1920x1080 surface) and one effect's settings exactly as a run would, then prints every
// field of the settings record as Name=value. Shows what the saver will use.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "tools/tools.h"
#include "render/context.h"
#include "effects/loaders.h"
#include "settings/numeric.h"
#include "settings/record_text.h"
#include "settings/store.h"
#include "settings/themes.h"

namespace qsrn {

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

int Usage() {
  std::fputs(
      "usage: quasarine --print-settings [--effect N] [--theme T] [--preview]\n"
      "  N: 0 Fireworks, 1 Starfield, 2 B-Spline Warp, 3 B-Spline Sparklers,\n"
      "     4 Stars and Gravity Wells, 5 Galaxies (default: the stored effect)\n"
      "  T: theme 1-13 for Fireworks, 1-16 for Galaxies (default 0: the stored settings)\n",
      stderr);
  return 2;
}

std::optional<int> WholeNumber(const char* text, int lo, int hi) {
  int v = 0;
  const char* end = text + std::strlen(text);
  const auto res = std::from_chars(text, end, v);
  if (res.ec != std::errc() || res.ptr != end || v < lo || v > hi) return std::nullopt;
  return v;
}

}  // namespace

int PrintSettingsMain(int argc, char** argv) {
  std::optional<int> effect;
  int theme = 0;
  bool preview = false;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--preview") {
      preview = true;
    } else if (arg == "--effect" && i + 1 < argc) {
      effect = WholeNumber(argv[++i], 0, 5);
      if (!effect) return Usage();
    } else if (arg == "--theme" && i + 1 < argc) {
      const auto v = WholeNumber(argv[++i], 0, kGalaxyThemeCount);
      if (!v) return Usage();
      theme = *v;
    } else {
      return Usage();
    }
  }

  const SettingsStore store(SettingsStore::DefaultDirectory());
  Context ctx;
  // The preview's surface is measured in twips.
  const double scaleX = preview ? ctx.TwipsPerPixelX : 1.0, scaleY = preview ? ctx.TwipsPerPixelY : 1.0;
  LoadGeneralSettings(ctx, store, kWidth * scaleX, kHeight * scaleY, preview);
  const int chosen = effect.value_or(Clamp(ReadAnimationType(store, 0), 0, 5));
  if (chosen == 0 && theme > kFireworksThemeCount) return Usage();
  LoadEffectSettings(ctx, store, chosen, theme, true);
  const std::string text = FormatSettingsRecord(ctx.settings);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace qsrn
