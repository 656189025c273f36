// The galaxy engine: passes of an approaching, rotating, tilting disc; the star step with its
// trail ring and lifecycle (countdown, new-star flash, nova); the new-star selection.
#include "effects/galaxy.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "effects/gravity_galaxy_common.h"
#include "render/frame.h"
#include "render/surface.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {
constexpr int32_t kWhite = 0xFFFFFF;
}  // namespace

void GalaxyStars::Allocate(int32_t n) {
  const auto size = static_cast<size_t>(n);
  for (auto* v : {&R, &Theta, &Omega, &H, &FlashZ, &NovaZ}) v->assign(size, 0.0f);
  for (auto* v : {&Color, &Age, &FlashX, &FlashY}) v->assign(size, 0);
  for (auto* v : {&Countdown, &NewFlash, &Nova}) v->assign(size, 0);
  NovaDrawn.assign(size, NovaLayers{});
}

int32_t StarColor(const Context& ctx, const GalaxyParams& p, float r, float h, float omega) {
  const double S = p.ColorScale, H0 = p.BaseHue;
  double index;
  switch (static_cast<GalaxyHueRule>(p.HueRule)) {
    case GalaxyHueRule::RotationalVelocity:
      index = S * omega * 10 + H0;
      break;
    case GalaxyHueRule::RotationalVelocitySqrt:
      index = std::sqrt(S * omega * 1000) + H0;
      break;
    case GalaxyHueRule::DistanceFromCore:
    case GalaxyHueRule::DistanceSquared: {
      const double d = std::sqrt(static_cast<double>(r) * r + static_cast<double>(h) * h);
      const double f = 1 - d / p.Radius;
      index = (p.HueRule == 2 ? f : f * f) * S + H0;
      break;
    }
    default:
      return 0;  // black: the star is invisible, but its pixels are still written
  }
  return ctx.colors.HueTable[HueIndex(index)];
}

void InitStar(Context& ctx, const GalaxyParams& p, GalaxyStars& s, int32_t i) {
  // Constant linear speed: the angular speed falls as the radius grows.
  PlaceOnOrbit(ctx, p, p.Rotation, s.R[i], s.H[i], s.Theta[i], s.Omega[i]);
  s.Age[i] = 0;
  s.Countdown[i] = 0;
  s.NewFlash[i] = 0;
  s.Nova[i] = 0;
  s.Color[i] = StarColor(ctx, p, s.R[i], s.H[i], s.Omega[i]);
}

void GalaxyEngine::Setup(Context& ctx) {
  params_ = ClampGalaxySettings(ctx.settings);
  const GalaxyParams& p = params_;
  stars_.Allocate(p.Stars);
  const auto ring = static_cast<size_t>(p.Stars) * static_cast<size_t>(p.Trail);
  trailX_.assign(ring, 0);
  trailY_.assign(ring, 0);
  // The event pools are sized once here and cleared at every pass.
  bursts_.Allocate(p.BurstStars);
  comets_.Allocate(p.CometStars);
  ambient_.Allocate(p.AmbStars);
  passes_ = 0;
  StartPass(ctx);
}

void GalaxyEngine::StartPass(Context& ctx) {
  const GalaxyParams& p = params_;
  trailIndex_ = 0;
  tilt_ = -p.Tilt;
  bursts_.Clear();
  comets_.Clear();
  view_.D = static_cast<float>(static_cast<double>(p.Distance) * 0.01);
  for (int32_t i = 0; i < p.Stars; ++i) InitStar(ctx, p, stars_, i);
  PlaceAmbientStars(ctx, p, ambient_, view_.D);
  passes_ += 1;
}

// Stores where star i's flash is drawn and draws it in white; false when it is behind the eye.
bool GalaxyEngine::StoreFlash(Context& ctx, int32_t i, const ScenePoint& pos) {
  if (!(pos.z > 0.0001)) return false;
  GalaxyStars& s = stars_;
  s.FlashX[i] = ProjectX(ctx.geometry, pos.x, pos.z);
  s.FlashY[i] = ProjectY(ctx.geometry, pos.y, pos.z);
  s.FlashZ[i] = pos.z;
  DrawNewStar(ctx, params_, s.FlashX[i], s.FlashY[i], pos.z, s.NewFlash[i], kWhite);
  return true;
}

