// Changed-tile presentation; see tile_presenter.h.
#include "qt/present/tile_presenter.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace qsrn {

namespace {

// Tile rows that share one band of rectangles, and the clean tiles a rectangle may take in
// between changed ones. The window system pays per rectangle far more than per pixel (measured
// under Xvfb); the clean pixels a rectangle takes in are not converted, only copied.
constexpr int32_t kBandTileRows = 32 / Surface::kTileHeight;
constexpr int32_t kJoinGap = 32 / Surface::kTileWidth;

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
  converter_.Resize(surface);
  columns_.assign(converter_.WordsPerRow(), 0);
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
    Word* rowUnpainted = converter_.UnpaintedRow(row);
    Word any = 0;
    for (size_t w = 0; w < converter_.WordsPerRow(); ++w) {
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
  converter_.Forget();
  taken_ = QRegion();
}

QRect TilePresenter::Bounds(const QImage& target, QPoint offset) const {
  return QRect(0, 0, image_.width(), image_.height()) & target.rect().translated(-offset);
}

PixelTarget TilePresenter::Target(QImage& image) {
  return PixelTarget{image.bits(), image.bytesPerLine(), image.width(), image.height()};
}

void TilePresenter::ConvertRows(QImage& target, QPoint offset, int top, int bottom) const {
  converter_.ConvertRows(reinterpret_cast<const uint32_t*>(image_.constBits()), static_cast<size_t>(image_.width()),
                         Target(target), offset.x(), offset.y(), top, bottom);
}

void TilePresenter::ConvertUnpainted(QImage& target, QPoint offset) {
  const QRect b = Bounds(target, offset);
  const PixelRect bounds{b.x(), b.y(), b.width(), b.height()};
  const auto* pixels = reinterpret_cast<const uint32_t*>(image_.constBits());
  const PixelTarget to = Target(target);
  int top = 0, bottom = 0;
  for (int32_t row = 0; row < tileRows_; ++row)
    converter_.ConvertMarkedRow(pixels, static_cast<size_t>(image_.width()), to, offset.x(), offset.y(), bounds, row,
                                top, bottom);
  taken_ = QRegion();
}

void TilePresenter::ConvertBand(Surface& surface, QImage& target, int32_t& row, int32_t& top,
                                std::vector<QRect>& runs) {
  if (row == 0) {
    Follow(surface);
    tilesPresented_ = 0;
  }
  pixelRuns_.clear();
  tilesPresented_ += converter_.ConvertBand(surface, Target(target), row, top, pixelRuns_);
  FlushStreamedPixels();
  runs.clear();
  for (const PixelRect& r : pixelRuns_) runs.emplace_back(r.x, r.y, r.width, r.height);
}

void TilePresenter::EndBands(Surface& surface) {
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
    auto& spans = converter_.spans();
    spans.clear();
    for (auto r = band; r != bandEnd; ++r) {
      const int left = std::max(bounds.left(), static_cast<int>(std::floor(r->x() * dpr_)));
      const int right = std::min(bounds.right() + 1, static_cast<int>(std::ceil((r->x() + r->width()) * dpr_)));
      if (left < right) spans.emplace_back(left, right);
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
