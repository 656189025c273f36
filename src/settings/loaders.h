// The loaders that copy the store (or a theme) into the settings record before an effect runs.
#pragma once

#include <array>
#include <string>

#include "render/context.h"
#include "settings/store.h"

namespace qsrn {

// Sections General, Advanced, PixelColor and SoundFX; builds the colour tables and derives the
// geometry from the surface's inner size (in twips when isPreview, pixels otherwise).
void LoadGeneralSettings(Context& ctx, const SettingsStore& store, double innerWidth,
                         double innerHeight, bool isPreview);
void LoadPixelColorSettings(Context& ctx, const SettingsStore& store);
void LoadSoundSettings(const SettingsStore& store, bool& soundOn, std::array<std::string, 9>& soundFiles);

void LoadFireworksSettings(Context& ctx, const SettingsStore& store, int themeIndex, bool applyPerfMult);
void LoadStarfieldSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadWarpSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadSparklerSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadGravitySettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadGalaxySettings(Context& ctx, const SettingsStore& store, int themeIndex, bool applyPerfMult);

// The loader of effect index 0..5 (theme used by Fireworks and Galaxies only).
void LoadEffectSettings(Context& ctx, const SettingsStore& store, int effect, int themeIndex,
                        bool applyPerfMult);

}  // namespace qsrn
