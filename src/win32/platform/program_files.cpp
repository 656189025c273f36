// The program's own files; see program_files.h.
#include "win32/platform/program_files.h"

#include <windows.h>

#include <filesystem>

#include "settings/file_system.h"

namespace qsrn {

std::string ProgramPath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return files::Utf8Of(std::filesystem::path(path));
}

std::string InstalledFolder() {
  wchar_t folder[MAX_PATH] = {};
  DWORD size = sizeof folder;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quasarine",
                   L"InstallLocation", RRF_RT_REG_SZ, nullptr, folder, &size) != ERROR_SUCCESS)
    return {};
  return files::Utf8Of(std::filesystem::path(folder));
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(files::PathFromUtf8(path).wstring().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string FolderHolding(const std::string& programPath, std::string_view fileName) {
  const size_t slash = programPath.find_last_of("\\/");
  if (slash != std::string::npos) {
    std::string own = programPath.substr(0, slash);
    if (IsFile(own + '\\' + std::string(fileName))) return own;
  }
  std::string installed = InstalledFolder();
  while (!installed.empty() && (installed.back() == '\\' || installed.back() == '/')) installed.pop_back();
  if (!installed.empty() && IsFile(installed + '\\' + std::string(fileName))) return installed;
  return {};
}

}  // namespace qsrn
