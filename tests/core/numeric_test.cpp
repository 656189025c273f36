// The shared numeric rules at their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/numeric.h"
#include "settings/record_text.h"

namespace qsrn {

TEST(Numeric, ConversionsRoundHalfToEvenAndOverflowToZero) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(32767.4), 32767);
  EXPECT_EQ(CInt(32767.5), 0);  // rounds to 32768: does not fit
  EXPECT_EQ(CInt(-32768.0), -32768);
  EXPECT_EQ(CInt(40000), 0);
  EXPECT_EQ(CLng(1000.5), 1000);
  EXPECT_EQ(CLng(3e9), 0);
  EXPECT_EQ(CLng(std::nan("")), 0);
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Fix(-0.5), 0);
  EXPECT_EQ(IntDiv(30000, 99), 303);
  EXPECT_EQ(IntDiv(7, 0), 0);
  EXPECT_EQ(IntDiv(2.5, 1), 2);  // operands round first
}

// CLng's inline path agrees with the checked conversion everywhere: ties to even, the edges of the
// Long range, values that do not fit, NaN and infinities.
TEST(Numeric, CLngInlineAgreesWithTheCheckedConversion) {
  for (double v = -3000.5; v <= 3000.5; v += 0.25) ASSERT_EQ(CLng(v), TryCLng(v).value_or(0)) << v;
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {0.49999999999999994, -0.0, 2147483646.5, 2147483647.0, 2147483647.4, 2147483647.5, 2147483648.0,
                   -2147483647.5, -2147483648.0, -2147483648.4, -2147483648.5, -2147483649.0, 4503599627370495.5,
                   1e18, -1e300, inf, -inf, std::nan("")})
    EXPECT_EQ(CLng(v), TryCLng(v).value_or(0)) << v;
  EXPECT_EQ(CLng(2147483647.5), 0);                 // rounds to 2^31: does not fit
  EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);  // rounds to -2^31: fits
}

TEST(Numeric, ValTakesTheLeadingNumber) {
  EXPECT_EQ(Val("  12abc"), 12);
  EXPECT_EQ(Val("-.5"), -0.5);
  EXPECT_EQ(Val("1e3x"), 1000);
  EXPECT_EQ(Val("1e"), 1);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("."), 0);
  EXPECT_EQ(Val("0.95"), 0.95);
  EXPECT_EQ(Val("1,5"), 1);
  EXPECT_EQ(Val("-1e999"), -HUGE_VAL);  // too large for a Double: infinity of its sign
  EXPECT_EQ(Val("1d999"), HUGE_VAL);
  EXPECT_EQ(Val("-1e-999"), 0);
}

// Overflow and underflow are decided from the value, not from the length of the text.
TEST(Numeric, ValOutOfRangeIsDecidedFromTheValue) {
  const std::string zeros(400, '0');
  EXPECT_EQ(Val("0." + zeros + "1"), 0.0);
  EXPECT_EQ(Val("1" + zeros + "e-1"), HUGE_VAL);
  EXPECT_EQ(Val("1" + zeros + "e-800"), 0.0);  // a large mantissa under a larger negative exponent
  EXPECT_EQ(Val("-1" + zeros), -HUGE_VAL);
  EXPECT_EQ(Val("0.0001e999"), HUGE_VAL);
}

TEST(Numeric, IsNumericTextAcceptsOneWholeNumber) {
  EXPECT_TRUE(IsNumericText(" 12 "));
  EXPECT_TRUE(IsNumericText("-2.5E+3"));
  EXPECT_TRUE(IsNumericText(".02"));
  EXPECT_FALSE(IsNumericText("abc"));
  EXPECT_FALSE(IsNumericText(""));
  EXPECT_FALSE(IsNumericText("   "));
  EXPECT_FALSE(IsNumericText("12a"));
  EXPECT_FALSE(IsNumericText("1 2"));
  EXPECT_FALSE(IsNumericText("-"));
}

TEST(Numeric, FormatIsShortestWithPoint) {
  EXPECT_EQ(FormatSingle(0.95f), "0.95");
  EXPECT_EQ(FormatSingle(20.0f), "20");
  EXPECT_EQ(FormatNumber(0.0025), "0.0025");
  EXPECT_EQ(FormatNumber(-3), "-3");
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(Val(FormatNumber(1.0 / 3.0)), 1.0 / 3.0);
}

}  // namespace qsrn

namespace qsrn {

// A derived field is shown beside the field it comes from.
TEST(RecordText, DerivedFieldFollowsItsSource) {
  EffectSettings s;
  s.FocalLength = 2;
  s.FocalLengthInverse = 0.5f;
  EXPECT_NE(FormatSettingsRecord(s).find("FocalLength=2\nFocalLengthInverse=0.5\n"), std::string::npos);
}

TEST(Numeric, LeftCharsNeverSplitsACharacter) {
  EXPECT_EQ(LeftChars("abcdef", 3), "abc");
  EXPECT_EQ(LeftChars("ab", 3), "ab");
  EXPECT_EQ(LeftChars("", 3), "");
  EXPECT_EQ(LeftChars("abc", 0), "");
  EXPECT_EQ(LeftChars("\xC3\xA9\xC3\xA9x", 2), "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(LeftChars("\x80\x80z", 1), "\x80\x80z");  // stray continuation bytes stay with their lead
}

}  // namespace qsrn
