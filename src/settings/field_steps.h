// The step of each numeric dialog field that has a spinner: the spinner and the Up/Down keys add
// or subtract it within the field's catalogue range. Fields without a row have no spinner and
// ignore the arrow keys. The ranges themselves come from the catalogue (KeySpec::lo, hi).
#pragma once

#include <string_view>

namespace qsrn {

struct FieldStep {
  std::string_view key;
  int spin;   // the spinner's step
  int arrow;  // the Up/Down keys' step (differs only for the hue lock percent)
};

// The step row of a key (names matched without regard to case), or null: no spinner.
const FieldStep* FindFieldStep(std::string_view key);

}  // namespace qsrn
