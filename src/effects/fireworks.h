// Fireworks, effect 0: a fixed number of shells in the air, each rising from the bottom edge as a
// trail of sparks or bursting at once in front of the viewer, as one of eight burst types in one
// of three shapes. Every spark is a single pixel (or a small glyph) drawn straight onto the
// surface and removed by drawing it again in black; the screen is never cleared.
//
// Two ways in: RunFireworks clamps the settings in place and then sets the loop up (the run
// loop's way); FireworksLoop sets up with the settings as they are (the about box fills them
// itself). Both give an Engine that the frame protocol steps once per frame.
#pragma once

#include <memory>

#include "effects/engine.h"
#include "effects/fireworks_state.h"

namespace qsrn {

// The clamps of RunFireworks, in place (Gravity and Damping are also converted to their
// per-frame factors here).
void ClampFireworksSettings(EffectSettings& s);

class FireworksEngine : public Engine {
 public:
  // clampSettings: run ClampFireworksSettings before the loop's set-up.
  explicit FireworksEngine(bool clampSettings = true) : clampSettings_(clampSettings) {}

  void Setup(Context& ctx) override;
  void Step(Context& ctx) override;
  int ParticleCount() const override;

  // Shells that end from now on stay dark instead of starting again; once every shell is idle
  // everything drawn has been erased. For a graceful finish (and for checking exactly that).
  void StopRelaunching() { state_.draining = true; }
  bool AllShellsIdle() const;

  const FireworksState& State() const { return state_; }

 private:
  bool clampSettings_;
  FireworksState state_;
};

// The run loop's entry: clamps, then the loop.
std::unique_ptr<Engine> RunFireworks();
// The loop without the clamps, for callers that fill the settings themselves.
std::unique_ptr<Engine> FireworksLoop();

}  // namespace qsrn
