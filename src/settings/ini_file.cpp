// Bounded reads and atomic, locked updates of INI files.
#include "settings/ini_file.h"

namespace qsrn {

namespace fs = std::filesystem;

namespace {

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

// Only the first part of a file beyond the limit is read: up to its last complete line.
IniFileText FromRead(files::BoundedRead read) {
  IniFileText out;
  out.exists = read.exists;
  out.unreadable = read.unreadable;
  out.oversized = read.truncated;
  out.identity = read.identity;
  out.text = std::move(read.text);
  if (out.oversized) {
    const size_t lastBreak = out.text.rfind('\n', kMaxIniFileBytes - 1);
    out.text.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
  }
  return out;
}

// Opens the folder file is written in: exactly where its name is in a guarded folder; elsewhere
// at the end of the links in its place. target receives the file written.
bool OpenFolderOf(const fs::path& file, files::FileFolder& folder, fs::path& target, std::string& why) {
  if (!folder.Open(DirectoryOf(file), why)) return false;
  target = file;
  if (folder.Guarded()) return true;
  target = ResolveTarget(file);
  return target == file || folder.Open(DirectoryOf(target), why);
}

// The file's document changed by edit, written back when it changed.
bool EditInFolder(const fs::path& file, const files::FileFolder& folder, const std::string& name,
                  unsigned newFileMode, const std::function<bool(IniDocument&)>& edit, std::string& why) {
  files::BoundedRead read;
  if (!folder.ReadForReplace(name, kMaxIniFileBytes, read, why)) return false;
  const IniFileText current = FromRead(std::move(read));
  if (current.oversized || current.unreadable) {
    why = files::Utf8Of(file) + (current.oversized ? " is too large to rewrite" : " cannot be read");
    return false;
  }
  IniDocument doc = IniDocument::Parse(current.text);
  if (!edit(doc)) {
    why = "a name or value cannot be written into " + files::Utf8Of(file);
    return false;
  }
  const std::string text = doc.Text();
  if (current.exists && text == current.text) return true;
  return folder.Replace(name, text, newFileMode, why);
}

}  // namespace

IniFileText ReadIniFileText(const fs::path& file) { return FromRead(files::ReadBounded(file, kMaxIniFileBytes)); }

IniDocument ReadIniFile(const fs::path& file) { return IniDocument::Parse(ReadIniFileText(file).text); }

bool UpdateIniFile(const fs::path& file, const fs::path& lockFile, unsigned newFileMode,
                   const std::function<bool(IniDocument&)>& edit, std::string* why) {
  std::string reason;
  files::FileLock lock;  // released when it goes
  files::FileFolder folder;
  fs::path target;
  bool ok = (lockFile.empty() || lock.Take(lockFile, kLockWaitLimit, reason)) &&
            OpenFolderOf(file, folder, target, reason);
  if (ok) {
    const std::string name = files::Utf8Of(target.filename());
    if (!lockFile.empty()) folder.RemoveStaleTemporaries(name);
    ok = EditInFolder(file, folder, name, newFileMode, edit, reason);
  }
  if (!ok && why != nullptr) *why = reason;
  return ok;
}

}  // namespace qsrn
