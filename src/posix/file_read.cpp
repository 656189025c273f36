// Bounded, non-blocking reads and file identities on POSIX systems.
#include <fcntl.h>

#include <algorithm>
#include <cerrno>

#include "posix/descriptor.h"
#include "settings/bounded_read.h"

namespace qsrn::files {

FileIdentity IdentityFromStat(const struct stat& st) {
  FileIdentity id;
  id.volume = static_cast<uint64_t>(st.st_dev);
  id.index = static_cast<uint64_t>(st.st_ino);
  id.size = static_cast<int64_t>(st.st_size);
  id.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  id.changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
  return id;
}

FileIdentity IdentityOf(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return {};
  return IdentityFromStat(st);
}

BoundedRead ReadAt(int dirFd, const char* name, int flags, size_t limit, Oversize oversize, struct stat& st) {
  BoundedRead out;
  // Non-blocking, so that a FIFO put in the file's place cannot hang the reader.
  Fd fd(::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | flags));
  if (fd.get() < 0) {
    out.unreadable = errno != ENOENT && errno != ENOTDIR;
    return out;
  }
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    out.unreadable = true;
    return out;
  }
  out.exists = true;
  out.identity = IdentityFromStat(st);
  const size_t expected = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  if (oversize == Oversize::kReadNothing && expected > limit) {
    out.truncated = true;
    return out;
  }
  ReadUpTo(out, expected, limit, [&fd](char* data, size_t size) {
    ssize_t n;
    do n = ::read(fd.get(), data, size);
    while (n < 0 && errno == EINTR);
    return static_cast<long long>(n);
  });
  return out;
}

BoundedRead ReadBounded(const std::filesystem::path& file, size_t limit, Oversize oversize) {
  struct stat st {};
  return ReadAt(AT_FDCWD, file.c_str(), 0, limit, oversize, st);
}

}  // namespace qsrn::files
