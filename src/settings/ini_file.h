// INI files on disk: bounded reading, and updates that are atomic and durable (the new text goes
// to a temporary file in the same directory, is flushed to disk and renamed over the old one),
// optionally under an exclusive lock so that a second process's update is re-read and merged
// rather than overwritten.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "settings/file_system.h"
#include "settings/ini.h"

namespace qsrn {

// No store or template comes near this size; beyond it only the first part is read (up to its
// last complete line) and updates are refused, so that no text we did not read is lost.
inline constexpr size_t kMaxIniFileBytes = size_t{1} << 20;

struct IniFileText {
  std::string text;
  bool exists = false;
  bool oversized = false;  // larger than kMaxIniFileBytes; text holds the first part
  bool unreadable = false;  // there, but not a regular file we could read: reads as empty
  // Identity of the version read, to tell when it changed.
  using Identity = files::FileIdentity;
  Identity identity;
};
IniFileText ReadIniFileText(const std::filesystem::path& file);

// The document in file; a missing or unreadable file reads as empty.
IniDocument ReadIniFile(const std::filesystem::path& file);

// How long a writer waits for a lock held by another process (one that is stopped, say) before
// it gives up on its write rather than hanging the saver or the dialog.
inline constexpr std::chrono::milliseconds kLockWaitLimit{3000};

// Reads file afresh (under lockFile when it is not empty), lets edit change the document and,
// when edit returns true, replaces the file atomically with the result (mode for a new file).
// False, with the reason in *why when given, when the lock is not had within kLockWaitLimit, the
// file is too large or unreadable (its text would be lost), cannot be replaced, or edit declines.
// Under the lock, temporary files that killed writers left beside file are removed.
// A link in file's place is followed to the end of its chain, so that every link of it survives
// and the file it ends at is replaced. Root writing into a folder that is not root's alone (a
// user's store) follows no link there and refuses, with the reason, a folder that is a link or a
// file, lock or link of someone other than the folder's owner.
bool UpdateIniFile(const std::filesystem::path& file, const std::filesystem::path& lockFile,
                   unsigned newFileMode, const std::function<bool(IniDocument&)>& edit,
                   std::string* why = nullptr);

}  // namespace qsrn
