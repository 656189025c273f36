// Shows a surface in a window's device context: only the tiles changed since the last frame, in
// bands of a few tile rows, each run of changed columns one SetDIBitsToDevice call. The surface's
// own 0x00BBGGRR pixels are the bitmap's bits (bitfield masks say where red, green and blue lie),
// so nothing is copied or converted on our side.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "render/surface.h"

namespace qsrn {

class DibPresenter {
 public:
  // Copies the changed tiles to dc (the whole surface after Invalidate) and clears the marks.
  void Present(HDC dc, Surface& surface);
  // The window lost what it showed (exposed, resized): the next frame copies everything.
  void Invalidate() { all_ = true; }

 private:
  void Copy(HDC dc, const Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height);

  std::vector<uint64_t> columns_;  // the band's changed columns, eight marks a word
  bool all_ = true;
};

}  // namespace qsrn
