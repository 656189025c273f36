// The context of one running saver: the settings record, the surface and its geometry, the
// colour and trigonometric tables, the random generator, the frame counters and the host flags.
// Nothing in the core is global; loaders and engines read and write this object only, so that
// several engines (the about box's picture box beside a saver) can live in one process.
#pragma once

#include <array>
#include <cstdint>

#include "render/random.h"
#include "settings/effect_settings.h"
#include "settings/surface_geometry.h"

namespace qsrn {

class Surface;
class FramePlatform;
class SoundPlayer;

// Cosine and sine of i * pi / 1000 for i = 0..1000, the angle accumulated in float.
struct TrigTables {
  std::array<float, 1001> CosTable{};
  std::array<float, 1001> SinTable{};
};

// Colours are 0x00BBGGRR (red in the low byte); 0 is black, the background and the eraser.
struct ColorTables {
  std::array<int32_t, 360> HueTable{};
  std::array<int32_t, 100> AgeRamp{};
};

enum class RunMode : int16_t { Windowed = 0, Saver = 1, Preview = 2 };

// The frame protocol's counters.
struct FrameState {
  int32_t FrameStartTick = 0;
  int32_t FrameCount = 0;
  int32_t LastMessageTick = 0;
  bool PreviewSettled = false;
};

struct Context {
  EffectSettings settings;
  SurfaceGeometry geometry;
  TrigTables trig;
  ColorTables colors;
  Random rng;
  FrameState frame;

  RunMode runMode = RunMode::Windowed;
  bool StopRequested = false;
  float TwipsPerPixelX = 15;
  float TwipsPerPixelY = 15;

  Surface* surface = nullptr;          // where the engines draw; owned by the host
  FramePlatform* platform = nullptr;   // ticks, event dispatch and the message; owned by the host
  SoundPlayer* sound = nullptr;        // plays wave files; null plays nothing

  float Rnd() { return rng.Rnd(); }
};

}  // namespace qsrn
