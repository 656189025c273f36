// Pages of zeros straight from the system, which cost nothing until they are touched. One
// implementation per system sits below this header (src/posix/).
#pragma once

#include <cstddef>

namespace qsrn {

struct ZeroPages {
  void* data = nullptr;     // the zeros, or null when the system gave none for this size
  void* mapping = nullptr;  // what ReleaseZeroPages takes back; data lies within it
  size_t mappingBytes = 0;
};

// At least bytes of zeros. Large blocks are aligned to and ask for huge pages: the first touch
// of a screenful then costs a few faults instead of thousands. Small blocks, and systems that
// refuse, give no data: the caller takes ordinary memory then.
ZeroPages MapZeroPages(size_t bytes);
void ReleaseZeroPages(const ZeroPages& pages) noexcept;

}  // namespace qsrn
