// Locks, and atomic and durable replacement of files in a folder held open, on Windows.
//
// Windows keeps no owner and mode bits to carry over: a new file and every new version of one
// take the access rules their folder passes on, and no folder is guarded (no user writes as
// another here), so newFileMode is not used.
#include <random>
#include <thread>

#include "win32/system/win32_file.h"

namespace qsrn::files {

namespace fs = std::filesystem;

namespace {

struct OpenedFolder {
  Handle handle;
  fs::path path;
};

// Held open without sharing deletion, the folder can be neither renamed nor removed while we work
// in it, so its path keeps naming this very folder.
bool OpenFolder(const fs::path& dir, OpenedFolder& out, std::string& why) {
  out.path = dir;
  out.handle = Handle(::CreateFileW(dir.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!out.handle.valid() || !::GetFileInformationByHandle(out.handle.get(), &info)) {
    why = "cannot open the folder " + Utf8Of(dir) + ": " + SystemMessage(::GetLastError());
    return false;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    why = "cannot open the folder " + Utf8Of(dir) + ": it is not a folder";
    return false;
  }
  return true;
}

// The temporary name of a file's next version: ".name.XXXXXX" beside it.
std::string TempPrefix(const std::string& name) { return "." + name + "."; }

// A new file of exactly our temporary pattern in folder, opened for writing.
Handle CreateTemporary(const OpenedFolder& folder, const std::string& name, fs::path& temp) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device rng;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string tempName = TempPrefix(name);
    for (int i = 0; i < 6; ++i) tempName += kChars[rng() % (sizeof kChars - 1)];
    temp = folder.path / PathFromUtf8(tempName);
    Handle h(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h.valid() || ::GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return Handle();
}

bool WriteAll(HANDLE h, const char* data, size_t size) {
  while (size > 0) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    DWORD n = 0;
    if (!::WriteFile(h, data, want, &n, nullptr) || n == 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

// Another program (a virus scanner, an editor) may hold the old file open for a moment without
// sharing deletion; the replacement waits a little for it rather than failing at once.
bool MoveOver(const fs::path& from, const fs::path& to) {
  for (int attempt = 0;; ++attempt) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = ::GetLastError();
    if (attempt >= 50 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ::SetLastError(error);
  }
}

// Takes an exclusive lock, waiting at most `wait` for another holder to let go.
bool LockWithin(HANDLE h, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    OVERLAPPED at{};
    if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return true;
    if (::GetLastError() != ERROR_LOCK_VIOLATION) return false;
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

bool FileFolder::Guarded() const { return false; }

bool FileFolder::ReadForReplace(const std::string& name, size_t limit, BoundedRead& out, std::string&) const {
  out = ReadPath(state_->path / PathFromUtf8(name), 0, limit, Oversize::kReadFirstPart);
  return true;
}

bool FileFolder::Replace(const std::string& name, std::string_view text, unsigned, std::string& why) const {
  const OpenedFolder& folder = *state_;
  const fs::path target = folder.path / PathFromUtf8(name);
  fs::path temp;
  Handle h = CreateTemporary(folder, name, temp);
  if (!h.valid()) {
    why = "cannot write " + Utf8Of(target) + ": " + SystemMessage(::GetLastError());
    return false;
  }
  bool ok = WriteAll(h.get(), text.data(), text.size()) && ::FlushFileBuffers(h.get());
  ok = h.Close() && ok;
  if (ok) ok = MoveOver(temp, target);
  if (!ok) {
    why = "cannot write " + Utf8Of(target) + ": " + SystemMessage(::GetLastError());
    ::DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

void FileFolder::RemoveStaleTemporaries(const std::string& name) const {
  const OpenedFolder& folder = *state_;
  const std::wstring prefix = WideOf(TempPrefix(name));
  WIN32_FIND_DATAW found{};
  const fs::path pattern = folder.path / (prefix + L"*");
  HANDLE listing = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (listing == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring_view entry = found.cFileName;
    if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0) continue;
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0)
      ::DeleteFileW((folder.path / found.cFileName).c_str());
  } while (::FindNextFileW(listing, &found));
  ::FindClose(listing);
}

struct FileLock::State {
  Handle handle;
};

FileLock::FileLock() : state_(std::make_unique<State>()) {}
FileLock::~FileLock() = default;  // the lock goes with its handle (and with the process)
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;

bool FileLock::Take(const fs::path& lockFile, std::chrono::milliseconds wait, std::string& why) {
  Handle& lock = state_->handle;
  lock = Handle(::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!lock.valid() || ::GetFileType(lock.get()) != FILE_TYPE_DISK) {
    why = "cannot open the lock " + Utf8Of(lockFile) + ": " + SystemMessage(::GetLastError());
    lock.Close();
    return false;
  }
  if (!LockWithin(lock.get(), wait)) {
    why = "another program holds " + Utf8Of(lockFile) + " and does not let go";
    lock.Close();
    return false;
  }
  return true;
}

}  // namespace qsrn::files
