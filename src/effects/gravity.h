// Stars and Gravity Wells: a few emitters shoot particles in random directions and a few fixed
// attractors pull them with a force that falls off as the inverse of the distance. Each particle
// leaves a trail of fixed length coloured by its distance, speed or change of speed. Every
// Grav_Refresh frames the screen is cleared and a new arrangement is drawn.
//
// Trails are kept one of two ways, chosen by the 32000 rule: a ring of screen positions per
// particle while ParticleCount x OrbitTrailLength fits in 32000 entries, otherwise an eraser
// copy of every particle that replays its motion OrbitTrailLength frames behind.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "effects/engine.h"

namespace qsrn {

inline constexpr int kMaxWells = 9;          // emitters and attractors each
inline constexpr int32_t kTrailRingLimit = 32000;

// RunGravityWells: the run loop's entry clamps and converts the settings in place, in this
// order, before GravityLoop runs (the about box enters GravityLoop directly, without them).
void RunGravityWells(EffectSettings& s);

// Trail mode when the ring of ParticleCount x OrbitTrailLength positions fits 32000 entries.
inline bool UsesTrailRing(int32_t particles, int32_t trailLength) {
  return particles * trailLength <= kTrailRingLimit;
}

// The state of one run, one array per attribute.
struct GravityState {
  int32_t Emitters = 0, Attractors = 0, Particles = 0, TrailLength = 1;
  bool TrailMode = true;
  std::array<float, kMaxWells> EmitterX{}, EmitterY{}, EmitterZ{};
  std::array<float, kMaxWells> AttractorX{}, AttractorY{}, AttractorZ{}, AttractorMass{};
  std::vector<float> ParticleX, ParticleY, ParticleZ, ParticleVX, ParticleVY, ParticleVZ, LastSpeed;
  std::vector<int32_t> TrailX, TrailY;                                   // trail mode only
  std::vector<float> EraserX, EraserY, EraserZ, EraserVX, EraserVY, EraserVZ;  // eraser mode only
  int32_t CycleFrame = 0;
  int32_t RefreshCount = 0;
  int32_t TrailSlot = 0;
  int32_t Cycles = 0;  // cycles started in this run (for tests and the bench)
};

// GravityLoop: set-up allocates for one run and starts the first cycle; each step is a frame.
class GravityLoop : public Engine {
 public:
  // clampFirst: true for the run loop (RunGravityWells), false for the about box's demonstration.
  explicit GravityLoop(bool clampFirst = true) : clampFirst_(clampFirst) {}

  void Setup(Context& ctx) override;
  void Step(Context& ctx) override;
  int ParticleCount() const override { return state_.Particles; }

  const GravityState& State() const { return state_; }
  GravityState& MutableState() { return state_; }  // tests place particles by hand

 private:
  void CycleStart(Context& ctx);
  void RefreshAfterFrameEnd(Context& ctx);
  void DrawAttractorCircles(Context& ctx) const;
  void Attract(float& px, float& py, float& pz, float& vx, float& vy, float& vz) const;
  int32_t ParticleColor(const Context& ctx, int32_t i);
  void StepTrailMode(Context& ctx);
  void StepEraserMode(Context& ctx);

  bool clampFirst_;
  bool frameEnded_ = false;  // a frame has ended: its refresh count is due at the next step
  // Settings as the loop reads them, fixed for the run.
  int32_t refresh_ = 0;
  int32_t attractorRadius_ = 0;
  int32_t hueMultiplier_ = 0;
  int32_t hueStart_ = 0;
  int32_t colorComp_ = 1;
  int32_t pixelSize_ = 1;
  float focalLength_ = 1;
  float emitSpeed_ = 0;
  float gravity_ = 0;
  GravityState state_;
};

std::unique_ptr<Engine> CreateGravityWells();

}  // namespace qsrn
