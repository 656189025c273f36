// The two glyphs of the star lifecycle: the new-star flash and the nova. Both are sets of
// points around a centre, a unit e apart: a cross k is (X +- k e, Y) and (X, Y +- k e), a
// diagonal k is (X +- k e, Y +- k e), a pair (a, b) is (X +- a e, Y +- b e). Every point is a
// single pixel, never a block, and erasing draws the same points in black.
// A glyph is drawn in one colour, so the order of its points does not matter: each coordinate
// is rounded once, and the points are written from a table of the coordinates they pair.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "effects/galaxy_events.h"
#include "effects/gravity_galaxy_common.h"
#include "render/surface.h"

namespace qsrn {

namespace {

// A point as multiples of e from the centre along x and y.
struct Offset {
  int8_t a, b;
};
template <size_t N>
using Offsets = std::array<Offset, N>;

constexpr Offsets<4> Pair(int a, int b) {
  const auto A = static_cast<int8_t>(a), B = static_cast<int8_t>(b);
  return {{{static_cast<int8_t>(-A), static_cast<int8_t>(-B)}, {A, static_cast<int8_t>(-B)},
           {static_cast<int8_t>(-A), B}, {A, B}}};
}
constexpr Offsets<4> Cross(int k) {
  const auto K = static_cast<int8_t>(k);
  return {{{static_cast<int8_t>(-K), 0}, {K, 0}, {0, static_cast<int8_t>(-K)}, {0, K}}};
}
constexpr Offsets<4> Diagonal(int k) { return Pair(k, k); }
constexpr Offsets<1> Centre() { return {{{0, 0}}}; }

template <size_t... N>
constexpr Offsets<(N + ... + 0)> Join(const Offsets<N>&... parts) {
  Offsets<(N + ... + 0)> all{};
  size_t n = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<ptrdiff_t>(n)), n += N), ...);
  return all;
}

// A glyph's points as indexes into the list of the multiples they use: 0 (the centre's own
// column or row) first, then -k and +k for each distinct k.
struct Shape {
  size_t ks = 0;
  std::array<int8_t, 8> k{};
  size_t widest = 0;  // the index of the largest k
  size_t points = 0;
  std::array<std::array<uint8_t, 2>, 40> at{};
  constexpr size_t Multiples() const { return 2 * ks + 1; }
  constexpr int Multiple(size_t i) const { return i == 0 ? 0 : (i % 2 == 1 ? -k[(i - 1) / 2] : k[(i - 1) / 2]); }
};

template <size_t N>
constexpr Shape MakeShape(const Offsets<N>& offsets) {
  Shape s;
  auto indexOf = [&s](int m) {
    if (m == 0) return uint8_t{0};
    const int a = m < 0 ? -m : m;
    size_t j = 0;
    while (j < s.ks && s.k[j] != a) ++j;
    if (j == s.ks) s.k[s.ks++] = static_cast<int8_t>(a);
    if (a > s.k[s.widest]) s.widest = j;
    return static_cast<uint8_t>(2 * j + (m < 0 ? 1 : 2));
  };
  for (const Offset& o : offsets) s.at[s.points++] = {indexOf(o.a), indexOf(o.b)};
  return s;
}

// The nova's layers: the middle one, those 0.1 M away, those 0.2 M away.
constexpr Shape kNovaMiddle = MakeShape(Join(Centre(), Cross(16), Diagonal(16), Diagonal(7), Cross(11), Diagonal(11),
                                             Pair(2, 24), Pair(24, 2), Cross(32)));
constexpr Shape kNovaNear = MakeShape(Join(Pair(3, 10), Pair(10, 3), Pair(7, 5), Pair(5, 7), Cross(24)));
constexpr Shape kNovaFar = MakeShape(Join(Cross(2), Pair(3, 5), Pair(5, 3)));

