// B-spline points, the rolling control windows and the symmetric sphere layout of the heads.
#include "render/bspline.h"

#include <algorithm>
#include <cmath>

#include "render/geometry.h"
#include "settings/numeric.h"

namespace qsrn {
namespace {

// Float constants widened: the curves compute in double from these float values.
constexpr double kSixth = 0.16666667f;              // 1/6
constexpr double kPiWide = kPi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kHalfPi = kPi / 2;

double Basis(double t, double p0, double p1, double p2, double p3) {
  const double t2 = t * t;
  const double t3 = t2 * t;
  return ((-p0 + 3 * p1 - 3 * p2 + p3) * t3 + (3 * p0 - 6 * p1 + 3 * p2) * t2 +
          (-3 * p0 + 3 * p2) * t + (p0 + 4 * p1 + p2)) * kSixth;
}

// Arccos through the arctangent; the small term keeps q = +-1 finite, and a q pushed just past
// +-1 by float rounding is read as +-1 rather than taking the root of a negative number.
double Arccos(double q) {
  const double rest = std::max(0.0, 1 - q * q);
  return std::atan(-q / (std::sqrt(rest) + 0.000000001)) + kHalfPi;
}

}  // namespace

void BSplinePoint(float& outX, float& outY, float& outZ, float t,
                  float x0, float y0, float z0, float x1, float y1, float z1,
                  float x2, float y2, float z2, float x3, float y3, float z3) {
  outX = static_cast<float>(Basis(t, x0, x1, x2, x3));
  outY = static_cast<float>(Basis(t, y0, y1, y2, y3));
  outZ = static_cast<float>(Basis(t, z0, z1, z2, z3));
}

void ControlWindow::Allocate(int32_t splines) {
  Splines = std::max<int32_t>(splines, 0);
  const size_t n = static_cast<size_t>(Splines) * 4;
  CPX.assign(n, 0.0f);
  CPY.assign(n, 0.0f);
  CPZ.assign(n, 0.0f);
}

void ControlWindow::RandomPoint(Context& ctx, int32_t index, float halfExtent) {
  const float e = halfExtent;
  const size_t i = static_cast<size_t>(index);
  CPX[i] = ctx.Rnd() * 2.0f * e - e;
  CPY[i] = ctx.Rnd() * 2.0f * e - e;
  CPZ[i] = ctx.Rnd() * 2.0f * e + ctx.settings.FocalLength - e;
}

void ControlWindow::Initialise(Context& ctx, float halfExtent) {
  for (int32_t s = 0; s < Splines; ++s)
    for (int32_t j = 0; j < 4; ++j) RandomPoint(ctx, s * 4 + j, halfExtent);
}

void ControlWindow::Shift(Context& ctx, int32_t count, float halfExtent) {
  count = std::min(count, Splines);
  for (int32_t s = 0; s < count; ++s) {
    const size_t b = static_cast<size_t>(s) * 4;
    for (size_t j = 0; j < 3; ++j) {
      CPX[b + j] = CPX[b + j + 1];
      CPY[b + j] = CPY[b + j + 1];
      CPZ[b + j] = CPZ[b + j + 1];
    }
    RandomPoint(ctx, s * 4 + 3, halfExtent);
  }
}

void ControlWindow::Head(int32_t s, float t, float& x, float& y, float& z) const {
  const size_t b = static_cast<size_t>(s) * 4;
  BSplinePoint(x, y, z, t, CPX[b], CPY[b], CPZ[b], CPX[b + 1], CPY[b + 1], CPZ[b + 1],
               CPX[b + 2], CPY[b + 2], CPZ[b + 2], CPX[b + 3], CPY[b + 3], CPZ[b + 3]);
}

void SegmentClock::Start(int16_t segmentSteps) {
  steps = std::max<int16_t>(segmentSteps, 1);
  t = 0;
  frame = 0;
}

bool SegmentClock::Next() {
  if (frame == 0) {
    frame = 1;
    t = 0;
    return false;
  }
  t = static_cast<float>(1.0 / steps + t);
  if (++frame <= steps) return false;
  frame = 1;
  t = 0;
  return true;
}

int16_t SymmetricCount(int16_t n) {
  if (n < 4) return 2;
  if (n < 6) return 4;
  if (n < 10) return 6;
  const double k = Int(std::sqrt((n - 2) * 0.5));
  return CInt(2 * k * k + 2);
}

void RotateAboutCentre(float& outX, float& outY, float& outZ, float x, float y, float z,
                       float angleA, float angleB, float focalLength) {
  const float zr = z - focalLength;
  const double ca = std::cos(angleA), sa = std::sin(angleA);
  const double cb = std::cos(angleB), sb = std::sin(angleB);
  const float x1 = static_cast<float>(x * cb - zr * sb);
  const float z1 = static_cast<float>(x * sb + zr * cb);
  outX = x1;
  outY = static_cast<float>(y * ca + z1 * sa);
  outZ = static_cast<float>(-y * sa + z1 * ca + focalLength);
}

void DirectionAngles(float x, float y, float z, float& angleA, float& angleB) {
  const float r1 = static_cast<float>(std::sqrt(static_cast<double>(y) * y + static_cast<double>(z) * z));
  float a = 0.0f;
  if (r1 > 0.0f) {
    const float q = z / r1;
    a = static_cast<float>(Arccos(q));
    if (y / r1 < 0) a = static_cast<float>(kTwoPi - a);
  }
  const float z2 = static_cast<float>(-y * std::sin(a) + z * std::cos(a));
  const float r2 = static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(z2) * z2));
  float b = 0.0f;
  if (r2 > 0.0f) {
    const float q2 = z2 / r2;
    b = static_cast<float>(Arccos(q2));
    if (x / r2 < 0) b = static_cast<float>(kTwoPi - b);
  }
  angleA = a;
  angleB = b;
}

