// The numeric field editing scheme on Win32 controls; see numeric_edit.h.
#include "win32/ui/numeric_edit.h"

#include <commctrl.h>

#include "settings/file_system.h"

namespace qsrn {

namespace {

std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

TextSelection SelectionOf(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end > start ? end - start : 0};
}

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace

std::string WindowTextUtf8(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return files::Utf8Of(text);
}

void SetWindowTextUtf8(HWND window, const std::string& text) {
  SetWindowTextW(window, files::PathFromUtf8(text).wstring().c_str());
}

NumericEdit::NumericEdit(HWND edit, HWND spinner, NumericFieldModel& model)
    : edit_(edit), spinner_(spinner), parent_(GetParent(edit)), model_(&model) {
  Show();
  Bind();
}

NumericEdit::NumericEdit(HWND edit, HWND spinner, const KeySpec& key)
    : edit_(edit), spinner_(spinner), parent_(GetParent(edit)),
      own_(std::make_unique<NumericFieldModel>(key)), model_(own_.get()) {
  model_->SetText(WindowTextUtf8(edit));
  Bind();
}

NumericEdit::~NumericEdit() {
  RemoveWindowSubclass(edit_, EditProc, reinterpret_cast<UINT_PTR>(this));
  RemoveWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this));
}

void NumericEdit::Bind() {
  SetWindowSubclass(edit_, EditProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
  if (spinner_ == nullptr) return;
  // Upper arrow increases; the position itself is never used.
  SendMessageW(spinner_, UDM_SETRANGE32, 0, 100);
  SendMessageW(spinner_, UDM_SETPOS32, 0, 50);
  ShowWindow(spinner_, model_->HasSpinner() ? SW_SHOWNA : SW_HIDE);
}

void NumericEdit::Show() {
  const std::wstring text = files::PathFromUtf8(model_->Text()).wstring();
  if (Utf16(text) == ControlText()) return;
  showing_ = true;
  SetWindowTextW(edit_, text.c_str());
  showing_ = false;
}

void NumericEdit::SetText(std::string text) {
  model_->SetText(std::move(text));
  Show();
}

void NumericEdit::Clamp() {
  if (!model_->ClampOnFocusOut()) return;
  Show();
  if (onEdited) onEdited();
}

std::u16string NumericEdit::ControlText() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
  return Utf16(text);
}

void NumericEdit::Refuse() const { MessageBeep(MB_OK); }

bool NumericEdit::OnChar(wchar_t ch) {
  // Backspace, Ctrl+C, Ctrl+V (as WM_PASTE), Ctrl+Z and the like carry no printable character.
  if (ch < L' ' || ch == 0x7f) return false;
  if (model_->AcceptsChar(ControlText(), SelectionOf(edit_), static_cast<char16_t>(ch))) return false;
  Refuse();
  return true;
}

void NumericEdit::Paste() {
  const TextSelection selection = SelectionOf(edit_);
  const PasteFilter filtered =
      model_->FilterPaste(ControlText(), selection, Utf16(ClipboardText(edit_)));
  for (int i = 0; i < filtered.refused; ++i) Refuse();
  if (!filtered.accepted.empty() || selection.length > 0)
    SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Wide(filtered.accepted).c_str()));
}

void NumericEdit::StepBy(int direction, int step) {
  model_->Step(direction, step);
  Show();
  SendMessageW(edit_, EM_SETSEL, 0, -1);
  if (onEdited) onEdited();
}

LRESULT CALLBACK NumericEdit::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<NumericEdit*>(data);
  switch (msg) {
    case WM_CHAR:
      if (self->OnChar(static_cast<wchar_t>(wp))) return 0;
      break;
    case WM_PASTE:
      self->Paste();
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_UP || wp == VK_DOWN) {
        self->model_->SetText(files::Utf8Of(Wide(self->ControlText())));
        if (self->model_->StepArrow(wp == VK_UP ? +1 : -1)) {
          self->Show();
          SendMessageW(hwnd, EM_SETSEL, 0, -1);
          if (self->onEdited) self->onEdited();
        }
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      // The arrows step the field instead of moving the focus to the next control.
      if (lp != 0 && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
          (reinterpret_cast<const MSG*>(lp)->wParam == VK_UP || reinterpret_cast<const MSG*>(lp)->wParam == VK_DOWN))
        return DLGC_WANTARROWS | DefSubclassProc(hwnd, msg, wp, lp);
      break;
    case WM_SETFOCUS:
      // The whole text selected however the field was reached (the dialog manager does so only for
      // Tab); posted, so a click's own caret placement comes first.
      if ((GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY) == 0) PostMessageW(hwnd, EM_SETSEL, 0, -1);
      break;
    case WM_KILLFOCUS:
      self->Clamp();
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK NumericEdit::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<NumericEdit*>(data);
  if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == self->edit_ && HIWORD(wp) == EN_CHANGE) {
    self->model_->SetText(files::Utf8Of(Wide(self->ControlText())));
    if (!self->showing_ && self->onEdited) self->onEdited();
  } else if (msg == WM_NOTIFY && self->spinner_ != nullptr) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->hwndFrom == self->spinner_ && header->code == UDN_DELTAPOS) {
      const auto* delta = reinterpret_cast<const NMUPDOWN*>(lp);
      if (delta->iDelta != 0 && self->model_->HasSpinner())
        self->StepBy(delta->iDelta > 0 ? +1 : -1, self->model_->SpinStep());
      return TRUE;  // the up-down control keeps its position
    }
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace qsrn
