// B-Spline Sparklers: sparkler heads glide along rolling B-spline paths near the scene centre and
// a fixed population of sparks streams from them in random directions, falling under gravity,
// slowing in the air and blown outward by a solar wind. A spark that dies by chance or leaves the
// surface is re-emitted from a random head; each spark is one pixel, erased and redrawn each frame.
#pragma once

#include <cstdint>
#include <vector>

#include "effects/engine.h"
#include "render/bspline.h"

namespace qsrn {

// The run's preparation: clamps the sparkler working fields in place and scales emit speed
// and gravity to scene units per frame, Damping to the per-frame velocity factor.
void ClampSparklerSettings(EffectSettings& s);

// The about box's demonstration: random symmetry, head count and solar wind with fixed values for
// the rest, written straight into the working fields (not clamped).
void SetSparklerDemoSettings(Context& ctx);

struct SparklerHeads {
  std::vector<float> X, Y, Z;
  std::vector<int32_t> SchemeColor;
  std::vector<uint8_t> SchemeKeep;
  std::vector<int16_t> SchemeHue;
};

struct SparklerSparks {
  std::vector<float> X, Y, Z, VX, VY, VZ;
  std::vector<int32_t> Colour;
};

class SparklerEngine final : public Engine {
 public:
  // Where the settings come from: clamped stored settings (the run loop), the demonstration's
  // random values, or the working fields exactly as they stand.
  enum class Start { Settings, Demo, AsIs };
  explicit SparklerEngine(Start start = Start::Settings) : start_(start) {}

  void Setup(Context& ctx) override;
  void Step(Context& ctx) override;
  int ParticleCount() const override { return static_cast<int>(sparks_.X.size()); }

  // Read by tests: the state after the last step.
  const SparklerHeads& Heads() const { return heads_; }
  const SparklerSparks& Sparks() const { return sparks_; }
  const ControlWindow& Window() const { return window_; }
  bool Symmetric() const { return symmetric_; }

 private:
  void Emit(Context& ctx, size_t i);
  void PlaceHeads();

  Start start_;
  ControlWindow window_;
  SparklerHeads heads_;
  SparklerSparks sparks_;
  int16_t headCount_ = 0;
  int16_t pixelSize_ = 1;
  float focal_ = 1;
  float extent_ = 1;
  float emitSpeed_ = 0;
  float persistence_ = 0;
  float gravity_ = 0;
  float damping_ = 1;
  float solarWind_ = 0;
  bool symmetric_ = false;
  SegmentClock clock_;
};

}  // namespace qsrn