void SymmetricHeads(std::span<float> X, std::span<float> Y, std::span<float> Z, float focalLength) {
  const size_t n = std::min({X.size(), Y.size(), Z.size()});
  if (n < 2) return;
  const float f = focalLength;
  if (n == 2) {
    X[1] = -X[0];
    Y[1] = -Y[0];
    Z[1] = 2 * f - Z[0];
    return;
  }
  const int16_t rings = CInt(std::sqrt((static_cast<double>(n) - 2) * 0.5));
  const int32_t perRing = n == 6 ? 4 : 2 * rings;

  const float x0 = X[0], y0 = Y[0], zr = Z[0] - f;
  const float r = static_cast<float>(std::sqrt(static_cast<double>(x0) * x0 +
                                               static_cast<double>(y0) * y0 +
                                               static_cast<double>(zr) * zr));
  float a = 0, b = 0;
  DirectionAngles(x0, y0, zr, a, b);
  RotateAboutCentre(X[0], Y[0], Z[0], 0, 0, f - r, a, b, f);
  RotateAboutCentre(X[1], Y[1], Z[1], 0, 0, f + r, a, b, f);

  float phi = 0;
  const float dphi = static_cast<float>(kTwoPi / perRing);
  for (int32_t i = 1; i <= rings; ++i) {
    const double polar = i * kPiWide / (rings + 1);
    const float rho = static_cast<float>(r * std::sin(polar));
    const float zc = static_cast<float>(f - r * std::cos(polar));
    for (int32_t idx = (i - 1) * perRing + 2; idx <= i * perRing + 1; ++idx) {
      if (static_cast<size_t>(idx) >= n) return;  // counts the rule never gives
      const size_t k = static_cast<size_t>(idx);
      RotateAboutCentre(X[k], Y[k], Z[k], static_cast<float>(rho * std::cos(phi)),
                        static_cast<float>(rho * std::sin(phi)), zc, a, b, f);
      phi = phi + dphi;
    }
  }
}

}  // namespace qsrn
