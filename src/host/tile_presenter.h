// Presenting a frame: only the tiles of the surface that changed since the last frame are
// repainted, so that a frame costs what the effects drew, not the screen's size. The surface's
// 0x00BBGGRR pixels are, byte by byte, Qt's RGBX8888: the image shows the surface's own memory,
// and the one conversion to the window's format happens as the changed areas are painted.
#pragma once

#include <QImage>
#include <QRegion>
#include <utility>
#include <vector>

#include "render/surface.h"

class QPainter;

namespace qsrn {

class TilePresenter {
 public:
  // Points the image at the surface at the window's device pixel ratio; the next Update
  // repaints everything.
  void Resize(Surface& surface, qreal devicePixelRatio);
  // Collects the changed tiles and clears their marks; their area (in the window's device
  // independent coordinates) waits in Pending until taken. Follows the surface first when its
  // size or buffer changed.
  void Update(Surface& surface);
  // The area changed since it was last taken: what the next frame must repaint.
  QRegion TakePending();
  // Paints the given area of the window from the image, and black where the window is larger.
  void Paint(QPainter& painter, const QRegion& area) const;

  const QImage& image() const { return image_; }
  // How many tiles the last Update presents (the changed ones and the short gaps between them).
  int32_t TilesPresented() const { return tilesPresented_; }

 private:
  // Appends the changed runs of one tile row to rects_.
  void CollectTileRow(const Surface& surface, int32_t row);
  QRegion RegionOfRects() const;

  QImage image_;
  qreal dpr_ = 1;
  std::vector<QRect> rects_;  // y-x banded, in surface pixels; capacity kept between frames
  mutable std::vector<std::pair<int, int>> spans_;  // one band's columns while painting
  QRegion pending_;
  int32_t tilesPresented_ = 0;
};

}  // namespace qsrn
