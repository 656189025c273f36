// The saver's mouse-move rule: the fourth move within a little over ten seconds of the first
// closes; fewer, later or further moves never do.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/mouse_move_rule.h"

namespace qsrn {
namespace {

struct MoveCase {
  std::vector<int64_t> seconds;  // the times of the moves
  std::vector<size_t> closing;   // the moves that close
};

class MouseMoveRuleCases : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MouseMoveRuleCases, OnlyTheFourthMoveInTheWindowCloses) {
  MouseMoveRule rule;
  const MoveCase& c = GetParam();
  for (size_t k = 0; k < c.seconds.size(); ++k)
    EXPECT_EQ(rule.OnMouseMove(c.seconds[k]), std::count(c.closing.begin(), c.closing.end(), k) == 1) << k;
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MouseMoveRuleCases,
    ::testing::Values(MoveCase{{100, 100, 101, 102}, {3}},
                      MoveCase{{10, 15, 20, 20}, {3}},  // exactly ten seconds: still inside
                      // Past the window the count and the window reset, that move included.
                      MoveCase{{10, 21, 22, 22, 22, 23}, {5}},
                      // Only the fourth closes: a refused stop waits for the reset.
                      MoveCase{{50, 50, 50, 50, 51, 55, 61, 62, 62, 62, 63}, {3, 10}},
                      MoveCase{{1000, 1006, 1012, 1018, 1024, 1030, 1036, 1042}, {}}));  // slow drift

TEST(MouseMoveRule, TheClockNeverReadsZero) { EXPECT_GT(MouseRuleSeconds(), 0); }

}  // namespace
}  // namespace qsrn
