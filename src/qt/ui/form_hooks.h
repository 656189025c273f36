// The forms the properties dialog opens from its menus without owning them: the advanced
// settings dialog (Edit), the sound dialog (Effect) and the about box (Help). A menu entry whose
// hook is empty is shown disabled. The program's own forms are plugged in in one place,
// MakeFormHooks() in form_hooks.cpp; whoever creates the properties dialog hands it the hooks (tests
// their own).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace qsrn {

class SettingsStore;
class SoundPlayer;

struct PropertiesFormHooks {
  // Shows the advanced settings dialog modally over parent. message is the properties dialog's
  // on-screen message: the advanced dialog shows it and may change it (the properties dialog
  // stores it on Accept). Returns true when the user pressed OK.
  std::function<bool(QWidget* parent, SettingsStore& store, QString& message)> advanced;
  // Shows the sound effect settings dialog modally over parent.
  std::function<void(QWidget* parent, SettingsStore& store)> sounds;
  // Shows the about box modally over parent.
  std::function<void(QWidget* parent)> about;
};

// The program's own forms; the sound dialog plays through player, the session's one (null: the
// dialog plays nothing).
PropertiesFormHooks MakeFormHooks(SoundPlayer* player);

}  // namespace qsrn