// The flash by its row (q in tenths): larger rows add points, cross 14 shows in row 7 only.
constexpr auto kFlashFrom4 = Join(Centre(), Cross(1), Cross(2));
constexpr auto kFlashFrom8 = Join(kFlashFrom4, Diagonal(4), Cross(8), Cross(16), Diagonal(7));
constexpr Shape kFlash0 = MakeShape(Centre());
constexpr Shape kFlash1 = MakeShape(Join(Centre(), Offsets<2>{{{-1, 0}, {1, 0}}}));
constexpr Shape kFlash2 = MakeShape(Join(Centre(), Cross(1)));
constexpr Shape kFlash3 = MakeShape(Join(Centre(), Cross(1), Offsets<2>{{{-2, 0}, {2, 0}}}));
constexpr Shape kFlash4 = MakeShape(kFlashFrom4);
constexpr Shape kFlash5 = MakeShape(Join(kFlashFrom4, Diagonal(4)));
constexpr Shape kFlash6 = MakeShape(Join(kFlashFrom4, Diagonal(4), Cross(8)));
constexpr Shape kFlash7 = MakeShape(Join(kFlashFrom4, Diagonal(4), Cross(8), Cross(14)));
constexpr Shape kFlash8 = MakeShape(kFlashFrom8);
constexpr Shape kFlash9 = MakeShape(Join(kFlashFrom8, Cross(32), Diagonal(11)));

// Columns or rows of a shape's multiples, as unsigned values: one off the surface is at
// least as large as the surface's side.
template <const Shape& S>
using Coords = std::array<uint32_t, S.Multiples()>;

// The general rounding: each coordinate centre + m e rounded half to even in double (the
// float e widened), or off the surface.
template <const Shape& S>
void RoundEach(Coords<S>& out, int32_t centre, double unit, double side) {
  const double c = centre;
  out[0] = static_cast<uint32_t>(centre);
  for (size_t i = 1; i < S.Multiples(); ++i) {
    const double r = RoundHalfEven(c + static_cast<double>(S.Multiple(i)) * unit);
    out[i] = r >= 0 && r < side ? static_cast<uint32_t>(r) : UINT32_MAX;
  }
}

// Writes the points of shape S whose column and row both lie on the surface.
template <const Shape& S>
void PlotTested(const Surface::Writer& w, const Coords<S>& xs, const Coords<S>& ys, uint32_t W, uint32_t H,
                uint32_t c) {
#pragma GCC unroll 40
  for (size_t k = 0; k < S.points; ++k) {
    const uint32_t x = xs[S.at[k][0]], y = ys[S.at[k][1]];
    if (x < W && y < H) {
      w.pixels[w.PixelRow(y) + x] = c;
      w.tiles[w.TileRow(y) + Surface::Writer::TileColumn(x)] = TileMark::Changed;
    }
  }
}

// Writes every point of shape S around (x0, y0), with the rounded steps d, without a test: the
// caller has made sure the whole shape lies on the surface.
template <const Shape& S>
[[gnu::always_inline]] inline void PlotInside(const Surface::Writer& w, uint32_t x0, uint32_t y0,
                                              const std::array<int32_t, S.ks>& d, uint32_t c) {
  std::array<uint32_t, S.Multiples()> column, pixelRow;
  std::array<size_t, S.Multiples()> tileColumn, tileRow;
  const auto stride = static_cast<uint32_t>(w.width), rowStart = y0 * stride;
  column[0] = x0;
  pixelRow[0] = rowStart;
  tileColumn[0] = Surface::Writer::TileColumn(x0);
  tileRow[0] = w.TileRow(y0);
  for (size_t j = 0; j < S.ks; ++j) {
    const auto du = static_cast<uint32_t>(d[j]);
    column[2 * j + 1] = x0 - du;
    column[2 * j + 2] = x0 + du;
    pixelRow[2 * j + 1] = rowStart - du * stride;
    pixelRow[2 * j + 2] = rowStart + du * stride;
    tileColumn[2 * j + 1] = Surface::Writer::TileColumn(x0 - du);
    tileColumn[2 * j + 2] = Surface::Writer::TileColumn(x0 + du);
    tileRow[2 * j + 1] = w.TileRow(y0 - du);
    tileRow[2 * j + 2] = w.TileRow(y0 + du);
  }
#pragma GCC unroll 40
  for (size_t k = 0; k < S.points; ++k) {
    w.pixels[pixelRow[S.at[k][1]] + column[S.at[k][0]]] = c;
    w.tiles[tileRow[S.at[k][1]] + tileColumn[S.at[k][0]]] = TileMark::Changed;
  }
}

