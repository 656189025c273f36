// Where the forms reached from the properties dialog's menus are plugged in; see form_hooks.h.
#include "qt/ui/form_hooks.h"

#include "qt/ui/advanced_form.h"
#include "qt/ui/sound_form.h"
#include "qt/ui/welcome_form.h"
#include "settings/store.h"

namespace qsrn {

PropertiesFormHooks MakeFormHooks(SoundPlayer* player) {
  PropertiesFormHooks hooks;
  hooks.advanced = [](QWidget* parent, SettingsStore& store, QString& message) {
    frmAdvanced form(store, message, parent);
    if (form.exec() != QDialog::Accepted) return false;
    message = form.Message();
    return true;
  };
  hooks.sounds = [player](QWidget* parent, SettingsStore& store) {
    frmSoundEffects form(store, player, parent);
    form.exec();
  };
  hooks.about = [](QWidget* parent) {
    const SettingsStore store(SettingsStore::DefaultDirectory());
    frmWelcome box(store, parent);
    box.exec();
  };
  return hooks;
}

}  // namespace qsrn
