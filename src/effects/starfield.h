// Starfield (effect 1): the viewer flies forward through stars that appear at the far plane,
// grow as they approach and are recycled when they pass the eye or leave the screen. An unseen
// comet wanders across the far plane shedding stars that drift apart from its path, and spheres
// of stars (Dyson spheres) form at the far plane from recycled stars, spin and approach.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "effects/engine.h"

namespace qsrn {

class Starfield : public Engine {
 public:
  // Everything one run keeps, one array per star attribute, sized at set-up.
  struct State {
    std::vector<float> StarX, StarY, StarZ, StarDX, StarDY;
    std::vector<uint8_t> StarAlive;     // moving and drawn; clear while waiting in the pool
    std::vector<uint8_t> StarInSphere;  // a ring star of a sphere, moving on a circle
    std::vector<int32_t> StarColour;
    std::vector<float> OrbitAngle, OrbitRadius, OrbitCX, OrbitCY;
    std::vector<int16_t> SpherePool;    // stars waiting to form a sphere, filled from index 0
    int16_t PoolCount = 0;

    float CometX = 0, CometY = 0, CometZ = 0;
    float CometDX = 0, CometDY = 0, CometDZ = 0;
    int16_t CometFrame = 0;
    std::array<float, 4> CometKnotX{}, CometKnotY{}, CometKnotZ{};

    // Derived once per run.
    float ZFar = 0;          // FocalLength + 0.9999
    float SphereSpin = 0;    // radians a ring star turns per frame
    int16_t SphereSize = 0;  // two poles and LatPixels rings of Laterals stars
    float CometSpread = 0;   // drift per frame of a star shed by the comet
    float CometChance = 0;   // chance that a new star is shed by the comet
  };

  void Setup(Context& ctx) override;
  void Step(Context& ctx) override;
  int ParticleCount() const override;  // live stars

  const State& state() const { return s_; }
  State& state() { return s_; }  // tests place stars where they need them

  // The pen width of a star at depth z: one pixel more each time the depth halves.
  static int16_t DotWidth(const Context& ctx, float z);

  // A ballistic comet path: starts on a random edge of the far plane with a step that carries it
  // to the opposite edge in n frames.
  static void NewComet(Context& ctx, float& x, float& y, float& z, float& dx, float& dy, float& dz,
                       int16_t n);

  // Puts star i on a sphere of the configured radius whose far pole is at the far plane:
  // longitude a, polar angle b, ring radius r, centre (cx, cy).
  void PlaceSphereStar(const Context& ctx, int32_t i, float a, float b, float r, float cx, float cy);

 private:
  void ClampSettings(Context& ctx) const;
  void DrawStar(Context& ctx, int32_t i, int32_t color) const;
  void PlaceAtComet(Context& ctx, int32_t i);
  void PlaceNewStar(Context& ctx, int32_t i, bool anyDepth);
  void RecycleStar(Context& ctx, int32_t i);
  void BuildSphere(Context& ctx);
  void MoveComet(Context& ctx);

  State s_;
};

}  // namespace qsrn
