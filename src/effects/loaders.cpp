// The loaders: the catalogue's rows read from the store (or a theme preset) into the record,
// then each loader's own rules: the performance multiplier on counts, the general loader's
// clamps and derived values, the fireworks caps and radii.
#include "effects/loaders.h"

#include <algorithm>

#include "render/color.h"
#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "settings/surface_geometry.h"
#include "settings/themes.h"

namespace qsrn {

namespace {

using S = EffectSettings;

// Stores a number (or text, or flag) in a field by the field's own type.
void Assign(S& s, const FieldRef& field, double num, const std::string& text, bool flag) {
  std::visit(
      [&](auto member) {
        using M = decltype(member);
        if constexpr (std::is_same_v<M, int16_t S::*>) s.*member = CInt(num);
        else if constexpr (std::is_same_v<M, int32_t S::*>) s.*member = CLng(num);
        else if constexpr (std::is_same_v<M, float S::*>) s.*member = static_cast<float>(num);
        else if constexpr (std::is_same_v<M, std::string S::*>) s.*member = text;
        else if constexpr (std::is_same_v<M, bool S::*>) s.*member = flag;
      },
      field);
}

// One row from the store: the typed getter with the row's default, then the row's clamp.
void LoadKey(S& s, const SettingsStore& store, std::string_view section, const KeySpec& k) {
  double num = 0;
  std::string text;
  switch (k.type) {
    case KeyType::Integer: num = store.GetSettingInt(kAppName, section, k.key, CInt(Val(k.def))); break;
    case KeyType::Long: num = store.GetSettingLong(kAppName, section, k.key, CLng(Val(k.def))); break;
    case KeyType::Single:
      num = store.GetSettingSingle(kAppName, section, k.key, static_cast<float>(Val(k.def)));
      break;
    case KeyType::String: text = store.GetSettingString(kAppName, section, k.key, k.def); break;
  }
  if (k.Has(kClampOnLoad)) num = Clamp(num, k.lo, k.hi);
  const bool flag = k.Has(kFlagText) ? text == "1" : k.Has(kFlagOne) ? num == 1 : num != 0;
  Assign(s, k.field, num, text, flag);
}

template <typename Pick>
void LoadRows(S& s, const SettingsStore& store, SectionId id, Pick pick) {
  const SectionSpec& sec = Section(id);
  for (const KeySpec& k : sec.keys)
    if (!std::holds_alternative<std::monostate>(k.field) && pick(k)) LoadKey(s, store, sec.name, k);
}

void LoadSection(S& s, const SettingsStore& store, SectionId id) {
  LoadRows(s, store, id, [](const KeySpec&) { return true; });
}

// A theme preset into the record: each row's preset field converted to its field's type
// (whole-number fields rounded half to even; flags true when not 0). No clamp applies.
void LoadTheme(S& s, SectionId id, std::string_view preset) {
  for (const KeySpec& k : Section(id).keys) {
    if (k.themeField < 0) continue;
    const double num = Val(GetPresetField(preset, k.themeField));
    Assign(s, k.field, num, {}, num != 0);
  }
}

// count × mult, rounded half to even; a product that does not fit an Integer keeps the count.
// Integer × Single is a Single product, so the multiplication is done in float.
int16_t ScaleCount(int16_t count, float mult) {
  return TryCInt(static_cast<float>(count) * mult).value_or(count);
}

float PerfMult(const S& s, bool applyPerfMult) { return applyPerfMult ? s.Adv_PerfMult : 1.0f; }

// A positive theme index names a preset only within the list; anything beyond it loads the
// store rather than an empty preset that would zero every field.
std::string_view ThemeFor(int themeIndex, std::string_view (*theme)(int)) {
  return themeIndex > 0 ? theme(themeIndex) : std::string_view();
}

// The loader of an effect that has no themes and counts its particles in ParticleCount.
void LoadCountedSection(S& s, const SettingsStore& store, SectionId id, bool applyPerfMult) {
  LoadSection(s, store, id);
  s.ParticleCount = ScaleCount(s.ParticleCount, PerfMult(s, applyPerfMult));
}

}  // namespace

void LoadPixelColorSettings(Context& ctx, const SettingsStore& store) {
  for (SectionId id : {SectionId::General, SectionId::Advanced, SectionId::PixelColor})
    LoadRows(ctx.settings, store, id, [](const KeySpec& k) { return k.Has(kPixelColor); });
}

void LoadSoundSettings(const SettingsStore& store, bool& soundOn, std::array<std::string, kSoundSlotCount>& soundFiles) {
  const std::string_view section = Section(SectionId::SoundFX).name;
  const KeySpec& on = SoundSwitchKey();
  soundOn = store.GetSettingString(kAppName, section, on.key, on.def) == "1";
  for (int i = 0; i < kSoundSlotCount; ++i) {
    const KeySpec& k = SoundFileKey(i);
    soundFiles[static_cast<size_t>(i)] = store.GetSettingString(kAppName, section, k.key, k.def);
  }
}

void LoadGeneralSettings(Context& ctx, const SettingsStore& store, double innerWidth, double innerHeight,
                         bool isPreview) {
  S& s = ctx.settings;
  LoadPixelColorSettings(ctx, store);
  BuildHueTable(ctx.colors);
  BuildAgeRamp(ctx.colors);
  LoadSoundSettings(store, s.SoundFX_ON, s.SoundFiles);

  auto notPixelColor = [](const KeySpec& k) { return !k.Has(kPixelColor); };
  LoadRows(s, store, SectionId::General, notPixelColor);
  LoadRows(s, store, SectionId::Advanced, notPixelColor);

  s.Adv_PerfMult = static_cast<float>(static_cast<double>(s.Adv_PerfMult) * (isPreview ? 0.6 : 1.0));
  if (s.Adv_EffectFPC > 0) s.Adv_EffectFPC = Clamp(s.Adv_EffectFPC, 100, 9999);
  if (s.Adv_FontName.empty()) {
    for (const KeySpec& k : Section(SectionId::Advanced).keys)
      if (k.field == FieldRef(&S::Adv_FontName)) s.Adv_FontName = std::string(k.def);
  }
  s.LockMessage = LeftChars(Trim(s.LockMessage), 50);
  s.FocalLengthInverse = 1.0f / s.FocalLength;
  ctx.geometry = DeriveGeometry(innerWidth, innerHeight, isPreview ? ctx.TwipsPerPixelX : 1.0,
                                isPreview ? ctx.TwipsPerPixelY : 1.0, s.FocalLength);
}

void LoadFireworksSettings(Context& ctx, const SettingsStore& store, int themeIndex, bool applyPerfMult) {
  S& s = ctx.settings;
  const std::string_view preset = ThemeFor(themeIndex, FireworksTheme);
  if (!preset.empty()) {
    LoadTheme(s, SectionId::Fireworks, preset);
    s.ParticleCount = ScaleCount(s.ParticleCount, s.Adv_PerfMult);
  } else {
    LoadSection(s, store, SectionId::Fireworks);
    s.ParticleCount = ScaleCount(s.ParticleCount, PerfMult(s, applyPerfMult));
  }
  // Shells × sparks never exceeds 30000.
  if (s.FireWorks != 0) s.ParticleCount = static_cast<int16_t>(std::min<int32_t>(s.ParticleCount, IntDiv(30000, s.FireWorks)));
  s.FireLaunchPixel = std::min(s.FireLaunchPixel, s.ParticleCount);
  for (float S::*radius : {&S::FireTwistRad, &S::FireTwistExt, &S::FireBurstRadius, &S::FireLaunchRadius})
    s.*radius = static_cast<float>(static_cast<double>(s.*radius) * 0.0025);
  // Indices 0 .. FireSplineKnot; a negative count (hand-edited store) leaves no knots.
  const size_t knots = s.FireSplineKnot >= 0 ? static_cast<size_t>(s.FireSplineKnot) + 1 : 0;
  for (std::vector<float> S::*axis : {&S::FireKnotX, &S::FireKnotY, &S::FireKnotZ}) (s.*axis).assign(knots, 0.0f);
}

void LoadStarfieldSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult) {
  S& s = ctx.settings;
  LoadSection(s, store, SectionId::Starfield);
  s.Star_Stars = ScaleCount(s.Star_Stars, PerfMult(s, applyPerfMult));
}

void LoadWarpSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult) {
  LoadCountedSection(ctx.settings, store, SectionId::Warp, applyPerfMult);
}

void LoadSparklerSettings(Context& ctx, const SettingsStore& store, bool applyPerfMult) {
  LoadCountedSection(ctx.settings, store, SectionId::Sparkler, applyPerfMult);
}

void LoadGravitySettings(Context& ctx, const SettingsStore& store, bool applyPerfMult) {
  LoadCountedSection(ctx.settings, store, SectionId::Gravity, applyPerfMult);
}

void LoadGalaxySettings(Context& ctx, const SettingsStore& store, int themeIndex, bool applyPerfMult) {
  S& s = ctx.settings;
  const std::string_view preset = ThemeFor(themeIndex, GalaxyTheme);
  float mult = PerfMult(s, applyPerfMult);
  if (!preset.empty()) {
    LoadTheme(s, SectionId::Galaxy, preset);
    s.GalaxyPlane = CInt(Val(GetPresetField(preset, kGalaxyPlanePresetField)));
    mult = s.Adv_PerfMult;
  } else {
    LoadSection(s, store, SectionId::Galaxy);
  }
  s.ParticleCount = ScaleCount(s.ParticleCount, mult);
  s.Galaxy_AmbStars = ScaleCount(s.Galaxy_AmbStars, mult);
}