// With the centre and 32 e well inside 2^21, X + k e is exact in double wherever its rounding
// can differ from X's, so it rounds to X + (k e rounded) unless k e is a tie; with k at most
// 32 a tie needs e to be a multiple of 1/64. Then every point lies at the centre shifted by
// whole steps.
bool TakesShiftedSteps(int32_t X, int32_t Y, double unit) {
  constexpr double kExact = 2097152.0;
  const double e64 = unit * 64;
  return std::fabs(e64) < kExact && RoundHalfEven(e64) != e64 && X > -kExact && X < kExact && Y > -kExact &&
         Y < kExact;
}

// Shape S's multiples of the unit e, each rounded, as whole steps from the centre (when
// TakesShiftedSteps holds), and the largest of them: no point lies further on either axis.
template <const Shape& S>
struct Steps {
  std::array<int32_t, S.ks> d;
  int32_t reach = 0;
  explicit Steps(double unit) {
    for (size_t j = 0; j < S.ks; ++j) d[j] = static_cast<int32_t>(RoundHalfEven(S.k[j] * unit));
    if constexpr (S.ks > 0) reach = std::abs(d[S.widest]);
  }
  // True when every point around (X, Y) lies on a W x H surface.
  bool WhollyInside(int32_t X, int32_t Y, int32_t W, int32_t H) const {
    return X - reach >= 0 && X + reach < W && Y - reach >= 0 && Y + reach < H;
  }
};

// Draws shape S around the surface position (X, Y) with unit e.
template <const Shape& S>
void DrawShape(Surface& surface, int32_t X, int32_t Y, float e, int32_t color) {
  const Surface::Writer w = surface.RawWriter();
  const int32_t W = surface.Width(), H = surface.Height();
  const auto c = static_cast<uint32_t>(color);
  const double unit = e;
  if (TakesShiftedSteps(X, Y, unit)) {
    const Steps<S> steps(unit);
    const auto& d = steps.d;
    const int32_t reach = steps.reach;
    // Wholly off the surface (as novas and flashes beyond the screen's edges often are): nothing.
    if (X + reach < 0 || X - reach >= W || Y + reach < 0 || Y - reach >= H) return;
    const auto x0 = static_cast<uint32_t>(X), y0 = static_cast<uint32_t>(Y);
    if (steps.WhollyInside(X, Y, W, H)) {
      PlotInside<S>(w, x0, y0, d, c);  // wholly on the surface: no point needs a test
      return;
    }
    // Across an edge: the same coordinates, each point tested (one off the surface, negative
    // ones included, is at least as large as the side as an unsigned value).
    Coords<S> xs, ys;
    xs[0] = x0;
    ys[0] = y0;
    for (size_t j = 0; j < S.ks; ++j) {
      const auto du = static_cast<uint32_t>(d[j]);
      xs[2 * j + 1] = x0 - du;
      xs[2 * j + 2] = x0 + du;
      ys[2 * j + 1] = y0 - du;
      ys[2 * j + 2] = y0 + du;
    }
    PlotTested<S>(w, xs, ys, static_cast<uint32_t>(W), static_cast<uint32_t>(H), c);
    return;
  }
  // Partly or wholly off the surface: each coordinate rounded on its own and tested.
  Coords<S> xs, ys;
  RoundEach<S>(xs, X, unit, W);
  RoundEach<S>(ys, Y, unit, H);
  PlotTested<S>(w, xs, ys, static_cast<uint32_t>(W), static_cast<uint32_t>(H), c);
}

