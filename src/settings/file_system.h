// The few file operations the settings store, the templates and the sound player need, and the
// folders they live in. One implementation per system sits below this header (src/posix/ on
// Linux); nothing above it calls the operating system for files. No call throws.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace qsrn::files {

// A path as UTF-8 text (for messages, and names within a folder), and back. Windows names files in
// UTF-16, and its narrow calls would lose every character outside the ANSI code page.
std::string Utf8Of(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(std::string_view text);

// fopen(file, "wb") under any name (on Windows, fopen's narrow names lose characters).
std::FILE* OpenToWrite(const std::filesystem::path& file);

// Whether a new file can be made in dir: a probe of our own, always a new name (never a file that
// is there), created and removed again.
bool TakesNewFile(const std::filesystem::path& dir);

// One version of a file: the volume and the file's index on it (64 bits each, wider than some
// systems' own types), its size and its modification and change times. Equal identities mean
// the file was not replaced or written in between.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  int64_t size = -1;
  int64_t modifiedNs = 0, changedNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The file as it stands now (links followed); a default identity when it is not there.
FileIdentity IdentityOf(const std::filesystem::path& file);

struct BoundedRead {
  std::string text;         // at most the limit's bytes
  bool exists = false;      // a regular file was opened
  bool unreadable = false;  // there, but not a regular file, or reading it failed
  bool truncated = false;   // the file holds more than the limit; text holds its first part
  FileIdentity identity;
};
enum class Oversize { kReadFirstPart, kReadNothing };

// Reads a regular file, at most limit bytes of it. Opening never blocks, so a FIFO or device put
// in the file's place cannot hang the reader: anything but a regular file is unreadable. A file
// larger than limit is truncated; with kReadNothing one already too large is not read at all.
BoundedRead ReadBounded(const std::filesystem::path& file, size_t limit, Oversize oversize = Oversize::kReadFirstPart);

// An exclusive lock between processes on a lock file, held until the object goes.
class FileLock {
 public:
  FileLock();
  ~FileLock();
  FileLock(FileLock&&) noexcept;
  FileLock& operator=(FileLock&&) noexcept;
  // Opens (creating it) lockFile and takes the lock, waiting at most `wait` for another holder
  // (a stopped process, say) to let go. False, with the reason in why, when it is not had.
  bool Take(const std::filesystem::path& lockFile, std::chrono::milliseconds wait, std::string& why);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A folder held open while files in it are read and replaced, so that every step works on this
// very folder even when its path is changed meanwhile.
//
// A folder is guarded when root writes into a folder that is not root's alone (a user's store, a
// shared temporary folder): then no link in it is followed, and every file read, replaced,
// removed or locked in it must belong to the folder's owner, or a user could steer root's writes
// onto files of root's own. Refusals say why.
class FileFolder {
 public:
  FileFolder();
  ~FileFolder();
  FileFolder(FileFolder&&) noexcept;
  FileFolder& operator=(FileFolder&&) noexcept;

  bool Open(const std::filesystem::path& dir, std::string& why);
  bool Guarded() const;

  // Reads name in the folder as ReadBounded does, for replacing it next. In a guarded folder, a
  // link there is refused, and so is a regular file of someone other than the folder's owner
  // (checked only when it was read whole).
  bool ReadForReplace(const std::string& name, size_t limit, BoundedRead& out, std::string& why) const;

  // Replaces name with text. The guarantee:
  // - atomic: a reader sees the old file or the new one whole, never a mix or no file, because
  //   the text goes to a temporary file beside it (".name.XXXXXX") that is renamed over it
  //   (Windows: MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, since C's
  //   rename fails there when the target exists);
  // - durable: the file's data and the rename are flushed to the disk before it returns true;
  // - on failure the old file is untouched and no temporary file is left.
  // An existing file keeps its mode and (when we may give it) its owner; a new one gets
  // newFileMode and, when root writes into someone else's folder, the folder's owner.
  bool Replace(const std::string& name, std::string_view text, unsigned newFileMode, std::string& why) const;

  // Removes the temporary files of writers killed between creating and renaming them: only
  // regular files of exactly Replace's pattern for name. Call it under the file's lock, so that
  // no live writer has one open.
  void RemoveStaleTemporaries(const std::string& name) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Creates dir and its missing parents. Root creating them in a user's folder gives each to the
// owner of the folder it lies in, so that the user keeps their store rather than one of root's.
void CreateFolders(const std::filesystem::path& dir, std::error_code& ec);

// The folder where the user's programs keep their settings ($XDG_CONFIG_HOME, else ~/.config;
// %APPDATA% on Windows); empty when the user has no home at all: we never guess one.
std::filesystem::path UserConfigFolder();
// This program's folder in it: quasarine on Linux, Quasarine on Windows, as each system names them.
std::filesystem::path ProgramSettingsFolder();

// The folder for the files of the user's session (sockets): $XDG_RUNTIME_DIR when it names an
// existing folder; empty otherwise.
std::filesystem::path UserRuntimeFolder();

// The folder "<name>-<user id>" in parent, created private when missing. Empty, with the reason
// in why, unless it is a folder (not a link) of this user's that no one else may enter: another
// user could plant files there that answer for ours.
std::filesystem::path PrivateFolderIn(const std::filesystem::path& parent, std::string_view name, std::string& why);

}  // namespace qsrn::files
