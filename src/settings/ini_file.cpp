// Bounded reads and atomic, locked updates of INI files.
#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

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

IniFileText::Identity IdentityFromStat(const struct stat& st) {
  IniFileText::Identity id;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.size = st.st_size;
  id.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  id.ctimeNs = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
  return id;
}

fs::path DirectoryOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// The temporary name of file's next version: ".name.XXXXXX" beside it.
std::string TempPrefix(const fs::path& file) {
  std::string prefix(1, '.');
  prefix.append(file.filename().string()).push_back('.');
  return prefix;
}

// Best effort: when the owner cannot follow, the file is still written, owned by the writer.
void TryChown(int fd, uid_t uid, gid_t gid) {
  const int rc = ::fchown(fd, uid, gid);
  (void)rc;
}

// Root writing into a user's directory gives what it creates to the directory's owner, so that
// the user can still read and write the store afterwards.
void GiveToDirectoryOwner(int fd, const fs::path& dir) {
  struct stat dst {}, fst {};
  if (::geteuid() != 0 || ::stat(dir.c_str(), &dst) != 0 || ::fstat(fd, &fst) != 0) return;
  if (fst.st_uid != dst.st_uid || fst.st_gid != dst.st_gid) TryChown(fd, dst.st_uid, dst.st_gid);
}

// Temporary files of writers killed between creating and renaming them. Called under the lock,
// so no live writer of the same file has one open; only regular files of exactly our pattern go.
void RemoveStaleTemporaries(const fs::path& file) {
  const fs::path dir = DirectoryOf(file);
  const std::string prefix = TempPrefix(file);
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
  }
}

// Takes an exclusive lock, waiting at most kLockWaitLimit for another holder to let go.
bool LockWithin(int fd) {
  const auto deadline = std::chrono::steady_clock::now() + kLockWaitLimit;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void Say(std::string* why, std::string text) {
  if (why != nullptr) *why = std::move(text);
}

}  // namespace

IniFileText::Identity IdentityOf(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return {};
  return IdentityFromStat(st);
}

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
  out.identity = IdentityFromStat(st);
  // Sized from the file (one byte more, to notice growth), never beyond the limit plus one.
  const size_t limit = kMaxIniFileBytes + 1;
  const size_t expected = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  out.text.resize(std::min(expected + 1, limit));
  size_t got = 0;
  for (;;) {
    if (got == out.text.size()) {
      if (got >= limit) break;
      out.text.resize(std::min(got * 2 + 4096, limit));
    }
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
  const fs::path dir = DirectoryOf(target);
  std::string pattern = (dir / (TempPrefix(target) + "XXXXXX")).string();
  Fd fd(::mkstemp(pattern.data()));
  if (fd.get() < 0) return false;
  struct stat st {};
  const bool replacing = ::stat(target.c_str(), &st) == 0;
  const mode_t mode = replacing ? (st.st_mode & 07777) : newFileMode;
  if (replacing) {
    // The new version keeps the old one's owner (it matters when root writes a user's file);
    // an ordinary user cannot change it and keeps their own.
    TryChown(fd.get(), st.st_uid, st.st_gid);
  } else {
    GiveToDirectoryOwner(fd.get(), dir);
  }
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
                   const std::function<bool(IniDocument&)>& edit, std::string* why) {
  Fd lock(lockFile.empty() ? -1 : ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!lockFile.empty()) {
    if (lock.get() < 0) {
      Say(why, "cannot open the lock " + lockFile.string() + ": " + std::strerror(errno));
      return false;
    }
    GiveToDirectoryOwner(lock.get(), DirectoryOf(lockFile));
    if (!LockWithin(lock.get())) {
      Say(why, "another program holds " + lockFile.string() + " and does not let go");
      return false;
    }
    RemoveStaleTemporaries(ResolveTarget(file));
  }
  const IniFileText current = ReadIniFileText(file);
  if (current.oversized || current.unreadable) {
    Say(why, file.string() + (current.oversized ? " is too large to rewrite" : " cannot be read"));
    return false;
  }
  IniDocument doc = IniDocument::Parse(current.text);
  if (!edit(doc)) {
    Say(why, "a name or value cannot be written into " + file.string());
    return false;
  }
  std::string text = doc.Text();
  if (current.exists && text == current.text) return true;
  if (!WriteFileAtomically(file, text, newFileMode)) {
    Say(why, "cannot write " + file.string() + ": " + std::strerror(errno));
    return false;
  }
  return true;
  // The lock is released when its descriptor closes.
}

}  // namespace qsrn
