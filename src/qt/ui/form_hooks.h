// The forms the properties dialog opens from its menus without owning them: the advanced
// settings dialog (Edit), the sound dialog (Effect) and the about box (Help). A menu entry whose
// hook is empty is shown disabled. The forms are plugged in in one place, MakeFormHooks() in
// form_hooks.cpp; tests may replace a hook through FormHooks().
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace qsrn {

class SettingsStore;

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

// The hooks in use (process-wide, created by MakeFormHooks on first use).
PropertiesFormHooks& FormHooks();

}  // namespace qsrn
