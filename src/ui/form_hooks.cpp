// Where the forms reached from the properties dialog's menus are plugged in; see form_hooks.h.
#include "ui/form_hooks.h"

namespace qsrn {

namespace {

PropertiesFormHooks MakeFormHooks() {
  PropertiesFormHooks hooks;
  // hooks.advanced = [](QWidget* parent, SettingsStore& store, QString& message) { ... };
  // hooks.sounds = [](QWidget* parent, SettingsStore& store) { ... };
  // hooks.about = [](QWidget* parent) { ... };
  return hooks;
}

}  // namespace

PropertiesFormHooks& FormHooks() {
  static PropertiesFormHooks hooks = MakeFormHooks();
  return hooks;
}

}  // namespace qsrn
