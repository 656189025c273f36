// The galaxy's parameters: the engine's set-up clamps and scales every galaxy setting in place
// (the results written back to the record) and the engine and its events read this summary.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "settings/effect_settings.h"

namespace qsrn {

struct GalaxyParams {
  // The disc (Galaxies).
  int32_t Stars = 10;          // N
  float Radius = 1;            // R
  float Rotation = 0;          // K
  float Distance = 0;          // starting depth before its x 0.01
  float Velocity = 0;          // V, approach per frame
  int32_t Trail = 1;           // L
  float ColorScale = 0.1f;     // S
  float RadiusExp = 0, HeightExp = 0, HeightWidthRatio = 0;
  float Tilt = 0, TiltInc = 0;  // radians
  int32_t HueRule = 0, Profile = 0, BaseHue = 0;
  // New stars and novas.
  int32_t NewFreq = 0, NewFrames = 1;
  float NewExt = 0;            // M_new
  float NovaProb = 0;          // P_nova
  int32_t NovaFrames = 1;
  float NovaExt = 0;           // M_nova
  float NovaRampStep = 0;      // 100 / F_nova, a Single computed once per run
  // A nova's growth (F_nova - frames + 1)^0.6375 by that base (1 to F_nova), worked out once
  // per run instead of once per nova and frame.
  std::array<float, 1000> NovaGrowth{};
  // Star bursts.
  int32_t BurstFreq = 0, BurstStars = 1;
  float BurstSpeed = 0, BurstPersist = 0.25f;
  // Comets.
  int32_t CometFreq = 0, CometStars = 1;
  float CometOrbit = 0, CometSpeed = 0, CometWind = 0, CometSparkPersist = 0.25f, CometPersist = 0.25f;
  // Ambient stars.
  int32_t AmbStars = 0;
  float AmbRadius = 1, AmbSymmetry = 0, AmbPersist = 0.25f, AmbAgeInc = 0;
};

// How large a nova has grown: base^0.6375 (0.6375 as a Single), base = F_nova - frames + 1.
inline float NovaGrowthOf(int32_t base) {
  return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(0.6375f)));
}

// The engine's set-up: every clamp in its fixed order, then the scalings.
GalaxyParams ClampGalaxySettings(EffectSettings& s);

}  // namespace qsrn
