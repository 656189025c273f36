// The galaxy's star events: the flash of a new star, the layered burst of a nova, star bursts
// thrown out of the disc, comets shedding sparks in a solar wind, and a field of ambient stars.
// Every event is drawn pixel by pixel and erased in the following frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "effects/galaxy_settings.h"
#include "effects/galaxy_shape.h"
#include "render/context.h"

namespace qsrn {

// Burst stars and comet sparks share out a fixed pool of this many among their slots.
inline constexpr int32_t kEventPool = 2000;

// The slots of bursts or comets: each fires from a point of the disc that keeps orbiting and
// approaching with the galaxy.
struct EventSlots {
  int32_t Slots = 0;
  std::vector<int16_t> LiveCount, Age;
  std::vector<float> R, H, Depth, Theta, Omega;

  void Allocate(int32_t slots);
  void Clear();
  // Fires slot s: a new place in the disc (PlaceStar), the pass's depth, a random angle, and an
  // angular speed of orbitFactor at unit radius.
  void Launch(Context& ctx, const GalaxyParams& p, int32_t s, int32_t live, float D, float orbitFactor);
  // One frame older, further round its orbit and nearer the eye; returns its scene position.
  ScenePoint Advance(int32_t s, const GalaxyView& view, float V);
  ScenePoint Position(int32_t s, const GalaxyView& view) const {
    return Orbit(view, R[s], Theta[s], H[s], Depth[s]);
  }
};

// Star bursts: Int(2000 / Galaxy_BurstStars) slots, each a cluster thrown from one point.
struct StarBursts : EventSlots {
  int32_t StarsPerSlot = 1;
  // Per burst star k = slot x StarsPerSlot + j.
  std::vector<int16_t> Alive;
  std::vector<float> VX, VY, VZ;
  std::vector<int32_t> SX, SY;

  void Allocate(int32_t starsPerSlot);  // once per run, at the largest size
  void Clear();                         // at every pass: all zero, as if allocated anew
};

// Comets: Int(2000 / Galaxy_CometStars) slots, each a head on its own orbit with its sparks.
struct Comets : EventSlots {
  int32_t SparksPerSlot = 1;
  std::vector<int16_t> Active;  // per slot: the head lives and re-emits dying sparks
  // Per spark k = slot x SparksPerSlot + j.
  std::vector<int16_t> Alive, ColorAge;
  std::vector<float> X, Y, Z, VX, VY, VZ;
  std::vector<int32_t> SX, SY;

  void Allocate(int32_t sparksPerSlot);
  void Clear();
};

// Ambient stars: allocated once per run, placed at every pass, renewed one by one.
struct AmbientStars {
  std::vector<float> X, Y, Z, VX, VY, VZ, ColorAge;
  std::vector<int32_t> SX, SY;

  void Allocate(int32_t count);
  int32_t Count() const { return static_cast<int32_t>(X.size()); }
};

// DrawNewStar: the cross-shaped flash at screen (X, Y) and depth z, largest when frames equals
// F_new and shrinking one row at a time to a single pixel.
void DrawNewStar(Context& ctx, const GalaxyParams& p, int32_t X, int32_t Y, float z, int32_t frames, int32_t color);

// DrawNova: up to five layers around the scene point (x, y, z), growing as frames fall.
void DrawNova(Context& ctx, const GalaxyParams& p, float x, float y, float z, int32_t frames, int32_t color);

// The same in two halves, so that a nova can be erased from where it was drawn without
// projecting it again: where each layer lands (its centre off the surface when it is not drawn)
// and its unit e, then the drawing.
inline constexpr size_t kNovaLayers = 5;
struct NovaLayer {
  int32_t P, Q;
  float e;
};
using NovaLayers = std::array<NovaLayer, kNovaLayers>;
NovaLayers PlaceNova(Context& ctx, const GalaxyParams& p, float x, float y, float z, int32_t frames);
void DrawNovaLayers(Surface& surface, const NovaLayers& layers, int32_t color);
// Erases the layers drawn before and draws the new ones in one go (as DrawNovaLayers in black,
// then in colour).
void RedrawNovaLayers(Surface& surface, const NovaLayers& before, const NovaLayers& now, int32_t color);
// Asks for the lines the layers cover, ahead of their erasing; no pixel changes.
void PrefetchNovaLayers(Surface& surface, const NovaLayers& layers);

void UpdateStarBursts(Context& ctx, const GalaxyParams& p, StarBursts& bursts, const GalaxyView& view);
void UpdateComets(Context& ctx, const GalaxyParams& p, Comets& comets, const GalaxyView& view);

// RandomPointInBall: uniform draws in the cube until one falls inside the ball.
void RandomPointInBall(Context& ctx, float& x, float& y, float& z, float radius);
// The renewal's shell mapping: s = 1 moves the point onto the shell of radius A (squashed
// horizontally by the aspect ratio), s = 0 leaves it inside the ball. A point at the very
// centre has no direction to the shell and stays where it is.
void MapToAmbientShell(float& x, float& y, float& z, float A, float s, float aspect);
void PlaceAmbientStars(Context& ctx, const GalaxyParams& p, AmbientStars& ambient, float D);
void UpdateAmbientStars(Context& ctx, const GalaxyParams& p, AmbientStars& ambient, float D);

}  // namespace qsrn
