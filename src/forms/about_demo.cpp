// The about box's demonstrations; see about_demo.h.
#include "forms/about_demo.h"

#include <chrono>
#include <filesystem>

#include "effects/fireworks.h"
#include "effects/gravity.h"
#include "effects/sparklers.h"
#include "render/color.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "effects/loaders.h"
#include "settings/store.h"

namespace qsrn {

AboutDemonstrations::AboutDemonstrations(const SettingsStore& store) : store_(store) {
  ctx_.surface = &surface_;
  BuildTrigTables(ctx_.trig);
  LoadPixelColorSettings(ctx_, store_);
  BuildHueTable(ctx_.colors);
  BuildAgeRamp(ctx_.colors);
}

void AboutDemonstrations::Resize(int32_t width, int32_t height) {
  if (width == surface_.Width() && height == surface_.Height()) return;
  surface_.Resize(width, height);
  engine_.reset();
}

AboutDemo AboutDemonstrations::StepFrame() {
  const auto running = static_cast<AboutDemo>(next_);
  if (surface_.Width() <= 0 || surface_.Height() <= 0) return running;
  if (!engine_) Start();
  qsrn::StepFrame(ctx_, *engine_, MonotonicTickCount());
  if (FrameLimitReached(ctx_)) {
    engine_.reset();
    next_ = static_cast<int16_t>((next_ + 1) % kAboutDemoCount);
  }
  return running;
}

void AboutDemonstrations::Interrupt() { engine_.reset(); }

void AboutDemonstrations::Start() {
  ctx_.frame.FrameCount = 0;
  ctx_.settings.Adv_EffectFPC = kAboutDemoFrames;
  SetDisplaySettings();
  PrepareSurface(surface_);
  ctx_.geometry = DeriveGeometry(surface_.Width(), surface_.Height(), 1.0, 1.0, ctx_.settings.FocalLength);
  const auto clock = std::chrono::system_clock::now().time_since_epoch().count();
  ctx_.rng.Seed(fixedSeed_.value_or(static_cast<uint64_t>(clock)));
  switch (static_cast<AboutDemo>(next_)) {
    case AboutDemo::Fireworks:
      SetFireworksDemo();
      engine_ = FireworksLoop();
      break;
    case AboutDemo::Galaxies:
      SetGalaxyDemo();
      engine_ = CreateEngine(static_cast<int>(EffectIndex::Galaxies));  // as the run loop enters the galaxies
      break;
    case AboutDemo::GravityWells:
      SetGravityDemo();
      engine_ = std::make_unique<GravityLoop>(false);
      break;
    case AboutDemo::Sparklers:
      engine_ = std::make_unique<SparklerEngine>(SparklerEngine::Start::Demo);
      break;
  }
  engine_->Setup(ctx_);
}

void AboutDemonstrations::SetDisplaySettings() {
  EffectSettings& s = ctx_.settings;
  s.PixelSize = 1;
  s.FocalLength = 0.75f;
  s.FocalLengthInverse = 1.0f / s.FocalLength;
  s.Adv_TimeDelay = kAboutDemoFrameDelay;
  s.ColorRed = s.ColorGrn = s.ColorBlu = 100;
  s.ColorPctInt = 0;
  // Every spark group varies its hue, over 60 degrees: none comes out one solid colour.
  s.ColorPctHue = 100;
  s.ColorHueWheel = 60;
  s.LockMessage.clear();
  s.SoundFX_ON = false;  // the about box is silent
}

void AboutDemonstrations::SetFireworksDemo() {
  EffectSettings& s = ctx_.settings;
  s.FireWorks = 16;
  s.ParticleCount = 250;
  s.TrailLength = 10;
  s.FireSymmetry = 1.0f;
  s.EmitSpeed = 15.0f;
  s.Persistence = 0.96f;
  s.Gravity = static_cast<float>(0.04 * 0.005);
  s.ExtentMagnitude = 2;
  s.Damping = static_cast<float>((1.0 - 0.17) * 0.5 + 0.5);
  s.FireSplinePct = 0;
  s.FireSplineKnot = 8;
  s.FirePatternPct = 25;
  s.FireMultiPct = 15;
  s.FireMultiAge = 35;
  s.FireMultiBurst = 7;
  s.FireMultiMoment = true;
  s.FireBurstPct = 10;
  s.FireBurstAge = 20;
  s.FireBurstCount = 5;
  s.FireBurstRadius = static_cast<float>(3 * 0.0025);
  s.FireBurstShell = true;
  s.FireSparkPct = 10;
  s.FireSparkAge = 30;
  s.FireSparkPix = 9;
  s.FireRingPct = 10;
  s.FireRingEmb = 2;
  s.FireRingDeg = 10;
  s.FireTwistPct = 10;
  s.FireTwistCnt = 10;
  s.FireTwistDeg = 20;
  s.FireTwistRad = static_cast<float>(2 * 0.0025);
  s.FireTwistExt = static_cast<float>(20 * 0.0025);
  s.FireDecayPct = 10;
  s.FireDecayCnt = 16;
  s.FireDecayMSize = 750;
  s.FireDecayMLife = 70;
  s.FireScintPct = 10;
  s.FireScintStyle = 3;
  s.FireLaunchPct = 100;
  s.FireLaunchPixel = 25;
  s.FireLaunchRadius = 0.0025f;
  s.FireLaunchSteps = 40;
  s.FireLaunchPersist = 0.75f;
}

void AboutDemonstrations::SetGalaxyDemo() {
  // The factory values: a store that holds nothing reads every key as its default.
  const SettingsStore factory(std::filesystem::path("/nonexistent/quasarine-factory"));
  LoadGalaxySettings(ctx_, factory, 0, false);
  EffectSettings& s = ctx_.settings;
  s.ParticleCount = static_cast<int16_t>(2500 * 0.7);
  s.Galaxy_Radius = static_cast<float>(200 * 1.35);
  s.Galaxy_Rotation = 300 * 4;
}

void AboutDemonstrations::SetGravityDemo() {
  EffectSettings& s = ctx_.settings;
  s.Grav_Emitters = 1;
  s.Grav_Attractors = 1;
  s.ParticleCount = 1200;
  s.EmitSpeed = static_cast<float>(40 * 0.001);
  s.Gravity = static_cast<float>(800 * 0.000001);
  s.Grav_Refresh = 10000;
  s.Grav_ARadius = 1;
  s.HueMultiplier = 750 * 10;
  s.OrbitTrailLength = 5;
}

}  // namespace qsrn
