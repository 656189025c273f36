// Changed-tile presentation; see tile_presenter.h.
#include "host/tile_presenter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace qsrn {

namespace {

// 0x00BBGGRR (the surface) to 0xFFRRGGBB (QImage::Format_RGB32, what the window system takes).
inline void ConvertSpan(const uint32_t* from, uint32_t* to, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t c = from[i];
    to[i] = 0xFF000000u | (c & 0x0000FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu);
  }
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
  dpr_ = devicePixelRatio > 0 ? devicePixelRatio : 1;
  if (image_.width() != surface.Width() || image_.height() != surface.Height())
    image_ = QImage(surface.Width(), surface.Height(), QImage::Format_RGB32);
  image_.setDevicePixelRatio(dpr_);
  // The image shows the surface from now on, even to a paint before the next frame; the next
  // frame still repaints all of it.
  for (int32_t y = 0; y < surface.Height(); ++y)
    ConvertSpan(surface.Pixels() + static_cast<size_t>(y) * static_cast<size_t>(surface.Width()),
                reinterpret_cast<uint32_t*>(image_.scanLine(y)), surface.Width());
  surface.MarkAllChanged();
}

void TilePresenter::ConvertTileRow(const Surface& surface, int32_t row) {
  const int32_t columns = surface.TileColumns();
  const TileMark* marks = surface.ChangedTiles() + static_cast<size_t>(row) * surface.TileStride();
  const int32_t y0 = row * Surface::kTileHeight;
  const int32_t h = std::min(Surface::kTileHeight, surface.Height() - y0);
  const auto stride = static_cast<size_t>(surface.Width());
  for (int32_t c = 0; c < columns;) {
    if (marks[c] == TileMark::Clean) {
      ++c;
      continue;
    }
    int32_t end = c + 1;
    while (end < columns && marks[end] != TileMark::Clean) ++end;
    const int32_t x0 = c * Surface::kTileWidth;
    const int32_t x1 = std::min(end * Surface::kTileWidth, surface.Width());
    for (int32_t y = y0; y < y0 + h; ++y)
      ConvertSpan(surface.Pixels() + static_cast<size_t>(y) * stride + static_cast<size_t>(x0),
                  reinterpret_cast<uint32_t*>(image_.scanLine(y)) + x0, x1 - x0);
    rects_.emplace_back(x0, y0, x1 - x0, h);
    tilesConverted_ += end - c;
    c = end;
  }
}

void TilePresenter::Update(Surface& surface) {
  if (image_.width() != surface.Width() || image_.height() != surface.Height()) Resize(surface, dpr_);
  rects_.clear();
  tilesConverted_ = 0;
  size_t bandStart = 0;  // the first rectangle of the band above
  for (int32_t row = 0; row < surface.TileRows(); ++row) {
    const size_t start = rects_.size();
    ConvertTileRow(surface, row);
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
  for (const QRect& r : shown) {
    if (dpr_ == 1) {
      painter.drawImage(r.topLeft(), image_, r);
    } else {
      const QRectF source(r.x() * dpr_, r.y() * dpr_, r.width() * dpr_, r.height() * dpr_);
      painter.drawImage(QRectF(r), image_, source);
    }
  }
  // A window larger than the surface (resized during a run) is black beyond it.
  for (const QRect& r : area.subtracted(shown)) painter.fillRect(r, Qt::black);
}

}  // namespace qsrn
