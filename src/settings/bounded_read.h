// The reading loop the systems' bounded reads share, below the file seam.
#pragma once

#include <algorithm>
#include <cstddef>

#include "settings/file_system.h"

namespace qsrn::files {

// Reads into out.text, sized from the file (one byte more, to notice growth) and never beyond
// limit + 1 bytes; sets truncated when the file holds more than limit. read(data, size) gives the
// bytes read, 0 at the end, or a negative number when reading fails.
template <typename Read>
void ReadUpTo(BoundedRead& out, size_t expected, size_t limit, Read read) {
  const size_t most = limit + 1;
  out.text.resize(std::min(expected + 1, most));
  size_t got = 0;
  for (;;) {
    if (got == out.text.size()) {
      if (got >= most) break;
      out.text.resize(std::min(got * 2 + 4096, most));
    }
    const long long n = read(out.text.data() + got, out.text.size() - got);
    if (n < 0) out.unreadable = true;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  out.text.resize(std::min(got, limit));
  out.truncated = got > limit;
}

}  // namespace qsrn::files
