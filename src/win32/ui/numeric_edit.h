// A Win32 edit control, with its up-down control when the field steps, driven by a
// NumericFieldModel: a typed key passes the model's filter (a refused one beeps), a paste (Ctrl+V,
// Shift+Insert, the context menu) goes through it character by character, Up/Down and the
// up-down arrows step the value, focus selects the whole text and leaving the field clamps it to
// its range.
// The edit and up-down controls come from a dialog template; the up-down control is not a buddy
// that sets integers (no UDS_SETBUDDYINT), the model does the arithmetic.
// Usage:
//   NumericEdit shells(GetDlgItem(dlg, IDC_SHELLS), GetDlgItem(dlg, IDC_SHELLS_SPIN), model);
//   shells.onEdited = [&] { form.Edit("FireWorks", shells.Text()); };
//   shells.Show();                      // after the model's text changed from elsewhere
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "forms/numeric_field_model.h"

namespace qsrn {

class NumericEdit {
 public:
  // Drives an outside model (a form's field) or, without one, a model of its own for key.
  NumericEdit(HWND edit, HWND spinner, NumericFieldModel& model);
  NumericEdit(HWND edit, HWND spinner, const KeySpec& key);
  ~NumericEdit();
  NumericEdit(const NumericEdit&) = delete;
  NumericEdit& operator=(const NumericEdit&) = delete;

  HWND edit() const { return edit_; }
  NumericFieldModel& model() { return *model_; }
  const std::string& Text() const { return model_->Text(); }
  // The model's text into the control; onEdited does not run.
  void Show();
  void SetText(std::string text);
  // Clamps now, as leaving the field does (before OK reads the fields).
  void Clamp();
  // Every change of the text the user made: typing, pasting, stepping, clamping, undo.
  std::function<void()> onEdited;

 private:
  static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void Bind();
  bool OnChar(wchar_t ch);
  void Paste();
  void StepBy(int direction, int step);
  void Refuse() const;
  std::u16string ControlText() const;

  HWND edit_;
  HWND spinner_;
  HWND parent_;
  std::unique_ptr<NumericFieldModel> own_;
  NumericFieldModel* model_;
  bool showing_ = false;  // our own text going in: no onEdited
};

// The text of a window as UTF-8, and back.
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

}  // namespace qsrn
