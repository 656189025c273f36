// Password fallbacks of an NT-like platform; see platform_password.h. The old consumer systems'
// services (the saver password check and change, the "saver running" switch) do not exist here,
// so every routine keeps the result it has where they are absent.
#include "qt/platform/platform_password.h"

#include "settings/numeric.h"
#include "settings/store.h"

namespace qsrn {

int32_t GetPlatformId() { return kPlatformNT; }

bool PasswordProtected(const SettingsStore& store) {
  return Val(store.ReadSystemValue(1, "Control Panel\\Desktop", "ScreenSaveUsePassword")) != 0;
}

void SetSaverRunning(const SettingsStore&, bool) {}

// A check that cannot run counts as accepted.
bool VerifyPassword(const SettingsStore&) { return true; }

void MakeTopmost(QWidget&) {}

void ChangePassword(int32_t) {}

}  // namespace qsrn
