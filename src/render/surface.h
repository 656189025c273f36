// The drawing surface: a framebuffer of 32-bit pixels in the 0x00BBGGRR layout, written one pixel
// at a time. Writes outside the buffer are dropped, as a window clips them. Nothing is double
// buffered: effects erase what they drew by drawing it again in black.
// Every write also marks the small square tile it falls in, so that a display can present only
// what changed since it last looked (ChangedTiles, ClearChangedTiles).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/pixel_buffer.h"

namespace qsrn {

struct Context;

// No desktop is larger on a side, nor larger than two 8K screens side by side. A window beyond
// either (a host program's enormous window) gets a surface within both, shown in its centre, so
// that its memory, the time to clear it and the time to end stay those of a real desktop.
inline constexpr int32_t kMaxSurfaceSide = 16384;
inline constexpr int64_t kMaxSurfacePixels = int64_t{kMaxSurfaceSide} * 4096;

// Where the surface for a window of width x height lies in it: the whole window, or its centre
// where the window is beyond those bounds (a side cut to kMaxSurfaceSide, then both sides by the
// same factor to kMaxSurfacePixels).
struct SurfacePlace {
  int32_t x = 0, y = 0, width = 0, height = 0;
};
SurfacePlace PlaceSurface(int32_t width, int32_t height);

// A tile's mark. Its own type rather than a byte, so that a mark written in an engine's inner
// loop cannot alias (and force reloads of) any other value the loop keeps in registers.
enum class TileMark : uint8_t { Clean = 0, Changed = 1 };

class Surface {
 public:
  Surface() = default;
  Surface(int32_t width, int32_t height) { Resize(width, height); }

  // A size beyond the bounds above is cut as PlaceSurface cuts it.
  void Resize(int32_t width, int32_t height);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  const uint32_t* Pixels() const { return pixels_.data(); }
  // The pixel memory of a new or cleared surface arrives at its first touch; this puts it in
  // place now, so that a timing of the first frames does not count the page faults.
  void Prefault() { pixels_.Prefault(); }
  // Writes through this pointer are not marked; call MarkAllChanged after them.
  uint32_t* Pixels() { return pixels_.data(); }

  // The single-pixel write (SetPixelV): clipped, never throws, marks its tile.
  void SetPixel(int32_t x, int32_t y, int32_t color) {
    const auto ux = static_cast<uint32_t>(x), uy = static_cast<uint32_t>(y);
    if (ux < static_cast<uint32_t>(width_) && uy < static_cast<uint32_t>(height_)) {
      pixels_[size_t{uy} * static_cast<size_t>(width_) + ux] = static_cast<uint32_t>(color);
      changed_[(size_t{uy >> kTileHeightShift} << tileStrideShift_) + (ux >> kTileWidthShift)] = TileMark::Changed;
    }
  }
  // What SetPixel needs, copied out for loops that write many pixels already found inside the
  // buffer (each marking its tile as SetPixel does): a pixel store may alias the surface's own
  // members and force their reload, but never these locals.
  struct Writer {
    uint32_t* pixels;
    TileMark* tiles;
    size_t width;
    int tileStrideShift;
    size_t PixelRow(uint32_t y) const { return size_t{y} * width; }
    size_t TileRow(uint32_t y) const { return size_t{y >> kTileHeightShift} << tileStrideShift; }
    static size_t TileColumn(uint32_t x) { return x >> kTileWidthShift; }
  };
  Writer RawWriter() { return {pixels_.data(), changed_.data(), static_cast<size_t>(width_), tileStrideShift_}; }
  int32_t GetPixel(int32_t x, int32_t y) const {
    if (static_cast<uint32_t>(x) < static_cast<uint32_t>(width_) &&
        static_cast<uint32_t>(y) < static_cast<uint32_t>(height_))
      return static_cast<int32_t>(pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
    return 0;
  }

  // Drawing state, reset by PrepareSurface.
  int32_t BackColor = 0;
  int32_t ForeColor = 0xFFFFFF;
  int16_t DrawWidth = 1;

  void Clear();                                               // fill with BackColor
  void DrawDot(int32_t x, int32_t y, int32_t color);          // a round dot DrawWidth across

  // Changed tiles: kTileWidth x kTileHeight pixels each (the last column and row may be cut short),
  // one mark per tile, Changed where a pixel was written since the last clear. A write marks
  // its tile even when it leaves the pixel as it was. Tile row r starts at byte r x TileStride()
  // (a power of two of at least 8, so that marking costs a shift, not a multiplication).
  // Tiles are wide and short: presenting one reads and writes only a few whole cache lines.
  static constexpr int kTileWidthShift = 4;
  static constexpr int kTileHeightShift = 2;
  static constexpr int32_t kTileWidth = 1 << kTileWidthShift;
  static constexpr int32_t kTileHeight = 1 << kTileHeightShift;
  int32_t TileColumns() const { return tileColumns_; }
  int32_t TileRows() const { return tileRows_; }
  size_t TileStride() const { return size_t{1} << tileStrideShift_; }
  const TileMark* ChangedTiles() const { return changed_.data(); }
  void ClearChangedTiles();
  void MarkAllChanged();
  // Marks the tiles of columns x0..x1 of row y (already clipped to the surface).
  void MarkSpan(int32_t y, int32_t x0, int32_t x1);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t tileColumns_ = 0;
  int32_t tileRows_ = 0;
  int tileStrideShift_ = 0;
  PixelBuffer pixels_;
  std::vector<TileMark> changed_;
};

// Black background, white foreground, line width 1, then cleared.
void PrepareSurface(Surface& surface);

// The block of PixelSize pixels below and right of (x, y); nothing for sizes outside 2..9.
void PlotBlock(Surface& surface, int pixelSize, int32_t x, int32_t y, int32_t color);

// Plots a projected point honouring PixelSize (one pixel, or a block).
inline void PlotPoint(Surface& surface, int pixelSize, int32_t x, int32_t y, int32_t color) {
  if (pixelSize == 1)
    surface.SetPixel(x, y, color);
  else
    PlotBlock(surface, pixelSize, x, y, color);
}

}  // namespace qsrn
