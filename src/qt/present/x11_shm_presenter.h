// Presenting a top-level window on X11 without Qt's repaint. A surface whose pixels lie in memory
// shared with the X server (X11SharedPixels) is sent from there: its changed tiles are turned to
// the server's byte order in place, a single request copies them to the window, and once the
// server has read them they are turned back, so the surface is the picture's only copy. Any
// other surface's changed tiles are converted into an image in shared memory first, which always
// shows the whole surface. Either way the one request has the tiles as its clip rectangles: the
// server pays far more per request than per clip rectangle, and copies nothing between the tiles.
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
class X11SharedPixels;

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
  // False when the shared image could not be made for the surface's size. Pixels taken from
  // `shared` are sent as they lie.
  bool Present(TilePresenter& presenter, Surface& surface, const QRegion& covered, QRegion* coveredChanged,
               X11SharedPixels* shared = nullptr);
  // Memory for surfaces that this presenter sends as they lie; null unless QSRN_SHM_IN_PLACE=1
  // is in the environment.
  std::unique_ptr<X11SharedPixels> MakeSharedPixels() const;

 private:
  X11ShmPresenter(xcb_connection_t* connection, uint32_t window);
  bool Allocate(int width, int height);
  void Release();
  // Waits until the server has finished copying from the image (normally long done).
  void WaitForServer();
  // One request copying `bounds` of a width x height image in the segment to the window, through
  // the clip set on the GC, and one asking for a reply once it is done.
  void Send(const QRect& bounds, uint32_t segment, int width, int height);
  // Turns the runs of the surface to the server's byte order or back.
  void SwapRuns(Surface& surface) const;

  xcb_connection_t* connection_;
  uint32_t window_;
  uint32_t gc_ = 0;
  uint32_t segment_ = 0;
  uint8_t depth_ = 24;
  SharedMemory shared_;  // the image's pixels, while the server has them attached
  QImage image_;
  const uint32_t* surfacePixels_ = nullptr;
  bool syncPending_ = false;
  unsigned int syncSequence_ = 0;
  std::vector<QRect> runs_;
  std::vector<xcb_rectangle_t> clip_;  // capacity kept between frames
};

}  // namespace qsrn
