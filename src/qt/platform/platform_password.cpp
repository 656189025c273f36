// Password fallbacks of an NT-like platform; see platform_password.h. The old consumer systems'
// services (the saver password check and change, the "saver running" switch) do not exist here,
// so every routine keeps the result it has where they are absent.
#include "qt/platform/platform_password.h"

namespace qsrn {

void SetSaverRunning(const SettingsStore&, bool) {}

// A check that cannot run counts as accepted.
bool VerifyPassword(const SettingsStore&) { return true; }

void MakeTopmost(QWidget&) {}

void ChangePassword(int32_t) {}

}  // namespace qsrn
