// What the Win32 file seam's sources share: a handle closed on every path out, wide paths, the
// system's messages, and bounded reads of an opened handle.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "settings/file_system.h"

namespace qsrn::files {

class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& other) noexcept : h_(other.h_) { other.h_ = INVALID_HANDLE_VALUE; }
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      Close();
      h_ = other.h_;
      other.h_ = INVALID_HANDLE_VALUE;
    }
    return *this;
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  bool Close() {
    const bool ok = !valid() || ::CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

// Every open shares reading, writing and deleting, so that a reader never stops a writer from
// putting the next version in place.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring WideOf(std::string_view utf8);
std::string SystemMessage(DWORD error);

// The handle's identity; false when the system cannot tell it.
bool IdentityOfHandle(HANDLE h, FileIdentity& id, DWORD* attributes = nullptr);

// ReadBounded of path, opened with extra flags (FILE_FLAG_OPEN_REPARSE_POINT: links not followed).
BoundedRead ReadPath(const std::filesystem::path& path, DWORD flags, size_t limit, Oversize oversize);

}  // namespace qsrn::files
