// The platform services around the screen-saver password. This platform reports itself as an
// NT-like system, so each routine keeps its fallback: no password is asked, verification
// succeeds, and nothing else happens.
#pragma once

#include <cstdint>

namespace qsrn {

class SettingsStore;

inline constexpr int32_t kPlatformWin9x = 1;
inline constexpr int32_t kPlatformNT = 2;

int32_t GetPlatformId();
// ScreenSaveUsePassword of the user's "Control Panel\Desktop", by the numeric-prefix rule.
bool PasswordProtected(const SettingsStore& store);
// Tells the system that a saver runs (only where the password services exist).
void SetSaverRunning(const SettingsStore& store, bool running);
// True when the saver may close.
bool VerifyPassword(const SettingsStore& store);
// Lets the user change the screen-saver password for the window `handle` (/A).
void ChangePassword(int32_t handle);

}  // namespace qsrn
