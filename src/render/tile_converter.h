// The toolkit-free half of presenting a frame: which tiles of the surface changed, gathered into
// runs (coarse rectangles), and the conversion of just those tiles into a window system's 32-bit
// image (0xFFRRGGBB). A window's presenter and the --bench measurement both use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "render/surface.h"

namespace qsrn {

// A 32-bit 0xFFRRGGBB image that tiles are converted into, rows bytesPerLine apart; without
// bits nothing is converted, and only the runs of changed tiles are found.
struct PixelTarget {
  uint8_t* bits = nullptr;
  ptrdiff_t bytesPerLine = 0;
  int32_t width = 0, height = 0;
};

// A rectangle in surface pixels.
struct PixelRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t Bottom() const { return y + height - 1; }
};

// The pixel rows of one band when a surface of this size is presented through a strip of two
// bands (ConvertBand): about an eighth of the surface, in whole tile rows, at least a few of
// them, and few enough that the clip list of a band stays short however its tiles alternate.
int32_t StripBandRows(int32_t width, int32_t height);

// The next run of marked tiles in a row of marks (eight to a word), from column `from` on and
// before `count`: [start, end), taking in gaps of up to `joinGap` clean tiles. False when none is left.
bool NextRun(const uint64_t* words, int32_t count, int32_t from, int32_t joinGap, int32_t& start, int32_t& end);

// Converts 0x00BBGGRR pixels to 0xFFRRGGBB; aligned blocks are streamed past the cache, so
// FlushStreamedPixels must run before another reader is told of them.
void ConvertSpan(const uint32_t* from, uint32_t* to, int32_t count);
void FlushStreamedPixels();

// The tiles changed and not yet converted, and their conversion row by row.
class TileConverter {
 public:
  using Word = uint64_t;  // eight tile marks

  // Sizes the marks for the surface's tiles, all clean.
  void Resize(const Surface& surface);
  Word* UnpaintedRow(int32_t row) { return unpainted_.data() + static_cast<size_t>(row) * wordsPerRow_; }
  size_t WordsPerRow() const { return wordsPerRow_; }
  void Forget() { std::fill(unpainted_.begin(), unpainted_.end(), Word{0}); }

  // The columns of one pixel row to convert, [left, right), set before ConvertRows.
  std::vector<std::pair<int, int>>& spans() { return spans_; }
  // Converts the spans of source rows [top, bottom) (width `stride` pixels) into the target at
  // the offset.
  void ConvertRows(const uint32_t* pixels, size_t stride, const PixelTarget& target, int offsetX, int offsetY,
                   int top, int bottom) const;
  // Converts the runs of unpainted tiles of one tile row within `bounds` (clearing its marks),
  // leaving their columns in spans() and its pixel rows in [top, bottom); false when nothing in
  // it was marked.
  bool ConvertMarkedRow(const uint32_t* pixels, size_t stride, const PixelTarget& target, int offsetX, int offsetY,
                        const PixelRect& bounds, int32_t row, int& top, int& bottom);

  // Converts the tiles changed since the last frame (the surface's marks and the unpainted ones)
  // of one band of the surface into a target that holds target.height of its rows: from tile
  // row `row` on, as many tile rows as fit below the first changed one (whose top pixel row
  // becomes `top`, the target's first row). Appends their runs in surface pixels, y-x banded:
  // the runs of changed tiles of each tile row, one run extended down while the rows below
  // change in the same columns. Leaves `row` at the first tile row not taken and the surface's
  // marks in place (ClearChangedTiles once every band is done); returns the tiles converted.
  // The target must hold at least one tile row.
  int32_t ConvertBand(Surface& surface, const PixelTarget& target, int32_t& row, int32_t& top,
                      std::vector<PixelRect>& runs);

 private:
  int32_t tileRows_ = 0;
  size_t wordsPerRow_ = 0;
  std::vector<Word> unpainted_;  // the surface's marks not yet converted, in its layout
  std::vector<std::pair<int, int>> spans_;
};

}  // namespace qsrn
