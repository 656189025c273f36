// The Starfield engine. Each frame every live star is erased (its dot drawn again in black at the
// same depth and position), moved towards the eye, recycled when it passes the near plane or leaves
// the screen, and drawn; the screen is never cleared. Recycled stars may wait in a pool until there
// are enough of them to form a sphere at the far plane. Random draws happen in a fixed order, so
// a seed always gives the same film.
#include "effects/starfield.h"

#include <cmath>

#include "render/bspline.h"
#include "render/color.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {
constexpr double kTwoPi = 2.0 * kPi;  // the float value, widened
constexpr float kNearPlane = 0.002f;


// A fresh 2 * Rnd - 1.
float Spread(Context& ctx) { return 2.0f * ctx.Rnd() - 1.0f; }
}  // namespace

int16_t Starfield::DotWidth(const Context& ctx, float z) {
  const float w = std::floor((1.0f + ctx.settings.FocalLength) / z);
  // A star grazing the eye would ask for a pen wider than any screen; the dot is clipped anyway.
  if (!(w < 32767.0f)) return 32767;
  return w < 1.0f ? static_cast<int16_t>(1) : static_cast<int16_t>(w);
}

void Starfield::NewComet(Context& ctx, float& x, float& y, float& z, float& dx, float& dy, float& dz,
                         int16_t n) {
  const float steps = n != 0 ? static_cast<float>(n) : 1.0f;
  const float q = ctx.Rnd();
  if (q < 0.25f) {  // from the top
    x = Spread(ctx);
    y = -1;
    dx = (Spread(ctx) - x) / steps;
    dy = static_cast<float>(2.0 / steps);
  } else if (q < 0.5f) {  // from the right
    x = 1;
    y = Spread(ctx);
    dx = static_cast<float>(-2.0 / steps);
    dy = (Spread(ctx) - y) / steps;
  } else if (q < 0.75f) {  // from the bottom
    x = Spread(ctx);
    y = 1;
    dx = (Spread(ctx) - x) / steps;
    dy = static_cast<float>(-2.0 / steps);
  } else {  // from the left
    x = -1;
    y = Spread(ctx);
    dx = static_cast<float>(2.0 / steps);
    dy = (Spread(ctx) - y) / steps;
  }
  z = static_cast<float>(ctx.settings.FocalLength + 0.9999);
  dz = 0;
}

void Starfield::PlaceSphereStar(const Context& ctx, int32_t i, float a, float b, float r, float cx,
                                float cy) {
  const auto k = static_cast<size_t>(i);
  s_.StarX[k] = static_cast<float>(std::cos(double{a}) * r + cx);
  s_.StarY[k] = static_cast<float>(std::sin(double{a}) * r + cy);
  s_.StarZ[k] = static_cast<float>(ctx.settings.FocalLength + 0.9999 -
                                   ctx.settings.Star_Dyson_Radius * 0.01 * (1.0 - std::cos(double{b})));
  s_.StarDX[k] = 0;
  s_.StarDY[k] = 0;
  s_.StarAlive[k] = 1;
}

void Starfield::ClampSettings(Context& ctx) const {
  EffectSettings& s = ctx.settings;
  s.Star_Stars = Clamp(s.Star_Stars, 10, 999);
  s.Star_Speed = Clamp(s.Star_Speed, 0.0001f, 1.0f);
  s.Star_Comet_Percent = Clamp(s.Star_Comet_Percent, 0, 100);
  s.Star_Comet_Lifespan = Clamp(s.Star_Comet_Lifespan, 10, 999);
  s.Star_Comet_Expansion = Clamp(s.Star_Comet_Expansion, 1, 99);
  s.Star_Dyson_Percent = Clamp(s.Star_Dyson_Percent, 0, 100);
  s.Star_Dyson_Laterals = Clamp(s.Star_Dyson_Laterals, 1, 20);
  s.Star_Dyson_LatPixels = Clamp(s.Star_Dyson_LatPixels, 1, 50);
  s.Star_Dyson_RotAngle = Clamp(s.Star_Dyson_RotAngle, 0, 90);
  s.Star_Dyson_Radius = Clamp(s.Star_Dyson_Radius, 1, 50);
  // A sphere is built only from stars waiting in the pool: one larger than all the stars could
  // never form, and with every star waiting for it the screen would stay black. Keep it whole
  // (pole to pole) within the star count by giving it fewer laterals and rings.
  s.Star_Dyson_Laterals = Clamp(s.Star_Dyson_Laterals, 1, s.Star_Stars - 2);
  s.Star_Dyson_LatPixels = Clamp(s.Star_Dyson_LatPixels, 1, (s.Star_Stars - 2) / s.Star_Dyson_Laterals);
}

