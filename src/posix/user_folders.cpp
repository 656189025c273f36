// The user's folders on POSIX systems.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "settings/file_system.h"

namespace qsrn::files {

namespace fs = std::filesystem;

void CreateFolders(const fs::path& dir, std::error_code& ec) {
  std::vector<fs::path> missing;
  for (fs::path at = dir; !at.empty() && !fs::exists(fs::symlink_status(at, ec)); at = at.parent_path()) {
    missing.push_back(at);
    if (at == at.parent_path()) break;
  }
  fs::create_directories(dir, ec);
  if (ec || ::geteuid() != 0) return;
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    struct stat parent {};
    const int fd = ::open(it->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    if (::lstat(it->parent_path().c_str(), &parent) == 0 && S_ISDIR(parent.st_mode) && parent.st_uid != 0) {
      [[maybe_unused]] const int rc = ::fchown(fd, parent.st_uid, parent.st_gid);
    }
    ::close(fd);
  }
}

fs::path UserConfigFolder() {
  // A relative XDG_CONFIG_HOME is invalid by its own rules and is ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/') return fs::path(xdg);
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
  }
  // No home: the current directory would be a guess that scatters settings; keep none.
  if (!home || home[0] != '/') return {};
  return fs::path(home) / ".config";
}

fs::path ProgramSettingsFolder() {
  const fs::path config = UserConfigFolder();
  return config.empty() ? config : config / "quasarine";
}

std::string Utf8Of(const fs::path& path) { return path.string(); }
fs::path PathFromUtf8(std::string_view text) { return fs::path(text); }
std::FILE* OpenToWrite(const fs::path& file) { return std::fopen(file.c_str(), "wb"); }

bool TakesNewFile(const fs::path& dir) {
  std::string probe = (dir / ".quasarine-probe-XXXXXX").string();
  const int fd = ::mkstemp(probe.data());  // a name of its own, never an existing file
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

fs::path UserRuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code ec;
  if (!runtime || !*runtime || !fs::is_directory(runtime, ec)) return {};
  return fs::path(runtime);
}

fs::path PrivateFolderIn(const fs::path& parent, std::string_view name, std::string& why) {
  fs::path dir = parent / (std::string(name) + "-" + std::to_string(::getuid()));
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
    why = dir.string() + " is not a private folder of this user's";
    return {};
  }
  return dir;
}

}  // namespace qsrn::files
