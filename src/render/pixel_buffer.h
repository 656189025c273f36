// The surface's pixel memory: fresh pages of zeros straight from the system, which cost nothing
// until they are touched, so a new or cleared-to-black surface of a 4K screen is ready without
// writing 33 MB first. Large buffers ask for huge pages: the first touch of a screenful then
// costs a few faults instead of thousands, and presenting scattered tiles misses the TLB less.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace qsrn {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // A copy takes the system's own pages.
  PixelBuffer(const PixelBuffer& other) { *this = other; }
  PixelBuffer(PixelBuffer&& other) noexcept { Swap(other); }
  PixelBuffer& operator=(const PixelBuffer& other);
  PixelBuffer& operator=(PixelBuffer&& other) noexcept {
    Swap(other);
    return *this;
  }
  ~PixelBuffer() { Release(); }

  // Replaces the contents with n zero pixels in new memory. Throws std::bad_alloc.
  void AssignZeros(size_t n);
  // Puts all the memory in place now instead of at its first touch; the contents stay as they are.
  void Prefault();

  uint32_t* data() { return data_; }
  const uint32_t* data() const { return data_; }
  size_t size() const { return size_; }
  uint32_t& operator[](size_t i) { return data_[i]; }
  const uint32_t& operator[](size_t i) const { return data_[i]; }

 private:
  void Release() noexcept;
  void Swap(PixelBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(mapped_, other.mapped_);
    std::swap(mappedBytes_, other.mappedBytes_);
  }

  uint32_t* data_ = nullptr;
  size_t size_ = 0;
  void* mapped_ = nullptr;  // the whole mapping data_ lies in, or null when data_ came from calloc
  size_t mappedBytes_ = 0;
};

}  // namespace qsrn
