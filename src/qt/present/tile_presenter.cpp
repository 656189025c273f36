// Changed-tile presentation; see tile_presenter.h.
#include "qt/present/tile_presenter.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qsrn {

namespace {

// Tile rows that share one band of rectangles, and the clean tiles a rectangle may take in
// between changed ones. The window system pays per rectangle far more than per pixel (measured
// under Xvfb); the clean pixels a rectangle takes in are not converted, only copied.
constexpr int32_t kBandTileRows = 32 / Surface::kTileHeight;
constexpr int32_t kJoinGap = 32 / Surface::kTileWidth;

// 0x00BBGGRR (the surface) to 0xFFRRGGBB (QImage::Format_RGB32, what the window system takes).
// Whole aligned blocks are streamed past the cache: the window system reads them, not us, and a
// tile row of 16 pixels is one full cache line, so the line need not be read before it is written.
inline void ConvertSpan(const uint32_t* from, uint32_t* to, int32_t count) {
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

// The streamed pixels are in memory before the window system is told of them.
inline void FlushStreamedPixels() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

// The image a painter draws into when it is a raster backing store (or any image) of a 32-bit
// opaque-capable format that its pixels can be written to directly, with the painter mapping
// window coordinates to it by the given scale and a whole-pixel offset; else null.
QImage* DirectTarget(QPainter& painter, qreal scale, QPoint& offset) {
  QPaintEngine* engine = painter.paintEngine();
  QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
  if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(device);
  const QImage::Format f = image->format();
  if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
    return nullptr;
  const QTransform t = painter.deviceTransform();
  if (t.type() > QTransform::TxScale || t.m11() != scale || t.m22() != scale) return nullptr;
  if (t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy())) return nullptr;
  offset = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
  return image;
}

// The next run of marked tiles in a row of marks (eight to a word), from column `from` on and
// before `count`: [start, end), taking in gaps of up to `joinGap` clean tiles. False when none is left.
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

// True when the last band's runs (from `start`) have the same columns as the band above (from
// `prevStart`), which ends where they begin, so that the two can be one band.
bool SameColumns(const std::vector<QRect>& rects, size_t prevStart, size_t start) {
  if (start - prevStart != rects.size() - start) return false;
  if (rects[prevStart].bottom() + 1 != rects[start].top()) return false;
  for (size_t i = 0; i < start - prevStart; ++i)
    if (rects[prevStart + i].left() != rects[start + i].left() ||
        rects[prevStart + i].width() != rects[start + i].width())
      return false;
  return true;
}

}  // namespace

void TilePresenter::Resize(Surface& surface, qreal devicePixelRatio) {
  static_assert(std::endian::native == std::endian::little, "the surface's pixels are read as RGBX8888");
  dpr_ = devicePixelRatio > 0 ? devicePixelRatio : 1;
  // Read-only: painting from it never copies, and nothing writes to the surface through it.
  image_ = QImage(reinterpret_cast<const uchar*>(std::as_const(surface).Pixels()), surface.Width(), surface.Height(),
                  static_cast<qsizetype>(surface.Width()) * 4, QImage::Format_RGBX8888);
  image_.setDevicePixelRatio(dpr_);
  tileRows_ = surface.TileRows();
  wordsPerRow_ = surface.TileStride() / sizeof(Word);
  unpainted_.assign(wordsPerRow_ * static_cast<size_t>(tileRows_), 0);
  columns_.assign(wordsPerRow_, 0);
  pending_ = QRegion();
  taken_ = QRegion();
  surface.MarkAllChanged();
}

void TilePresenter::Follow(Surface& surface) {
  if (image_.constBits() != reinterpret_cast<const uchar*>(std::as_const(surface).Pixels()) ||
      image_.width() != surface.Width() || image_.height() != surface.Height())
    Resize(surface, dpr_);
}

void TilePresenter::CollectBand(const Surface& surface, int32_t first, int32_t count) {
  const auto* marks = reinterpret_cast<const unsigned char*>(surface.ChangedTiles());
  std::fill(columns_.begin(), columns_.end(), 0);
  int32_t top = -1, bottom = -1;
  for (int32_t row = first; row < first + count; ++row) {
    const unsigned char* rowMarks = marks + static_cast<size_t>(row) * surface.TileStride();
    Word* rowUnpainted = unpainted_.data() + static_cast<size_t>(row) * wordsPerRow_;
    Word any = 0;
    for (size_t w = 0; w < wordsPerRow_; ++w) {
      Word m;
      std::memcpy(&m, rowMarks + w * sizeof(Word), sizeof m);
      columns_[w] |= m;
      rowUnpainted[w] |= m;
      any |= m;
    }
    if (any != 0) {
      if (top < 0) top = row;
      bottom = row;
    }
  }
  if (top < 0) return;
  const int32_t y0 = top * Surface::kTileHeight;
  const int32_t y1 = std::min((bottom + 1) * Surface::kTileHeight, surface.Height());
  for (int32_t start = 0, end = 0; NextRun(columns_.data(), surface.TileColumns(), end, kJoinGap, start, end);) {
    const int32_t x0 = start * Surface::kTileWidth;
    const int32_t x1 = std::min(end * Surface::kTileWidth, surface.Width());
    rects_.emplace_back(x0, y0, x1 - x0, y1 - y0);
    tilesPresented_ += (end - start) * (bottom - top + 1);
  }
}

