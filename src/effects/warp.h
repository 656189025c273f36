// B-Spline Warp: heads glide along rolling B-spline paths in a small cube about the scene centre,
// and each spline fires sparks outward along the line from the centre through its head. Every
// spark leaves a fixed-length trail that an eraser, retracing the same path some frames behind,
// wipes out again, so the streaks sweep across the screen as the heads wander.
#pragma once

#include <cstdint>
#include <vector>

#include "effects/engine.h"
#include "render/bspline.h"

namespace qsrn {

// Per spline: head, colour scheme, trail, speed and hue cycling.
struct WarpSplines {
  std::vector<float> HeadX, HeadY, HeadZ;
  std::vector<int32_t> SchemeColor;
  std::vector<uint8_t> SchemeKeep;
  std::vector<int16_t> SchemeHue;
  std::vector<int16_t> Trail;
  std::vector<float> SizeFactor, SpeedFactor;
  std::vector<uint8_t> Cycles;
  std::vector<int16_t> OwnHue;
};

// The spark table: slots w * ParticleCount .. w * ParticleCount + ParticleCount - 1 of spline w.
// A slot runs head only, then head and eraser, then eraser only, then is free again.
struct WarpSparks {
  std::vector<uint8_t> InUse, HeadLive, TailLive;
  std::vector<int16_t> Age, TailLeft;
  std::vector<float> X, Y, Z, VX, VY, VZ;        // head
  std::vector<float> EX, EY, EZ, EVX, EVY, EVZ;  // eraser
  std::vector<int32_t> Colour;
};

// Clamps the warp working fields in place, maps Damping to the per-frame velocity factor,
// applies the symmetric count rule and bounds the spark table to a 16-bit size.
// Returns the warp type the engine runs (a value outside 0..4 runs as 4).
int16_t PrepareWarpSettings(EffectSettings& s);

class WarpEngine final : public Engine {
 public:
  void Setup(Context& ctx) override;
  void Step(Context& ctx) override;
  int ParticleCount() const override { return liveSparks_; }

  // Read by tests: the state after the last step.
  const WarpSplines& Splines() const { return splines_; }
  const WarpSparks& Sparks() const { return sparks_; }
  const ControlWindow& Window() const { return window_; }
  int16_t SharedHue() const { return sharedHue_; }
  // Tests switch firing off to watch the erasers clean up behind the last sparks.
  void SetFiring(bool on) { firing_ = on; }

 private:
  void Fire(Context& ctx, int32_t w, int32_t k);
  void UpdateSlots(Context& ctx, int32_t w);  // every slot of spline w, in ascending order
  void PlaceHeads(int32_t w);

  ControlWindow window_;
  WarpSplines splines_;
  WarpSparks sparks_;
  int16_t type_ = 4;
  int16_t splineCount_ = 0;
  int16_t perSpline_ = 0;
  int16_t pixelSize_ = 1;
  float focal_ = 1;
  float persistence_ = 0;
  float damping_ = 1;
  float emitSpeed_ = 1;
  bool hueLock_ = false;
  bool symmetric_ = false;
  SegmentClock clock_;
  int16_t sharedHue_ = 0;
  int32_t liveSparks_ = 0;
  bool firing_ = true;
};

}  // namespace qsrn
