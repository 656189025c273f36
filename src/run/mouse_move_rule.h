// The saver window's mouse-move rule: the fourth move inside a window of a little over ten
// seconds, opened by the first counted move, closes the saver; slow drifting never does.
// The clock is passed in (whole seconds), so the rule is tested without waiting.
#pragma once

#include <cstdint>

namespace qsrn {

class MouseMoveRule {
 public:
  // Counts one mouse-move event at `nowSeconds` (never 0 on a real clock); true means CloseSaver.
  bool OnMouseMove(int64_t nowSeconds) {
    ++MouseMoves;
    // Exactly four: after a refused password further moves wait for the window to reset.
    const bool close = MouseMoves == 4;
    if (MouseTime == 0) {
      MouseTime = nowSeconds;
    } else if (nowSeconds - MouseTime > 10) {
      MouseTime = 0;
      MouseMoves = 0;
    }
    return close;
  }

  int32_t MouseMoves = 0;
  int64_t MouseTime = 0;  // 0: no window of time is open
};

// Whole seconds on a monotonic clock, starting at 1 so that 0 keeps meaning "no window open".
// A monotonic clock, unlike the time of day, does not jump back at midnight.
int64_t MouseRuleSeconds();

}  // namespace qsrn
