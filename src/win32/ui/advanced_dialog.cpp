// "Advanced Settings" on Win32: the template ADVANCED (advanced_dialog.rc) bound to
// AdvancedFormModel, which holds the rules (the effect pairings, cycling, Defaults, what OK
// writes); the numeric fields are NumericEdits on the model's fields. The font list holds the
// installed fonts; the preview shows the message in the chosen font, size and hue.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <array>
#include <memory>
#include <set>
#include <string>

#include "forms/advanced_form_model.h"
#include "settings/catalogue.h"
#include "settings/file_system.h"
#include "win32/ui/advanced_ids.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/dialogs.h"
#include "win32/ui/numeric_edit.h"

namespace qsrn {

namespace {

using Model = AdvancedFormModel;

struct AdvancedDialog {
  AdvancedDialog(DialogContext& context, std::string& text) : dc(context), message(text), model(dc.store, text) {}

  DialogContext& dc;
  std::string& message;
  Model model;
  HWND hwnd = nullptr;
  std::array<std::unique_ptr<NumericEdit>, Model::kFieldCount> fields;
};

AdvancedDialog* StateOf(HWND dlg) { return reinterpret_cast<AdvancedDialog*>(GetWindowLongPtrW(dlg, DWLP_USER)); }

// Every face once, in the order the system lists them (the list sorts itself); the vertical
// faces ("@name") are for vertical writing only.
int CALLBACK AddFontFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != L'@') reinterpret_cast<std::set<std::wstring>*>(faces)->insert(font->lfFaceName);
  return 1;
}

void FillFontList(HWND combo) {
  std::set<std::wstring> faces;
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  const HDC dc = GetDC(combo);
  EnumFontFamiliesExW(dc, &wanted, AddFontFace, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(combo, dc);
  for (const std::wstring& face : faces) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
}

// The face the system draws a font name with (a substitute when that name is not installed).
std::wstring MappedFace(HWND window, const std::wstring& name) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, name.c_str(), LF_FACESIZE);
  const HFONT font = CreateFontIndirectW(&wanted);
  const HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  DeleteObject(font);
  return face;
}

// The list's entry for a stored font name: the name itself when installed, else the face the
// system draws that name with (so pressing OK keeps the message's look), else the first.
void SelectFont(HWND combo, const std::string& name) {
  const std::wstring wide = WideOf(name);
  LRESULT at = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
  if (at == CB_ERR) {
    const std::wstring face = MappedFace(combo, wide);
    at = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face.c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, at == CB_ERR ? 0 : static_cast<WPARAM>(at), 0);
}

std::string SelectedFont(HWND combo) {
  const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (at == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, at, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text.data()))));
  return files::Utf8Of(text);
}

void Redraw(HWND dlg, int id) { InvalidateRect(GetDlgItem(dlg, id), nullptr, FALSE); }

void ShowBoxes(AdvancedDialog& d) {
  for (int b = 0; b < Model::kBoxCount; ++b)
    CheckDlgButton(d.hwnd, IDC_ADV_EFFECT0 + b, d.model.EffectChecked(b) ? BST_CHECKED : BST_UNCHECKED);
}

// The frames per effect, with its frame, work only while cycling is on.
void ShowCycling(AdvancedDialog& d) {
  CheckDlgButton(d.hwnd, IDC_ADV_CYCLE, d.model.Cycling() ? BST_CHECKED : BST_UNCHECKED);
  const BOOL on = d.model.FramesEnabled();
  for (int id : {IDC_ADV_FRA_CYCLE, IDC_ADV_LABEL0 + Model::kEffectFPC, IDC_ADV_FIELD0 + Model::kEffectFPC,
                 IDC_ADV_SPIN0 + Model::kEffectFPC})
    EnableWindow(GetDlgItem(d.hwnd, id), on);
}

