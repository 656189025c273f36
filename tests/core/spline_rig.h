// A headless rig for the spline effects' tests: a small surface, the headless frame platform,
// the colour and trigonometric tables, and the factory settings of the sections the effects read.
#pragma once

#include <cstdint>

#include "render/color.h"
#include "render/context.h"
#include "render/frame.h"
#include "render/geometry.h"
#include "render/surface.h"

namespace qsrn::testing {

inline void SetGeneralFactory(EffectSettings& s) {
  s.FocalLength = 1.0f;
  s.FocalLengthInverse = 1.0f;
  s.PixelSize = 1;
  s.ColorRed = s.ColorGrn = s.ColorBlu = 100;
  s.FixedHues = false;
  s.ColorPctInt = 0;
  s.ColorPctHue = 100;
  s.ColorHueWheel = 60;
  s.Adv_TimeDelay = 25;
  s.Adv_EffectFPC = 0;
  s.Adv_PerfMult = 1.0f;
}

// Section B-SplineWarp as the store's defaults give it.
inline void SetWarpFactory(EffectSettings& s) {
  s.SplineCount = 100;
  s.ParticleCount = 30;
  s.TrailLength = 12;
  s.SplineSteps = 250;
  s.EmitSpeed = 8;
  s.Persistence = 0.98f;
  s.ExtentMagnitude = 1;
  s.Damping = 0.02f;
  s.Warp_Type = 4;
  s.Warp_CyclePct = 100;
  s.Warp_HueLock = false;
}

// Section B-SplineSpark as the store's defaults give it.
inline void SetSparklerFactory(EffectSettings& s) {
  s.SplineCount = 20;
  s.ParticleCount = 2400;
  s.SplineSteps = 120;
  s.EmitSpeed = 2;
  s.Persistence = 0.95f;
  s.Gravity = 0;
  s.Damping = 0;
  s.B_Spline_AntiGrav = 4;
  s.B_Spline_MaxExtent = 0.75f;
  s.B_Spline_Symmetry = true;
}

struct SplineRig {
  Context ctx;
  Surface surface;
  HeadlessPlatform platform;

  explicit SplineRig(int32_t width = 320, int32_t height = 240, uint64_t seed = 1) {
    SetGeneralFactory(ctx.settings);
    surface.Resize(width, height);
    ctx.surface = &surface;
    ctx.platform = &platform;
    ctx.runMode = RunMode::Saver;
    ctx.rng.Seed(seed);
    BuildTrigTables(ctx.trig);
    BuildHueTable(ctx.colors);
    BuildAgeRamp(ctx.colors);
    DeriveGeometry(ctx, width, height, false);
  }

  int64_t LitPixels() const {
    int64_t lit = 0;
    const uint32_t* p = surface.Pixels();
    for (int64_t i = 0, n = int64_t{surface.Width()} * surface.Height(); i < n; ++i) lit += p[i] != 0;
    return lit;
  }
};

}  // namespace qsrn::testing
