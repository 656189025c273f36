// Placeholder until the about box is drawn.
#include "win32/ui/dialogs.h"

namespace qsrn {

void ShowAboutBox(HWND owner) { MessageBoxW(owner, L"Quasarine", L"About Quasarine", MB_OK); }

}  // namespace qsrn
