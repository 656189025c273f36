// "Sound Effect Settings" on Win32: the template SOUNDEFFECTS (sound_dialog.rc) bound to
// SoundFormModel, which holds the slot rules and what OK writes. Play and a double-click on the
// list play the file through the session's sound player; Browse asks with the system's dialog.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>

#include "forms/sound_form_model.h"
#include "settings/catalogue.h"
#include "settings/file_system.h"
#include "settings/sound_files.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/dialogs.h"
#include "win32/ui/numeric_edit.h"
#include "win32/ui/sound_ids.h"

namespace qsrn {

namespace {

struct SoundDialog {
  explicit SoundDialog(DialogContext& context) : dc(context), model(dc.store) {}

  DialogContext& dc;
  SoundFormModel model;
  HWND hwnd = nullptr;
};

SoundDialog* StateOf(HWND dlg) { return reinterpret_cast<SoundDialog*>(GetWindowLongPtrW(dlg, DWLP_USER)); }

// Where the program's own sounds are, as the notes name it: their folder, else the program's.
std::string SoundPlace(const DialogContext& dc) {
  if (!dc.soundFolder.empty()) return dc.soundFolder;
  std::wstring program(MAX_PATH, L'\0');
  program.resize(GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
  return files::Utf8Of(std::filesystem::path(program).parent_path());
}

// The list, the file box and their buttons work only while the sounds are on.
void ShowSoundOn(SoundDialog& d) {
  CheckDlgButton(d.hwnd, IDC_SND_ON, d.model.SoundOn() ? BST_CHECKED : BST_UNCHECKED);
  for (int id = IDC_SND_FRAME; id <= IDC_SND_OURS; ++id) EnableWindow(GetDlgItem(d.hwnd, id), d.model.SlotsEnabled());
}

void ShowFile(SoundDialog& d) {
  const HWND box = GetDlgItem(d.hwnd, IDC_SND_FILE);
  if (WindowTextUtf8(box) != d.model.FileText()) SetWindowTextUtf8(box, d.model.FileText());
}

// The Delete key clears the file box, from the list or from the box itself.
LRESULT CALLBACK DeleteClears(HWND hwnd, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (message == WM_KEYDOWN && wp == VK_DELETE && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0) {
    SetDlgItemTextW(GetParent(hwnd), IDC_SND_FILE, L"");
    return 0;
  }
  return DefSubclassProc(hwnd, message, wp, lp);
}

void Init(HWND dlg, SoundDialog& d) {
  d.hwnd = dlg;
  const HWND list = GetDlgItem(dlg, IDC_SND_LIST);
  for (int slot = 0; slot < kSoundSlotCount; ++slot)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOf(SoundFormModel::SlotName(slot)).c_str()));
  std::string notes;
  for (char c : SoundFormModel::Notes(SoundPlace(d.dc))) {
    if (c == '\n') notes += '\r';
    notes += c;
  }
  SetWindowTextUtf8(GetDlgItem(dlg, IDC_SND_NOTES), notes);
  for (int id : {IDC_SND_LIST, IDC_SND_FILE}) SetWindowSubclass(GetDlgItem(dlg, id), DeleteClears, 1, 0);
  ShowSoundOn(d);
}

// Play and Browse work on the chosen slot: without one, the user is told and sent to the list.
bool SlotSelected(SoundDialog& d) {
  if (d.model.SlotSelected()) return true;
  Exclaim(d.hwnd, SoundFormModel::NoSlotMessage());
  SetFocus(GetDlgItem(d.hwnd, IDC_SND_LIST));
  return false;
}

void OnCommand(SoundDialog& d, int id, int code) {
  switch (id) {
    case IDC_SND_ON:
      if (code == BN_CLICKED) {
        d.model.SetSoundOn(IsDlgButtonChecked(d.hwnd, id) == BST_CHECKED);
        ShowSoundOn(d);
      }
      break;
    case IDC_SND_LIST:
      if (code == LBN_SELCHANGE) {
        d.model.SelectSlot(static_cast<int>(SendDlgItemMessageW(d.hwnd, id, LB_GETCURSEL, 0, 0)));
        ShowFile(d);
      } else if (code == LBN_DBLCLK) {
        d.model.Play(d.dc.player);
      }
      break;
    case IDC_SND_FILE:
      if (code == EN_CHANGE) d.model.SetFileText(WindowTextUtf8(GetDlgItem(d.hwnd, id)));
      break;
    case IDC_SND_PLAY:
      if (SlotSelected(d)) d.model.Play(d.dc.player);
      break;
    case IDC_SND_BROWSE:
      if (SlotSelected(d)) {
        d.model.PickedFile(AskFileName(d.hwnd, d.dc, true, SoundFormModel::kPickTitle, SoundFormModel::kPickTypes));
        ShowFile(d);
      }
      break;
    case IDC_SND_OURS: {
      // Our nine sounds into the nine slots (the box follows).
      const SoundFormModel::Files ours =
          d.dc.soundFolder.empty() ? SoundFormModel::Files{} : SoundFilesIn(d.dc.soundFolder, '\\');
      if (d.model.UseProgramSounds(ours))
        ShowFile(d);
      else
        Exclaim(d.hwnd, SoundFormModel::NoProgramSoundsMessage());
      break;
    }
    case IDC_SND_DEFAULTS:
      d.model.Defaults();
      ShowSoundOn(d);
      break;
    case IDOK:
      if (d.model.Ok())
        EndDialog(d.hwnd, IDOK);
      else
        Exclaim(d.hwnd, SoundFormModel::NotSavedMessage());
      break;
    case IDCANCEL: EndDialog(d.hwnd, IDCANCEL); break;
    default: break;
  }
}

// The setting whose row of the manual F1 opens: the switch's, else the chosen slot's.
std::string_view HelpKeyOf(const SoundDialog& d, int id) {
  if (id == IDC_SND_ON) return SoundSwitchKey().key;
  return d.model.SlotKey();
}

INT_PTR CALLBACK SoundProc(HWND dlg, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dlg, DWLP_USER, lp);
    Init(dlg, *reinterpret_cast<SoundDialog*>(lp));
    return TRUE;
  }
  SoundDialog* d = StateOf(dlg);
  if (d == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND: OnCommand(*d, LOWORD(wp), HIWORD(wp)); return TRUE;
    case WM_HELP:
      OpenManualForHelp(dlg, lp, [d](int id) { return HelpKeyOf(*d, id); });
      return TRUE;
    case WM_DESTROY:
      for (int id : {IDC_SND_LIST, IDC_SND_FILE}) RemoveWindowSubclass(GetDlgItem(dlg, id), DeleteClears, 1);
      SetWindowLongPtrW(dlg, DWLP_USER, 0);
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void ShowSoundDialog(HWND owner, DialogContext& dc) {
  SoundDialog state(dc);
  DialogBoxParamW(GetModuleHandleW(nullptr), L"SOUNDEFFECTS", owner, SoundProc, reinterpret_cast<LPARAM>(&state));
}

}  // namespace qsrn
