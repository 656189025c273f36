// Bounded reads and atomic, locked updates of INI files.
#include "settings/ini_file.h"

#include <fcntl.h>
#include <dirent.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
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

fs::path DirectoryOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// A link to the store (a managed dotfile) is followed to the file at the end of its chain, so
// that every link of the chain survives the rename.
fs::path ResolveTarget(const fs::path& file) {
  fs::path at = file;
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(at, ec); ++hops) {
    fs::path target = fs::read_symlink(at, ec);
    if (ec) break;
    at = target.is_absolute() ? target : DirectoryOf(at) / target;
  }
  return at;
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

void Say(std::string* why, const std::string& text) {
  if (why != nullptr) *why = text;
}

// The temporary name of a file's next version: ".name.XXXXXX" beside it.
std::string TempPrefix(const std::string& name) { return "." + name + "."; }

// Best effort: when the owner cannot follow, the file is still written, owned by the writer.
void TryChown(int fd, uid_t uid, gid_t gid) {
  const int rc = ::fchown(fd, uid, gid);
  (void)rc;
}

// The folder a file is written in, held open so that every step works on this very folder.
// Root writing into a folder that is not root's alone (a user's store, a shared temporary folder)
// is guarded: no link is followed there, and every file it reads, replaces, removes or locks in
// it must belong to the folder's owner, or a user could steer root's writes onto files of
// root's own.
struct Folder {
  Fd fd{-1};
  bool guarded = false;
  uid_t owner = 0;
  gid_t group = 0;
  fs::path path;
};

bool OpenFolder(const fs::path& dir, Folder& out, std::string& why) {
  out.path = dir;
  struct stat link {}, st {};
  if (::lstat(dir.c_str(), &link) != 0) {
    why = "cannot open the folder " + dir.string() + ": " + std::strerror(errno);
    return false;
  }
  // Only root's own links are followed as root.
  const bool isLink = S_ISLNK(link.st_mode);
  if (isLink && ::geteuid() == 0 && link.st_uid != 0) {
    why = dir.string() + " is a symbolic link in another user's keeping; it is not followed";
    return false;
  }
  out.fd = Fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isLink ? 0 : O_NOFOLLOW)));
  if (out.fd.get() < 0 || ::fstat(out.fd.get(), &st) != 0) {
    why = "cannot open the folder " + dir.string() + ": " + std::strerror(errno);
    return false;
  }
  if (!isLink && (st.st_dev != link.st_dev || st.st_ino != link.st_ino)) {
    why = dir.string() + " changed while it was opened";
    return false;
  }
  out.guarded = ::geteuid() == 0 && (st.st_uid != 0 || (st.st_mode & S_IWOTH) != 0);
  out.owner = st.st_uid;
  out.group = st.st_gid;
  return true;
}

// In a guarded folder, a file of someone else's (a hard link to one of root's, say) is refused.
bool OwnedRight(const Folder& folder, const struct stat& st, const std::string& name, std::string& why) {
  if (!folder.guarded || st.st_uid == folder.owner) return true;
  why = (folder.path / name).string() + " belongs to user " + std::to_string(st.st_uid) +
        ", not to the folder's owner " + std::to_string(folder.owner) + "; it is left alone";
  return false;
}

std::string LinkRefusal(const Folder& folder, const std::string& name) {
  return (folder.path / name).string() + " is a symbolic link in another user's folder; it is not followed";
}

// Temporary files of writers killed between creating and renaming them. Called under the lock,
// so no live writer of the same file has one open; only regular files of exactly our pattern go.
void RemoveStaleTemporaries(const Folder& folder, const std::string& name) {
  const std::string prefix = TempPrefix(name);
  DIR* listing = ::fdopendir(::dup(folder.fd.get()));
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view found = entry->d_name;
    if (found.size() != prefix.size() + 6 || found.compare(0, prefix.size(), prefix) != 0) continue;
    struct stat st {};
    if (::fstatat(folder.fd.get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        (!folder.guarded || st.st_uid == folder.owner))
      ::unlinkat(folder.fd.get(), entry->d_name, 0);
  }
  ::closedir(listing);
}

// A new file of exactly our temporary pattern in folder, opened for writing; -1 when none.
int CreateTemporary(const Folder& folder, const std::string& name, std::string& tempName) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device rng;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempName = TempPrefix(name);
    for (int i = 0; i < 6; ++i) tempName += kChars[rng() % (sizeof kChars - 1)];
    const int fd =
        ::openat(folder.fd.get(), tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Replaces name in folder with text: temporary file, fsync, rename, fsync of the folder.
bool WriteInFolder(const Folder& folder, const std::string& name, const std::string& text, mode_t newFileMode,
                   std::string& why) {
  struct stat st {};
  const bool replacing = ::fstatat(folder.fd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  if (replacing && folder.guarded && S_ISLNK(st.st_mode)) {
    why = LinkRefusal(folder, name);
    return false;
  }
  if (replacing && !OwnedRight(folder, st, name, why)) return false;
  std::string tempName;
  Fd fd(CreateTemporary(folder, name, tempName));
  if (fd.get() < 0) {
    why = "cannot write " + (folder.path / name).string() + ": " + std::strerror(errno);
    return false;
  }
  // The new version keeps the old one's owner (it matters when root writes a user's file); an
  // ordinary user cannot change it and keeps their own. Root gives a new file to the folder's owner.
  if (replacing) TryChown(fd.get(), st.st_uid, st.st_gid);
  else if (::geteuid() == 0) TryChown(fd.get(), folder.owner, folder.group);
  const mode_t mode = replacing ? (st.st_mode & 07777) : newFileMode;
  bool ok = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), text.data(), text.size()) && ::fsync(fd.get()) == 0;
  ok = ::close(fd.release()) == 0 && ok;
  if (ok) ok = ::renameat(folder.fd.get(), tempName.c_str(), folder.fd.get(), name.c_str()) == 0;
  if (!ok) {
    why = "cannot write " + (folder.path / name).string() + ": " + std::strerror(errno);
    ::unlinkat(folder.fd.get(), tempName.c_str(), 0);
    return false;
  }
  // The rename itself reaches the disk only with the folder.
  ::fsync(folder.fd.get());
  return true;
}

