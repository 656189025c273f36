// Pixel memory the X server can read: each buffer a block of System V shared memory, attached to
// the server when it is first shown. A surface drawn there is shown by the server straight from
// it (X11ShmPresenter), with no copy of the picture in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "qt/platform/shared_memory.h"
#include "render/pixel_buffer.h"

struct xcb_connection_t;

namespace qsrn {

class X11SharedPixels : public PixelMemory {
 public:
  explicit X11SharedPixels(xcb_connection_t* connection) : connection_(connection) {}
  // The buffers taken from here must be gone.
  ~X11SharedPixels() override;
  X11SharedPixels(const X11SharedPixels&) = delete;
  X11SharedPixels& operator=(const X11SharedPixels&) = delete;

  // Take and Give never talk to the server (a screen's own thread may draw and clear): the
  // block is attached, and a given-back block detached, by the next Segment.
  uint32_t* Take(size_t n) override;
  void Give(uint32_t* pixels) noexcept override;
  // The server's id of the block that holds these pixels, attaching it now if need be; 0 for
  // pixels not from here or a block the server cannot attach (a remote server).
  uint32_t Segment(const uint32_t* pixels);

 private:
  struct Block {
    std::unique_ptr<SharedMemory> memory;
    uint32_t segment = 0;
    bool refused = false;
  };
  xcb_connection_t* connection_;
  std::vector<Block> blocks_;
  std::vector<uint32_t> detach_;  // segments of blocks given back, still attached on the server
};

}  // namespace qsrn
