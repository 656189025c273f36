// The framebuffer's own drawing operations: clear, the round dot of a given pen width and the
// PixelSize block. Every routine clips to the buffer, so an effect may
// draw (and erase) anywhere without checking, and the same call always touches the same pixels.
#include "render/surface.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qsrn {

SurfacePlace PlaceSurface(int32_t width, int32_t height) {
  SurfacePlace place;
  place.width = std::clamp<int32_t>(width, 0, kMaxSurfaceSide);
  place.height = std::clamp<int32_t>(height, 0, kMaxSurfaceSide);
  const int64_t pixels = int64_t{place.width} * place.height;
  if (pixels > kMaxSurfacePixels) {
    const double f = std::sqrt(static_cast<double>(kMaxSurfacePixels) / static_cast<double>(pixels));
    place.width = static_cast<int32_t>(place.width * f);
    place.height = static_cast<int32_t>(place.height * f);
  }
  place.x = std::max<int32_t>(width - place.width, 0) / 2;
  place.y = std::max<int32_t>(height - place.height, 0) / 2;
  return place;
}

void Surface::Resize(int32_t width, int32_t height) {
  const SurfacePlace bounded = PlaceSurface(width, height);
  width_ = bounded.width;
  height_ = bounded.height;
  pixels_.AssignZeros(static_cast<size_t>(width_) * static_cast<size_t>(height_));
  tileColumns_ = (width_ + kTileWidth - 1) >> kTileWidthShift;
  tileRows_ = (height_ + kTileHeight - 1) >> kTileHeightShift;
  tileStrideShift_ = 3;  // rows of whole 8-byte words, so that a reader can skip clean ones 8 at a time
  while ((int32_t{1} << tileStrideShift_) < tileColumns_) ++tileStrideShift_;
  // A new buffer has never been shown: all of it counts as changed (the padding too, unread).
  changed_.assign(TileStride() * static_cast<size_t>(tileRows_), TileMark::Changed);
}

void Surface::Clear() {
  if (BackColor == 0)
    pixels_.AssignZeros(pixels_.size());  // fresh zero pages rather than writing every pixel
  else
    std::fill(pixels_.data(), pixels_.data() + pixels_.size(), static_cast<uint32_t>(BackColor));
  MarkAllChanged();
}

void Surface::ClearChangedTiles() { std::fill(changed_.begin(), changed_.end(), TileMark::Clean); }

void Surface::MarkAllChanged() { std::fill(changed_.begin(), changed_.end(), TileMark::Changed); }

void Surface::MarkSpan(int32_t y, int32_t x0, int32_t x1) {
  TileMark* row = changed_.data() + (static_cast<size_t>(y >> kTileHeightShift) << tileStrideShift_);
  // Spans are short (a dot's width): a plain loop, not a call to memset.
  for (int32_t t = x0 >> kTileWidthShift, last = x1 >> kTileWidthShift; t <= last; ++t) row[t] = TileMark::Changed;
}

namespace {

// Fills columns x0..x1 of row y, clipped. 64-bit so that far-off positions cannot overflow.
inline void FillSpan(Surface& s, int64_t y, int64_t x0, int64_t x1, uint32_t color) {
  if (y < 0 || y >= s.Height()) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, int64_t{s.Width()} - 1);
  if (x0 > x1) return;
  uint32_t* row = s.Pixels() + static_cast<size_t>(y) * static_cast<size_t>(s.Width());
  std::fill(row + x0, row + x1 + 1, color);
  s.MarkSpan(static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1));
}

// The single-pixel write for positions that may lie beyond the 32-bit range.
inline void SetPixelWide(Surface& s, int64_t x, int64_t y, int32_t color) {
  if (x >= 0 && x < s.Width() && y >= 0 && y < s.Height())
    s.SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), color);
}

}  // namespace

