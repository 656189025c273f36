// The platform services around the screen-saver password (and the saver's topmost switch). This platform reports itself as an
// NT-like system, so each routine keeps its fallback: no password is asked, verification
// succeeds, and nothing else happens.
#pragma once

#include <cstdint>

class QWidget;

namespace qsrn {

class SettingsStore;

// Tells the system that a saver runs (only where the password services exist).
void SetSaverRunning(const SettingsStore& store, bool running);
// True when the saver may close.
bool VerifyPassword(const SettingsStore& store);
// Puts the window above all others; only the old consumer systems needed this for the saver,
// elsewhere the full-screen window keeps its place in the window order.
void MakeTopmost(QWidget& form);
// Lets the user change the screen-saver password for the window `handle` (/A).
void ChangePassword(int32_t handle);

}  // namespace qsrn
