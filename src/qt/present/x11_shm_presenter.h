// Presenting a top-level window on X11 without Qt's repaint: the changed tiles are converted
// into an image in memory shared with the X server, and a single request copies them to the
// window, with the tiles as its clip rectangles. The server pays far more per request than per
// clip rectangle, and copies nothing between the tiles. The image always shows the whole
// surface, so any part of it may be sent at any time.
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
  // False when the shared image could not be made for the surface's size.
  bool Present(TilePresenter& presenter, Surface& surface, const QRegion& covered, QRegion* coveredChanged);
  // Sends the whole image again (the window was exposed); nothing before the first Present.
  void ShowAll();

 private:
  X11ShmPresenter(xcb_connection_t* connection, uint32_t window);
  bool Allocate(int width, int height);
  void Release();
  // Waits until the server has finished copying from the image (normally long done).
  void WaitForServer();
  // One request copying `bounds` of the image to the window, through the clip set on the GC.
  void Send(const QRect& bounds);

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
