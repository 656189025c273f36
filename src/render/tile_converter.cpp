// Changed tiles into runs and converted pixels; see tile_converter.h.
#include "render/tile_converter.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qsrn {

namespace {

// True when the last band's runs (from `start`) have the same columns as the band above (from
// `prevStart`), which ends where they begin, so that the two can be one band.
bool SameColumns(const std::vector<PixelRect>& rects, size_t prevStart, size_t start) {
  if (start - prevStart != rects.size() - start) return false;
  if (rects[prevStart].Bottom() + 1 != rects[start].y) return false;
  for (size_t i = 0; i < start - prevStart; ++i)
    if (rects[prevStart + i].x != rects[start + i].x || rects[prevStart + i].width != rects[start + i].width)
      return false;
  return true;
}

}  // namespace

int32_t StripBandRows(int32_t width, int32_t height) {
  constexpr int32_t kBandsPerSurface = 8;
  constexpr int32_t kFewestRows = 32;    // a small window is not cut into slivers
  constexpr int32_t kMaxClipRects = 8192;
  const int32_t tileRows = (height + Surface::kTileHeight - 1) / Surface::kTileHeight;
  const int32_t tileColumns = (width + Surface::kTileWidth - 1) / Surface::kTileWidth;
  int32_t rows = std::max((tileRows + kBandsPerSurface - 1) / kBandsPerSurface, kFewestRows / Surface::kTileHeight);
  // A tile row has at most every other tile changed on its own.
  rows = std::min(rows, std::max(1, kMaxClipRects / std::max(1, (tileColumns + 1) / 2)));
  return std::max(1, std::min(rows, tileRows)) * Surface::kTileHeight;
}

bool NextRun(const uint64_t* words, int32_t count, int32_t from, int32_t joinGap, int32_t& start, int32_t& end) {
  const auto* marks = reinterpret_cast<const unsigned char*>(words);
  int32_t c = from;
  while (c < count && marks[c] == 0) c += (c % 8 == 0 && words[c / 8] == 0) ? 8 : 1;  // clean words at once
  if (c >= count) return false;
  start = c;
  end = c + 1;
  for (int32_t next = end; next < count && next - end <= joinGap; ++next)
    if (marks[next] != 0) end = next + 1;
  return true;
}

// Whole aligned blocks are streamed past the cache: the window system reads them, not us, and a
// tile row of 16 pixels is one full cache line, so the line need not be read before it is written.
void ConvertSpan(const uint32_t* from, uint32_t* to, int32_t count) {
  int32_t i = 0;
#if defined(__SSE2__)
  if ((reinterpret_cast<uintptr_t>(to) & 15) == 0) {
    const __m128i green = _mm_set1_epi32(0x0000FF00), low = _mm_set1_epi32(0xFF);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
      const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
      const __m128i red = _mm_and_si128(_mm_srli_epi32(c, 16), low);
      const __m128i blue = _mm_slli_epi32(_mm_and_si128(c, low), 16);
      const __m128i v = _mm_or_si128(_mm_or_si128(alpha, _mm_and_si128(c, green)), _mm_or_si128(red, blue));
      _mm_stream_si128(reinterpret_cast<__m128i*>(to + i), v);
    }
  }
#endif
  for (; i < count; ++i) {
    const uint32_t c = from[i];
    to[i] = 0xFF000000u | (c & 0x0000FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu);
  }
}

void FlushStreamedPixels() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

void TileConverter::Resize(const Surface& surface) {
  tileRows_ = surface.TileRows();
  wordsPerRow_ = surface.TileStride() / sizeof(Word);
  unpainted_.assign(wordsPerRow_ * static_cast<size_t>(tileRows_), 0);
}