// Opens (creating it) the lock file and takes the lock.
bool TakeLock(const fs::path& lockFile, Fd& lock, std::string& why) {
  Folder folder;
  if (!OpenFolder(DirectoryOf(lockFile), folder, why)) return false;
  const std::string name = lockFile.filename().string();
  lock = Fd(::openat(folder.fd.get(), name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
  struct stat st {};
  if (lock.get() < 0 || ::fstat(lock.get(), &st) != 0) {
    why = errno == ELOOP && folder.guarded ? LinkRefusal(folder, name)
                                           : "cannot open the lock " + lockFile.string() + ": " + std::strerror(errno);
    return false;
  }
  // Root creating the lock in a user's folder gives it to them, so that they can still lock it.
  if (::geteuid() == 0 && st.st_uid == 0 && folder.owner != 0 && st.st_nlink == 1 && S_ISREG(st.st_mode)) {
    TryChown(lock.get(), folder.owner, folder.group);
    ::fstat(lock.get(), &st);
  }
  if (!OwnedRight(folder, st, name, why)) return false;
  if (!LockWithin(lock.get())) {
    why = "another program holds " + lockFile.string() + " and does not let go";
    return false;
  }
  return true;
}

}  // namespace

IniFileText::Identity IdentityOf(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return {};
  return IdentityFromStat(st);
}

namespace {

// The file name in the folder dirFd (AT_FDCWD: the current one), opened with extra flags.
IniFileText ReadTextAt(int dirFd, const char* name, int flags, struct stat& st) {
  IniFileText out;
  // Non-blocking, so that a FIFO put in the file's place cannot hang the reader.
  Fd fd(::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags));
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

}  // namespace

IniFileText ReadIniFileText(const fs::path& file) {
  struct stat st {};
  return ReadTextAt(AT_FDCWD, file.c_str(), 0, st);
}

IniDocument ReadIniFile(const fs::path& file) { return IniDocument::Parse(ReadIniFileText(file).text); }

bool WriteFileAtomically(const fs::path& file, const std::string& text, mode_t newFileMode) {
  const fs::path target = ResolveTarget(file);
  Folder folder;
  std::string why;
  return OpenFolder(DirectoryOf(target), folder, why) &&
         WriteInFolder(folder, target.filename().string(), text, newFileMode, why);
}

bool UpdateIniFile(const fs::path& file, const fs::path& lockFile, mode_t newFileMode,
                   const std::function<bool(IniDocument&)>& edit, std::string* why) {
  std::string reason;
  Fd lock(-1);
  if (!lockFile.empty() && !TakeLock(lockFile, lock, reason)) {
    Say(why, reason);
    return false;
  }
  // A guarded folder is written exactly where the file's name is; elsewhere a link is followed.
  Folder folder;
  if (!OpenFolder(DirectoryOf(file), folder, reason)) {
    Say(why, reason);
    return false;
  }
  fs::path target = file;
  if (!folder.guarded && (target = ResolveTarget(file)) != file && !OpenFolder(DirectoryOf(target), folder, reason)) {
    Say(why, reason);
    return false;
  }
  const std::string name = target.filename().string();
  if (!lockFile.empty()) RemoveStaleTemporaries(folder, name);
  struct stat st {};
  if (folder.guarded && ::fstatat(folder.fd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(st.st_mode)) {
    Say(why, LinkRefusal(folder, name));
    return false;
  }
  const IniFileText current = ReadTextAt(folder.fd.get(), name.c_str(), folder.guarded ? O_NOFOLLOW : 0, st);
  if (current.oversized || current.unreadable) {
    Say(why, file.string() + (current.oversized ? " is too large to rewrite" : " cannot be read"));
    return false;
  }
  if (current.exists && !OwnedRight(folder, st, name, reason)) {
    Say(why, reason);
    return false;
  }
  IniDocument doc = IniDocument::Parse(current.text);
  if (!edit(doc)) {
    Say(why, "a name or value cannot be written into " + file.string());
    return false;
  }
  const std::string text = doc.Text();
  if (current.exists && text == current.text) return true;
  if (!WriteInFolder(folder, name, text, newFileMode, reason)) {
    Say(why, reason);
    return false;
  }
  return true;
  // The lock is released when its descriptor closes.
}

}  // namespace qsrn
