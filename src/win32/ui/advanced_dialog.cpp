// Placeholder until the advanced settings dialog is bound.
#include "win32/ui/dialogs.h"

namespace qsrn {

bool ShowAdvancedDialog(HWND owner, DialogContext&, std::string&) {
  MessageBoxW(owner, L"Not yet available.", L"Advanced Settings", MB_OK);
  return false;
}

void ShowSoundDialog(HWND owner, DialogContext&) { MessageBoxW(owner, L"Not yet available.", L"Sound Effect Settings", MB_OK); }

}  // namespace qsrn
