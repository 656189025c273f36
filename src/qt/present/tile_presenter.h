// Presenting a frame: only the tiles of the surface that changed since the last frame are
// converted into the window's buffer, and the window system is handed a few coarse rectangles
// around them (each rectangle costs it more than the few clean pixels it takes in). The surface's
// 0x00BBGGRR pixels are, byte by byte, Qt's RGBX8888: the image shows the surface's own memory,
// and the one conversion to the window's format happens as the changed tiles are painted. A
// window that the X server is shown from shared memory takes the tiles themselves, band by band
// (ConvertBand), instead of rectangles around them.
#pragma once

#include <QImage>
#include <QRegion>
#include <cstdint>
#include <utility>
#include <vector>

#include "render/surface.h"
#include "render/tile_converter.h"

class QPainter;

namespace qsrn {

class TilePresenter {
 public:
  // Points the image at the surface at the window's device pixel ratio; the next Update
  // repaints everything.
  void Resize(Surface& surface, qreal devicePixelRatio);
  // Follows the surface when its size or buffer changed (a full repaint follows).
  void Follow(Surface& surface);
  // Collects the changed tiles and clears their marks on the surface; they wait to be painted.
  void Update(Surface& surface);
  // The area (in the window's device independent coordinates) that the next paint must cover:
  // everything changed and not yet painted.
  QRegion TakePending();
  // Paints the given area of the window from the image, and black where the window is larger.
  // When the area is exactly what TakePending gave, only the changed tiles in it are written:
  // the rest of it already shows the surface, except under `covered` (child widgets that
  // draw over the window and must find the surface beneath them again), which is written whole.
  void Paint(QPainter& painter, const QRegion& area, const QRegion& covered = QRegion());

  // For a window presented without Qt's repaint: converts the tiles changed since the last
  // frame, one band of the surface at a time, into a target that holds `target.height()` of its
  // rows from `top` on (TileConverter::ConvertBand), and lists them in `runs`, in surface pixels
  // and y-x banded. Start with row 0, go on while row is below the surface's tile rows, then
  // call EndBands.
  void ConvertBand(Surface& surface, QImage& target, int32_t& row, int32_t& top, std::vector<QRect>& runs);
  void EndBands(Surface& surface);

  const QImage& image() const { return image_; }
  // How many tiles the rectangles of the last Update cover (of ConvertBand: the tiles converted).
  int32_t TilesPresented() const { return tilesPresented_; }

 private:
  using Word = TileConverter::Word;  // eight tile marks
  // Takes the marks of tile rows [first, first + count) into the converter, and appends one band of
  // rectangles around them to rects_.
  void CollectBand(const Surface& surface, int32_t first, int32_t count);
  QRegion RegionOfRects() const;
  // The part of the surface the target (at the offset) can show.
  QRect Bounds(const QImage& target, QPoint offset) const;
  static PixelTarget Target(QImage& image);
  // Converts the columns in the converter's spans of surface rows [top, bottom) into the target.
  void ConvertRows(QImage& target, QPoint offset, int top, int bottom) const;
  void ConvertUnpainted(QImage& target, QPoint offset);
  void ConvertArea(QImage& target, QPoint offset, const QRegion& area);
  void ForgetUnpainted();

  QImage image_;
  qreal dpr_ = 1;
  int32_t tileRows_ = 0;
  TileConverter converter_;      // the surface's marks since the last paint, and the conversion
  std::vector<Word> columns_;    // one band's marks, all its rows taken together
  std::vector<QRect> rects_;     // y-x banded, in surface pixels; capacity kept between frames
  std::vector<PixelRect> pixelRuns_;  // ConvertBand's runs before they become QRects
  QRegion pending_;  // collected, not yet taken
  QRegion taken_;    // taken, not yet painted
  int32_t tilesPresented_ = 0;
};

}  // namespace qsrn