void TilePresenter::Update(Surface& surface) {
  Follow(surface);
  rects_.clear();
  tilesPresented_ = 0;
  size_t bandStart = 0;  // the first rectangle of the band above
  for (int32_t first = 0; first < tileRows_; first += kBandTileRows) {
    const size_t start = rects_.size();
    CollectBand(surface, first, std::min(kBandTileRows, tileRows_ - first));
    if (rects_.size() == start) continue;
    // A band with the same columns as the band above it extends that band.
    if (start > bandStart && SameColumns(rects_, bandStart, start)) {
      const int32_t bottom = rects_.back().bottom();
      rects_.resize(start);
      for (size_t i = bandStart; i < start; ++i) rects_[i].setBottom(bottom);
    } else {
      bandStart = start;
    }
  }
  surface.ClearChangedTiles();
  if (rects_.empty()) return;
  if (pending_.isEmpty())
    pending_ = RegionOfRects();
  else
    pending_ += RegionOfRects();
}

QRegion TilePresenter::TakePending() {
  if (!pending_.isEmpty()) {
    if (taken_.isEmpty())
      taken_ = std::exchange(pending_, QRegion());
    else
      taken_ += std::exchange(pending_, QRegion());
  }
  return taken_;
}

QRegion TilePresenter::RegionOfRects() const {
  QRegion region;
  if (dpr_ == 1) {
    region.setRects(rects_.data(), static_cast<int>(rects_.size()));
    return region;
  }
  // Scaled rectangles may meet or overlap after rounding outward: let the region merge them.
  for (const QRect& r : rects_) {
    const int left = static_cast<int>(std::floor(r.x() / dpr_));
    const int top = static_cast<int>(std::floor(r.y() / dpr_));
    const int right = static_cast<int>(std::ceil((r.x() + r.width()) / dpr_));
    const int bottom = static_cast<int>(std::ceil((r.y() + r.height()) / dpr_));
    region += QRect(left, top, right - left, bottom - top);
  }
  return region;
}

void TilePresenter::ForgetUnpainted() {
  std::fill(unpainted_.begin(), unpainted_.end(), 0);
  taken_ = QRegion();
}

QRect TilePresenter::Bounds(const QImage& target, QPoint offset) const {
  return QRect(0, 0, image_.width(), image_.height()) & target.rect().translated(-offset);
}

void TilePresenter::ConvertRows(QImage& target, QPoint offset, int top, int bottom) const {
  const auto* pixels = reinterpret_cast<const uint32_t*>(image_.constBits());
  const auto stride = static_cast<size_t>(image_.width());
  uchar* targetBits = target.bits();
  const qsizetype targetStride = target.bytesPerLine();
  for (int y = top; y < bottom; ++y) {
    const uint32_t* from = pixels + static_cast<size_t>(y) * stride;
    auto* to = reinterpret_cast<uint32_t*>(targetBits + (y + offset.y()) * targetStride) + offset.x();
    for (const auto& [left, right] : spans_) ConvertSpan(from + left, to + left, right - left);
  }
}

bool TilePresenter::ConvertMarkedRow(QImage& target, QPoint offset, const QRect& bounds, int32_t row, int& top,
                                     int& bottom) {
  Word* rowWords = unpainted_.data() + static_cast<size_t>(row) * wordsPerRow_;
  spans_.clear();
  const auto tiles = static_cast<int32_t>(wordsPerRow_ * sizeof(Word));
  bool marked = false;
  for (int32_t start = 0, end = 0; NextRun(rowWords, tiles, end, 0, start, end);) {
    marked = true;
    const int left = std::max(bounds.left(), start * Surface::kTileWidth);
    const int right = std::min(bounds.right() + 1, end * Surface::kTileWidth);
    if (left < right) spans_.emplace_back(left, right);
  }
  if (!marked) return false;
  std::fill(rowWords, rowWords + wordsPerRow_, 0);  // also marks beyond the window: nothing to show there
  top = std::max(bounds.top(), row * Surface::kTileHeight);
  bottom = std::min(bounds.bottom() + 1, (row + 1) * Surface::kTileHeight);
  ConvertRows(target, offset, top, bottom);
  return true;
}

void TilePresenter::ConvertUnpainted(QImage& target, QPoint offset) {
  const QRect bounds = Bounds(target, offset);
  int top = 0, bottom = 0;
  for (int32_t row = 0; row < tileRows_; ++row) ConvertMarkedRow(target, offset, bounds, row, top, bottom);
  taken_ = QRegion();
}

