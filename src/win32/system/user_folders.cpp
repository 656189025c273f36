// The user's folders on Windows.
#include <shlobj.h>

#include "win32/system/win32_file.h"

namespace qsrn::files {

namespace fs = std::filesystem;

void CreateFolders(const fs::path& dir, std::error_code& ec) { fs::create_directories(dir, ec); }

fs::path UserConfigFolder() {
  wchar_t* found = nullptr;
  fs::path folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &found)) && found != nullptr)
    folder = fs::path(found);
  ::CoTaskMemFree(found);
  if (folder.empty()) {
    // No known folder (a service account, say): the variable, when it names a full path.
    if (const wchar_t* appData = ::_wgetenv(L"APPDATA"); appData != nullptr && fs::path(appData).is_absolute())
      folder = fs::path(appData);
  }
  return folder;
}

fs::path ProgramSettingsFolder() {
  const fs::path config = UserConfigFolder();
  return config.empty() ? config : config / L"Quasarine";
}

// Sessions meet through named kernel objects on Windows, not through files.
fs::path UserRuntimeFolder() { return {}; }

fs::path PrivateFolderIn(const fs::path& parent, std::string_view name, std::string& why) {
  wchar_t user[257] = L"";
  DWORD size = 257;
  if (!::GetUserNameW(user, &size)) user[0] = L'\0';
  const fs::path dir = parent / (WideOf(name) + L"-" + user);
  ::CreateDirectoryW(dir.c_str(), nullptr);
  const DWORD attributes = ::GetFileAttributesW(dir.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    why = Utf8Of(dir) + " is not a private folder of this user's";
    return {};
  }
  return dir;
}

}  // namespace qsrn::files
