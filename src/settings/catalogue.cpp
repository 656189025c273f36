// The catalogue's tables. Columns: key, type, loader default, range lo..hi (lo > hi: none),
// record field, template slot, theme preset field, traits [, steps [, factory value]].
#include "settings/catalogue.h"

#include <array>

#include "settings/numeric.h"

namespace qsrn {

namespace {

using T = KeyType;
using S = EffectSettings;
constexpr double kNone = 1, kNoneHi = 0;  // lo > hi: no range
constexpr FieldRef kNoField{};

const KeySpec kGeneral[] = {
    {"AnimationType", T::Integer, "0", 0, 5, kNoField, 0, -1, kTemplateNumber},
    {"ColorRed", T::Integer, "100", 0, 100, &S::ColorRed, 1, -1, kPixelColor, {1, 1}},
    {"ColorGrn", T::Integer, "100", 0, 100, &S::ColorGrn, 2, -1, kPixelColor, {1, 1}},
    {"ColorBlu", T::Integer, "100", 0, 100, &S::ColorBlu, 3, -1, kPixelColor, {1, 1}},
    {"FixedHues", T::Integer, "0", 0, 1, &S::FixedHues, 4, -1, kFlagNonZero | kPixelColor | kTemplateNumber},
    {"PixelSize", T::Integer, "1", 1, 9, &S::PixelSize, 5, -1, kClampOnLoad, {1, 1}},
    {"FocalLength", T::Single, "1.0", 0.01, 9999, &S::FocalLength, 6, -1, kClampOnLoad},
    {"LockMessage", T::String, "", kNone, kNoneHi, &S::LockMessage, 7, -1, kTemplateText},
    {"WindowState", T::Integer, "0", 0, 2, kNoField, -1, -1, 0},
    {"WindowSize", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
};

const KeySpec kAdvanced[] = {
    {"Adv_TimeDelay", T::Long, "25", 0, 999, &S::Adv_TimeDelay, 0, -1, 0, {10, 10}},
    // 0 (no cycling) when never stored; the dialog's factory value is 1000.
    {"Adv_EffectFPC", T::Long, "0", 100, 30000, &S::Adv_EffectFPC, 1, -1, 0, {100, 100}, "1000"},
    {"Adv_PerfMult", T::Single, "1.0", 0.1, 9.9, &S::Adv_PerfMult, 2, -1, 0},
    {"Adv_PickQSRN", T::Long, "189", 0, 255, kNoField, 3, -1, 0},
    // Hues index the 360-entry wheel, so the loader keeps them on it.
    {"Adv_HueStart", T::Integer, "0", 0, 359, &S::Adv_HueStart, 4, -1, kPixelColor | kClampOnLoad, {5, 5}},
    {"Adv_FontName", T::String, "MS Sans Serif", kNone, kNoneHi, &S::Adv_FontName, 5, -1, kTemplateText},
    {"Adv_FontSize", T::Integer, "20", 10, 80, &S::Adv_FontSize, 6, -1, kClampOnLoad | kTemplateText, {1, 1}},
    {"Adv_FontHueV", T::Integer, "180", 0, 359, &S::Adv_FontHueV, 7, -1, kClampOnLoad | kTemplateText, {5, 5}},
    {"Adv_WinResize", T::String, "0", 0, 1, kNoField, 8, -1, kFlagText | kTemplateText},
};

// ColorPctInt + ColorPctHue may not exceed 100; each range below is the outer bound.
const KeySpec kPixelColor_[] = {
    {"ColorPctInt", T::Integer, "0", 0, 100, &S::ColorPctInt, 0, -1, kPixelColor, {1, 1}},
    {"ColorPctHue", T::Integer, "100", 0, 100, &S::ColorPctHue, 1, -1, kPixelColor, {1, 1}},
    {"ColorHueWheel", T::Integer, "60", 0, 360, &S::ColorHueWheel, 2, -1, kPixelColor | kClampOnLoad, {5, 5}},
};

const KeySpec kFireworks[] = {
    {"FireWorks", T::Integer, "20", 1, 99, &S::FireWorks, 0, 0, 0, {1, 1}},
    {"FireSparks", T::Integer, "500", 10, 9999, &S::ParticleCount, 1, 1, 0, {10, 10}},
    {"FireLength", T::Integer, "8", 1, 99, &S::TrailLength, 2, 2, 0, {1, 1}},
    {"FireSymmetry", T::Single, "1", 0, 1, &S::FireSymmetry, 3, 3, 0},
    {"FireSpeed", T::Single, "20", 0.1, 99.9, &S::EmitSpeed, 4, 4, 0},
    {"FirePersist", T::Single, "0.95", 0.25, 0.99, &S::Persistence, 5, 5, 0},
    {"FireGravity", T::Single, "0.02", 0, 9.9, &S::Gravity, 6, 6, 0},
    {"FireSizeDev", T::Integer, "1", 1, 999, &S::ExtentMagnitude, 7, 7, 0, {1, 1}},
    {"FireDamping", T::Single, "0.2", 0, 1, &S::Damping, 8, 8, 0},
    {"FireSplinePct", T::Integer, "12", 0, 100, &S::FireSplinePct, 9, 14, 0},
    {"FireSplineKnot", T::Integer, "8", 4, 99, &S::FireSplineKnot, 10, 15, 0},
    {"FireScintPct", T::Integer, "5", 0, 100, &S::FireScintPct, 11, 26, 0},
    {"FireScintStyle", T::Integer, "9", 1, 9, &S::FireScintStyle, 12, 27, 0},
    {"FireMultiPct", T::Integer, "20", 0, 100, &S::FireMultiPct, 13, 17, 0},
    {"FireMultiAge", T::Integer, "30", 5, 99, &S::FireMultiAge, 14, 18, 0},
    {"FireMultiBurst", T::Integer, "12", 1, 99, &S::FireMultiBurst, 15, 19, 0},
    {"FireMultiMoment", T::Integer, "1", 0, 1, &S::FireMultiMoment, 41, 20, kFlagOne | kTemplateNumber},
    {"FireBurstPct", T::Integer, "10", 0, 100, &S::FireBurstPct, 16, 21, 0},
    {"FireBurstAge", T::Integer, "20", 5, 99, &S::FireBurstAge, 17, 22, 0},
    {"FireBurstCount", T::Integer, "7", 1, 99, &S::FireBurstCount, 18, 23, 0},
    {"FireBurstRadius", T::Single, "3", 0.25, 99.9, &S::FireBurstRadius, 19, 24, 0},
    {"FireBurstShell", T::Integer, "1", 0, 1, &S::FireBurstShell, 42, 25, kFlagOne | kTemplateNumber},
    {"FireSparkPct", T::Integer, "10", 0, 100, &S::FireSparkPct, 25, 28, 0},
    {"FireSparkAge", T::Integer, "30", 5, 99, &S::FireSparkAge, 26, 29, 0},
    {"FireSparkPix", T::Integer, "9", 1, 30, &S::FireSparkPix, 27, 30, 0},
    {"FireRingPct", T::Integer, "10", 0, 100, &S::FireRingPct, 28, 31, 0},
    {"FireRingEmb", T::Integer, "3", 1, 99, &S::FireRingEmb, 29, 32, 0},
    {"FireRingDeg", T::Integer, "5", 0, 180, &S::FireRingDeg, 30, 33, 0},
    {"FireTwistPct", T::Integer, "10", 0, 100, &S::FireTwistPct, 31, 34, 0},
    {"FireTwistCnt", T::Integer, "12", 1, 99, &S::FireTwistCnt, 32, 35, 0},
    {"FireTwistDeg", T::Integer, "15", 0, 90, &S::FireTwistDeg, 33, 36, 0},
    {"FireTwistRad", T::Single, "2", 0.1, 99.9, &S::FireTwistRad, 34, 37, 0},
    {"FireTwistExt", T::Single, "25", 0, 999.9, &S::FireTwistExt, 35, 38, 0},
    {"FirePatternPct", T::Integer, "40", 0, 100, &S::FirePatternPct, 36, 16, 0},
    {"FireDecayPct", T::Integer, "10", 0, 100, &S::FireDecayPct, 37, 39, 0},
    {"FireDecayCnt", T::Integer, "15", 1, 99, &S::FireDecayCnt, 38, 40, 0},
    {"FireDecayMSize", T::Integer, "800", 1, 9999, &S::FireDecayMSize, 39, 41, 0},
    {"FireDecayMLife", T::Single, "80", 5, 999, &S::FireDecayMLife, 40, 42, 0},
    {"FireLaunchPct", T::Integer, "100", 0, 100, &S::FireLaunchPct, 20, 9, 0},
    {"FireLaunchPixel", T::Integer, "60", 10, 999, &S::FireLaunchPixel, 21, 10, 0},
    {"FireLaunchRadius", T::Single, "1", 0.25, 99.9, &S::FireLaunchRadius, 22, 11, 0},
    {"FireLaunchSteps", T::Integer, "50", 1, 999, &S::FireLaunchSteps, 23, 12, 0},
    {"FireLaunchPersist", T::Single, "0.88", 0.25, 99.9, &S::FireLaunchPersist, 24, 13, 0},
};

const KeySpec kStarfield[] = {
    {"Star_Stars", T::Integer, "120", 10, 999, &S::Star_Stars, 0, -1, 0, {10, 10}},
    {"Star_Speed", T::Single, "0.005", 0.0001, 1.0, &S::Star_Speed, 1, -1, 0},
    {"Star_Comet_Percent", T::Integer, "50", 1, 100, &S::Star_Comet_Percent, 2, -1, 0, {1, 1}},
    {"Star_Comet_Lifespan", T::Integer, "200", 10, 999, &S::Star_Comet_Lifespan, 3, -1, 0, {10, 10}},
    {"Star_Comet_Expansion", T::Integer, "15", 1, 99, &S::Star_Comet_Expansion, 4, -1, 0, {1, 1}},
    {"Star_Comet_NonBallistic", T::Integer, "1", 0, 1, &S::Star_Comet_NonBallistic, 5, -1, kFlagOne},
    {"Star_Dyson_Percent", T::Integer, "20", 1, 100, &S::Star_Dyson_Percent, 6, -1, 0, {1, 1}},
    {"Star_Dyson_Laterals", T::Integer, "2", 1, 20, &S::Star_Dyson_Laterals, 7, -1, 0, {1, 1}},
    {"Star_Dyson_LatPixels", T::Integer, "10", 1, 50, &S::Star_Dyson_LatPixels, 8, -1, 0, {1, 1}},
    {"Star_Dyson_RotAngle", T::Integer, "1", 0, 90, &S::Star_Dyson_RotAngle, 9, -1, 0, {1, 1}},
    {"Star_Dyson_Radius", T::Integer, "10", 1, 50, &S::Star_Dyson_Radius, 10, -1, 0, {1, 1}},
};

const KeySpec kWarp[] = {
    {"Warp_Works", T::Integer, "100", 1, 999, &S::SplineCount, 0, -1, 0, {10, 10}},
    {"Warp_Sparks", T::Integer, "30", 10, 999, &S::ParticleCount, 1, -1, 0, {10, 10}},
    {"Warp_Length", T::Integer, "12", 1, 99, &S::TrailLength, 2, -1, 0, {1, 1}},
    {"Warp_SplineIncs", T::Integer, "250", 1, 999, &S::SplineSteps, 3, -1, 0, {10, 10}},
    {"Warp_Speed", T::Single, "8", 1, 999, &S::EmitSpeed, 4, -1, kWholeOnly, {10, 10}},
    {"Warp_Persist", T::Single, "0.98", 0.25, 0.99, &S::Persistence, 5, -1, 0},
    {"Warp_SizeDev", T::Integer, "1", 1, 999, &S::ExtentMagnitude, 6, -1, 0, {1, 1}},
    {"Warp_Damping", T::Single, "0.02", 0, 1, &S::Damping, 7, -1, 0},
    {"Warp_Type", T::Integer, "4", 0, 4, &S::Warp_Type, 9, -1, kTemplateNumber},
    {"Warp_CyclePct", T::Integer, "100", 0, 100, &S::Warp_CyclePct, 8, -1, 0, {1, 10}},
    {"Warp_HueLock", T::Integer, "0", 0, 1, &S::Warp_HueLock, 10, -1, kFlagOne},
};

const KeySpec kSparkler[] = {
    {"B_Spline_Splines", T::Integer, "20", 1, 999, &S::SplineCount, 0, -1, 0, {1, 1}},
    {"B_Spline_Pixels", T::Integer, "2400", 10, 9999, &S::ParticleCount, 1, -1, 0, {10, 10}},
    {"B_Spline_SSpeed", T::Integer, "120", 1, 999, &S::SplineSteps, 2, -1, 0, {10, 10}},
    {"B_Spline_ESpeed", T::Single, "2", 0.25, 999, &S::EmitSpeed, 3, -1, 0},
    {"B_Spline_Persist", T::Single, "0.95", 0.25, 0.99, &S::Persistence, 4, -1, 0},
    {"B_Spline_Gravity", T::Single, "0", 0, 9.99, &S::Gravity, 5, -1, 0},
    {"B_Spline_Damping", T::Single, "0", 0, 1, &S::Damping, 6, -1, 0},
    {"B_Spline_AntiGrav", T::Integer, "4", 0, 999, &S::B_Spline_AntiGrav, 7, -1, kFractionOk},
    {"B_Spline_MaxExtent", T::Single, "0.75", 0, 99, &S::B_Spline_MaxExtent, 8, -1, 0},
    {"B_Spline_Symmetry", T::Integer, "1", 0, 1, &S::B_Spline_Symmetry, 9, -1, kFlagOne},
};

const KeySpec kGravity[] = {
    {"Grav_Emitters", T::Integer, "1", 1, 9, &S::Grav_Emitters, 0, -1, 0, {1, 1}},
    {"Grav_Attractors", T::Integer, "2", 1, 9, &S::Grav_Attractors, 1, -1, 0, {1, 1}},
    {"Grav_Pixels", T::Integer, "2000", 10, 9999, &S::ParticleCount, 2, -1, 0, {10, 10}},
    {"Grav_ESpeed", T::Single, "20", 1, 999, &S::EmitSpeed, 3, -1, kWholeOnly, {10, 10}},
    {"Grav_Gravity", T::Single, "125", 1, 30000, &S::Gravity, 4, -1, kWholeOnly, {10, 10}},
    {"Grav_Refresh", T::Long, "1000", 0, 9999, &S::Grav_Refresh, 8, -1, 0, {10, 10}},
    {"Grav_ARadius", T::Integer, "1", 0, 99, &S::Grav_ARadius, 5, -1, 0, {1, 1}},
    {"Grav_ColorMult", T::Long, "1200", 1, 9999, &S::HueMultiplier, 7, -1, 0, {10, 10}},
    {"Grav_TrailLength", T::Long, "5", 1, 999, &S::OrbitTrailLength, 6, -1, 0, {10, 10}},
    {"Grav_ColorComp", T::Integer, "1", 0, 2, &S::Grav_ColorComp, 9, -1, kTemplateNumber},
};

const KeySpec kGalaxy[] = {
    {"Galaxy_Stars", T::Integer, "2500", 10, 30000, &S::ParticleCount, 0, 0, 0, {10, 10}},
    {"Galaxy_Radius", T::Single, "200", 1, 9999, &S::Galaxy_Radius, 1, 1, 0, {10, 10}},
    {"Galaxy_Rotation", T::Single, "300", 0, 9999, &S::Galaxy_Rotation, 2, 2, 0, {10, 10}},
    {"Galaxy_Distance", T::Long, "300", 0, 9999, &S::Galaxy_Distance, 3, 3, 0, {10, 10}},
    {"Galaxy_Velocity", T::Integer, "375", 0, 9999, &S::Galaxy_Velocity, 4, 4, 0, {10, 10}},
    {"Galaxy_Trail", T::Integer, "2", 1, 999, &S::OrbitTrailLength, 5, 5, 0, {1, 1}},
    {"Galaxy_ColorMult", T::Long, "2000", 1, 9999, &S::HueMultiplier, 6, 7, 0, {10, 10}},
    {"Galaxy_NewFreq", T::Integer, "200", 0, 9999, &S::Galaxy_NewFreq, 7, 16, 0},
    {"Galaxy_NewFrames", T::Integer, "10", 1, 999, &S::Galaxy_NewFrames, 8, 17, 0},
    {"Galaxy_NewExtMult", T::Single, "200", 1, 9999, &S::Galaxy_NewExtMult, 9, 18, 0},
    {"Galaxy_NovaFreq", T::Integer, "200", 0, 9999, &S::Galaxy_NovaFreq, 10, 19, 0},
    {"Galaxy_NovaFrames", T::Integer, "40", 1, 999, &S::Galaxy_NovaFrames, 11, 20, 0},
    {"Galaxy_NovaExtMult", T::Single, "500", 1, 9999, &S::Galaxy_NovaExtMult, 12, 21, 0},
    {"Galaxy_BurstFreq", T::Integer, "100", 0, 9999, &S::Galaxy_BurstFreq, 13, 22, 0},
    {"Galaxy_BurstStars", T::Integer, "100", 1, 999, &S::Galaxy_BurstStars, 14, 23, 0},
    {"Galaxy_BurstSpeed", T::Single, "500", 1, 9999, &S::Galaxy_BurstSpeed, 15, 24, 0},
    {"Galaxy_BurstPersist", T::Single, "0.95", 0.25, 0.99, &S::Galaxy_BurstPersist, 16, 25, 0},
    {"Galaxy_CometFreq", T::Integer, "300", 0, 9999, &S::Galaxy_CometFreq, 17, 26, 0},
    {"Galaxy_CometStars", T::Integer, "60", 1, 999, &S::Galaxy_CometStars, 18, 27, 0},
    {"Galaxy_CometOrbit", T::Single, "60", 0, 9999, &S::Galaxy_CometOrbit, 19, 28, 0},
    {"Galaxy_CometSpeed", T::Single, "100", 0, 9999, &S::Galaxy_CometSpeed, 20, 29, 0},
    {"Galaxy_CometSWind", T::Single, "300", 1, 9999, &S::Galaxy_CometSWind, 21, 30, 0},
    {"Galaxy_CometSPersist", T::Single, "0.94", 0.25, 0.9999, &S::Galaxy_CometSPersist, 22, 31, 0},
    {"Galaxy_CometCPersist", T::Single, "0.998", 0.25, 0.9999, &S::Galaxy_CometCPersist, 23, 32, 0},
    {"Galaxy_AmbStars", T::Integer, "100", 0, 999, &S::Galaxy_AmbStars, 24, 33, 0},
    {"Galaxy_AmbRadius", T::Long, "2500", 100, 99999, &S::Galaxy_AmbRadius, 25, 34, 0},
    {"Galaxy_AmbSymmetry", T::Single, "0.0", 0, 1, &S::Galaxy_AmbSymmetry, 26, 35, 0},
    {"Galaxy_AmbPersist", T::Single, "0.99", 0.25, 1.0, &S::Galaxy_AmbPersist, 27, 36, 0},
    {"Galaxy_AmbCAgeInc", T::Single, "0.5", 0, 1, &S::Galaxy_AmbCAgeInc, 28, 37, 0},
    {"Galaxy_RadiusExp", T::Single, "1.3", 0, 99.9, &S::Galaxy_RadiusExp, 29, 8, 0},
    {"Galaxy_HeightExp", T::Single, "2.0", 0, 99.9, &S::Galaxy_HeightExp, 30, 9, 0},
    {"Galaxy_GHW_Ratio", T::Single, "0.3", 0, 99.9, &S::Galaxy_GHW_Ratio, 31, 10, 0},
    {"Galaxy_AngleTilt", T::Single, "20", 0, 360, &S::Galaxy_AngleTilt, 32, 11, kWholeOnly},
    {"Galaxy_AngleTInc", T::Single, "0.043", 0, 360, &S::Galaxy_AngleTInc, 33, 12, 0},
    {"Galaxy_HWheelIdx", T::Integer, "240", 0, 359, &S::Galaxy_HWheelIdx, 34, 13, kClampOnLoad, {5, 5}},
    {"Galaxy_ColorComp", T::Integer, "3", 0, 4, &S::Galaxy_ColorComp, 35, 14, kTemplateNumber},
    {"Galaxy_Profile", T::Integer, "0", 0, 6, &S::Galaxy_Profile, 36, 15, kTemplateNumber},
};

// The switch, then the file of each sound slot in slot order (never part of a template).
const KeySpec kSoundFX[] = {
    {"SoundFX_ON", T::String, "0", 0, 1, kNoField, -1, -1, kFlagText},
    {"Fire_Launch", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_Standard", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_MultiBurst", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_JetBurst", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_Scintil", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_Sparkle", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_RingDisk", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_Twister", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
    {"Fire_DecayStar", T::String, "", kNone, kNoneHi, kNoField, -1, -1, 0},
};
static_assert(std::size(kSoundFX) == 1 + kSoundSlotCount);

const SectionSpec kSections[] = {
    {SectionId::General, "General", kGeneral},
    {SectionId::Advanced, "Advanced", kAdvanced},
    {SectionId::PixelColor, "PixelColor", kPixelColor_},
    {SectionId::Fireworks, "Fireworks", kFireworks},
    {SectionId::Starfield, "Starfield", kStarfield},
    {SectionId::Warp, "B-SplineWarp", kWarp},
    {SectionId::Sparkler, "B-SplineSpark", kSparkler},
    {SectionId::Gravity, "GravityWell", kGravity},
    {SectionId::Galaxy, "Galaxy", kGalaxy},
    {SectionId::SoundFX, "SoundFX", kSoundFX},
};

const NamedField kShared[] = {
    {"ParticleCount", &S::ParticleCount},   {"SplineCount", &S::SplineCount},
    {"SplineSteps", &S::SplineSteps},       {"TrailLength", &S::TrailLength},
    {"ExtentMagnitude", &S::ExtentMagnitude}, {"Damping", &S::Damping},
    {"EmitSpeed", &S::EmitSpeed},           {"Persistence", &S::Persistence},
    {"Gravity", &S::Gravity},               {"HueMultiplier", &S::HueMultiplier},
    {"OrbitTrailLength", &S::OrbitTrailLength},
};

}  // namespace

std::span<const SectionSpec> Catalogue() { return kSections; }

const SectionSpec& Section(SectionId id) { return kSections[static_cast<size_t>(id)]; }

const KeySpec* FindKey(SectionId id, std::string_view key) {
  for (const KeySpec& k : Section(id).keys)
    if (EqualsNoCase(k.key, key)) return &k;
  return nullptr;
}

std::span<const NamedField> SharedFields() { return kShared; }

bool IsSharedField(const FieldRef& field) {
  for (const NamedField& f : kShared)
    if (f.field == field) return true;
  return false;
}

const KeySpec& AnimationTypeKey() { return kGeneral[0]; }
const KeySpec& WindowStateKey() { return kGeneral[8]; }
const KeySpec& WindowSizeKey() { return kGeneral[9]; }
const KeySpec& PickMaskKey() { return kAdvanced[3]; }
const KeySpec& WinResizeKey() { return kAdvanced[8]; }

const KeySpec& SoundSwitchKey() { return kSoundFX[0]; }
const KeySpec& SoundFileKey(int slot) { return kSoundFX[1 + Clamp(slot, 0, kSoundSlotCount - 1)]; }

}  // namespace qsrn
