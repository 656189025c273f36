// Pixel memory shared with the X server; see x11_shared_pixels.h.
#include "qt/present/x11_shared_pixels.h"

#include <QtGui/qtguiglobal.h>
#include <algorithm>
#include <cstdlib>

#if defined(QSRN_HAVE_XCB_SHM) && QT_CONFIG(xcb)
#define QSRN_SHARED_FRAMES 1
#include <xcb/shm.h>
#include <xcb/xcb.h>
#endif

namespace qsrn {

X11SharedPixels::~X11SharedPixels() {
#ifdef QSRN_SHARED_FRAMES
  for (const uint32_t segment : detach_) xcb_shm_detach(connection_, segment);
  for (const Block& block : blocks_)
    if (block.segment != 0) xcb_shm_detach(connection_, block.segment);
  xcb_flush(connection_);
#endif
}

uint32_t* X11SharedPixels::Take(size_t n) {
  if (n > SIZE_MAX / sizeof(uint32_t)) return nullptr;
  auto memory = std::make_unique<SharedMemory>();
  if (!memory->Create(n * sizeof(uint32_t))) return nullptr;  // a new block is all zeros
  auto* pixels = reinterpret_cast<uint32_t*>(memory->Data());
  blocks_.push_back(Block{std::move(memory)});
  return pixels;
}

void X11SharedPixels::Give(uint32_t* pixels) noexcept {
  const auto block = std::find_if(blocks_.begin(), blocks_.end(), [pixels](const Block& b) {
    return reinterpret_cast<uint32_t*>(b.memory->Data()) == pixels;
  });
  if (block == blocks_.end()) return;
  // The server keeps its own mapping until it detaches; a picture made from it keeps that alive.
  if (block->segment != 0) detach_.push_back(block->segment);
  blocks_.erase(block);
}

uint32_t X11SharedPixels::Segment(const uint32_t* pixels) {
#ifdef QSRN_SHARED_FRAMES
  for (const uint32_t segment : detach_) xcb_shm_detach(connection_, segment);
  detach_.clear();
  for (Block& block : blocks_) {
    if (reinterpret_cast<const uint32_t*>(block.memory->Data()) != pixels) continue;
    if (block.segment == 0 && !block.refused) {
      const xcb_shm_seg_t segment = xcb_generate_id(connection_);
      // Read-only for the server; checked, because a remote server cannot attach it at all.
      xcb_generic_error_t* error = xcb_request_check(
          connection_,
          xcb_shm_attach_checked(connection_, segment, static_cast<uint32_t>(block.memory->Id()), 1));
      block.memory->RemoveId();  // goes once both sides have detached
      block.refused = error != nullptr;
      std::free(error);
      if (!block.refused) block.segment = segment;
    }
    return block.segment;
  }
#else
  (void)pixels;
#endif
  return 0;
}

}  // namespace qsrn
