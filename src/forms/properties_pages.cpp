// The properties form's captions and list items; see properties_pages.h.
#include "forms/properties_pages.h"

#include <array>
#include <cstdio>

#include "settings/template_fields.h"

namespace qsrn {

namespace {

using F = PropertiesFrame;

constexpr FieldRow kPixelHue[] = {{"ColorRed", "&Red %"}, {"ColorGrn", "&Green %"}, {"ColorBlu", "&Blue %"},
                                  {"FixedHues", "&Use Fixed Hue:"}};
constexpr FieldRow kPixelColour[] = {{"ColorPctInt", "&Intensity %"}, {"ColorPctHue", "Hue &Wheel %"},
                                     {"ColorHueWheel", "Hue &Variation"}};
constexpr FieldRow kDisplay[] = {{"PixelSize", "Pixel Si&ze"}};
constexpr FieldRow kFocal[] = {{"FocalLength", "Focal Le&ngth"}};
constexpr FieldRow kMessage[] = {{"LockMessage", "&Message:"}};

constexpr FieldRow kFireworks[] = {{"FireWorks", "&Shells"},      {"FireSparks", "S&parks per Shell"},
                                   {"FireLength", "Trai&l Length"}, {"FireSymmetry", "S&ymmetry"},
                                   {"FireSpeed", "Emit Spee&d"},    {"FirePersist", "Persistence"},
                                   {"FireGravity", "Gravity"},      {"FireSizeDev", "Extent Magnitude"},
                                   {"FireDamping", "Damping"}};
constexpr FieldRow kLaunch[] = {{"FireLaunchPct", "Launch %"}, {"FireLaunchPixel", "Launch Sparks"},
                                {"FireLaunchRadius", "Launch Radius"}, {"FireLaunchSteps", "Launch Steps"},
                                {"FireLaunchPersist", "Launch Persistence"}};
constexpr FieldRow kDispersion[] = {{"FireSplinePct", "Spline Path %"}, {"FireSplineKnot", "Spline Knots"},
                                    {"FirePatternPct", "Pattern %"}};
constexpr FieldRow kMultiBurst[] = {{"FireMultiPct", "Multi-Burst %"}, {"FireMultiAge", "Burst Age"},
                                    {"FireMultiBurst", "Bursts"}, {"FireMultiMoment", "Preserve Burst Momentum:"}};
constexpr FieldRow kJetBurst[] = {{"FireBurstPct", "Jet-Burst %"}, {"FireBurstAge", "Burst Age"},
                                  {"FireBurstCount", "Jets"}, {"FireBurstRadius", "Burst Radius"},
                                  {"FireBurstShell", "Burst Shell on Trail Termination:"}};
constexpr FieldRow kScintillators[] = {{"FireScintPct", "Scintillator %"}, {"FireScintStyle", "Style"}};
constexpr FieldRow kSparklers[] = {{"FireSparkPct", "Sparkler %"}, {"FireSparkAge", "Sparkler Age"},
                                   {"FireSparkPix", "Sparks per Sparkler"}};
constexpr FieldRow kRings[] = {{"FireRingPct", "Ring %"}, {"FireRingEmb", "Ring Embers"}, {"FireRingDeg", "Ring Tilt"}};
constexpr FieldRow kTwisters[] = {{"FireTwistPct", "Twister %"}, {"FireTwistCnt", "Twisters"},
                                  {"FireTwistDeg", "Twist Angle"}, {"FireTwistRad", "Twist Radius"},
                                  {"FireTwistExt", "Twist Extent"}};
constexpr FieldRow kDecaying[] = {{"FireDecayPct", "Decaying Star %"}, {"FireDecayCnt", "Stars"},
                                  {"FireDecayMSize", "Maximum Size"}, {"FireDecayMLife", "Maximum Life"}};

constexpr FieldRow kStarfield[] = {{"Star_Stars", "&Stars"}, {"Star_Speed", "S&peed"}};
constexpr FieldRow kComets[] = {{"Star_Comet_Percent", "C&omet %"}, {"Star_Comet_Lifespan", "Comet &Lifespan"},
                                {"Star_Comet_Expansion", "E&xpansion Rate"},
                                {"Star_Comet_NonBallistic", "Exhibit Non-ballistic Motion:"}};
constexpr FieldRow kPattern[] = {{"Star_Dyson_Percent", "Sphere %"}, {"Star_Dyson_Laterals", "Lateral Lines"},
                                 {"Star_Dyson_LatPixels", "Stars per Lateral"}, {"Star_Dyson_RotAngle", "Rotation Angle"},
                                 {"Star_Dyson_Radius", "Sphere Ra&dius"}};

constexpr FieldRow kWarp[] = {{"Warp_Works", "S&plines"},       {"Warp_Sparks", "Spar&ks per Spline"},
                              {"Warp_Length", "Trai&l Length"}, {"Warp_SplineIncs", "Spline &Steps"},
                              {"Warp_Speed", "Emit Spee&d"},    {"Warp_Persist", "Persistence"},
                              {"Warp_SizeDev", "E&xtent Magnitude"}, {"Warp_Damping", "Damping"},
                              {"Warp_CyclePct", "Hue L&ock %"}, {"Warp_HueLock", "Hue Lock:"}};
constexpr FieldRow kSparkler[] = {{"B_Spline_Splines", "S&plines"},   {"B_Spline_Pixels", "Total Spar&ks"},
                                  {"B_Spline_SSpeed", "Spline &Steps"}, {"B_Spline_ESpeed", "Emit Spee&d"},
                                  {"B_Spline_Persist", "Persistence"}, {"B_Spline_Gravity", "Gravit&y"},
                                  {"B_Spline_Damping", "Damping"},     {"B_Spline_AntiGrav", "So&lar Wind"},
                                  {"B_Spline_MaxExtent", "Maximum Centre E&xtent"},
                                  {"B_Spline_Symmetry", "Symmetric ab&out Center:"}};
constexpr FieldRow kGravity[] = {{"Grav_Emitters", "Emitter&s"},   {"Grav_Attractors", "Attract&ors"},
                                 {"Grav_Pixels", "&Particles"},     {"Grav_ESpeed", "Emit Spee&d"},
                                 {"Grav_Gravity", "Attractor Gravit&y"}, {"Grav_ARadius", "Attractor Radius"},
                                 {"Grav_TrailLength", "Trai&l Length"}, {"Grav_Refresh", "Frames per Cycle"}};
constexpr FieldRow kGravityHue[] = {{"Grav_ColorMult", "Multiplier"}};

constexpr FieldRow kGalaxy[] = {{"Galaxy_Stars", "&Stars"},       {"Galaxy_Radius", "Ra&dius"},
                                {"Galaxy_Rotation", "R&otation"}, {"Galaxy_Distance", "Distance"},
                                {"Galaxy_Velocity", "Velocit&y"}, {"Galaxy_Trail", "Trai&l Length"},
                                {"Galaxy_ColorMult", "Hue Multiplier"}};
constexpr FieldRow kGalaxyShape[] = {{"Galaxy_RadiusExp", "Radius Exponent"}, {"Galaxy_HeightExp", "Height Exponent"},
                                     {"Galaxy_GHW_Ratio", "Height / Width Ratio"}, {"Galaxy_AngleTilt", "Tilt Angle"},
                                     {"Galaxy_AngleTInc", "Tilt Increment"}, {"Galaxy_HWheelIdx", "Initial Hue"}};
constexpr FieldRow kNewStars[] = {{"Galaxy_NewFreq", "Frequency"}, {"Galaxy_NewFrames", "Frames"},
                                  {"Galaxy_NewExtMult", "Extent Multiplier"}};
constexpr FieldRow kNovas[] = {{"Galaxy_NovaFreq", "Frequency"}, {"Galaxy_NovaFrames", "Frames"},
                               {"Galaxy_NovaExtMult", "Extent Multiplier"}};
constexpr FieldRow kStarBursts[] = {{"Galaxy_BurstFreq", "Frequency"}, {"Galaxy_BurstStars", "Stars"},
                                    {"Galaxy_BurstSpeed", "Speed"}, {"Galaxy_BurstPersist", "Persistence"}};
constexpr FieldRow kGalaxyComets[] = {{"Galaxy_CometFreq", "Frequency"},     {"Galaxy_CometStars", "Stars"},
                                      {"Galaxy_CometOrbit", "Orbit"},        {"Galaxy_CometSpeed", "Speed"},
                                      {"Galaxy_CometSWind", "Solar Wind"},   {"Galaxy_CometSPersist", "Tail Persistence"},
                                      {"Galaxy_CometCPersist", "Coma Persistence"}};
constexpr FieldRow kAmbient[] = {{"Galaxy_AmbStars", "Stars"},        {"Galaxy_AmbRadius", "Radius"},
                                 {"Galaxy_AmbSymmetry", "Symmetry"},  {"Galaxy_AmbPersist", "Persistence"},
                                 {"Galaxy_AmbCAgeInc", "Colour Age Increment"}};

// In PropertiesFrame order.
const std::array<FrameSpec, 29> kFrames = {{
    {"Pixel Hue Composition", kPixelHue},
    {"Pixel Color Distribution", kPixelColour},
    {"Display Enhancement", kDisplay},
    {"Viewing Focal Length", kFocal},
    {"Fireworks Properties", kFireworks},
    {"Launch", kLaunch},
    {"Pixel Dispersion Pattern", kDispersion},
    {"Burst Config:  Multi-Burst", kMultiBurst},
    {"Burst Config:  Jet-Burst", kJetBurst},
    {"Burst Config:  Scintillators", kScintillators},
    {"Burst Config:  Sparklers", kSparklers},
    {"Burst Config:  Rings", kRings},
    {"Burst Config:  Twisters", kTwisters},
    {"Burst Config:  Decaying Stars", kDecaying},
    {"Starfield Properties", kStarfield},
    {"Comet Properties", kComets},
    {"Pattern Properties", kPattern},
    {"B-Spline Warp Properties", kWarp},
    {"Warp Type", {}},
    {"B-Spline Sparkler Properties", kSparkler},
    {"Gravity Well Properties", kGravity},
    {"Particle Hue Computation Type / Multiplier (1 - 9999)", kGravityHue},
    {"Galaxy Properties", kGalaxy},
    {"Galaxy Characteristics", kGalaxyShape},
    {"New Star Creation", kNewStars},
    {"Nova Star Creation", kNovas},
    {"Star Burst Creation", kStarBursts},
    {"Comet Characteristics", kGalaxyComets},
    {"Ambient Star Characteristics", kAmbient},
}};

constexpr PropertiesFrame kFireworksExtras[] = {F::Launch,        F::Dispersion, F::MultiBurst,
                                                F::JetBurst,      F::Scintillators, F::Sparklers,
                                                F::Rings,         F::Twisters,   F::DecayingStars};
constexpr PropertiesFrame kGalaxyExtras[] = {F::GalaxyShape, F::NewStars,     F::Novas,
                                             F::StarBursts,  F::GalaxyComets, F::AmbientStars};

constexpr std::string_view kEffects[] = {"Fireworks",          "Starfield",
                                         "B-Spline Warp",      "B-Spline Sparklers",
                                         "Stars and Gravity Wells", "Galaxies"};
constexpr std::string_view kEffectMenu[] = {"&Fireworks",          "&Starfield",         "&B-Spline Warp",
                                            "B-S&pline Sparklers", "S&tars and Gravity", "&Galaxies"};
constexpr std::string_view kWarpTypes[] = {"Central Random", "Central Reflection", "Central Symmetric",
                                           "Symmetric Reflection", "Extended Symmetric"};
constexpr std::string_view kGravityHues[] = {"Distance of Stars from Viewer's Eye", "Velocity of Stars",
                                             "Acceleration of Stars"};
constexpr std::string_view kGalaxyHues[] = {"Rotational Velocity", "Rotational Velocity (Square Root)",
                                            "Distance from Core", "Distance from Core (Squared)",
                                            "Black (Stars are Invisible)"};

const FieldRow* FindRow(std::string_view key) {
  if (key == kMessage[0].key) return kMessage;
  for (const FrameSpec& frame : kFrames)
    for (const FieldRow& row : frame.rows)
      if (row.key == key) return &row;
  return nullptr;
}

}  // namespace

const FrameSpec& FrameOf(PropertiesFrame frame) { return kFrames[static_cast<size_t>(frame)]; }

std::span<const PropertiesFrame> FireworksExtras() { return kFireworksExtras; }
std::span<const PropertiesFrame> GalaxyExtras() { return kGalaxyExtras; }

std::span<const std::string_view> ListItems(std::string_view key) {
  if (key == "AnimationType") return kEffects;
  if (key == "Warp_Type") return kWarpTypes;
  if (key == "Grav_ColorComp") return kGravityHues;
  if (key == "Galaxy_ColorComp") return kGalaxyHues;
  return {};
}

std::span<const std::string_view> EffectMenuEntries() { return kEffectMenu; }

std::string FieldName(std::string_view key) {
  const FieldRow* row = FindRow(key);
  if (row == nullptr) return std::string(key);
  std::string name;
  for (const char c : row->caption)
    if (c != '&' && c != ':') name += c;
  const DialogKey* d = FindDialogKey(key);
  if (d != nullptr && d->key->HasRange() && !IsCheckKey(*d->key)) {
    // As the label shows the range: plain decimals ("0.0001", not "1E-04").
    char range[64];
    std::snprintf(range, sizeof range, " (%.15g - %.15g)", d->key->lo, d->key->hi);
    name += range;
  }
  return name;
}

}  // namespace qsrn
