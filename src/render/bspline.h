// B-spline curves shared by the spline effects: the uniform cubic B-spline point, the rolling
// window of four control points per spline (drop the oldest, append a random one, so a path never
// repeats and never breaks), and the symmetric layout that spreads heads over a sphere about the
// scene centre (0, 0, FocalLength), led by one computed head.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "render/context.h"

namespace qsrn {

// The uniform cubic B-spline basis at t for control points P0..P3, evaluated in double per
// coordinate and stored as float.
void BSplinePoint(float& outX, float& outY, float& outZ, float t,
                  float x0, float y0, float z0, float x1, float y1, float z1,
                  float x2, float y2, float z2, float x3, float y3, float z3);

// The rolling control points: CP(s, j) at index s * 4 + j, spline index first.
struct ControlWindow {
  int32_t Splines = 0;
  std::vector<float> CPX, CPY, CPZ;

  // Sizes the arrays for `splines` windows; nothing is drawn.
  void Allocate(int32_t splines);
  // Draws four random points per spline, spline by spline, x then y then z, in a cube of
  // half-side halfExtent about the scene centre.
  void Initialise(Context& ctx, float halfExtent);
  // Drops the oldest point of splines 0..count-1 and appends a fresh random one to each.
  void Shift(Context& ctx, int32_t count, float halfExtent);
  // The head of spline s at segment parameter t.
  void Head(int32_t s, float t, float& x, float& y, float& z) const;

 private:
  void RandomPoint(Context& ctx, int32_t index, float halfExtent);
};

// The segment parameter t and the frame within the segment, carried from one engine step to the
// next: t runs 0, 1/steps, ... (accumulated in float) and the windows shift after the last frame.
struct SegmentClock {
  float t = 0;
  int32_t frame = 0;  // 0 until the first step
  int16_t steps = 1;

  void Start(int16_t segmentSteps);
  // Moves on to this step's frame. Runs at the start of a step, so that the bookkeeping of the
  // previous frame happens only if another frame follows. True when the previous frame ended a
  // segment: the caller shifts its windows (t is back at 0).
  bool Next();
};

// The count rule of the symmetric layouts: 2, 4, 6, or 2 k^2 + 2 heads (n at least 1).
int16_t SymmetricCount(int16_t n);

// Rotation about the scene centre, first about the y axis by angleB, then about the x axis by
// angleA (radians).
void RotateAboutCentre(float& outX, float& outY, float& outZ, float x, float y, float z,
                       float angleA, float angleB, float focalLength);

// The two angles that the symmetric layout rotates by, for a vector relative to the centre.
// A vector with no y-z extent (or no x-z2 extent after the first turn) gets angle 0 there.
void DirectionAngles(float x, float y, float z, float& angleA, float& angleB);

// Lays out all points on a sphere about the centre led by point 0 (two poles and rings of
// parallels); two points mirror each other through the centre. Writes only inside the arrays.
void SymmetricHeads(std::span<float> X, std::span<float> Y, std::span<float> Z, float focalLength);

}  // namespace qsrn
