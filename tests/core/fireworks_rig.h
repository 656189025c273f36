// A headless fireworks rig for the tests: a context with the factory settings (as the loaders
// leave them), an offscreen surface, a sound player that records what it was asked to play, and
// helpers to step the engine and look at the shells, the sparks and the pixels.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "effects/fireworks.h"
#include "render/color.h"
#include "render/geometry.h"
#include "render/sound.h"
#include "render/surface.h"

namespace qsrn::test {

class RecordingSound : public SoundPlayer {
 public:
  std::vector<std::string> played;
  void Play(const std::string& fileName) override { played.push_back(fileName); }
  int Count(const std::string& name) const {
    int n = 0;
    for (const auto& p : played) n += p == name;
    return n;
  }
};

// The factory values of the General, PixelColor and Fireworks sections, converted as the loaders
// convert them (radii times 0.0025, the launch pixels capped, the knot arrays sized).
inline void SetFactorySettings(EffectSettings& s) {
  s.ColorRed = s.ColorGrn = s.ColorBlu = 100;
  s.FixedHues = false;
  s.PixelSize = 1;
  s.FocalLength = 1.0f;
  s.FocalLengthInverse = 1.0f;
  s.ColorPctInt = 0;
  s.ColorPctHue = 100;
  s.ColorHueWheel = 60;
  s.FireWorks = 20;
  s.ParticleCount = 500;
  s.TrailLength = 8;
  s.FireSymmetry = 1;
  s.EmitSpeed = 20;
  s.Persistence = 0.95f;
  s.Gravity = 0.02f;
  s.ExtentMagnitude = 1;
  s.Damping = 0.2f;
  s.FireSplinePct = 12;
  s.FireSplineKnot = 8;
  s.FireScintPct = 5;
  s.FireScintStyle = 9;
  s.FireMultiPct = 20;
  s.FireMultiAge = 30;
  s.FireMultiBurst = 12;
  s.FireMultiMoment = true;
  s.FireBurstPct = 10;
  s.FireBurstAge = 20;
  s.FireBurstCount = 7;
  s.FireBurstRadius = 3 * 0.0025f;
  s.FireBurstShell = true;
  s.FireSparkPct = 10;
  s.FireSparkAge = 30;
  s.FireSparkPix = 9;
  s.FireRingPct = 10;
  s.FireRingEmb = 3;
  s.FireRingDeg = 5;
  s.FireTwistPct = 10;
  s.FireTwistCnt = 12;
  s.FireTwistDeg = 15;
  s.FireTwistRad = 2 * 0.0025f;
  s.FireTwistExt = 25 * 0.0025f;
  s.FirePatternPct = 40;
  s.FireDecayPct = 10;
  s.FireDecayCnt = 15;
  s.FireDecayMSize = 800;
  s.FireDecayMLife = 80;
  s.FireLaunchPct = 100;
  s.FireLaunchPixel = 60;
  s.FireLaunchRadius = 1 * 0.0025f;
  s.FireLaunchSteps = 50;
  s.FireLaunchPersist = 0.88f;
  s.FireKnotX.assign(9, 0.0f);
  s.FireKnotY.assign(9, 0.0f);
  s.FireKnotZ.assign(9, 0.0f);
}

// Every burst-type percentage at 0, so that one type can be switched on alone.
inline void NoBurstTypes(EffectSettings& s) {
  s.FireScintPct = s.FireMultiPct = s.FireBurstPct = s.FireSparkPct = 0;
  s.FireRingPct = s.FireTwistPct = s.FireDecayPct = 0;
}

// The sound file a slot names in the rig: "slot0.wav" .. "slot8.wav".
inline std::string SlotFile(int slot) { return "slot" + std::to_string(slot) + ".wav"; }

struct FireworksRig {
  Context ctx;
  Surface surface;
  RecordingSound sound;
  std::unique_ptr<FireworksEngine> engine;

  explicit FireworksRig(int width = 320, int height = 240, uint64_t seed = 7) : surface(width, height) {
    SetFactorySettings(ctx.settings);
    BuildTrigTables(ctx.trig);
    BuildHueTable(ctx.colors);
    BuildAgeRamp(ctx.colors);
    DeriveGeometry(ctx, width, height, false);
    ctx.rng.Seed(seed);
    ctx.surface = &surface;
    ctx.sound = &sound;
    ctx.settings.SoundFX_ON = true;
    for (int k = 0; k < kSoundSlotCount; ++k) ctx.settings.SoundFiles[static_cast<size_t>(k)] = SlotFile(k);
  }

  EffectSettings& settings() { return ctx.settings; }
  const FireworksState& state() const { return engine->State(); }

  // RunFireworks (clamps, then the loop) or FireworksLoop (settings as they are).
  void Start(bool clamp = true) {
    engine = std::make_unique<FireworksEngine>(clamp);
    engine->Setup(ctx);
  }
  void Step(int frames = 1) {
    for (int f = 0; f < frames; ++f) engine->Step(ctx);
  }

  int LitPixels() const {
    int n = 0;
    const uint32_t* p = surface.Pixels();
    for (int32_t k = 0; k < surface.Width() * surface.Height(); ++k) n += p[k] != 0;
    return n;
  }

  // Lets every shell finish without starting again; true when all went idle within maxFrames.
  bool Drain(int maxFrames) {
    engine->StopRelaunching();
    for (int f = 0; f < maxFrames; ++f) {
      if (engine->AllShellsIdle()) return true;
      engine->Step(ctx);
    }
    return engine->AllShellsIdle();
  }
};

}  // namespace qsrn::test
