// The about box's demonstrations: Fireworks, Galaxies, Stars and Gravity Wells and B-Spline
// Sparklers in turn, 1050 frames each, in a context of their own (nothing shared with a saver or
// another engine in the process). Driven one frame at a time by the caller's timer, so the
// dialog never runs a loop of its own inside an event.
// Usage:
//   AboutDemonstrations demo(store);
//   demo.Resize(w, h);            // the picture's size in pixels; restarts the current one
//   every frame delay: demo.StepFrame(); then show demo.surface()
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "effects/engine.h"
#include "render/context.h"
#include "render/surface.h"

namespace qsrn {

class SettingsStore;

enum class AboutDemo : int { Fireworks = 0, Galaxies = 1, GravityWells = 2, Sparklers = 3 };
inline constexpr int kAboutDemoCount = 4;
inline constexpr int32_t kAboutDemoFrames = 1050;
inline constexpr int32_t kAboutDemoFrameDelay = 32;  // milliseconds

class AboutDemonstrations {
 public:
  // Loads the pixel colour settings and builds the colour and trigonometric tables once.
  explicit AboutDemonstrations(const SettingsStore& store);

  // The picture's size; the demonstration running starts again at the new size.
  void Resize(int32_t width, int32_t height);
  // One frame of the current demonstration (starting it first when due); after its last frame
  // the next one is due. Returns the number of the demonstration that ran this frame.
  AboutDemo StepFrame();
  // Ends the demonstration running (the box was dismissed or left for the credits); it starts
  // again from its beginning when stepping resumes.
  void Interrupt();

  // The demonstration that runs next (or is running).
  AboutDemo Current() const { return static_cast<AboutDemo>(next_); }
  int32_t FramesRun() const { return ctx_.frame.FrameCount; }
  const Surface& surface() const { return surface_; }
  Surface& surface() { return surface_; }  // a presenter clears its changed tiles
  const EffectSettings& settings() const { return ctx_.settings; }
  // A fixed seed for every start instead of the clock (tests).
  void SetFixedSeed(std::optional<uint64_t> seed) { fixedSeed_ = seed; }

 private:
  void Start();
  // The demonstration parameter sets, written straight into the settings record.
  void SetDisplaySettings();
  void SetFireworksDemo();
  void SetGalaxyDemo();
  void SetGravityDemo();

  const SettingsStore& store_;
  Context ctx_;
  Surface surface_;
  std::unique_ptr<Engine> engine_;
  int16_t next_ = 0;
  std::optional<uint64_t> fixedSeed_;
};

}  // namespace qsrn
