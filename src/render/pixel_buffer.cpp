// The surface's pixel memory; see pixel_buffer.h.
#include "render/pixel_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qsrn {

namespace {

#if defined(__linux__)
constexpr size_t kHugePage = size_t{2} << 20;

// Anonymous zero pages, the block aligned to a huge page so that the kernel can back it with
// huge pages; null when the system refuses.
void* MapZeros(size_t bytes, void** mapped, size_t* mappedBytes) {
  if (bytes > SIZE_MAX - kHugePage) return nullptr;
  const size_t length = bytes + kHugePage;
  void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(base);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);  // a hint: refusal is harmless
  *mapped = base;
  *mappedBytes = length;
  return reinterpret_cast<void*>(aligned);
}
#endif

}  // namespace

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
#if defined(__linux__)
  // Below a huge page the alignment would waste more than it saves.
  if (bytes >= kHugePage) data_ = static_cast<uint32_t*>(MapZeros(bytes, &mapped_, &mappedBytes_));
#endif
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
#if defined(__linux__)
  if (mapped_ != nullptr) {
    munmap(mapped_, mappedBytes_);
    mapped_ = nullptr;
    mappedBytes_ = 0;
    data_ = nullptr;
  }
#endif
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace qsrn