void ShowModel(AdvancedDialog& d) {
  for (auto& field : d.fields) field->Show();
  ShowBoxes(d);
  ShowCycling(d);
  CheckDlgButton(d.hwnd, IDC_ADV_RESIZE, d.model.Resizable() ? BST_CHECKED : BST_UNCHECKED);
  const HWND font = GetDlgItem(d.hwnd, IDC_ADV_FONT);
  SelectFont(font, d.model.FontName());
  d.model.SetFontName(SelectedFont(font));
  SetWindowTextUtf8(GetDlgItem(d.hwnd, IDC_ADV_MESSAGE), d.model.Message());
  for (int id : {IDC_ADV_HUE_START_SWATCH, IDC_ADV_FONT_HUE_SWATCH, IDC_ADV_PREVIEW}) Redraw(d.hwnd, id);
}

void Init(HWND dlg, AdvancedDialog& d) {
  d.hwnd = dlg;
  for (int b = 0; b < Model::kBoxCount; ++b)
    SetWindowTextUtf8(GetDlgItem(dlg, IDC_ADV_EFFECT0 + b), std::string(Model::EffectCaption(b)));
  for (int f = 0; f < Model::kFieldCount; ++f) {
    SetWindowTextUtf8(GetDlgItem(dlg, IDC_ADV_LABEL0 + f), Model::Caption(f));
    d.fields[f] = std::make_unique<NumericEdit>(GetDlgItem(dlg, IDC_ADV_FIELD0 + f), GetDlgItem(dlg, IDC_ADV_SPIN0 + f),
                                                d.model.field(f));
    SendDlgItemMessageW(dlg, IDC_ADV_FIELD0 + f, EM_LIMITTEXT, 12, 0);
  }
  d.fields[Model::kHueStart]->onEdited = [dlg] { Redraw(dlg, IDC_ADV_HUE_START_SWATCH); };
  d.fields[Model::kFontHueV]->onEdited = [dlg] {
    Redraw(dlg, IDC_ADV_FONT_HUE_SWATCH);
    Redraw(dlg, IDC_ADV_PREVIEW);
  };
  d.fields[Model::kFontSize]->onEdited = [dlg] { Redraw(dlg, IDC_ADV_PREVIEW); };
  FillFontList(GetDlgItem(dlg, IDC_ADV_FONT));
  ShowModel(d);
}

void DrawSwatch(const DRAWITEMSTRUCT& item, COLORREF color) {
  const HBRUSH brush = CreateSolidBrush(color);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The message on black in the chosen font, size and hue, as the saver draws it.
void DrawPreview(const AdvancedDialog& d, const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wanted.lfHeight = -MulDiv(static_cast<int>(d.model.PreviewPointSize() + 0.5), GetDeviceCaps(item.hDC, LOGPIXELSY), 72);
  lstrcpynW(wanted.lfFaceName, WideOf(d.model.FontName()).c_str(), LF_FACESIZE);
  const HFONT font = CreateFontIndirectW(&wanted);
  const HGDIOBJ old = SelectObject(item.hDC, font);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, static_cast<COLORREF>(d.model.HueColor(Model::kFontHueV)));
  RECT box = item.rcItem;
  DrawTextW(item.hDC, WideOf(d.model.PreviewText()).c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, old);
  DeleteObject(font);
}

void OnDrawItem(const AdvancedDialog& d, const DRAWITEMSTRUCT& item) {
  switch (item.CtlID) {
    case IDC_ADV_HUE_START_SWATCH: DrawSwatch(item, static_cast<COLORREF>(d.model.HueColor(Model::kHueStart))); break;
    case IDC_ADV_FONT_HUE_SWATCH: DrawSwatch(item, static_cast<COLORREF>(d.model.HueColor(Model::kFontHueV))); break;
    case IDC_ADV_PREVIEW: DrawPreview(d, item); break;
    default: break;
  }
}

void OnOk(AdvancedDialog& d) {
  // The field being edited is range-checked as the focus leaves it, before OK reads it.
  const HWND focus = GetFocus();
  for (auto& field : d.fields)
    if (field->edit() == focus) field->Clamp();
  SetFocus(GetDlgItem(d.hwnd, IDOK));
  const Model::OkResult result = d.model.Ok();
  if (result == Model::OkResult::Saved) {
    d.message = d.model.Message();
    EndDialog(d.hwnd, IDOK);
    return;
  }
  Exclaim(d.hwnd, Model::OkMessage(result));
  if (result == Model::OkResult::NoEffect) SetFocus(GetDlgItem(d.hwnd, IDC_ADV_EFFECT0));
}