void Starfield::DrawStar(Context& ctx, int32_t i, int32_t color) const {
  if (ctx.surface == nullptr) return;
  const auto k = static_cast<size_t>(i);
  Surface& surface = *ctx.surface;
  surface.DrawWidth = DotWidth(ctx, s_.StarZ[k]);
  surface.DrawDot(ProjectX(ctx.geometry, s_.StarX[k], s_.StarZ[k]),
                  ProjectY(ctx.geometry, s_.StarY[k], s_.StarZ[k]), color);
}

// The comet sheds the star in a random direction, CometSpread per frame.
void Starfield::PlaceAtComet(Context& ctx, int32_t i) {
  const auto k = static_cast<size_t>(i);
  s_.StarX[k] = s_.CometX;
  s_.StarY[k] = s_.CometY;
  s_.StarZ[k] = s_.CometZ;
  const auto a = static_cast<size_t>(Clamp(CLng(ctx.Rnd() * 1000.0f), 0, 1000));
  s_.StarDX[k] = s_.CometSpread * ctx.trig.CosTable[a];
  s_.StarDY[k] = Sgn(ctx.Rnd() - 0.5f) * s_.CometSpread * ctx.trig.SinTable[a];
}

void Starfield::Setup(Context& ctx) {
  ClampSettings(ctx);
  const EffectSettings& set = ctx.settings;
  const auto n = static_cast<size_t>(set.Star_Stars);
  s_ = State{};
  for (auto* v : {&s_.StarX, &s_.StarY, &s_.StarZ, &s_.StarDX, &s_.StarDY, &s_.OrbitAngle,
                  &s_.OrbitRadius, &s_.OrbitCX, &s_.OrbitCY})
    v->assign(n, 0.0f);
  s_.StarAlive.assign(n, 0);
  s_.StarInSphere.assign(n, 0);
  s_.StarColour.assign(n, 0);
  s_.SpherePool.assign(n, 0);

  s_.ZFar = static_cast<float>(set.FocalLength + 0.9999);
  s_.SphereSpin = static_cast<float>(kTwoPi / 360 * set.Star_Dyson_RotAngle);
  s_.SphereSize = static_cast<int16_t>(set.Star_Dyson_Laterals * set.Star_Dyson_LatPixels + 2);
  s_.CometSpread = static_cast<float>(set.Star_Comet_Expansion * 0.0001);
  s_.CometChance = static_cast<float>(set.Star_Comet_Percent * 0.01);

  if (set.Star_Comet_NonBallistic) {
    for (size_t k = 0; k < 4; ++k) {
      s_.CometKnotX[k] = ctx.Rnd() - 0.5f;
      s_.CometKnotY[k] = ctx.Rnd() - 0.5f;
      s_.CometKnotZ[k] = s_.ZFar;
    }
    BSplinePoint(s_.CometX, s_.CometY, s_.CometZ, 0.0f, s_.CometKnotX[0], s_.CometKnotY[0],
                 s_.CometKnotZ[0], s_.CometKnotX[1], s_.CometKnotY[1], s_.CometKnotZ[1],
                 s_.CometKnotX[2], s_.CometKnotY[2], s_.CometKnotZ[2], s_.CometKnotX[3],
                 s_.CometKnotY[3], s_.CometKnotZ[3]);
  } else {
    NewComet(ctx, s_.CometX, s_.CometY, s_.CometZ, s_.CometDX, s_.CometDY, s_.CometDZ,
             set.Star_Comet_Lifespan);
  }

  for (int32_t i = 0; i < set.Star_Stars; ++i) {
    const auto k = static_cast<size_t>(i);
    if (ctx.Rnd() * 100.0f < set.Star_Dyson_Percent) {
      s_.SpherePool[static_cast<size_t>(s_.PoolCount++)] = static_cast<int16_t>(i);
      continue;
    }
    PlaceNewStar(ctx, i, true);
    DrawStar(ctx, i, s_.StarColour[k]);
  }
}

