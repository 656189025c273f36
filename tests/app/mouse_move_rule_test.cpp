// The saver's mouse-move rule: the fourth move in the window of time closes, fewer never do,
// and the window resets after ten seconds.
#include <gtest/gtest.h>

#include "host/mouse_move_rule.h"

namespace qsrn {
namespace {

TEST(MouseMoveRule, ThreeMovesNeverCloseTheFourthDoes) {
  MouseMoveRule rule;
  EXPECT_FALSE(rule.OnMouseMove(100));
  EXPECT_FALSE(rule.OnMouseMove(100));
  EXPECT_FALSE(rule.OnMouseMove(101));
  EXPECT_TRUE(rule.OnMouseMove(102));
}

TEST(MouseMoveRule, OnlyTheFourthClosesSoARefusedStopWaitsForTheReset) {
  MouseMoveRule rule;
  for (int i = 0; i < 4; ++i) rule.OnMouseMove(50);
  EXPECT_FALSE(rule.OnMouseMove(51));  // fifth
  EXPECT_FALSE(rule.OnMouseMove(55));
  EXPECT_FALSE(rule.OnMouseMove(61));  // more than ten seconds: the count resets to 0
  EXPECT_EQ(rule.MouseMoves, 0);
  EXPECT_EQ(rule.MouseTime, 0);
  EXPECT_FALSE(rule.OnMouseMove(62));
  EXPECT_FALSE(rule.OnMouseMove(62));
  EXPECT_FALSE(rule.OnMouseMove(62));
  EXPECT_TRUE(rule.OnMouseMove(63));
}

TEST(MouseMoveRule, SlowDriftingNeverCloses) {
  MouseMoveRule rule;
  for (int64_t t = 1000; t < 1200; t += 6) EXPECT_FALSE(rule.OnMouseMove(t)) << t;
}

TEST(MouseMoveRule, TheWindowOpensWithTheFirstMoveAndLastsAlittleOverTenSeconds) {
  MouseMoveRule rule;
  rule.OnMouseMove(10);
  rule.OnMouseMove(15);
  rule.OnMouseMove(20);  // exactly ten seconds: still inside
  EXPECT_EQ(rule.MouseMoves, 3);
  EXPECT_TRUE(rule.OnMouseMove(20));

  MouseMoveRule late;
  late.OnMouseMove(10);
  late.OnMouseMove(21);  // past the window: count and window reset, this move included
  EXPECT_EQ(late.MouseMoves, 0);
  EXPECT_FALSE(late.OnMouseMove(22));
  EXPECT_FALSE(late.OnMouseMove(22));
  EXPECT_FALSE(late.OnMouseMove(22));
  EXPECT_TRUE(late.OnMouseMove(23));
}

TEST(MouseMoveRule, TheClockNeverReadsZero) { EXPECT_GT(MouseRuleSeconds(), 0); }

}  // namespace
}  // namespace qsrn
