// The settings record: every value the engines read, filled by the loaders from the store or a
// theme. Field names are the store's key names; the shared working fields hold the parameters of
// whichever effect was loaded last, so an engine may run only after its own loader.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qsrn {

// The fireworks sound slots: launch, then one per burst type.
inline constexpr int kSoundSlotCount = 9;

struct EffectSettings {
  // Shared working fields, overwritten by the loader of the effect about to run.
  int16_t ParticleCount = 0;
  int16_t SplineCount = 0;
  int16_t SplineSteps = 0;
  int16_t TrailLength = 0;
  int16_t ExtentMagnitude = 0;
  int16_t OrbitTrailLength = 0;
  float Damping = 0;
  float EmitSpeed = 0;
  float Persistence = 0;
  float Gravity = 0;
  int32_t HueMultiplier = 0;

  // General
  int16_t ColorRed = 0;
  int16_t ColorGrn = 0;
  int16_t ColorBlu = 0;
  bool FixedHues = false;
  int16_t PixelSize = 0;
  float FocalLength = 0;
  float FocalLengthInverse = 0;  // 1 / FocalLength, derived
  std::string LockMessage;

  // Advanced
  int32_t Adv_TimeDelay = 0;
  int32_t Adv_EffectFPC = 0;
  float Adv_PerfMult = 0;
  int16_t Adv_HueStart = 0;
  std::string Adv_FontName;
  int16_t Adv_FontSize = 0;
  int16_t Adv_FontHueV = 0;

  // PixelColor
  int16_t ColorPctInt = 0;
  int16_t ColorPctHue = 0;
  int16_t ColorHueWheel = 0;

  // Fireworks
  int16_t FireWorks = 0;
  float FireSymmetry = 0;
  int16_t FireSplinePct = 0;
  int16_t FireSplineKnot = 0;
  int16_t FireScintPct = 0;
  int16_t FireScintStyle = 0;
  int16_t FireMultiPct = 0;
  int16_t FireMultiAge = 0;
  int16_t FireMultiBurst = 0;
  bool FireMultiMoment = false;
  int16_t FireBurstPct = 0;
  int16_t FireBurstAge = 0;
  int16_t FireBurstCount = 0;
  float FireBurstRadius = 0;
  bool FireBurstShell = false;
  int16_t FireSparkPct = 0;
  int16_t FireSparkAge = 0;
  int16_t FireSparkPix = 0;
  int16_t FireRingPct = 0;
  int16_t FireRingEmb = 0;
  int16_t FireRingDeg = 0;
  int16_t FireTwistPct = 0;
  int16_t FireTwistCnt = 0;
  int16_t FireTwistDeg = 0;
  float FireTwistRad = 0;
  float FireTwistExt = 0;
  int16_t FirePatternPct = 0;
  int16_t FireDecayPct = 0;
  int16_t FireDecayCnt = 0;
  float FireDecayMSize = 0;
  int16_t FireDecayMLife = 0;
  int16_t FireLaunchPct = 0;
  int16_t FireLaunchPixel = 0;
  float FireLaunchRadius = 0;
  int16_t FireLaunchSteps = 0;
  float FireLaunchPersist = 0;
  // Spline-shape knots, indices 0 .. FireSplineKnot; written by the fireworks engine.
  std::vector<float> FireKnotX, FireKnotY, FireKnotZ;

  // Starfield
  int16_t Star_Stars = 0;
  float Star_Speed = 0;
  int16_t Star_Comet_Percent = 0;
  int16_t Star_Comet_Lifespan = 0;
  int16_t Star_Comet_Expansion = 0;
  bool Star_Comet_NonBallistic = false;
  int16_t Star_Dyson_Percent = 0;
  int16_t Star_Dyson_Laterals = 0;
  int16_t Star_Dyson_LatPixels = 0;
  int16_t Star_Dyson_RotAngle = 0;
  int16_t Star_Dyson_Radius = 0;

  // B-Spline Warp
  int16_t Warp_Type = 0;
  int16_t Warp_CyclePct = 0;
  bool Warp_HueLock = false;

  // B-Spline Sparklers
  float B_Spline_AntiGrav = 0;
  float B_Spline_MaxExtent = 0;
  bool B_Spline_Symmetry = false;

  // Stars and Gravity Wells
  int16_t Grav_Emitters = 0;
  int16_t Grav_Attractors = 0;
  int32_t Grav_Refresh = 0;
  int16_t Grav_ARadius = 0;
  int16_t Grav_ColorComp = 0;

  // Galaxies
  float Galaxy_Radius = 0;
  float Galaxy_Rotation = 0;
  float Galaxy_Distance = 0;
  float Galaxy_Velocity = 0;
  int16_t Galaxy_NewFreq = 0;
  int16_t Galaxy_NewFrames = 0;
  float Galaxy_NewExtMult = 0;
  float Galaxy_NovaFreq = 0;
  int16_t Galaxy_NovaFrames = 0;
  float Galaxy_NovaExtMult = 0;
  int16_t Galaxy_BurstFreq = 0;
  int16_t Galaxy_BurstStars = 0;
  float Galaxy_BurstSpeed = 0;
  float Galaxy_BurstPersist = 0;
  int16_t Galaxy_CometFreq = 0;
  int16_t Galaxy_CometStars = 0;
  float Galaxy_CometOrbit = 0;
  float Galaxy_CometSpeed = 0;
  float Galaxy_CometSWind = 0;
  float Galaxy_CometSPersist = 0;
  float Galaxy_CometCPersist = 0;
  int16_t Galaxy_AmbStars = 0;
  float Galaxy_AmbRadius = 0;
  float Galaxy_AmbSymmetry = 0;
  float Galaxy_AmbPersist = 0;
  float Galaxy_AmbCAgeInc = 0;
  float Galaxy_RadiusExp = 0;
  float Galaxy_HeightExp = 0;
  float Galaxy_GHW_Ratio = 0;
  float Galaxy_AngleTilt = 0;
  float Galaxy_AngleTInc = 0;
  int16_t Galaxy_HWheelIdx = 0;
  int16_t Galaxy_ColorComp = 0;
  int16_t Galaxy_Profile = 0;
  int16_t GalaxyPlane = 0;  // axial plane of rotation; set only by a galaxy theme

  // Sound
  bool SoundFX_ON = false;
  std::array<std::string, kSoundSlotCount> SoundFiles;
};

}  // namespace qsrn