// A star whose countdown ends comes back as a new star or, by chance, a nova, drawn at once.
[[gnu::always_inline]] inline void GalaxyEngine::EndCountdown(Context& ctx, int32_t i) {
  const GalaxyParams& p = params_;
  GalaxyStars& s = stars_;
  InitStar(ctx, p, s, i);
  if (ctx.Rnd() < p.NovaProb)
    s.Nova[i] = static_cast<int16_t>(p.NovaFrames);
  else
    s.NewFlash[i] = static_cast<int16_t>(p.NewFrames);
  const ScenePoint pos = Orbit(view_, s.R[i], s.Theta[i], s.H[i], view_.D);
  if (!(pos.z > 0.0001)) return;
  if (s.Nova[i] > 0) {
    s.NovaZ[i] = pos.z;
    s.NovaDrawn[i] = PlaceNova(ctx, p, pos.x, pos.y, pos.z, s.Nova[i]);
    DrawNovaLayers(*ctx.surface, s.NovaDrawn[i], kWhite);
  } else {
    StoreFlash(ctx, i, pos);
  }
}

// A nova one frame older: it moves on and fades along the age ramp, or, at its end, the star
// comes back as a new star. With erase, the nova is also erased from where it was drawn, in the
// same go as it is drawn anew.
[[gnu::always_inline]] inline void GalaxyEngine::StepNova(Context& ctx, int32_t i, bool erase) {
  const GalaxyParams& p = params_;
  GalaxyStars& s = stars_;
  s.Nova[i] -= 1;
  if (s.Nova[i] == 0) {
    InitStar(ctx, p, s, i);
    s.NewFlash[i] = static_cast<int16_t>(p.NewFrames);
    StoreFlash(ctx, i, Orbit(view_, s.R[i], s.Theta[i], s.H[i], view_.D));
    return;
  }
  s.Theta[i] += s.Omega[i];
  const ScenePoint pos = Orbit(view_, s.R[i], s.Theta[i], s.H[i], view_.D);
  s.NovaZ[i] = pos.z;
  if (pos.z > 0.0001) {
    // Fades along the age ramp; the index can round up to 100, one past the ramp's end.
    const float fade = static_cast<float>(p.NovaFrames - s.Nova[i]) * p.NovaRampStep;
    const int32_t color = ctx.colors.AgeRamp[AgeRampIndex(fade)];
    const NovaLayers layers = PlaceNova(ctx, p, pos.x, pos.y, pos.z, s.Nova[i]);
    if (erase)
      RedrawNovaLayers(*ctx.surface, s.NovaDrawn[i], layers, color);
    else
      DrawNovaLayers(*ctx.surface, layers, color);
    s.NovaDrawn[i] = layers;
  } else if (erase) {
    DrawNovaLayers(*ctx.surface, s.NovaDrawn[i], 0);
  }
}

