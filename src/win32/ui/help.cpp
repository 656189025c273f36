// The manual in the user's browser; see OpenManual in dialogs.h.
#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "win32/platform/program_files.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/dialogs.h"

namespace qsrn {

namespace {

constexpr std::string_view kManualName = "quasarine.html";

// The browser that opens .html files, started with the manual's file:/// URL and "#key": a file
// path given to ShellExecuteW cannot carry the anchor.
bool OpenAtAnchor(HWND owner, const std::wstring& file, std::string_view key) {
  wchar_t browser[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (FAILED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, L".html", L"open", browser, &size)))
    return false;
  wchar_t url[4 * MAX_PATH] = {};
  DWORD length = static_cast<DWORD>(std::size(url));
  if (FAILED(UrlCreateFromPathW(file.c_str(), url, &length, 0))) return false;
  const std::wstring argument = L"\"" + std::wstring(url) + L"#" + WideOf(key) + L"\"";
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(owner, nullptr, browser, argument.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace

void OpenManual(HWND owner, std::string_view settingKey) {
  const std::string programPath = ProgramPath();
  const std::string folder = FolderHolding(programPath, kManualName);
  if (folder.empty()) {
    // Say where it was looked for, so a damaged installation can be put right.
    const std::string own = programPath.substr(0, programPath.find_last_of("\\/"));
    const std::string installed = InstalledFolder();
    const std::string text =
        "The manual (" + std::string(kManualName) + ") is " +
        (installed.empty() ? "not in " + own : "neither in " + own + " nor in " + installed) + ".";
    Exclaim(owner, text);
    return;
  }
  const std::string path = folder + '\\' + std::string(kManualName);
  const std::wstring file = WideOf(path);
  if (!settingKey.empty() && OpenAtAnchor(owner, file, settingKey)) return;
  if (reinterpret_cast<INT_PTR>(
          ShellExecuteW(owner, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
    Exclaim(owner, "No program could open the manual " + path + ".");
}

}  // namespace qsrn
