// Changed-tile presentation; see tile_presenter.h.
#include "host/tile_presenter.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

namespace qsrn {

namespace {

// Clean tiles a run of changed ones may take in (measured under Xvfb: fewer, wider rectangles
// roughly halve the X server's share of presenting).
constexpr int32_t kJoinGap = 8;

// 0x00BBGGRR (the surface) to 0xFFRRGGBB (QImage::Format_RGB32, what the window system takes).
inline void ConvertSpan(const uint32_t* from, uint32_t* to, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t c = from[i];
    to[i] = 0xFF000000u | (c & 0x0000FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu);
  }
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

// True when the last tile row's runs (from `start`) have the same columns as the band above
// (from `prevStart`), which ends where they begin, so that the two can be one band.
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
  surface.MarkAllChanged();
}

void TilePresenter::CollectTileRow(const Surface& surface, int32_t row) {
  const int32_t columns = surface.TileColumns();
  const TileMark* marks = surface.ChangedTiles() + static_cast<size_t>(row) * surface.TileStride();
  const int32_t y0 = row * Surface::kTileHeight;
  const int32_t h = std::min(Surface::kTileHeight, surface.Height() - y0);
  for (int32_t c = 0; c < columns;) {
    if ((c & 7) == 0) {  // most of a frame is clean: skip it a word at a time
      uint64_t word;
      std::memcpy(&word, marks + c, sizeof word);
      if (word == 0) {
        c += 8;
        continue;
      }
    }
    if (marks[c] == TileMark::Clean) {
      ++c;
      continue;
    }
    // A run takes in short gaps of clean tiles: painting a few more pixels costs less than
    // one more rectangle for the window system to handle.
    int32_t end = c + 1;
    for (int32_t next = end; next < columns && next - end <= kJoinGap; ++next)
      if (marks[next] != TileMark::Clean) end = next + 1;
    const int32_t x0 = c * Surface::kTileWidth;
    const int32_t x1 = std::min(end * Surface::kTileWidth, surface.Width());
    rects_.emplace_back(x0, y0, x1 - x0, h);
    tilesPresented_ += end - c;
    c = end;
  }
}

void TilePresenter::Update(Surface& surface) {
  if (image_.constBits() != reinterpret_cast<const uchar*>(std::as_const(surface).Pixels()) ||
      image_.width() != surface.Width() || image_.height() != surface.Height())
    Resize(surface, dpr_);
  rects_.clear();
  tilesPresented_ = 0;
  size_t bandStart = 0;  // the first rectangle of the band above
  for (int32_t row = 0; row < surface.TileRows(); ++row) {
    const size_t start = rects_.size();
    CollectTileRow(surface, row);
    if (rects_.size() == start) continue;
    // A tile row with the same columns as the band above it extends that band.
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

QRegion TilePresenter::TakePending() { return std::exchange(pending_, QRegion()); }

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

void TilePresenter::Paint(QPainter& painter, const QRegion& area) const {
  if (image_.isNull()) {
    for (const QRect& r : area) painter.fillRect(r, Qt::black);
    return;
  }
  const QRect imageArea(0, 0, static_cast<int>(image_.width() / dpr_), static_cast<int>(image_.height() / dpr_));
  const QRegion shown = area.intersected(imageArea);
  QPoint offset;
  if (QImage* target = DirectTarget(painter, dpr_, offset)) {
    // The usual case: convert the surface's pixels straight into the backing store, no copy
    // in between. Only the given area is written: what lies over the rest is not repainted.
    const QRect bounds = QRect(0, 0, image_.width(), image_.height()) & target->rect().translated(-offset);
    const auto* pixels = reinterpret_cast<const uint32_t*>(image_.constBits());
    const size_t stride = static_cast<size_t>(image_.width());
    // Band by band, and within a band row by row across all its rectangles: each pixel row of
    // the window's buffer lies on its own pages, so visiting a row once rather than once per
    // rectangle saves most of the address-translation misses that dominate this copy.
    for (auto band = shown.begin(); band != shown.end();) {
      auto bandEnd = band;
      while (bandEnd != shown.end() && bandEnd->top() == band->top() && bandEnd->bottom() == band->bottom()) ++bandEnd;
      const int top = std::max(bounds.top(), static_cast<int>(std::floor(band->y() * dpr_)));
      const int bottom = std::min(bounds.bottom() + 1, static_cast<int>(std::ceil((band->y() + band->height()) * dpr_)));
      spans_.clear();
      for (auto r = band; r != bandEnd; ++r) {
        const int left = std::max(bounds.left(), static_cast<int>(std::floor(r->x() * dpr_)));
        const int right = std::min(bounds.right() + 1, static_cast<int>(std::ceil((r->x() + r->width()) * dpr_)));
        if (left < right) spans_.emplace_back(left, right);
      }
      for (int y = top; y < bottom; ++y) {
        const uint32_t* from = pixels + static_cast<size_t>(y) * stride;
        auto* to = reinterpret_cast<uint32_t*>(target->scanLine(y + offset.y())) + offset.x();
        for (const auto& [left, right] : spans_) ConvertSpan(from + left, to + left, right - left);
      }
      band = bandEnd;
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
  }
  // A window larger than the surface (resized during a run) is black beyond it.
  for (const QRect& r : area.subtracted(shown)) painter.fillRect(r, Qt::black);
}

}  // namespace qsrn
