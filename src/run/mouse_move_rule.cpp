// The clock of the mouse-move rule; see mouse_move_rule.h.
#include "run/mouse_move_rule.h"

#include <chrono>
#include <cmath>

namespace qsrn {

int64_t MouseRuleSeconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  const double seconds = std::chrono::duration<double>(now).count();
  return static_cast<int64_t>(std::nearbyint(seconds)) + 1;
}

}  // namespace qsrn
