// The surface's pixel memory; see pixel_buffer.h.
#include "render/pixel_buffer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "render/zero_pages.h"

namespace qsrn {

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
  if (this != &other) {
    AssignZeros(other.size_);
    if (size_ > 0) std::memcpy(data_, other.data_, size_ * sizeof(uint32_t));
  }
  return *this;
}

void PixelBuffer::AssignZeros(size_t n) {
  Release();
  if (n == 0) return;
  if (n > SIZE_MAX / sizeof(uint32_t)) throw std::bad_alloc();
  const size_t bytes = n * sizeof(uint32_t);
  const ZeroPages pages = MapZeroPages(bytes);
  data_ = static_cast<uint32_t*>(pages.data);
  mapped_ = pages.mapping;
  mappedBytes_ = pages.mappingBytes;
  if (data_ == nullptr) data_ = static_cast<uint32_t*>(std::calloc(n, sizeof(uint32_t)));
  if (data_ == nullptr) throw std::bad_alloc();
  size_ = n;
}

void PixelBuffer::Prefault() {
  // One write per small page puts every page in place; it writes back the pixel already there
  // (through volatile, so that the compiler keeps the write).
  constexpr size_t kPixelsPerPage = 4096 / sizeof(uint32_t);
  volatile uint32_t* pixels = data_;
  for (size_t i = 0; i < size_; i += kPixelsPerPage) pixels[i] = pixels[i];
}

void PixelBuffer::Release() noexcept {
  if (mapped_ != nullptr) {
    ReleaseZeroPages(ZeroPages{data_, mapped_, mappedBytes_});
    mapped_ = nullptr;
    mappedBytes_ = 0;
    data_ = nullptr;
  }
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace qsrn
