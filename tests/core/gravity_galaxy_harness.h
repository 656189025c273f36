// A headless context for the gravity-well and galaxy tests: colour and trig tables built, a
// surface of the given size, the general settings and both effects' settings at their factory
// values, a fixed seed. Engines are stepped directly, one Step per frame.
#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "effects/engine.h"
#include "effects/galaxy.h"
#include "render/color.h"
#include "render/context.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"

namespace qsrn::testing {

inline void SetGeneralFactory(EffectSettings& s) {
  s.ColorRed = s.ColorGrn = s.ColorBlu = 100;
  s.FixedHues = false;
  s.PixelSize = 1;
  s.FocalLength = 1.0f;
  s.FocalLengthInverse = 1.0f;
  s.Adv_TimeDelay = 0;
  s.Adv_EffectFPC = 0;
  s.Adv_PerfMult = 1.0f;
  s.Adv_HueStart = 0;
  s.ColorPctInt = 0;
  s.ColorPctHue = 100;
  s.ColorHueWheel = 60;
}

// Section GravityWell as the loader leaves it with an empty store.
inline void SetGravityFactory(EffectSettings& s) {
  s.Grav_Emitters = 1;
  s.Grav_Attractors = 2;
  s.ParticleCount = 2000;
  s.EmitSpeed = 20;
  s.Gravity = 125;
  s.Grav_Refresh = 1000;
  s.Grav_ARadius = 1;
  s.HueMultiplier = 1200;
  s.OrbitTrailLength = 5;
  s.Grav_ColorComp = 1;
}

// Section Galaxy as the loader leaves it with an empty store.
inline void SetGalaxyFactory(EffectSettings& s) {
  s.ParticleCount = 2500;
  s.Galaxy_Radius = 200;
  s.Galaxy_Rotation = 300;
  s.Galaxy_Distance = 300;
  s.Galaxy_Velocity = 375;
  s.OrbitTrailLength = 2;
  s.HueMultiplier = 2000;
  s.Galaxy_NewFreq = 200;
  s.Galaxy_NewFrames = 10;
  s.Galaxy_NewExtMult = 200;
  s.Galaxy_NovaFreq = 200;
  s.Galaxy_NovaFrames = 40;
  s.Galaxy_NovaExtMult = 500;
  s.Galaxy_BurstFreq = 100;
  s.Galaxy_BurstStars = 100;
  s.Galaxy_BurstSpeed = 500;
  s.Galaxy_BurstPersist = 0.95f;
  s.Galaxy_CometFreq = 300;
  s.Galaxy_CometStars = 60;
  s.Galaxy_CometOrbit = 60;
  s.Galaxy_CometSpeed = 100;
  s.Galaxy_CometSWind = 300;
  s.Galaxy_CometSPersist = 0.94f;
  s.Galaxy_CometCPersist = 0.998f;
  s.Galaxy_AmbStars = 100;
  s.Galaxy_AmbRadius = 2500;
  s.Galaxy_AmbSymmetry = 0.0f;
  s.Galaxy_AmbPersist = 0.99f;
  s.Galaxy_AmbCAgeInc = 0.5f;
  s.Galaxy_RadiusExp = 1.3f;
  s.Galaxy_HeightExp = 2.0f;
  s.Galaxy_GHW_Ratio = 0.3f;
  s.Galaxy_AngleTilt = 20;
  s.Galaxy_AngleTInc = 0.043f;
  s.Galaxy_HWheelIdx = 240;
  s.Galaxy_ColorComp = 3;
  s.Galaxy_Profile = 0;
}

// No new stars, novas, bursts, comets or ambient stars: only the disc.
inline void SetGalaxyEventsOff(EffectSettings& s) {
  s.Galaxy_NewFreq = 0;
  s.Galaxy_NovaFreq = 0;
  s.Galaxy_BurstFreq = 0;
  s.Galaxy_CometFreq = 0;
  s.Galaxy_AmbStars = 0;
}

struct Harness {
  Context ctx;
  Surface surface;
  HeadlessPlatform platform;

  explicit Harness(int32_t width = 640, int32_t height = 480, uint64_t seed = 12345) {
    SetGeneralFactory(ctx.settings);
    BuildTrigTables(ctx.trig);
    BuildHueTable(ctx.colors);
    BuildAgeRamp(ctx.colors);
    surface.Resize(width, height);
    PrepareSurface(surface);
    ctx.surface = &surface;
    ctx.platform = &platform;
    DeriveGeometry(ctx, width, height, false);
    ctx.rng.Seed(seed);
  }

  void Run(Engine& engine, int frames) {
    for (int f = 0; f < frames; ++f) engine.Step(ctx);
  }

  // The positions of all pixels that are not black.
  std::set<std::pair<int32_t, int32_t>> Lit() const {
    std::set<std::pair<int32_t, int32_t>> out;
    for (int32_t y = 0; y < surface.Height(); ++y)
      for (int32_t x = 0; x < surface.Width(); ++x)
        if (surface.GetPixel(x, y) != 0) out.insert({x, y});
    return out;
  }

  int CountColor(int32_t color) const {
    int n = 0;
    for (int32_t y = 0; y < surface.Height(); ++y)
      for (int32_t x = 0; x < surface.Width(); ++x) n += surface.GetPixel(x, y) == color;
    return n;
  }
};

// A galaxy at its factory settings on a headless surface.
struct GalaxyRun : Harness {
  GalaxyEngine engine;
  explicit GalaxyRun(int32_t w = 640, int32_t h = 480, uint64_t seed = 777) : Harness(w, h, seed) {
    SetGalaxyFactory(ctx.settings);
  }
  void Setup() { engine.Setup(ctx); }
  void Run(int frames) { Harness::Run(engine, frames); }
};

}  // namespace qsrn::testing