// The setting whose row of the manual F1 opens for a control.
std::string_view HelpKeyOf(const AdvancedDialog& d, int id) {
  if (id >= IDC_ADV_EFFECT0 && id < IDC_ADV_EFFECT0 + Model::kBoxCount) return PickMaskKey().key;
  for (int base : {IDC_ADV_LABEL0, IDC_ADV_FIELD0, IDC_ADV_SPIN0})
    if (id >= base && id < base + Model::kFieldCount) return d.model.field(id - base).key().key;
  switch (id) {
    case IDC_ADV_CYCLE: return d.model.field(Model::kEffectFPC).key().key;
    case IDC_ADV_HUE_START_SWATCH: return d.model.field(Model::kHueStart).key().key;
    case IDC_ADV_FONT_HUE_SWATCH: return d.model.field(Model::kFontHueV).key().key;
    case IDC_ADV_MESSAGE: case IDC_ADV_PREVIEW: return "LockMessage";
    case IDC_ADV_FONT: return "Adv_FontName";
    case IDC_ADV_RESIZE: return WinResizeKey().key;
    default: return {};
  }
}

void OnCommand(AdvancedDialog& d, int id, int code) {
  if (id >= IDC_ADV_EFFECT0 && id < IDC_ADV_EFFECT0 + Model::kBoxCount && code == BN_CLICKED) {
    // The model applies the pairings; every box then shows its state.
    d.model.SetEffectChecked(id - IDC_ADV_EFFECT0, IsDlgButtonChecked(d.hwnd, id) == BST_CHECKED);
    ShowBoxes(d);
    return;
  }
  switch (id) {
    case IDC_ADV_CYCLE:
      if (code == BN_CLICKED) {
        d.model.SetCycling(IsDlgButtonChecked(d.hwnd, id) == BST_CHECKED);
        ShowCycling(d);
      }
      break;
    case IDC_ADV_RESIZE:
      if (code == BN_CLICKED) d.model.SetResizable(IsDlgButtonChecked(d.hwnd, id) == BST_CHECKED);
      break;
    case IDC_ADV_MESSAGE:
      if (code == EN_CHANGE) {
        d.model.SetMessage(WindowTextUtf8(GetDlgItem(d.hwnd, id)));
        Redraw(d.hwnd, IDC_ADV_PREVIEW);
      }
      break;
    case IDC_ADV_FONT:
      if (code == CBN_SELCHANGE) {
        d.model.SetFontName(SelectedFont(GetDlgItem(d.hwnd, id)));
        Redraw(d.hwnd, IDC_ADV_PREVIEW);
      }
      break;
    case IDC_ADV_DEFAULTS:
      d.model.Defaults();
      ShowModel(d);
      break;
    case IDOK: OnOk(d); break;
    case IDCANCEL: EndDialog(d.hwnd, IDCANCEL); break;
    default: break;
  }
}

INT_PTR CALLBACK AdvancedProc(HWND dlg, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dlg, DWLP_USER, lp);
    Init(dlg, *reinterpret_cast<AdvancedDialog*>(lp));
    return TRUE;
  }
  AdvancedDialog* d = StateOf(dlg);
  if (d == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND: OnCommand(*d, LOWORD(wp), HIWORD(wp)); return TRUE;
    case WM_DRAWITEM: OnDrawItem(*d, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_HELP:
      OpenManualForHelp(dlg, lp, [d](int id) { return HelpKeyOf(*d, id); });
      return TRUE;
    case WM_DESTROY:
      // The edits let go of the dialog while both are still there.
      for (auto& field : d->fields) field.reset();
      SetWindowLongPtrW(dlg, DWLP_USER, 0);
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

bool ShowAdvancedDialog(HWND owner, DialogContext& dc, std::string& message) {
  AdvancedDialog state(dc, message);
  return DialogBoxParamW(GetModuleHandleW(nullptr), L"ADVANCED", owner, AdvancedProc,
                         reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace qsrn
