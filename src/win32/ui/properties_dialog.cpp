// Placeholder until the properties dialog is bound.
#include "win32/ui/dialogs.h"

namespace qsrn {

bool ShowPropertiesDialog(HWND owner, DialogContext&) {
  MessageBoxW(owner, L"Not yet available.", L"Quasarine Properties", MB_OK);
  return false;
}

}  // namespace qsrn