void TilePresenter::ConvertChanged(Surface& surface, QImage& target, std::vector<QRect>& runs) {
  Follow(surface);
  runs.clear();
  tilesPresented_ = 0;
  const auto* marks = reinterpret_cast<const unsigned char*>(surface.ChangedTiles());
  const QRect bounds = Bounds(target, QPoint());
  size_t rowStart = 0;  // the first run of the tile row above
  for (int32_t row = 0; row < tileRows_; ++row) {
    // The surface's marks join what an unpainted Qt paint left.
    Word* rowWords = unpainted_.data() + static_cast<size_t>(row) * wordsPerRow_;
    const unsigned char* rowMarks = marks + static_cast<size_t>(row) * surface.TileStride();
    for (size_t w = 0; w < wordsPerRow_; ++w) {
      Word m;
      std::memcpy(&m, rowMarks + w * sizeof(Word), sizeof m);
      rowWords[w] |= m;
    }
    int top = 0, bottom = 0;
    if (!ConvertMarkedRow(target, QPoint(), bounds, row, top, bottom) || top >= bottom || spans_.empty()) continue;
    const size_t start = runs.size();
    for (const auto& [left, right] : spans_) {
      runs.emplace_back(left, top, right - left, bottom - top);
      tilesPresented_ += (right - left + Surface::kTileWidth - 1) / Surface::kTileWidth;
    }
    if (start > rowStart && SameColumns(runs, rowStart, start)) {
      for (size_t i = rowStart; i < start; ++i) runs[i].setBottom(runs.back().bottom());
      runs.resize(start);
    } else {
      rowStart = start;
    }
  }
  FlushStreamedPixels();
  surface.ClearChangedTiles();
  pending_ = QRegion();
  taken_ = QRegion();
}

void TilePresenter::ConvertArea(QImage& target, QPoint offset, const QRegion& area) {
  const QRect bounds = Bounds(target, offset);
  // Band by band, and within a band row by row across all its rectangles: each pixel row of
  // the window's buffer lies on its own pages, visited once rather than once per rectangle.
  for (auto band = area.begin(); band != area.end();) {
    auto bandEnd = band;
    while (bandEnd != area.end() && bandEnd->top() == band->top() && bandEnd->bottom() == band->bottom()) ++bandEnd;
    const int top = std::max(bounds.top(), static_cast<int>(std::floor(band->y() * dpr_)));
    const int bottom = std::min(bounds.bottom() + 1, static_cast<int>(std::ceil((band->y() + band->height()) * dpr_)));
    spans_.clear();
    for (auto r = band; r != bandEnd; ++r) {
      const int left = std::max(bounds.left(), static_cast<int>(std::floor(r->x() * dpr_)));
      const int right = std::min(bounds.right() + 1, static_cast<int>(std::ceil((r->x() + r->width()) * dpr_)));
      if (left < right) spans_.emplace_back(left, right);
    }
    ConvertRows(target, offset, top, bottom);
    band = bandEnd;
  }
}

void TilePresenter::Paint(QPainter& painter, const QRegion& area, const QRegion& covered) {
  if (image_.isNull()) {
    for (const QRect& r : area) painter.fillRect(r, Qt::black);
    return;
  }
  const QRect imageArea(0, 0, static_cast<int>(image_.width() / dpr_), static_cast<int>(image_.height() / dpr_));
  const QRegion shown = area.intersected(imageArea);
  // Exactly what was asked for: the changed tiles are all that is not shown already.
  const bool asked = pending_.isEmpty() && area == taken_;
  // Everything changed lies in the area: once it is painted, nothing waits any more.
  const bool coversUnpainted = asked || (pending_.isEmpty() && taken_.subtracted(area).isEmpty());
  QPoint offset;
  if (QImage* target = DirectTarget(painter, dpr_, offset)) {
    // The usual case: convert the surface's pixels straight into the backing store, no copy in
    // between. Only the given area is written: what lies over the rest is not repainted.
    if (asked) {
      ConvertUnpainted(*target, offset);  // the rest of the area shows the surface already
      if (!covered.isEmpty()) ConvertArea(*target, offset, shown.intersected(covered));
    } else {
      ConvertArea(*target, offset, shown);
      if (coversUnpainted) ForgetUnpainted();
    }
  } else {
    for (const QRect& r : shown) {
      if (dpr_ == 1) {
        painter.drawImage(r.topLeft(), image_, r);
      } else {
        const QRectF source(r.x() * dpr_, r.y() * dpr_, r.width() * dpr_, r.height() * dpr_);
        painter.drawImage(QRectF(r), image_, source);
      }
    }
    if (coversUnpainted) ForgetUnpainted();
  }
  FlushStreamedPixels();
  // A window larger than the surface (resized during a run) is black beyond it.
  for (const QRect& r : area.subtracted(shown)) painter.fillRect(r, Qt::black);
}

}  // namespace qsrn
