// Placeholder until the sound effect settings dialog is bound.
#include "win32/ui/dialogs.h"

namespace qsrn {

void ShowSoundDialog(HWND owner, DialogContext&) { MessageBoxW(owner, L"Not yet available.", L"Sound Effect Settings", MB_OK); }

}  // namespace qsrn
