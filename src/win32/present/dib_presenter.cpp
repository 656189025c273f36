// Changed tiles to the window through GDI; see dib_presenter.h.
#include "win32/present/dib_presenter.h"

#include <algorithm>
#include <cstring>

#include "render/tile_converter.h"

namespace qsrn {

namespace {
// Tile rows that share one band of calls, and the clean tiles a call may take in between changed
// ones: every call costs far more than the pixels it copies.
constexpr int32_t kBandTileRows = 32 / Surface::kTileHeight;
constexpr int32_t kJoinGap = 64 / Surface::kTileWidth;
}  // namespace

void DibPresenter::Copy(HDC dc, const Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height) {
  // A top-down bitmap starting at row y, as wide as the surface: SetDIBitsToDevice takes the
  // columns from x on, so the rows need not be copied out.
  BITMAPV4HEADER header{};
  header.bV4Size = sizeof header;
  header.bV4Width = surface.Width();
  header.bV4Height = -height;
  header.bV4Planes = 1;
  header.bV4BitCount = 32;
  header.bV4V4Compression = BI_BITFIELDS;
  header.bV4RedMask = 0x000000FF;
  header.bV4GreenMask = 0x0000FF00;
  header.bV4BlueMask = 0x00FF0000;
  const uint32_t* rows = surface.Pixels() + static_cast<size_t>(y) * static_cast<size_t>(surface.Width());
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), x, 0, 0,
                    static_cast<UINT>(height), rows, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS);
}

void DibPresenter::Present(HDC dc, Surface& surface) {
  if (surface.Width() <= 0 || surface.Height() <= 0) return;
  if (all_) {
    all_ = false;
    Copy(dc, surface, 0, 0, surface.Width(), surface.Height());
    surface.ClearChangedTiles();
    return;
  }
  const auto* marks = reinterpret_cast<const unsigned char*>(surface.ChangedTiles());
  const size_t words = surface.TileStride() / sizeof(uint64_t);
  columns_.resize(words);
  for (int32_t first = 0; first < surface.TileRows(); first += kBandTileRows) {
    std::fill(columns_.begin(), columns_.end(), 0);
    int32_t top = -1, bottom = -1;  // the band's first and last changed tile rows
    for (int32_t row = first; row < std::min(first + kBandTileRows, surface.TileRows()); ++row) {
      const unsigned char* rowMarks = marks + static_cast<size_t>(row) * surface.TileStride();
      uint64_t any = 0;
      for (size_t w = 0; w < words; ++w) {
        uint64_t m;
        std::memcpy(&m, rowMarks + w * sizeof m, sizeof m);
        columns_[w] |= m;
        any |= m;
      }
      if (any == 0) continue;
      if (top < 0) top = row;
      bottom = row;
    }
    if (top < 0) continue;
    const int32_t y = top * Surface::kTileHeight;
    const int32_t height = std::min(surface.Height(), (bottom + 1) * Surface::kTileHeight) - y;
    for (int32_t start = 0, end = 0; NextRun(columns_.data(), surface.TileColumns(), end, kJoinGap, start, end);) {
      const int32_t x = start * Surface::kTileWidth;
      Copy(dc, surface, x, y, std::min(surface.Width(), end * Surface::kTileWidth) - x, height);
    }
  }
  surface.ClearChangedTiles();
}

}  // namespace qsrn
