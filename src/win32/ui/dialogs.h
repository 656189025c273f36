// The configuration dialogs of the Windows program, each modal over its owner and bound to its
// toolkit-free form model (forms/). The properties dialog reaches the others from its menus.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qsrn {

class SettingsStore;
class SoundPlayer;

// Everything the dialogs share: the store, the session's sound player (null plays nothing) and
// the folder of the program's own sounds ("" when they are not there).
struct DialogContext {
  SettingsStore& store;
  SoundPlayer* player = nullptr;
  std::string soundFolder;
  // The folder the next file dialog starts in: where the last one was closed, while the program
  // runs (also after Cancel).
  std::string fileFolder = {};
  bool exitRequested = false;  // set by the properties dialog's File "Exit": the windowed display ends too
};

// "Quasarine Properties": true when the user accepted (the store holds the new values).
bool ShowPropertiesDialog(HWND owner, DialogContext& dc);

// The advanced settings dialog. message is the properties dialog's on-screen message: shown here
// and changed when the user presses OK (the properties dialog stores it on Accept). True on OK.
bool ShowAdvancedDialog(HWND owner, DialogContext& dc, std::string& message);

// The sound effect settings dialog.
void ShowSoundDialog(HWND owner, DialogContext& dc);

// The about box, with the credits behind its button.
void ShowAboutBox(HWND owner);

// The system's own file dialog with the caller's title and type list ("Quasarine Templates
// (*.qsn)|*.qsn|All Files (*.*)|*.*"), starting in the folder used last, with the checks of the
// configuration dialogs. Returns the confirmed full path (UTF-8), or "" when cancelled.
std::string AskFileName(HWND owner, DialogContext& dc, bool open, std::string_view title, std::string_view types);

// The manual in the user's browser, at a setting's entry (its key, "FireWorks"), or at its
// beginning for an empty key.
void OpenManual(HWND owner, std::string_view settingKey = {});

// F1 in a dialog (WM_HELP with its HELPINFO): the manual at the setting of the control the key
// came from, as keyOf(control id) names it, or at its beginning when it came from elsewhere.
template <class KeyOf>
void OpenManualForHelp(HWND dialog, LPARAM helpInfo, const KeyOf& keyOf) {
  const auto* help = reinterpret_cast<const HELPINFO*>(helpInfo);
  OpenManual(dialog, help->iContextType == HELPINFO_WINDOW ? std::string_view(keyOf(help->iCtrlId)) : std::string_view{});
}

}  // namespace qsrn