// A new live star in a new colour: shed by the comet, or still at a random place, at any depth
// of the field at set-up and on the far plane afterwards.
void Starfield::PlaceNewStar(Context& ctx, int32_t i, bool anyDepth) {
  const auto k = static_cast<size_t>(i);
  if (ctx.Rnd() < s_.CometChance) {
    PlaceAtComet(ctx, i);
  } else {
    s_.StarX[k] = Spread(ctx);
    s_.StarY[k] = Spread(ctx);
    s_.StarZ[k] = anyDepth ? static_cast<float>(ctx.Rnd() * 0.9999 + ctx.settings.FocalLength) : s_.ZFar;
    s_.StarDX[k] = s_.StarDY[k] = 0;
  }
  s_.StarAlive[k] = 1;
  s_.StarInSphere[k] = 0;
  s_.StarColour[k] = PickColor(ctx, 0, 0);
}

// A star that passed the eye or left the screen: into the pool, or straight back in as a new star.
void Starfield::RecycleStar(Context& ctx, int32_t i) {
  s_.StarAlive[static_cast<size_t>(i)] = 0;
  if (ctx.Rnd() * 100.0f < ctx.settings.Star_Dyson_Percent) {
    s_.SpherePool[static_cast<size_t>(s_.PoolCount++)] = static_cast<int16_t>(i);
    return;
  }
  PlaceNewStar(ctx, i, false);
}

// Takes the newest SphereSize stars of the pool: the far pole, the near pole, then the rings
// from the far pole inwards, coloured along a blend between the poles' colours.
void Starfield::BuildSphere(Context& ctx) {
  const EffectSettings& set = ctx.settings;
  const float cx = ctx.Rnd() - 0.5f;
  const float cy = ctx.Rnd() - 0.5f;
  int32_t m = 0;
  int32_t ring = 1;
  float phi = 0;
  const double thetaStep = kTwoPi / ((set.Star_Dyson_LatPixels + 1) * 2);
  auto theta = static_cast<float>(thetaStep);
  const int32_t ca = PickColor(ctx, 0, 0);
  const int32_t cb = PickColor(ctx, 0, 0);

  const int32_t top = s_.PoolCount;
  const int32_t farPole = s_.SpherePool[static_cast<size_t>(top - 1)];
  const int32_t nearPole = s_.SpherePool[static_cast<size_t>(top - 2)];
  s_.StarColour[static_cast<size_t>(farPole)] = ca;
  s_.StarInSphere[static_cast<size_t>(farPole)] = 0;
  PlaceSphereStar(ctx, farPole, 0, 0, 0, cx, cy);
  s_.StarColour[static_cast<size_t>(nearPole)] = cb;
  s_.StarInSphere[static_cast<size_t>(nearPole)] = 0;
  PlaceSphereStar(ctx, nearPole, 0, static_cast<float>(kTwoPi / 2), 0, cx, cy);

  for (int32_t e = top - 3; e >= top - s_.SphereSize; --e) {
    const int32_t j = s_.SpherePool[static_cast<size_t>(e)];
    const auto k = static_cast<size_t>(j);
    // The radius times the sine in double, rounded to float only once.
    const auto rho = static_cast<float>(set.Star_Dyson_Radius * 0.01 * std::sin(double{theta}));
    PlaceSphereStar(ctx, j, phi, theta, rho, cx, cy);
    s_.StarColour[k] = BlendColor(ctx, ca, cb, ring);
    ++m;
    phi = static_cast<float>(phi + kTwoPi / set.Star_Dyson_Laterals);
    s_.StarInSphere[k] = 1;
    s_.OrbitAngle[k] = phi;
    s_.OrbitRadius[k] = rho;
    s_.OrbitCX[k] = cx;
    s_.OrbitCY[k] = cy;
    if (m == set.Star_Dyson_Laterals) {
      m = 0;
      ++ring;
      theta = static_cast<float>(theta + thetaStep);
    }
  }
  s_.PoolCount = static_cast<int16_t>(s_.PoolCount - s_.SphereSize);
}

