// Locks, and atomic and durable replacement of files in a folder held open, on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <thread>

#include "posix/descriptor.h"

namespace qsrn::files {

namespace fs = std::filesystem;

namespace {

struct OpenedFolder {
  Fd fd;
  bool guarded = false;
  uid_t owner = 0;
  gid_t group = 0;
  fs::path path;
};

bool OpenFolder(const fs::path& dir, OpenedFolder& out, std::string& why) {
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
bool OwnedRight(const OpenedFolder& folder, const struct stat& st, const std::string& name, std::string& why) {
  if (!folder.guarded || st.st_uid == folder.owner) return true;
  why = (folder.path / name).string() + " belongs to user " + std::to_string(st.st_uid) +
        ", not to the folder's owner " + std::to_string(folder.owner) + "; it is left alone";
  return false;
}

std::string LinkRefusal(const OpenedFolder& folder, const std::string& name) {
  return (folder.path / name).string() + " is a symbolic link in another user's folder; it is not followed";
}

// Best effort: when the owner cannot follow, the file is still written, owned by the writer.
void TryChown(int fd, uid_t uid, gid_t gid) {
  const int rc = ::fchown(fd, uid, gid);
  (void)rc;
}

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

// The temporary name of a file's next version: ".name.XXXXXX" beside it.
std::string TempPrefix(const std::string& name) { return "." + name + "."; }

// A new file of exactly our temporary pattern in folder, opened for writing; -1 when none.
int CreateTemporary(const OpenedFolder& folder, const std::string& name, std::string& tempName) {
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

// Takes an exclusive lock, waiting at most `wait` for another holder to let go.
bool LockWithin(int fd, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

struct FileFolder::State : OpenedFolder {};

FileFolder::FileFolder() : state_(std::make_unique<State>()) {}
FileFolder::~FileFolder() = default;
FileFolder::FileFolder(FileFolder&&) noexcept = default;
FileFolder& FileFolder::operator=(FileFolder&&) noexcept = default;

bool FileFolder::Open(const fs::path& dir, std::string& why) { return OpenFolder(dir, *state_, why); }

bool FileFolder::Guarded() const { return state_->guarded; }

bool FileFolder::ReadForReplace(const std::string& name, size_t limit, BoundedRead& out, std::string& why) const {
  const OpenedFolder& folder = *state_;
  struct stat st {};
  if (folder.guarded && ::fstatat(folder.fd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(st.st_mode)) {
    why = LinkRefusal(folder, name);
    return false;
  }
  out = ReadAt(folder.fd.get(), name.c_str(), folder.guarded ? O_NOFOLLOW : 0, limit, Oversize::kReadFirstPart, st);
  return !out.exists || out.truncated || out.unreadable || OwnedRight(folder, st, name, why);
}

bool FileFolder::Replace(const std::string& name, std::string_view text, unsigned newFileMode,
                         std::string& why) const {
  const OpenedFolder& folder = *state_;
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
  const mode_t mode = replacing ? (st.st_mode & 07777) : static_cast<mode_t>(newFileMode);
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

void FileFolder::RemoveStaleTemporaries(const std::string& name) const {
  const OpenedFolder& folder = *state_;
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

struct FileLock::State {
  Fd fd;
};

FileLock::FileLock() : state_(std::make_unique<State>()) {}
FileLock::~FileLock() = default;  // the lock goes with its descriptor
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;

bool FileLock::Take(const fs::path& lockFile, std::chrono::milliseconds wait, std::string& why) {
  OpenedFolder folder;
  const fs::path dir = lockFile.has_parent_path() ? lockFile.parent_path() : fs::path(".");
  if (!OpenFolder(dir, folder, why)) return false;
  const std::string name = lockFile.filename().string();
  Fd& lock = state_->fd;
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
  if (!LockWithin(lock.get(), wait)) {
    why = "another program holds " + lockFile.string() + " and does not let go";
    return false;
  }
  return true;
}

}  // namespace qsrn::files
