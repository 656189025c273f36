// Zero pages straight from the system on Windows, committed on first touch.
#include <windows.h>

#include "render/zero_pages.h"

namespace qsrn {

namespace {
// Below this the system call costs more than it saves over ordinary memory.
constexpr size_t kLargeBlock = size_t{2} << 20;
}  // namespace

ZeroPages MapZeroPages(size_t bytes) {
  if (bytes < kLargeBlock) return {};
  void* data = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (data == nullptr) return {};
  return ZeroPages{data, data, bytes};
}

void ReleaseZeroPages(const ZeroPages& pages) noexcept {
  if (pages.mapping != nullptr) ::VirtualFree(pages.mapping, 0, MEM_RELEASE);
}

}  // namespace qsrn
