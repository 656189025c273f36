// Galaxies: a disc of up to 30000 stars rotates about its axis (each star at a constant linear
// speed), slowly tilts and drifts toward the viewer until it has passed through the eye; then
// the screen is cleared and a new galaxy starts at the starting distance. Random stars vanish
// and come back elsewhere as a flashing new star or a nova; star bursts, comets and ambient
// stars decorate the scene (galaxy_events.h).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "effects/engine.h"
#include "effects/galaxy_events.h"
#include "effects/galaxy_settings.h"
#include "effects/galaxy_shape.h"

namespace qsrn {

// Hue rules (Galaxy_ColorComp).
enum class GalaxyHueRule : int32_t {
  RotationalVelocity = 0, RotationalVelocitySqrt = 1, DistanceFromCore = 2, DistanceSquared = 3, Black = 4
};

// Per star, one array per attribute.
struct GalaxyStars {
  std::vector<float> R, Theta, Omega, H;  // distance from the axis, orbital angle, angular speed, height
  std::vector<int32_t> Color;
  std::vector<int32_t> Age;                      // frames since the star was last (re)created
  std::vector<int16_t> Countdown, NewFlash, Nova;  // the lifecycle's counters
  std::vector<int32_t> FlashX, FlashY;           // where the new-star flash was last drawn
  std::vector<float> FlashZ;
  std::vector<float> NovaZ;                      // the depth the nova was last drawn at
  std::vector<NovaLayers> NovaDrawn;             // and where its layers landed, to erase them

  void Allocate(int32_t n);
};

// InitStar: re-creates star i: a new place, angle and speed, counters cleared, its colour.
void InitStar(Context& ctx, const GalaxyParams& p, GalaxyStars& stars, int32_t i);
// The colour of a star by the hue rule, its index wrapped into the hue wheel.
int32_t StarColor(const Context& ctx, const GalaxyParams& p, float r, float h, float omega);

// The galaxy engine: set-up clamps and scales the settings, sizes every array once, and starts the
// first pass; each step is one frame of the current pass.
class GalaxyEngine : public Engine {
 public:
  void Setup(Context& ctx) override;
  void Step(Context& ctx) override;
  int ParticleCount() const override { return params_.Stars; }

  // Read by tests and the bench.
  const GalaxyParams& Params() const { return params_; }
  const GalaxyStars& Stars() const { return stars_; }
  GalaxyStars& MutableStars() { return stars_; }
  const StarBursts& Bursts() const { return bursts_; }
  const Comets& CometSlots() const { return comets_; }
  const AmbientStars& Ambient() const { return ambient_; }
  const GalaxyView& View() const { return view_; }
  int32_t Passes() const { return passes_; }
  int32_t TrailIndex() const { return trailIndex_; }
  const std::vector<int32_t>& TrailX() const { return trailX_; }
  const std::vector<int32_t>& TrailY() const { return trailY_; }

 private:
  void StartPass(Context& ctx);
  void StepStar(Context& ctx, int32_t i);
  void EndCountdown(Context& ctx, int32_t i);
  void StepNova(Context& ctx, int32_t i, bool erase);
  void SelectNewStars(Context& ctx);
  bool StoreFlash(Context& ctx, int32_t i, const ScenePoint& pos);

  GalaxyParams params_;
  GalaxyStars stars_;
  std::vector<int32_t> trailX_, trailY_;
  StarBursts bursts_;
  Comets comets_;
  AmbientStars ambient_;
  GalaxyView view_;
  float tilt_ = 0;  // T
  int32_t trailIndex_ = 0;
  int32_t passes_ = 0;
};

std::unique_ptr<Engine> CreateGalaxy();

}  // namespace qsrn
