// "Quasarine Properties": the dialog window and its messages; see properties_window.h.
#include "win32/ui/properties_window.h"

#include <commctrl.h>

#include "settings/numeric.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/galaxy_profile_picture.h"
#include "win32/ui/properties_ids.h"

namespace qsrn {

namespace {
constexpr UINT kShowOpenMessage = WM_APP + 1;
}  // namespace

bool ShowPropertiesDialog(HWND owner, DialogContext& dc) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  LivePreview::Register();
  PropertiesWindow window(dc);
  return DialogBoxParamW(GetModuleHandleW(nullptr), L"PROPERTIES", owner, PropertiesWindow::DialogProc,
                         reinterpret_cast<LPARAM>(&window)) == IDOK;
}

INT_PTR CALLBACK PropertiesWindow::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dlg, DWLP_USER, lp);
    reinterpret_cast<PropertiesWindow*>(lp)->Init(dlg);
    return TRUE;
  }
  auto* self = reinterpret_cast<PropertiesWindow*>(GetWindowLongPtrW(dlg, DWLP_USER));
  return self != nullptr ? self->Handle(dlg, msg, wp, lp) : FALSE;
}

// The pages pass their controls' commands and drawing on to the dialog.
INT_PTR CALLBACK PropertiesWindow::PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(page, DWLP_USER, lp);
    return FALSE;
  }
  auto* self = reinterpret_cast<PropertiesWindow*>(GetWindowLongPtrW(page, DWLP_USER));
  if (self == nullptr || (msg != WM_COMMAND && msg != WM_DRAWITEM)) return FALSE;
  return self->Handle(page, msg, wp, lp);
}

void PropertiesWindow::Init(HWND dlg) {
  dlg_ = dlg;
  containers_.push_back(dlg);
  preview_ = LivePreview::Of(GetDlgItem(dlg, IDC_PROPS_PREVIEW));
  if (preview_ != nullptr) preview_->Attach(dc_.store);
  BuildEffectMenu();
  BuildPages();
  FillLists();
  form_.OnChange([this](std::string_view key) { ShowField(key); });
  // Opening: the store (or on the first start the factory set) into the controls, quietly.
  loading_ = true;
  openMessage_ = form_.Open();
  ShowAll();
  loading_ = false;
  ShowEffect();
  if (!openMessage_.empty()) PostMessageW(dlg, kShowOpenMessage, 0, 0);
}

INT_PTR PropertiesWindow::Handle(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      return Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_HELP:
      Help(*reinterpret_cast<const HELPINFO*>(lp));
      return TRUE;
    case WM_SIZE:
      if (preview_ != nullptr && (wp == SIZE_MINIMIZED || wp == SIZE_RESTORED)) preview_->Pause(wp == SIZE_MINIMIZED);
      return FALSE;
    case WM_SHOWWINDOW:
      if (preview_ != nullptr) preview_->Pause(wp == FALSE);
      return FALSE;
    case kShowOpenMessage:
      Exclaim(dlg_, openMessage_);
      return TRUE;
    case WM_DESTROY:
      Teardown();
      return FALSE;
    default:
      return FALSE;
  }
}

bool PropertiesWindow::Command(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      Accept();
      return true;
    case IDCANCEL:
      EndDialog(dlg_, IDCANCEL);
      return true;
    case IDC_PROPS_FIRE_THEME:
    case IDC_PROPS_GAL_THEME:
      if (code == CBN_SELCHANGE)
        form_.ApplyTheme(id == IDC_PROPS_FIRE_THEME ? SectionId::Fireworks : SectionId::Galaxy,
                         static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      return true;
    case IDC_PROPS_FIRE_EXTRAS:
    case IDC_PROPS_GAL_EXTRAS:
      if (code == CBN_SELCHANGE)
        ShowExtras(id == IDC_PROPS_FIRE_EXTRAS ? fireworksExtras_ : galaxyExtras_,
                   static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      return true;
    default:
      break;
  }
  if (control == nullptr) return MenuCommand(id);
  const std::string key = KeyOf(control);
  if (key.empty()) return false;
  if (code == CBN_SELCHANGE) {
    UserEdited(key, std::to_string(SendMessageW(control, CB_GETCURSEL, 0, 0)));
  } else if (code == BN_CLICKED) {
    UserEdited(key, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0");
  } else if (code == EN_CHANGE && bindings_.at(key).kind == Binding::Kind::Text) {
    UserEdited(key, WindowTextUtf8(control));
  }
  return true;
}

void PropertiesWindow::Accept() {
  // The field being edited is range-checked first, as leaving it does.
  SetFocus(GetDlgItem(dlg_, IDOK));
  const FormOutcome saved = form_.Accept();
  if (saved.ok) {
    EndDialog(dlg_, IDOK);
    return;
  }
  // The cursor goes where the field is to be mended.
  if (const auto it = bindings_.find(saved.field); it != bindings_.end()) SetFocus(it->second.control);
  Exclaim(dlg_, saved.message);
}

void PropertiesWindow::Report(const FormOutcome& outcome) const {
  if (!outcome.message.empty()) Exclaim(dlg_, outcome.message);
}

// F1: the manual at the focused field's setting (at its beginning for any other control).
void PropertiesWindow::Help(const HELPINFO& info) const {
  const std::string key = info.iContextType == HELPINFO_WINDOW ? KeyOf(static_cast<HWND>(info.hItemHandle)) : "";
  OpenManual(dlg_, key);
}

void PropertiesWindow::DrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.CtlID == IDC_PROPS_GAL_PICTURE) {
    DrawGalaxyProfile(item.hDC, item.rcItem, CInt(Val(form_.Text("Galaxy_Profile"))));
    return;
  }
  const int field = static_cast<int>(item.CtlID) - IDC_PROPS_SWATCH0;
  if (item.CtlID != IDC_PROPS_GAL_SWATCH && (field < 0 || field > 2)) return;
  // The model's colours are 0x00BBGGRR, as COLORREF.
  const auto colour = static_cast<COLORREF>(item.CtlID == IDC_PROPS_GAL_SWATCH ? form_.GalaxySwatch() : form_.HueSwatch(field));
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void PropertiesWindow::Teardown() {
  if (preview_ != nullptr) preview_->Pause(true);
  preview_ = nullptr;
  form_.OnChange({});
  bindings_.clear();  // the edits let go of their controls while these still exist
}

}  // namespace qsrn
