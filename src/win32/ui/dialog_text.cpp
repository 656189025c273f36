// The dialogs' text helpers; see dialog_text.h.
#include "win32/ui/dialog_text.h"

#include "settings/file_system.h"

namespace qsrn {

std::wstring WideOf(std::string_view utf8) { return files::PathFromUtf8(utf8).native(); }

void Exclaim(HWND owner, std::string_view sentence) {
  MessageBoxW(owner, WideOf(sentence).c_str(), L"Quasarine", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace qsrn
