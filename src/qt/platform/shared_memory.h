// A block of memory shared with another process (the X server) that attaches it by its id.
#pragma once

#include <cstddef>

namespace qsrn {

class SharedMemory {
 public:
  SharedMemory() = default;
  ~SharedMemory() { Release(); }
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  // A new private block of bytes, attached here; false when the system refuses.
  bool Create(size_t bytes);
  // Removes the id once the other process has attached the block (or failed to): the block then
  // goes when the last process detaches it, even when this one dies first.
  void RemoveId();
  // Detaches the block here (removing the id first when it is still there).
  void Release();

  int Id() const { return id_; }
  unsigned char* Data() const { return data_; }

 private:
  int id_ = -1;
  unsigned char* data_ = nullptr;
};

}  // namespace qsrn
