// The system's own open and save dialogs with the configuration dialogs' checks (forms/chosen_file.h);
// see AskFileName in dialogs.h. A hook runs the checks as the user confirms a name, so a refused
// name leaves the dialog open, and notes every folder shown, so the next dialog starts where this
// one was closed, also after Cancel.
#include <windows.h>
// after windows.h
#include <commdlg.h>
#include <dlgs.h>

#include <string>
#include <vector>

#include "forms/chosen_file.h"
#include "settings/file_system.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/dialogs.h"

namespace qsrn {

namespace {

// "Description|pattern|..." as the system's filter: each part ends in a null, the list in two.
std::wstring FilterOf(std::string_view types) {
  std::wstring filter = WideOf(types);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

struct Asking {
  bool open = true;
  std::string chosen;  // the checked path, once the user confirmed one
  std::wstring folder;  // the folder the dialog shows
};

UINT_PTR CALLBACK FileDialogHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(child, DWLP_USER, reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
    return TRUE;
  }
  auto* asking = reinterpret_cast<Asking*>(GetWindowLongPtrW(child, DWLP_USER));
  if (message != WM_NOTIFY || asking == nullptr) return 0;
  const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
  const HWND dialog = GetParent(child);
  if (note->hdr.code == CDN_FOLDERCHANGE) {
    std::vector<wchar_t> folder(32768, L'\0');
    if (SendMessageW(dialog, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(folder.data())) > 0)
      asking->folder = folder.data();
  } else if (note->hdr.code == CDN_FILEOK) {
    const ChosenFile chosen = CheckChosenFile(asking->open, files::Utf8Of(note->lpOFN->lpstrFile));
    if (chosen.refusal.empty()) {
      asking->chosen = chosen.path;
      return 0;
    }
    Exclaim(dialog, chosen.refusal);
    HWND name = GetDlgItem(dialog, cmb13);
    if (name == nullptr) name = GetDlgItem(dialog, edt1);
    if (name != nullptr) SetFocus(name);
    SetWindowLongPtrW(child, DWLP_MSGRESULT, 1);  // stays open
    return 1;
  }
  return 0;
}

}  // namespace

std::string AskFileName(HWND owner, DialogContext& dc, bool open, std::string_view title, std::string_view types) {
  Asking asking;
  asking.open = open;
  asking.folder = WideOf(dc.fileFolder);
  const std::wstring wideTitle = WideOf(title);
  const std::wstring filter = FilterOf(types);
  std::vector<wchar_t> file(32768, L'\0');

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = asking.folder.empty() ? nullptr : asking.folder.c_str();
  ofn.lpstrTitle = wideTitle.c_str();
  // The checks and their messages are ours (no must-exist or overwrite prompts of the system's):
  // saving over a template replaces it.
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              OFN_DONTADDTORECENT;
  ofn.lCustData = reinterpret_cast<LPARAM>(&asking);
  ofn.lpfnHook = FileDialogHook;

  const BOOL confirmed = open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (confirmed && !asking.chosen.empty()) {
    // The next dialog starts where this file went (a full path typed in may put it elsewhere).
    dc.fileFolder = files::Utf8Of(files::PathFromUtf8(asking.chosen).parent_path());
    return asking.chosen;
  }
  if (!asking.folder.empty()) dc.fileFolder = files::Utf8Of(std::filesystem::path(asking.folder));
  return {};
}

}  // namespace qsrn