void Starfield::MoveComet(Context& ctx) {
  const EffectSettings& set = ctx.settings;
  ++s_.CometFrame;
  if (set.Star_Comet_NonBallistic) {
    const float t = static_cast<float>(s_.CometFrame) / static_cast<float>(set.Star_Comet_Lifespan);
    BSplinePoint(s_.CometX, s_.CometY, s_.CometZ, t, s_.CometKnotX[0], s_.CometKnotY[0],
                 s_.CometKnotZ[0], s_.CometKnotX[1], s_.CometKnotY[1], s_.CometKnotZ[1],
                 s_.CometKnotX[2], s_.CometKnotY[2], s_.CometKnotZ[2], s_.CometKnotX[3],
                 s_.CometKnotY[3], s_.CometKnotZ[3]);
  } else {
    s_.CometX += s_.CometDX;
    s_.CometY += s_.CometDY;
    s_.CometZ += s_.CometDZ;
  }
  if (s_.CometFrame <= set.Star_Comet_Lifespan) return;
  s_.CometFrame = 0;
  if (set.Star_Comet_NonBallistic) {
    for (size_t k = 0; k < 3; ++k) {
      s_.CometKnotX[k] = s_.CometKnotX[k + 1];
      s_.CometKnotY[k] = s_.CometKnotY[k + 1];
      s_.CometKnotZ[k] = s_.CometKnotZ[k + 1];
    }
    s_.CometKnotX[3] = ctx.Rnd() - 0.5f;
    s_.CometKnotY[3] = ctx.Rnd() - 0.5f;
    s_.CometKnotZ[3] = s_.ZFar;
  } else {
    NewComet(ctx, s_.CometX, s_.CometY, s_.CometZ, s_.CometDX, s_.CometDY, s_.CometDZ,
             set.Star_Comet_Lifespan);
  }
}

void Starfield::Step(Context& ctx) {
  const EffectSettings& set = ctx.settings;
  const SurfaceGeometry& g = ctx.geometry;
  const auto count = static_cast<int32_t>(s_.StarAlive.size());
  for (int32_t i = 0; i < count; ++i) {
    const auto k = static_cast<size_t>(i);
    if (!s_.StarAlive[k]) continue;
    DrawStar(ctx, i, 0);
    if (s_.StarInSphere[k]) {
      s_.OrbitAngle[k] += s_.SphereSpin;
      s_.StarX[k] = static_cast<float>(s_.OrbitCX[k] + s_.OrbitRadius[k] * std::cos(double{s_.OrbitAngle[k]}));
      s_.StarY[k] = static_cast<float>(s_.OrbitCY[k] + s_.OrbitRadius[k] * std::sin(double{s_.OrbitAngle[k]}));
    } else {
      s_.StarX[k] += s_.StarDX[k];
      s_.StarY[k] += s_.StarDY[k];
    }
    s_.StarZ[k] -= set.Star_Speed;
    // The depth test comes first so that a star at or behind the eye is never projected.
    bool gone = s_.StarZ[k] < kNearPlane;
    if (!gone) {
      const int32_t sx = ProjectX(g, s_.StarX[k], s_.StarZ[k]);
      const int32_t sy = ProjectY(g, s_.StarY[k], s_.StarZ[k]);
      gone = sx < 0 || sx > g.ScreenWidth || sy < 0 || sy > g.ScreenHeight;
    }
    if (gone) RecycleStar(ctx, i);
    if (s_.StarAlive[k]) DrawStar(ctx, i, s_.StarColour[k]);
  }
  if (s_.PoolCount >= s_.SphereSize) BuildSphere(ctx);
  MoveComet(ctx);
}

int Starfield::ParticleCount() const {
  int live = 0;
  for (uint8_t alive : s_.StarAlive) live += alive ? 1 : 0;
  return live;
}

}  // namespace qsrn
