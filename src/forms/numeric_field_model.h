// The editing scheme of every numeric text field of the configuration dialogs, written once for
// every toolkit and driven by the field's catalogue row (kind, range, steps):
//  - the key filter lets through digits and, in fraction fields, one "." (a "." inside the
//    selection may be typed over); any other character is refused (the view beeps);
//  - Up/Down (and the spinner's arrows, upper increases) add or subtract the step to the whole
//    value, kept within the range; only fields with steps react;
//  - focus out clamps the value to the range as an Integer, Long or Single and writes it back;
//  - pasted text passes the key filter character by character: the refused ones are counted (one
//    beep each), the accepted ones are inserted.
// Texts the filter sees are UTF-16, as both toolkits' edit controls hold them; the field's own
// text is UTF-8, as the store keeps it.
// Usage:
//   NumericFieldModel shells(*FindKey(SectionId::Fireworks, "FireWorks"));
//   if (!shells.AcceptsChar(text, {start, length}, ch)) Beep();
//   shells.SetText("12"); shells.StepArrow(+1);   // "13"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace qsrn {

struct KeySpec;

// The selected part of an edit control's text, in UTF-16 units.
struct TextSelection {
  size_t start = 0;
  size_t length = 0;
};

struct PasteFilter {
  std::u16string accepted;  // what goes in over the selection
  int refused = 0;          // characters the key filter turned away
};

class NumericFieldModel {
 public:
  explicit NumericFieldModel(const KeySpec& key) : key_(&key) {}

  const KeySpec& key() const { return *key_; }
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

  // The text read as a number with "0" put in front: an empty text is 0.
  double Value() const;
  bool HasSpinner() const;
  int SpinStep() const;

  // Whether ch may be typed into text with selection about to be typed over.
  bool AcceptsChar(std::u16string_view text, TextSelection selection, char16_t ch) const;
  // pasted over selection of text, through the key filter.
  PasteFilter FilterPaste(std::u16string_view text, TextSelection selection,
                          std::u16string_view pasted) const;

  // Up (+1) or Down (-1) by step from the whole value, kept within the range.
  void Step(int direction, int step);
  // The Up/Down keys: false (nothing changes) for a field without steps.
  bool StepArrow(int direction);
  // The value clamped to the range as the key's type, written back as text. True when the text
  // changed.
  bool ClampOnFocusOut();

 private:
  const KeySpec* key_;
  std::string text_;
};

// "Caption (lo - hi):" with the catalogue's range, in plain decimals ("0.0001", not "1E-04").
std::string RangeCaption(std::string_view caption, const KeySpec& key);

}  // namespace qsrn
