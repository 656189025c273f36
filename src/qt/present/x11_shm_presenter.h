// Presenting a top-level window on X11 without Qt's repaint. A surface's changed tiles are
// converted into a strip of memory shared with the server, band by band, each band about an
// eighth of the window's height: while the server copies one half of the strip to the window,
// the next band is converted into the other half, so the picture has no second full-size copy.
// Each request has the band's tiles as its clip rectangles: the server pays far more per request
// than per clip rectangle, and copies nothing between the tiles.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <memory>
#include <vector>

#include "qt/platform/shared_memory.h"

class QWidget;
struct xcb_connection_t;
struct xcb_rectangle_t;

namespace qsrn {

class Surface;
class TilePresenter;

class X11ShmPresenter {
 public:
  // Null unless the window is a top-level window on an X server that shares memory with this
  // program and shows 32-bit 0xRRGGBB pixels, and null when QSRN_NO_SHM=1 is in the environment;
  // such a window keeps painting through Qt.
  static std::unique_ptr<X11ShmPresenter> Create(QWidget& window);
  ~X11ShmPresenter();
  X11ShmPresenter(const X11ShmPresenter&) = delete;
  X11ShmPresenter& operator=(const X11ShmPresenter&) = delete;

  // Shows everything that changed on the surface since the last call, all of it the first time
  // and after the surface changed size. Nothing is sent under `covered` (device pixels, where
  // child widgets are drawn); what changed there is returned, for the caller to repaint through Qt.
  // False when the shared strip could not be made for the surface's size.
  bool Present(TilePresenter& presenter, Surface& surface, const QRegion& covered, QRegion* coveredChanged);

 private:
  X11ShmPresenter(xcb_connection_t* connection, uint32_t window);
  // The strip for a surface of this size.
  bool Allocate(int width, int height);
  void Release();
  // Waits until the server has finished copying from the given half of the strip, or from all
  // it was sent (normally long done).
  void WaitForServer(int half);
  void WaitForServer();
  // Reads and drops what the server sent unasked on the presenter's own connection.
  void DropErrors();
  // Sets the runs as the clip (what lies under `covered` left out, and collected in
  // coveredChanged) and returns their bounds; empty when nothing is left to send.
  QRect ClipToRuns(const QRegion& covered, QRegion* coveredChanged);
  // One request copying `bounds` (surface pixels) from the half of the strip that holds the
  // surface's rows from `top` on to the window, through the clip, and one asking for a reply
  // once it is done.
  void Send(int half, int top, const QRect& bounds);

  xcb_connection_t* connection_;  // the presenter's own, or Qt's where no second one can be made
  bool ownConnection_ = false;
  uint32_t window_;
  uint32_t gc_ = 0;
  uint32_t segment_ = 0;
  uint8_t depth_ = 24;
  SharedMemory shared_;  // the strip's pixels, while the server has them attached
  QImage halves_[2];     // the strip's two halves, one above the other in the segment
  int surfaceWidth_ = 0, surfaceHeight_ = 0;
  int next_ = 0;  // the half the next band goes to
  bool syncPending_[2] = {false, false};
  unsigned int syncSequence_[2] = {0, 0};
  std::vector<QRect> runs_;
  std::vector<xcb_rectangle_t> clip_;  // capacity kept between frames
};

}  // namespace qsrn