// A dot d pixels across covers offsets lo..lo+d-1 on both axes (lo = -(d / 2)), keeping the pixels
// whose centres lie within d / 2 of the dot's centre: one pixel at 1, a 2 x 2 square at 2, then
// rounder shapes. Odd widths centre on the pixel, even widths on its top-left corner.
namespace {

// The round pen of width d covers the columns dx of row dy (both from -(d / 2)) with
// (dx - c)^2 + (dy - c)^2 <= d^2 / 4, c the pen's centre; in doubled coordinates that is exact
// integer arithmetic. Pens up to kTabledPen across are read from a table made at compile time.
constexpr int kTabledPen = 32;
struct PenRows {
  int8_t first[kTabledPen], last[kTabledPen];  // columns from the pen's left edge; first > last: none
};

constexpr std::array<PenRows, kTabledPen + 1> MakePenTable() {
  std::array<PenRows, kTabledPen + 1> table{};
  for (int d = 1; d <= kTabledPen; ++d)
    for (int row = 0; row < d; ++row) {
      const int v = 2 * row - (d - 1);
      int first = d, last = -1;
      for (int col = 0; col < d; ++col) {
        const int u = 2 * col - (d - 1);
        if (u * u + v * v <= d * d) {
          first = std::min(first, col);
          last = col;
        }
      }
      table[d].first[row] = static_cast<int8_t>(first);
      table[d].last[row] = static_cast<int8_t>(last);
    }
  return table;
}
constexpr std::array<PenRows, kTabledPen + 1> kPenTable = MakePenTable();

}  // namespace

void Surface::DrawDot(int32_t x, int32_t y, int32_t color) {
  const int32_t d = DrawWidth;
  const auto c = static_cast<uint32_t>(color);
  if (d <= 1) {
    SetPixel(x, y, color);
    return;
  }
  const int64_t lo = -(d / 2);
  const int64_t hi = lo + d - 1;
  // Clip rows first: a huge pen costs no more than the rows it can reach.
  const int64_t yFirst = std::max<int64_t>(lo, -int64_t{y});
  const int64_t yLast = std::min<int64_t>(hi, int64_t{height_} - 1 - y);
  if (d <= kTabledPen) {
    const PenRows& pen = kPenTable[static_cast<size_t>(d)];
    for (int64_t dy = yFirst; dy <= yLast; ++dy) {
      const auto row = static_cast<size_t>(dy - lo);
      if (pen.first[row] <= pen.last[row])
        FillSpan(*this, y + dy, x + lo + pen.first[row], x + lo + pen.last[row], c);
    }
    return;
  }
  const double centre = static_cast<double>(lo) + (d - 1) * 0.5;
  const double r2 = d * 0.25 * d;
  for (int64_t dy = yFirst; dy <= yLast; ++dy) {
    const double ry = static_cast<double>(dy) - centre;
    const double rest = r2 - ry * ry;
    if (rest < 0) continue;
    // Columns dx with (dx - centre)^2 <= rest.
    const double half = std::sqrt(rest);
    const auto x0 = static_cast<int64_t>(std::ceil(centre - half));
    const auto x1 = static_cast<int64_t>(std::floor(centre + half));
    FillSpan(*this, y + dy, x + std::max(x0, lo), x + std::min(x1, hi), c);
  }
}

void PrepareSurface(Surface& surface) {
  surface.BackColor = 0;
  surface.ForeColor = 0xFFFFFF;
  surface.DrawWidth = 1;
  surface.Clear();
}

namespace {

struct BlockOffsets {
  int count;
  std::array<std::array<int8_t, 2>, 9> at;  // (column, row)
};

// Blocks are two pixels wide up to size 4, three from 5 on, filled row by row; size 2 lists
// its right pixel first.
constexpr std::array<BlockOffsets, 10> kBlocks = {{
    {0, {}},
    {0, {}},
    {2, {{{1, 0}, {0, 0}}}},
    {3, {{{0, 0}, {1, 0}, {0, 1}}}},
    {4, {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}}},
    {5, {{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}}}},
    {6, {{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}}},
    {7, {{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}}}},
    {8, {{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}}}},
    {9, {{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}}},
}};

}  // namespace

void PlotBlock(Surface& surface, int pixelSize, int32_t x, int32_t y, int32_t color) {
  if (pixelSize < 2 || pixelSize > 9) return;
  const BlockOffsets& block = kBlocks[static_cast<size_t>(pixelSize)];
  for (int i = 0; i < block.count; ++i)
    SetPixelWide(surface, int64_t{x} + block.at[static_cast<size_t>(i)][0],
                 int64_t{y} + block.at[static_cast<size_t>(i)][1], color);
}

}  // namespace qsrn
