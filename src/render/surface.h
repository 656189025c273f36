// The drawing surface: a framebuffer of 32-bit pixels in the 0x00BBGGRR layout, written one pixel
// at a time. Writes outside the buffer are dropped, as a window clips them. Nothing is double
// buffered: effects erase what they drew by drawing it again in black.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qsrn {

struct Context;

class Surface {
 public:
  Surface() = default;
  Surface(int32_t width, int32_t height) { Resize(width, height); }

  void Resize(int32_t width, int32_t height);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  const uint32_t* Pixels() const { return pixels_.data(); }
  uint32_t* Pixels() { return pixels_.data(); }

  // The single-pixel write (SetPixelV): clipped, never throws.
  void SetPixel(int32_t x, int32_t y, int32_t color) {
    if (static_cast<uint32_t>(x) < static_cast<uint32_t>(width_) &&
        static_cast<uint32_t>(y) < static_cast<uint32_t>(height_))
      pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
          static_cast<uint32_t>(color);
  }
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
  void DrawCircle(int32_t cx, int32_t cy, int32_t radius, int32_t color);  // an outline

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint32_t> pixels_;
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
