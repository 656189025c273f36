// The surface's pixel memory. It comes from calloc: a large block arrives as fresh pages of zeros
// that cost nothing until they are touched, so a new or cleared-to-black surface of a 4K screen
// is ready without writing 33 MB first.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace qsrn {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  PixelBuffer(const PixelBuffer& other) { *this = other; }
  PixelBuffer(PixelBuffer&& other) noexcept { Swap(other); }
  PixelBuffer& operator=(const PixelBuffer& other) {
    if (this != &other) {
      AssignZeros(other.size_);
      if (size_ > 0) std::memcpy(data_, other.data_, size_ * sizeof(uint32_t));
    }
    return *this;
  }
  PixelBuffer& operator=(PixelBuffer&& other) noexcept {
    Swap(other);
    return *this;
  }
  ~PixelBuffer() { std::free(data_); }

  // Replaces the contents with n zero pixels (in new memory).
  void AssignZeros(size_t n) {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    if (n == 0) return;
    data_ = static_cast<uint32_t*>(std::calloc(n, sizeof(uint32_t)));
    if (data_ == nullptr) throw std::bad_alloc();
    size_ = n;
  }

  uint32_t* data() { return data_; }
  const uint32_t* data() const { return data_; }
  size_t size() const { return size_; }
  uint32_t& operator[](size_t i) { return data_[i]; }
  const uint32_t& operator[](size_t i) const { return data_[i]; }

 private:
  void Swap(PixelBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
  }

  uint32_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace qsrn