// Asks for the lines that shape S around (X, Y) with unit e writes, when it takes shifted
// steps, lies wholly on the surface and spreads over 33 rows or more (a smaller one costs more
// instructions than misses). Only a hint: no pixel changes.
template <const Shape& S>
[[gnu::always_inline]] inline void PrefetchShape(const Surface::Writer& w, int32_t W, int32_t H, int32_t X,
                                                 int32_t Y, float e) {
  constexpr int32_t kSpread = 16;
  const double unit = e;
  // Most layers are far smaller: they are let go before anything is rounded (a reach of kSpread
  // needs |k e| of at least kSpread - 0.5 for the widest k).
  if (!(std::fabs(unit) * S.k[S.widest] >= kSpread - 0.5) || !TakesShiftedSteps(X, Y, unit)) return;
  const Steps<S> steps(unit);
  if (steps.reach < kSpread || !steps.WhollyInside(X, Y, W, H)) return;
  const auto stride = static_cast<ptrdiff_t>(w.width);
  std::array<const uint32_t*, S.Multiples()> row;
  std::array<int32_t, S.Multiples()> column;
  const uint32_t* at = w.pixels + static_cast<ptrdiff_t>(Y) * stride + X;
  row[0] = at;
  column[0] = 0;
  for (size_t j = 0; j < S.ks; ++j) {
    row[2 * j + 1] = at - steps.d[j] * stride;
    row[2 * j + 2] = at + steps.d[j] * stride;
    column[2 * j + 1] = -steps.d[j];
    column[2 * j + 2] = steps.d[j];
  }
#pragma GCC unroll 40
  for (size_t k = 0; k < S.points; ++k) __builtin_prefetch(row[S.at[k][1]] + column[S.at[k][0]], 1, 3);
}

// True when shape S drawn around (X, Y) with unit a writes exactly the pixels it writes with unit
// b: both take the shifted steps above, and those round alike.
template <const Shape& S>
bool SamePixels(int32_t X, int32_t Y, float a, float b) {
  const double ua = a, ub = b;
  if (!TakesShiftedSteps(X, Y, ua) || !TakesShiftedSteps(X, Y, ub)) return false;
  return Steps<S>(ua).d == Steps<S>(ub).d;
}

// Erases layer `was` of shape S unless `now` draws exactly its pixels again.
template <const Shape& S>
void EraseUnlessRedrawn(Surface& surface, const NovaLayer& was, const NovaLayer& now) {
  if (!(now.P == was.P && now.Q == was.Q && SamePixels<S>(was.P, was.Q, was.e, now.e)))
    DrawShape<S>(surface, was.P, was.Q, was.e, 0);
}

// Calls f.template operator()<S>() with the shape S of nova layer i: the middle one, then the two
// 0.1 M away, then the two 0.2 M away.
template <class F>
[[gnu::always_inline]] inline void WithLayerShape(size_t i, F&& f) {
  if (i == 0)
    f.template operator()<kNovaMiddle>();
  else if (i <= 2)
    f.template operator()<kNovaNear>();
  else
    f.template operator()<kNovaFar>();
}

// The flash's row for q = frames / F_new, compared in Single so that 0.7 and 0.9 fall in
// their own rows: 0 below 0.1, then one row per tenth, 9 from 0.9 on.
int FlashRow(float q) {
  constexpr float kBounds[] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f};
  int row = 0;
  for (float b : kBounds)
    if (q >= b) ++row;
  return row;
}

}  // namespace

void DrawNewStar(Context& ctx, const GalaxyParams& p, int32_t X, int32_t Y, float z, int32_t frames, int32_t color) {
  const auto e = static_cast<float>(static_cast<double>(ctx.settings.FocalLength) / z * p.NewExt);
  const int row = FlashRow(static_cast<float>(frames) / static_cast<float>(p.NewFrames));
  using Draw = void (*)(Surface&, int32_t, int32_t, float, int32_t);
  static constexpr Draw kRows[] = {DrawShape<kFlash0>, DrawShape<kFlash1>, DrawShape<kFlash2>, DrawShape<kFlash3>,
                                   DrawShape<kFlash4>, DrawShape<kFlash5>, DrawShape<kFlash6>, DrawShape<kFlash7>,
                                   DrawShape<kFlash8>, DrawShape<kFlash9>};
  kRows[row](*ctx.surface, X, Y, e, color);
}