void TileConverter::ConvertRows(const uint32_t* pixels, size_t stride, const PixelTarget& target, int offsetX,
                                int offsetY, int top, int bottom) const {
  if (target.bits == nullptr) return;
  // A paced frame finds most of these lines out of the cache (the engine wrote only some of
  // them): asking for all of them first lets their reads overlap instead of queueing.
  for (int y = top; y < bottom; ++y) {
    const uint32_t* from = pixels + static_cast<size_t>(y) * stride;
    for (const auto& [left, right] : spans_)
      for (int x = left; x < right; x += Surface::kTileWidth) __builtin_prefetch(from + x);
  }
  for (int y = top; y < bottom; ++y) {
    const uint32_t* from = pixels + static_cast<size_t>(y) * stride;
    auto* to = reinterpret_cast<uint32_t*>(target.bits + (y + offsetY) * target.bytesPerLine) + offsetX;
    for (const auto& [left, right] : spans_) ConvertSpan(from + left, to + left, right - left);
  }
}

bool TileConverter::ConvertMarkedRow(const uint32_t* pixels, size_t stride, const PixelTarget& target, int offsetX,
                                     int offsetY, const PixelRect& bounds, int32_t row, int& top, int& bottom) {
  Word* rowWords = UnpaintedRow(row);
  spans_.clear();
  const auto tiles = static_cast<int32_t>(wordsPerRow_ * sizeof(Word));
  bool marked = false;
  for (int32_t start = 0, end = 0; NextRun(rowWords, tiles, end, 0, start, end);) {
    marked = true;
    const int left = std::max(bounds.x, start * Surface::kTileWidth);
    const int right = std::min(bounds.x + bounds.width, end * Surface::kTileWidth);
    if (left < right) spans_.emplace_back(left, right);
  }
  if (!marked) return false;
  std::fill(rowWords, rowWords + wordsPerRow_, 0);  // also marks beyond the window: nothing to show there
  top = std::max(bounds.y, row * Surface::kTileHeight);
  bottom = std::min(bounds.y + bounds.height, (row + 1) * Surface::kTileHeight);
  ConvertRows(pixels, stride, target, offsetX, offsetY, top, bottom);
  return true;
}

int32_t TileConverter::ConvertBand(Surface& surface, const PixelTarget& target, int32_t& row, int32_t& top,
                                   std::vector<PixelRect>& runs) {
  if (tileRows_ != surface.TileRows() || wordsPerRow_ != surface.TileStride() / sizeof(Word)) Resize(surface);
  const auto* marks = reinterpret_cast<const unsigned char*>(surface.ChangedTiles());
  const uint32_t* pixels = std::as_const(surface).Pixels();
  const auto stride = static_cast<size_t>(surface.Width());
  top = -1;
  int32_t tiles = 0;
  size_t rowStart = runs.size();  // the first run of the tile row above
  for (; row < tileRows_; ++row) {
    const int32_t rowBottom = std::min((row + 1) * Surface::kTileHeight, surface.Height());
    if (top >= 0 && rowBottom - top > target.height) break;  // the next band's
    // The surface's marks join what is still unpainted.
    Word* rowWords = UnpaintedRow(row);
    const unsigned char* rowMarks = marks + static_cast<size_t>(row) * surface.TileStride();
    Word any = 0;
    for (size_t w = 0; w < wordsPerRow_; ++w) {
      Word m;
      std::memcpy(&m, rowMarks + w * sizeof(Word), sizeof m);
      rowWords[w] |= m;
      any |= rowWords[w];
    }
    if (any == 0) continue;
    if (top < 0) top = row * Surface::kTileHeight;
    const PixelRect bounds{0, top, std::min(surface.Width(), target.width), std::min(surface.Height() - top, target.height)};
    int y0 = 0, y1 = 0;
    if (!ConvertMarkedRow(pixels, stride, target, 0, -top, bounds, row, y0, y1) || y0 >= y1 || spans_.empty())
      continue;
    const size_t start = runs.size();
    for (const auto& [left, right] : spans_) {
      runs.push_back({left, y0, right - left, y1 - y0});
      tiles += (right - left + Surface::kTileWidth - 1) / Surface::kTileWidth;
    }
    if (start > rowStart && SameColumns(runs, rowStart, start)) {
      for (size_t i = rowStart; i < start; ++i) runs[i].height = runs.back().Bottom() + 1 - runs[i].y;
      runs.resize(start);
    } else {
      rowStart = start;
    }
  }
  return tiles;
}

}  // namespace qsrn
