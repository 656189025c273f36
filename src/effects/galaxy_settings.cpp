// The galaxy engine's set-up clamps and scalings. The clamps run first in one fixed order, then
// the scalings; every result is written back to the settings record, as the engine's callers expect.
#include "effects/galaxy_settings.h"

#include <algorithm>
#include <cmath>

#include "settings/numeric.h"

namespace qsrn {

namespace {

// A Single setting clamped; a value that is not a number counts as the low end.
float ClampSingle(float v, double lo, double hi) {
  if (std::isnan(v)) return static_cast<float>(lo);
  return static_cast<float>(Clamp(static_cast<double>(v), lo, hi));
}

// A Single setting converted to the nearest whole number (halves to even), then clamped.
float RoundClamp(float v, double lo, double hi) {
  if (std::isnan(v)) return static_cast<float>(lo);
  return static_cast<float>(Clamp(std::nearbyint(static_cast<double>(v)), lo, hi));
}

float Scaled(float v, double k) { return static_cast<float>(static_cast<double>(v) * k); }

// The stored values within their bounds, in order.
void ClampGalaxyFields(EffectSettings& s) {
  s.ParticleCount = Clamp(s.ParticleCount, 10, 30000);
  s.Galaxy_Radius = RoundClamp(s.Galaxy_Radius, 1, 9999);
  s.Galaxy_Rotation = RoundClamp(s.Galaxy_Rotation, 0, 9999);
  s.Galaxy_Distance = RoundClamp(s.Galaxy_Distance, 0, 9999);
  s.Galaxy_Velocity = RoundClamp(s.Galaxy_Velocity, 0, 9999);
  s.OrbitTrailLength = Clamp(s.OrbitTrailLength, 1, 999);
  // The trail ring holds at most 32000 positions.
  s.OrbitTrailLength = static_cast<int16_t>(std::min<int32_t>(s.OrbitTrailLength, IntDiv(32000, s.ParticleCount)));
  s.HueMultiplier = Clamp(s.HueMultiplier, 1, 9999);
  s.Galaxy_RadiusExp = ClampSingle(s.Galaxy_RadiusExp, 0.0, 99.9);
  s.Galaxy_HeightExp = ClampSingle(s.Galaxy_HeightExp, 0.0, 99.9);
  s.Galaxy_GHW_Ratio = ClampSingle(s.Galaxy_GHW_Ratio, 0.0, 99.9);
  s.Galaxy_AngleTilt = ClampSingle(s.Galaxy_AngleTilt, 0, 360);
  s.Galaxy_AngleTInc = ClampSingle(s.Galaxy_AngleTInc, 0, 360);
  s.Galaxy_ColorComp = Clamp(s.Galaxy_ColorComp, 0, 4);
  s.Galaxy_Profile = Clamp(s.Galaxy_Profile, 0, 6);
  s.Galaxy_NewFreq = Clamp(s.Galaxy_NewFreq, 0, 9999);
  s.Galaxy_NewFrames = Clamp(s.Galaxy_NewFrames, 1, 999);
  s.Galaxy_NewExtMult = RoundClamp(s.Galaxy_NewExtMult, 1, 9999);
  s.Galaxy_NovaFreq = RoundClamp(s.Galaxy_NovaFreq, 0, 9999);
  s.Galaxy_NovaFrames = Clamp(s.Galaxy_NovaFrames, 1, 999);
  s.Galaxy_NovaExtMult = RoundClamp(s.Galaxy_NovaExtMult, 1, 9999);
  s.Galaxy_BurstFreq = Clamp(s.Galaxy_BurstFreq, 0, 9999);
  s.Galaxy_BurstStars = Clamp(s.Galaxy_BurstStars, 1, 999);
  s.Galaxy_BurstSpeed = RoundClamp(s.Galaxy_BurstSpeed, 1, 9999);
  s.Galaxy_BurstPersist = ClampSingle(s.Galaxy_BurstPersist, 0.25, 0.99);
  s.Galaxy_CometFreq = Clamp(s.Galaxy_CometFreq, 0, 9999);
  s.Galaxy_CometStars = Clamp(s.Galaxy_CometStars, 1, 999);
  s.Galaxy_CometOrbit = ClampSingle(s.Galaxy_CometOrbit, 1.0, 9999.0);
  s.Galaxy_CometSpeed = ClampSingle(s.Galaxy_CometSpeed, 0.0, 9999.0);
  s.Galaxy_CometSWind = ClampSingle(s.Galaxy_CometSWind, 0.0, 9999.0);
  s.Galaxy_CometSPersist = ClampSingle(s.Galaxy_CometSPersist, 0.25, 0.99);
  s.Galaxy_CometCPersist = ClampSingle(s.Galaxy_CometCPersist, 0.25, 0.9999);
  s.Galaxy_AmbStars = Clamp(s.Galaxy_AmbStars, 0, 999);
  s.Galaxy_AmbRadius = RoundClamp(s.Galaxy_AmbRadius, 100, 99999);
  s.Galaxy_AmbSymmetry = ClampSingle(s.Galaxy_AmbSymmetry, 0.0, 1.0);
  s.Galaxy_AmbPersist = ClampSingle(s.Galaxy_AmbPersist, 0.25, 1.0);
  s.Galaxy_AmbCAgeInc = ClampSingle(s.Galaxy_AmbCAgeInc, 0.0, 10.0);
  s.Galaxy_HWheelIdx = Clamp(s.Galaxy_HWheelIdx, 0, 359);
}

// The stored units to the engine's, in table order.
void ScaleGalaxyFields(EffectSettings& s) {
  s.Galaxy_Radius = Scaled(s.Galaxy_Radius, 0.01);
  s.Galaxy_Rotation = Scaled(s.Galaxy_Rotation, 0.000001);
  s.Galaxy_Velocity = Scaled(s.Galaxy_Velocity, 0.00001);
  // Degrees to radians.
  s.Galaxy_AngleTilt = static_cast<float>(static_cast<double>(s.Galaxy_AngleTilt) * 6.2831855 / 360);
  s.Galaxy_AngleTInc = static_cast<float>(static_cast<double>(s.Galaxy_AngleTInc) * 6.2831855 / 360);
  s.Galaxy_NewExtMult = Scaled(s.Galaxy_NewExtMult, 0.001);
  s.Galaxy_NovaFreq = Scaled(s.Galaxy_NovaFreq, 0.0001);
  s.Galaxy_NovaExtMult = Scaled(s.Galaxy_NovaExtMult, 0.0001);
  s.Galaxy_BurstSpeed = Scaled(s.Galaxy_BurstSpeed, 0.00001);
  s.Galaxy_CometOrbit = Scaled(s.Galaxy_CometOrbit, 0.00001);
  s.Galaxy_CometSpeed = Scaled(s.Galaxy_CometSpeed, 0.00001);
  s.Galaxy_CometSWind = Scaled(s.Galaxy_CometSWind, 0.00001);
  s.Galaxy_AmbRadius = Scaled(s.Galaxy_AmbRadius, 0.01);
}

}  // namespace

GalaxyParams ClampGalaxySettings(EffectSettings& s) {
  ClampGalaxyFields(s);
  ScaleGalaxyFields(s);
  GalaxyParams p;
  p.Stars = s.ParticleCount;
  p.Radius = s.Galaxy_Radius;
  p.Rotation = s.Galaxy_Rotation;
  p.Distance = s.Galaxy_Distance;
  p.Velocity = s.Galaxy_Velocity;
  p.Trail = s.OrbitTrailLength;
  p.ColorScale = static_cast<float>(s.HueMultiplier * 0.1);
  p.RadiusExp = s.Galaxy_RadiusExp;
  p.HeightExp = s.Galaxy_HeightExp;
  p.HeightWidthRatio = s.Galaxy_GHW_Ratio;
  p.Tilt = s.Galaxy_AngleTilt;
  p.TiltInc = s.Galaxy_AngleTInc;
  p.HueRule = s.Galaxy_ColorComp;
  p.Profile = s.Galaxy_Profile;
  p.BaseHue = s.Galaxy_HWheelIdx;
  p.NewFreq = s.Galaxy_NewFreq;
  p.NewFrames = s.Galaxy_NewFrames;
  p.NewExt = s.Galaxy_NewExtMult;
  p.NovaProb = s.Galaxy_NovaFreq;
  p.NovaFrames = s.Galaxy_NovaFrames;
  p.NovaExt = s.Galaxy_NovaExtMult;
  p.NovaRampStep = 100.0f / static_cast<float>(p.NovaFrames);
  for (int32_t base = 1; base <= p.NovaFrames && base < static_cast<int32_t>(p.NovaGrowth.size()); ++base)
    p.NovaGrowth[static_cast<size_t>(base)] = NovaGrowthOf(base);
  p.BurstFreq = s.Galaxy_BurstFreq;
  p.BurstStars = s.Galaxy_BurstStars;
  p.BurstSpeed = s.Galaxy_BurstSpeed;
  p.BurstPersist = s.Galaxy_BurstPersist;
  p.CometFreq = s.Galaxy_CometFreq;
  p.CometStars = s.Galaxy_CometStars;
  p.CometOrbit = s.Galaxy_CometOrbit;
  p.CometSpeed = s.Galaxy_CometSpeed;
  p.CometWind = s.Galaxy_CometSWind;
  p.CometSparkPersist = s.Galaxy_CometSPersist;
  p.CometPersist = s.Galaxy_CometCPersist;
  p.AmbStars = s.Galaxy_AmbStars;
  p.AmbRadius = s.Galaxy_AmbRadius;
  p.AmbSymmetry = s.Galaxy_AmbSymmetry;
  p.AmbPersist = s.Galaxy_AmbPersist;
  p.AmbAgeInc = s.Galaxy_AmbCAgeInc;
  return p;
}

}  // namespace qsrn