[[gnu::always_inline]] inline void GalaxyEngine::StepStar(Context& ctx, int32_t i) {
  const GalaxyParams& p = params_;
  GalaxyStars& s = stars_;
  Surface& surface = *ctx.surface;
  const int pixelSize = ctx.settings.PixelSize;
  const int32_t t = i * p.Trail + trailIndex_;
  if (s.Age[i] < INT32_MAX) s.Age[i] += 1;  // an endless pass never wraps

  // Erase what the star drew one frame ago (flash, nova) or L frames ago (trail); a nova that
  // goes on is erased as it is drawn anew.
  bool eraseNova = false;
  if (s.NewFlash[i] > 0) {
    if (s.FlashZ[i] > 0.0001) DrawNewStar(ctx, p, s.FlashX[i], s.FlashY[i], s.FlashZ[i], s.NewFlash[i], 0);
    s.NewFlash[i] -= 1;
  } else if (s.Nova[i] > 0) {
    if (s.NovaZ[i] > 0.0001) {
      eraseNova = s.Nova[i] > 1 && s.Countdown[i] == 0;
      if (!eraseNova) DrawNovaLayers(surface, s.NovaDrawn[i], 0);
    }
  } else if (s.Age[i] > p.Trail) {
    PlotPoint(surface, pixelSize, trailX_[t], trailY_[t], 0);
  }

  if (s.Countdown[i] > 0) {
    // Not drawn while counting down, so its trail is wiped entry by entry.
    s.Countdown[i] -= 1;
    if (s.Countdown[i] == 0) EndCountdown(ctx, i);
  } else if (s.Nova[i] > 0) {
    StepNova(ctx, i, eraseNova);
  } else {
    s.Theta[i] += s.Omega[i];
    const ScenePoint pos = Orbit(view_, s.R[i], s.Theta[i], s.H[i], view_.D);
    if (!(pos.z > 0.0001)) return;  // the trail entry keeps its old position
    if (s.NewFlash[i] > 0) {
      StoreFlash(ctx, i, pos);
    } else {
      trailX_[t] = ProjectX(ctx.geometry, pos.x, pos.z);
      trailY_[t] = ProjectY(ctx.geometry, pos.y, pos.z);
      PlotPoint(surface, pixelSize, trailX_[t], trailY_[t], s.Color[i]);
    }
  }
}

// Galaxy_NewFreq selections per 100 frames: the hundreds every frame, the rest by chance.
void GalaxyEngine::SelectNewStars(Context& ctx) {
  const GalaxyParams& p = params_;
  GalaxyStars& s = stars_;
  const int32_t q = ctx.Rnd() * 100.0f < static_cast<float>(Mod(p.NewFreq, 100)) ? 1 : 0;
  const int16_t count = CInt(q + p.NewFreq * 0.01);
  for (int16_t n = 0; n < count; ++n) {
    const auto i = std::min(static_cast<int32_t>(Int(static_cast<double>(ctx.Rnd()) * p.Stars)), p.Stars - 1);
    // Only an ordinary star that has drawn its whole trail is picked.
    if (s.Age[i] > p.Trail && s.Countdown[i] == 0 && s.NewFlash[i] == 0 && s.Nova[i] == 0)
      s.Countdown[i] = static_cast<int16_t>(p.Trail + 1);
  }
}

void GalaxyEngine::Step(Context& ctx) {
  const GalaxyParams& p = params_;
  view_.SinT = static_cast<float>(std::sin(static_cast<double>(tilt_)));
  view_.CosT = static_cast<float>(std::cos(static_cast<double>(tilt_)));
  tilt_ = tilt_ + p.TiltInc;

  // A nova's glyphs scatter over the whole screen when the galaxy is near: the lines a later
  // star will erase (and draw again close by) are asked for while this one is drawn, so that
  // their misses overlap instead of stalling one after another.
  constexpr int32_t kPrefetchAhead = 3;
  for (int32_t i = 0; i < p.Stars; ++i) {
    const int32_t later = i + kPrefetchAhead;
    if (later < p.Stars && stars_.Nova[later] > 0) PrefetchNovaLayers(*ctx.surface, stars_.NovaDrawn[later]);
    StepStar(ctx, i);
  }

  if (p.BurstFreq > 0) UpdateStarBursts(ctx, p, bursts_, view_);
  if (p.CometFreq > 0) UpdateComets(ctx, p, comets_, view_);
  UpdateAmbientStars(ctx, p, ambient_, view_.D);

  trailIndex_ = (trailIndex_ + 1) % p.Trail;
  SelectNewStars(ctx);
  view_.D = view_.D - p.Velocity;
  // Once the centre is half a radius behind the eye, the next galaxy starts.
  if (view_.D < -0.5 * p.Radius) {
    ClearAndShowMessage(ctx);
    StartPass(ctx);
  }
}

std::unique_ptr<Engine> CreateGalaxy() { return std::make_unique<GalaxyEngine>(); }

}  // namespace qsrn
