// Bounded reads and atomic, locked updates of INI files.
#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace qsrn {

namespace fs = std::filesystem;

namespace {

// Closes a descriptor on every path out.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// A link to the store (a managed dotfile) is followed, so the link itself survives the rename.
fs::path ResolveTarget(const fs::path& file) {
  std::error_code ec;
  if (fs::is_symlink(file, ec)) {
    fs::path target = fs::read_symlink(file, ec);
    if (!ec) return target.is_absolute() ? target : file.parent_path() / target;
  }
  return file;
}

}  // namespace

IniFileText ReadIniFileText(const fs::path& file) {
  IniFileText out;
  // Non-blocking, so that a FIFO put in the file's place cannot hang the reader.
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    out.unreadable = errno != ENOENT && errno != ENOTDIR;
    return out;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    out.unreadable = true;
    return out;
  }
  out.exists = true;
  out.text.resize(kMaxIniFileBytes + 1);
  size_t got = 0;
  while (got < out.text.size()) {
    const ssize_t n = ::read(fd.get(), out.text.data() + got, out.text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) out.unreadable = true;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  out.text.resize(got);
  if (got > kMaxIniFileBytes) {
    out.oversized = true;
    const size_t lastBreak = out.text.rfind('\n', kMaxIniFileBytes - 1);
    out.text.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
  }
  return out;
}

IniDocument ReadIniFile(const fs::path& file) { return IniDocument::Parse(ReadIniFileText(file).text); }

bool WriteFileAtomically(const fs::path& file, const std::string& text, mode_t newFileMode) {
  const fs::path target = ResolveTarget(file);
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string tempName(1, '.');
  tempName.append(target.filename().string()).append(".XXXXXX");
  std::string pattern = (dir / tempName).string();
  Fd fd(::mkstemp(pattern.data()));
  if (fd.get() < 0) return false;
  struct stat st {};
  const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : newFileMode;
  bool ok = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), text.data(), text.size()) &&
            ::fsync(fd.get()) == 0;
  ok = ::close(fd.release()) == 0 && ok;
  if (ok) ok = ::rename(pattern.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(pattern.c_str());
    return false;
  }
  // The rename itself reaches the disk only with the directory.
  Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
  return true;
}

bool UpdateIniFile(const fs::path& file, const fs::path& lockFile, mode_t newFileMode,
                   const std::function<bool(IniDocument&)>& edit) {
  Fd lock(lockFile.empty() ? -1 : ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lockFile.empty()) {
    if (lock.get() < 0) return false;
    int rc;
    while ((rc = ::flock(lock.get(), LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (rc != 0) return false;
  }
  const IniFileText current = ReadIniFileText(file);
  if (current.oversized || current.unreadable) return false;
  IniDocument doc = IniDocument::Parse(current.text);
  if (!edit(doc)) return false;
  std::string text = doc.Text();
  if (current.exists && text == current.text) return true;
  return WriteFileAtomically(file, text, newFileMode);
  // The lock is released when its descriptor closes.
}

}  // namespace qsrn
