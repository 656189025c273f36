// The numeric field editing scheme; see numeric_field_model.h.
#include "forms/numeric_field_model.h"

#include <algorithm>
#include <cstdio>

#include "settings/catalogue.h"
#include "settings/numeric.h"

namespace qsrn {

namespace {

// The text that stays when the selection is typed over.
std::u16string TextOutside(std::u16string_view text, TextSelection selection) {
  std::u16string around(text);
  const size_t start = std::min(selection.start, around.size());
  around.erase(start, std::min(selection.length, around.size() - start));
  return around;
}

bool AcceptsAround(const KeySpec& key, std::u16string_view around, char16_t ch) {
  if (ch >= u'0' && ch <= u'9') return true;
  // One "." only, unless the one there is about to be typed over.
  return ch == u'.' && key.AcceptsFraction() && around.find(u'.') == std::u16string_view::npos;
}

// Up to 15 significant digits, without an exponent for the ranges the catalogue holds.
std::string PlainNumber(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", v);
  return buffer;
}

}  // namespace

double NumericFieldModel::Value() const { return Val("0" + text_); }

bool NumericFieldModel::HasSpinner() const { return key_->HasSpinner(); }

int NumericFieldModel::SpinStep() const { return key_->steps.spin; }

bool NumericFieldModel::AcceptsChar(std::u16string_view text, TextSelection selection, char16_t ch) const {
  return AcceptsAround(*key_, TextOutside(text, selection), ch);
}

PasteFilter NumericFieldModel::FilterPaste(std::u16string_view text, TextSelection selection,
                                           std::u16string_view pasted) const {
  const std::u16string around = TextOutside(text, selection);
  PasteFilter result;
  for (const char16_t ch : pasted) {
    if (AcceptsAround(*key_, around + result.accepted, ch)) {
      result.accepted += ch;
    } else {
      ++result.refused;
    }
  }
  return result;
}

void NumericFieldModel::Step(int direction, int step) {
  const double whole = CLng(Int(Value()));
  text_ = FormatNumber(Clamp(whole + direction * step, key_->lo, key_->hi));
}

bool NumericFieldModel::StepArrow(int direction) {
  if (key_->steps.arrow <= 0) return false;
  Step(direction, key_->steps.arrow);
  return true;
}

bool NumericFieldModel::ClampOnFocusOut() {
  const double v = Clamp(Value(), key_->lo, key_->hi);
  std::string text;
  if (key_->AcceptsFraction() || key_->type == KeyType::Single)
    text = FormatSingle(static_cast<float>(v));
  else if (key_->type == KeyType::Long)
    text = FormatNumber(CLng(v));
  else
    text = FormatNumber(CInt(v));
  if (text == text_) return false;
  text_ = std::move(text);
  return true;
}

std::string RangeCaption(std::string_view caption, const KeySpec& key) {
  return std::string(caption) + " (" + PlainNumber(key.lo) + " - " + PlainNumber(key.hi) + "):";
}

}  // namespace qsrn
