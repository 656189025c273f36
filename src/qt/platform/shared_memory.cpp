// System V shared memory; see shared_memory.h.
#include "qt/platform/shared_memory.h"

#include <sys/ipc.h>
#include <sys/shm.h>

namespace qsrn {

bool SharedMemory::Create(size_t bytes) {
  Release();
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return false;
  void* memory = shmat(id, nullptr, 0);
  if (memory == reinterpret_cast<void*>(-1)) {
    shmctl(id, IPC_RMID, nullptr);
    return false;
  }
  id_ = id;
  data_ = static_cast<unsigned char*>(memory);
  return true;
}

void SharedMemory::RemoveId() {
  if (id_ >= 0) shmctl(id_, IPC_RMID, nullptr);
  id_ = -1;
}

void SharedMemory::Release() {
  RemoveId();
  if (data_ != nullptr) shmdt(data_);
  data_ = nullptr;
}

}  // namespace qsrn