void LoadEffectSettings(Context& ctx, const SettingsStore& store, int effect, int themeIndex,
                        bool applyPerfMult) {
  switch (static_cast<EffectIndex>(effect)) {
    case EffectIndex::Fireworks: LoadFireworksSettings(ctx, store, themeIndex, applyPerfMult); break;
    case EffectIndex::Starfield: LoadStarfieldSettings(ctx, store, applyPerfMult); break;
    case EffectIndex::Warp: LoadWarpSettings(ctx, store, applyPerfMult); break;
    case EffectIndex::Sparklers: LoadSparklerSettings(ctx, store, applyPerfMult); break;
    case EffectIndex::GravityWells: LoadGravitySettings(ctx, store, applyPerfMult); break;
    case EffectIndex::Galaxies: LoadGalaxySettings(ctx, store, themeIndex, applyPerfMult); break;
    default: break;
  }
}

int16_t ReadAnimationType(const SettingsStore& store, int16_t def) {
  return store.GetSettingInt(kAppName, Section(SectionId::General).name, AnimationTypeKey().key, def);
}

int32_t ReadPickMask(const SettingsStore& store) {
  const KeySpec& k = PickMaskKey();
  return store.GetSettingLong(kAppName, Section(SectionId::Advanced).name, k.key, CLng(Val(k.def)));
}

int32_t ReadFramesPerEffect(const SettingsStore& store) {
  const KeySpec& k = *FindKey(SectionId::Advanced, "Adv_EffectFPC");
  return store.GetSettingLong(kAppName, Section(SectionId::Advanced).name, k.key, CLng(Val(k.def)));
}

bool ReadWinResize(const SettingsStore& store) {
  const KeySpec& k = WinResizeKey();
  return store.GetSettingString(kAppName, Section(SectionId::Advanced).name, k.key, k.def) == "1";
}

}  // namespace qsrn
