// The properties dialog's menus: templates (File), Reset and the advanced settings (Edit), the
// effects and the sounds (Effect), the manual and the about box (Help); see properties_window.h.
#include "win32/ui/dialog_text.h"
#include "win32/ui/properties_ids.h"
#include "win32/ui/properties_window.h"

namespace qsrn {

// The effects go before the Effect menu's separator, from the form's table.
void PropertiesWindow::BuildEffectMenu() {
  HMENU effect = GetSubMenu(GetMenu(dlg_), 2);
  const std::span<const std::string_view> entries = EffectMenuEntries();
  for (size_t i = 0; i < entries.size(); ++i)
    InsertMenuW(effect, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, IDM_PROPS_EFFECT0 + i, WideOf(entries[i]).c_str());
}

bool PropertiesWindow::MenuCommand(int id) {
  if (id >= IDM_PROPS_EFFECT0 && id < IDM_PROPS_EFFECT0 + kEffectCount) {
    form_.SelectEffect(static_cast<EffectIndex>(id - IDM_PROPS_EFFECT0));
    return true;
  }
  switch (id) {
    case IDM_PROPS_OPEN: OpenTemplate(); return true;
    case IDM_PROPS_SAVE: SaveTemplate(false); return true;
    case IDM_PROPS_SAVE_AS: SaveTemplate(true); return true;
    case IDM_PROPS_EXIT:
      dc_.exitRequested = true;
      EndDialog(dlg_, IDCANCEL);
      return true;
    case IDM_PROPS_RESET: AskResetProperties(); return true;
    case IDM_PROPS_ADVANCED: ShowAdvanced(); return true;
    case IDM_PROPS_SOUNDS: ShowSoundDialog(dlg_, dc_); return true;
    case IDM_PROPS_CONTENTS:
    case IDM_PROPS_SEARCH: OpenManual(dlg_); return true;
    case IDM_PROPS_ABOUT: ShowAboutBox(dlg_); return true;
    default: return false;
  }
}

void PropertiesWindow::OpenTemplate() {
  const std::string file = AskFileName(dlg_, dc_, true, PropertiesForm::OpenTemplateTitle(), PropertiesForm::TemplateTypes());
  if (!file.empty()) Report(form_.ReadTemplate(file));
}

void PropertiesWindow::SaveTemplate(bool saveAs) {
  std::string file = form_.CurrentTemplate();
  if (form_.NeedsTemplateName(saveAs))
    file = AskFileName(dlg_, dc_, false, PropertiesForm::SaveTemplateTitle(), PropertiesForm::TemplateTypes());
  if (!file.empty()) Report(form_.WriteTemplate(file));
}

void PropertiesWindow::AskResetProperties() {
  const int answer = MessageBoxW(dlg_, WideOf(PropertiesForm::ResetQuestion()).c_str(), WideOf(PropertiesForm::Title()).c_str(),
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (answer == IDYES) Report(form_.Reset());
  SchedulePreview();  // the Advanced keys went back to the factory's
}

// The advanced dialog shows the on-screen message and may change it; Accept stores it.
void PropertiesWindow::ShowAdvanced() {
  std::string message = form_.Text("LockMessage");
  if (ShowAdvancedDialog(dlg_, dc_, message)) {
    form_.Edit("LockMessage", message);
    ShowField("LockMessage");
  }
  SchedulePreview();  // the frame delay and the hues may have changed
}

}  // namespace qsrn