NovaLayers PlaceNova(Context& ctx, const GalaxyParams& p, float x, float y, float z, int32_t frames) {
  const SurfaceGeometry& geo = ctx.geometry;
  const double M = p.NovaExt;
  // Grows as the remaining frames fall.
  const int32_t base = p.NovaFrames - frames + 1;
  const float g = base >= 1 && base <= p.NovaFrames && base < static_cast<int32_t>(p.NovaGrowth.size())
                      ? p.NovaGrowth[static_cast<size_t>(base)]
                      : NovaGrowthOf(base);
  const double zd = z;
  // Layers in drawing order (the middle one, those 0.1 M away, those 0.2 M away); the two in
  // front are drawn only while in front of the eye.
  constexpr size_t kLayers = kNovaLayers;
  const double depth[kLayers] = {zd, zd + 0.1 * M, zd - 0.1 * M, zd + 0.2 * M, zd - 0.2 * M};
  // Every layer's projection and unit at once, as ProjectX, ProjectY and the unit would give
  // them one by one, so that the divisions run side by side; a layer behind the eye is dropped.
  double w[kLayers], px[kLayers], py[kLayers], unit[kLayers];
  for (size_t i = 0; i < kLayers; ++i) w[i] = static_cast<float>(depth[i]);
  const double xd = x, yd = y, fl = ctx.settings.FocalLength, gd = g;
  for (size_t i = 0; i < kLayers; ++i) {
    px[i] = xd / w[i] * static_cast<double>(geo.ScaleX) + geo.CenterX;
    py[i] = yd / w[i] * static_cast<double>(geo.ScaleY) + geo.CenterY;
    unit[i] = fl / w[i] * M * gd;
  }
  NovaLayers layers;
  for (size_t i = 0; i < kLayers; ++i) {
    NovaLayer& l = layers[i];
    l.P = ScreenCoord(px[i]);
    l.Q = ScreenCoord(py[i]);
    l.e = 0;
    if (w[i] > 0)
      l.e = static_cast<float>(unit[i]);
    else
      l.P = kOffSurface;
  }
  return layers;
}

void DrawNovaLayers(Surface& surface, const NovaLayers& layers, int32_t color) {
  for (size_t i = 0; i < kNovaLayers; ++i) {
    const NovaLayer& l = layers[i];
    if (l.P == kOffSurface || l.Q == kOffSurface) continue;
    WithLayerShape(i, [&]<const Shape& S>() { DrawShape<S>(surface, l.P, l.Q, l.e, color); });
  }
}

void RedrawNovaLayers(Surface& surface, const NovaLayers& before, const NovaLayers& now, int32_t color) {
  // A layer drawn anew over exactly the pixels it had needs no erasing first: the pixels end as
  // if the old nova were erased whole and the new one drawn.
  for (size_t i = 0; i < kNovaLayers; ++i) {
    const NovaLayer &l = before[i], &n = now[i];
    if (l.P == kOffSurface || l.Q == kOffSurface) continue;
    WithLayerShape(i, [&]<const Shape& S>() { EraseUnlessRedrawn<S>(surface, l, n); });
  }
  DrawNovaLayers(surface, now, color);
}

void PrefetchNovaLayers(Surface& surface, const NovaLayers& layers) {
  const Surface::Writer w = surface.RawWriter();
  const int32_t W = surface.Width(), H = surface.Height();
  for (size_t i = 0; i < kNovaLayers; ++i) {
    const NovaLayer& l = layers[i];
    if (l.P == kOffSurface || l.Q == kOffSurface) continue;
    WithLayerShape(i, [&]<const Shape& S>() { PrefetchShape<S>(w, W, H, l.P, l.Q, l.e); });
  }
}

void DrawNova(Context& ctx, const GalaxyParams& p, float x, float y, float z, int32_t frames, int32_t color) {
  DrawNovaLayers(*ctx.surface, PlaceNova(ctx, p, x, y, z, frames), color);
}

}  // namespace qsrn
