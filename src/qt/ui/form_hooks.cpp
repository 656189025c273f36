// Where the forms reached from the properties dialog's menus are plugged in; see form_hooks.h.
#include "qt/ui/form_hooks.h"

#include "qt/platform/sdl_sound_player.h"
#include "settings/store.h"
#include "qt/ui/advanced_form.h"
#include "qt/ui/sound_form.h"
#include "qt/ui/welcome_form.h"

namespace qsrn {

namespace {

PropertiesFormHooks MakeFormHooks() {
  PropertiesFormHooks hooks;
  hooks.advanced = [](QWidget* parent, SettingsStore& store, QString& message) {
    frmAdvanced form(store, message, parent);
    if (form.exec() != QDialog::Accepted) return false;
    message = form.Message();
    return true;
  };
  hooks.sounds = [](QWidget* parent, SettingsStore& store) {
    SdlSoundPlayer player;  // the saver's player; its device opens on the first sound only
    frmSoundEffects form(store, &player, parent);
    form.exec();
  };
  hooks.about = [](QWidget* parent) {
    const SettingsStore store(SettingsStore::DefaultDirectory());
    frmWelcome box(store, parent);
    box.exec();
  };
  return hooks;
}

}  // namespace

PropertiesFormHooks& FormHooks() {
  static PropertiesFormHooks hooks = MakeFormHooks();
  return hooks;
}

}  // namespace qsrn
