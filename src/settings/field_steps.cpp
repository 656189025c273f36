// Spinner steps of the properties and advanced dialogs; see field_steps.h.
#include "settings/field_steps.h"

#include "settings/numeric.h"

namespace qsrn {

namespace {

const FieldStep kSteps[] = {
    // Properties: shared frames
    {"ColorRed", 1, 1}, {"ColorGrn", 1, 1}, {"ColorBlu", 1, 1},
    {"ColorPctInt", 1, 1}, {"ColorPctHue", 1, 1}, {"ColorHueWheel", 5, 5}, {"PixelSize", 1, 1},
    // Fireworks
    {"FireWorks", 1, 1}, {"FireSparks", 10, 10}, {"FireLength", 1, 1}, {"FireSizeDev", 1, 1},
    // Starfield
    {"Star_Stars", 10, 10}, {"Star_Comet_Lifespan", 10, 10}, {"Star_Comet_Percent", 1, 1},
    {"Star_Dyson_Percent", 1, 1}, {"Star_Comet_Expansion", 1, 1}, {"Star_Dyson_Laterals", 1, 1},
    {"Star_Dyson_LatPixels", 1, 1}, {"Star_Dyson_Radius", 1, 1}, {"Star_Dyson_RotAngle", 1, 1},
    // B-Spline Warp
    {"Warp_Works", 10, 10}, {"Warp_SplineIncs", 10, 10}, {"Warp_Speed", 10, 10},
    {"Warp_Sparks", 10, 10}, {"Warp_Length", 1, 1}, {"Warp_SizeDev", 1, 1}, {"Warp_CyclePct", 1, 10},
    // B-Spline Sparklers
    {"B_Spline_Splines", 1, 1}, {"B_Spline_Pixels", 10, 10}, {"B_Spline_SSpeed", 10, 10},
    // Stars and Gravity Wells
    {"Grav_Emitters", 1, 1}, {"Grav_Attractors", 1, 1}, {"Grav_Pixels", 10, 10},
    {"Grav_ESpeed", 10, 10}, {"Grav_TrailLength", 10, 10}, {"Grav_Gravity", 10, 10},
    {"Grav_ARadius", 1, 1}, {"Grav_ColorMult", 10, 10}, {"Grav_Refresh", 10, 10},
    // Galaxies
    {"Galaxy_Stars", 10, 10}, {"Galaxy_Radius", 10, 10}, {"Galaxy_ColorMult", 10, 10},
    {"Galaxy_Rotation", 10, 10}, {"Galaxy_Distance", 10, 10}, {"Galaxy_Velocity", 10, 10},
    {"Galaxy_Trail", 1, 1}, {"Galaxy_HWheelIdx", 5, 5},
    // Advanced settings
    {"Adv_TimeDelay", 10, 10}, {"Adv_EffectFPC", 100, 100}, {"Adv_HueStart", 5, 5},
    {"Adv_FontSize", 1, 1}, {"Adv_FontHueV", 5, 5},
};

}  // namespace

const FieldStep* FindFieldStep(std::string_view key) {
  for (const FieldStep& s : kSteps)
    if (EqualsNoCase(s.key, key)) return &s;
  return nullptr;
}

}  // namespace qsrn
