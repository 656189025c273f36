// The velocities a firework spark starts with: round bursts (SphereVelocity), the random speed of
// a burst, bursts that draw a closed spline loop, and the four geometric patterns (cube surface,
// two pyramids and a double cone), plus the rotation used to tilt rings and spin twisters.
#pragma once

#include <cstdint>

#include "render/context.h"

namespace qsrn {

// A random direction at length about r (squashed horizontally by AspectRatio so it looks round).
void SphereVelocity(Context& ctx, float& vx, float& vy, float& vz, float r);

// ((1 - FireSymmetry) * Rnd + FireSymmetry) * EmitSpeed * size.
float RandomBurstSpeed(Context& ctx, float size);

// Shape 0 sphere, 1 spline path, 2 pattern; any other shape leaves the velocity as it is.
void BurstVelocity(Context& ctx, float& vx, float& vy, float& vz, float cx, float cy, float cz,
                   float speed, int shape, int pattern, float size, bool halve);

// FireSplineKnot - 2 random knots about (cx, cy, cz), then knots 0..2 repeated at the end so
// that the uniform cubic B-spline over them is a closed loop.
void MakeSplineKnots(Context& ctx, float cx, float cy, float cz);

// From the centre towards a random point of the knot loop, scaled by EmitSpeed * size.
void SplineVelocity(Context& ctx, float& vx, float& vy, float& vz, float cx, float cy, float cz,
                    float size, bool halve);

// A velocity on one of the four patterns; a pattern outside 0..3 leaves the velocity as it is.
void PatternVelocity(Context& ctx, float& vx, float& vy, float& vz, int pattern, float size);

// A rotation about the y axis by b, then about the x axis by a.
void RotateVector(float x, float y, float z, float a, float b, float& outX, float& outY, float& outZ);

// Sgn as the platform gives it: -1, 0 or 1.
inline int Sgn(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

}  // namespace qsrn
