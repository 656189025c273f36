// Presenting a frame: only the tiles of the surface that changed since the last frame are
// converted into the window's image (0x00BBGGRR pixels become Qt's native 0xFFRRGGBB), and only
// those areas are repainted, so that a frame costs what the effects drew, not the screen's size.
#pragma once

#include <QImage>
#include <QRegion>
#include <vector>

#include "render/surface.h"

class QPainter;

namespace qsrn {

class TilePresenter {
 public:
  // Sizes the image to the surface at the window's device pixel ratio and copies all of it; the
  // next Update repaints everything.
  void Resize(Surface& surface, qreal devicePixelRatio);
  // Converts the changed tiles into the image and clears their marks; their area (in the
  // window's device independent coordinates) waits in Pending until taken. Resizes first when
  // the surface's size no longer matches.
  void Update(Surface& surface);
  // The area changed since it was last taken: what the next frame must repaint.
  QRegion TakePending();
  // Paints the given area of the window from the image, and black where the window is larger.
  void Paint(QPainter& painter, const QRegion& area) const;

  const QImage& image() const { return image_; }
  // How many tiles the last Update converted.
  int32_t TilesConverted() const { return tilesConverted_; }

 private:
  // Appends the changed runs of one tile row to rects_, converting their pixels.
  void ConvertTileRow(const Surface& surface, int32_t row);
  QRegion RegionOfRects() const;

  QImage image_;
  qreal dpr_ = 1;
  std::vector<QRect> rects_;  // y-x banded, in surface pixels; capacity kept between frames
  QRegion pending_;
  int32_t tilesConverted_ = 0;
};

}  // namespace qsrn
