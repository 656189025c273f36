// The loaders that copy the store (or a theme) into the settings record before an effect runs.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "effects/engine.h"
#include "render/context.h"
#include "settings/store.h"

namespace qsrn {

// Sections General, Advanced, PixelColor and SoundFX; builds the colour tables and derives the
// geometry from the surface's inner size (in twips when isPreview, pixels otherwise).
void LoadGeneralSettings(Context& ctx, const SettingsStore& store, double innerWidth,
                         double innerHeight, bool isPreview);
void LoadPixelColorSettings(Context& ctx, const SettingsStore& store);
void LoadSoundSettings(const SettingsStore& store, bool& soundOn, std::array<std::string, kSoundSlotCount>& soundFiles);

void LoadFireworksSettings(Context& ctx, const SettingsStore& store, int themeIndex, bool applyPerfMult);
void LoadStarfieldSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadWarpSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadSparklerSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadGravitySettings(Context& ctx, const SettingsStore& store, bool applyPerfMult);
void LoadGalaxySettings(Context& ctx, const SettingsStore& store, int themeIndex, bool applyPerfMult);

// The loader of effect index 0..5 (theme used by Fireworks and Galaxies only); other indices
// load nothing. A theme index beyond the effect's list loads the store, as 0 does.
void LoadEffectSettings(Context& ctx, const SettingsStore& store, int effect, int themeIndex,
                        bool applyPerfMult);

// The bits of Adv_PickQSRN: one per effect selects it for cycling; two more make the Fireworks
// and Galaxies visits step through all their themes, one theme per frame quota.
inline constexpr int32_t PickBit(EffectIndex effect) { return int32_t{1} << static_cast<int>(effect); }
inline constexpr int32_t kPickAllEffects = (1 << kEffectCount) - 1;
inline constexpr int32_t kPickFireworksThemes = 64;
inline constexpr int32_t kPickGalaxyThemes = 128;

// AnimationType as stored (def when never stored or not a number), not clamped; and
// Adv_PickQSRN with its default 189.
int16_t ReadAnimationType(const SettingsStore& store, int16_t def);
int32_t ReadPickMask(const SettingsStore& store);
// Adv_EffectFPC as stored (0 when missing), before any clamp: the run paths clamp it differently.
int32_t ReadFramesPerEffect(const SettingsStore& store);
// Adv_WinResize: true only for the stored text "1".
bool ReadWinResize(const SettingsStore& store);

}  // namespace qsrn
