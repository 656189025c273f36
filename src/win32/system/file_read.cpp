// Bounded reads, file identities and UTF-8 paths on Windows.
#include <algorithm>
#include <random>

#include "settings/bounded_read.h"
#include "win32/system/win32_file.h"

namespace qsrn::files {

namespace {

int64_t Nanoseconds(LARGE_INTEGER t) { return t.QuadPart * 100; }

int64_t Nanoseconds(FILETIME t) {
  return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 100;
}

}  // namespace

std::wstring WideOf(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
  std::string text(static_cast<size_t>(std::max(n, 0)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(WideOf(text)); }

std::FILE* OpenToWrite(const std::filesystem::path& file) { return ::_wfopen(file.c_str(), L"wb"); }

bool TakesNewFile(const std::filesystem::path& dir) {
  std::random_device rng;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path probe = dir / (L".quasarine-probe-" + std::to_wstring(rng()));
    // Created anew only, and gone again as soon as it is closed.
    const Handle h(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (h.valid()) return true;
    if (::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

std::string SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring wide = n > 0 && buffer != nullptr ? std::wstring(buffer, n) : L"error " + std::to_wstring(error);
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L'.')) wide.pop_back();
  return Utf8Of(std::filesystem::path(wide));
}

bool IdentityOfHandle(HANDLE h, FileIdentity& id, DWORD* attributes) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h, &info)) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  id.size = static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
  id.modifiedNs = Nanoseconds(info.ftLastWriteTime);
  // The change time (attributes, renames) where the file system keeps one; else the write time.
  FILE_BASIC_INFO basic{};
  id.changedNs = ::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ? Nanoseconds(basic.ChangeTime)
                                                                                          : id.modifiedNs;
  if (attributes != nullptr) *attributes = info.dwFileAttributes;
  return true;
}

FileIdentity IdentityOf(const std::filesystem::path& file) {
  // No access asked: only the identity is read, which works even on a file locked for writing.
  Handle h(::CreateFileW(file.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  FileIdentity id;
  if (!h.valid() || !IdentityOfHandle(h.get(), id)) return {};
  return id;
}

BoundedRead ReadPath(const std::filesystem::path& path, DWORD flags, size_t limit, Oversize oversize) {
  BoundedRead out;
  // Opening a disk file never waits; a pipe or device put in the file's place is refused below
  // before a byte is read, and a folder cannot be opened this way at all.
  Handle h(::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | flags,
                         nullptr));
  if (!h.valid()) {
    const DWORD error = ::GetLastError();
    out.unreadable = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME;
    return out;
  }
  DWORD attributes = 0;
  if (::GetFileType(h.get()) != FILE_TYPE_DISK || !IdentityOfHandle(h.get(), out.identity, &attributes) ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    out.identity = {};
    out.unreadable = true;
    return out;
  }
  out.exists = true;
  const size_t expected = static_cast<size_t>(std::max<int64_t>(out.identity.size, 0));
  if (oversize == Oversize::kReadNothing && expected > limit) {
    out.truncated = true;
    return out;
  }
  ReadUpTo(out, expected, limit, [&h](char* data, size_t size) {
    DWORD n = 0;
    const bool ok = ::ReadFile(h.get(), data, static_cast<DWORD>(std::min<size_t>(size, 1u << 30)), &n, nullptr);
    return ok ? static_cast<long long>(n) : -1LL;
  });
  return out;
}

BoundedRead ReadBounded(const std::filesystem::path& file, size_t limit, Oversize oversize) {
  return ReadPath(file, 0, limit, oversize);
}

}  // namespace qsrn::files
