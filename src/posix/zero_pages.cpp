// Anonymous mappings of zero pages on POSIX systems; huge pages where Linux offers them.
#include "render/zero_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qsrn {

#if defined(__linux__)

namespace {
constexpr size_t kHugePage = size_t{2} << 20;
}  // namespace

ZeroPages MapZeroPages(size_t bytes) {
  // Below a huge page the alignment would waste more than it saves.
  if (bytes < kHugePage || bytes > SIZE_MAX - kHugePage) return {};
  const size_t length = bytes + kHugePage;
  void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return {};
  // The block aligned to a huge page, so that the kernel can back it with huge pages.
  const auto start = reinterpret_cast<uintptr_t>(base);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);  // a hint: refusal is harmless
  return ZeroPages{reinterpret_cast<void*>(aligned), base, length};
}

void ReleaseZeroPages(const ZeroPages& pages) noexcept {
  if (pages.mapping != nullptr) munmap(pages.mapping, pages.mappingBytes);
}

#else

ZeroPages MapZeroPages(size_t) { return {}; }
void ReleaseZeroPages(const ZeroPages&) noexcept {}

#endif

}  // namespace qsrn
