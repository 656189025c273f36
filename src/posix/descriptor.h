// What the POSIX file seam's sources share: a descriptor closed on every path out, and bounded
// reads relative to an open folder.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>

#include "settings/file_system.h"

namespace qsrn::files {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = other.release();
    }
    return *this;
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

FileIdentity IdentityFromStat(const struct stat& st);

// ReadBounded of name in the folder dirFd (AT_FDCWD: the current one), opened with extra flags;
// st receives the file's status when it was opened.
BoundedRead ReadAt(int dirFd, const char* name, int flags, size_t limit, Oversize oversize, struct stat& st);

}  // namespace qsrn::files
