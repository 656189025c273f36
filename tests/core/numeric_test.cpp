// The shared numeric rules at their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "settings/numeric.h"
#include "settings/record_text.h"

namespace qsrn {

// Rounding is half to even and a value that does not fit the type gives 0 (the store's typed
// getters show it for an Integer); CLng's inline path agrees with the checked conversion
// everywhere, at the edges of the Long range too.
TEST(Numeric, ConversionsRoundHalfToEvenAndOverflowToZero) {
  EXPECT_EQ(CInt(32767.5), 0);  // rounds to 32768: does not fit
  EXPECT_EQ(CInt(-32768.0), -32768);
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Fix(-0.5), 0);
  EXPECT_EQ(IntDiv(7, 0), 0);
  EXPECT_EQ(IntDiv(2.5, 1), 2);  // operands round first
  for (double v = -3000.5; v <= 3000.5; v += 0.25) ASSERT_EQ(CLng(v), TryCLng(v).value_or(0)) << v;
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {0.49999999999999994, -0.0, 2147483646.5, 2147483647.0, 2147483647.4, 2147483647.5, 2147483648.0,
                   -2147483647.5, -2147483648.0, -2147483648.4, -2147483648.5, -2147483649.0, 4503599627370495.5,
                   1e18, -1e300, inf, -inf, std::nan("")})
    EXPECT_EQ(CLng(v), TryCLng(v).value_or(0)) << v;
  EXPECT_EQ(CLng(2147483647.5), 0);                 // rounds to 2^31: does not fit
  EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);  // rounds to -2^31: fits
}

// Val takes the leading number; too large for a Double is infinity of its sign, too small is 0,
// decided from the value and not from the length of the text.
TEST(Numeric, ValTakesTheLeadingNumberAndDecidesRangeFromTheValue) {
  const std::string zeros(400, '0');
  for (auto [text, want] :
       {std::pair<std::string, double>{"  12abc", 12}, {"-.5", -0.5}, {"1e3x", 1000}, {"1e", 1}, {"abc", 0}, {"", 0},
        {".", 0}, {"0.95", 0.95}, {"1,5", 1}, {"-1e999", -HUGE_VAL}, {"1d999", HUGE_VAL}, {"-1e-999", 0},
        {"0." + zeros + "1", 0}, {"1" + zeros + "e-1", HUGE_VAL}, {"1" + zeros + "e-800", 0},
        {"-1" + zeros, -HUGE_VAL}, {"0.0001e999", HUGE_VAL}})
    EXPECT_EQ(Val(text), want) << text;
}

TEST(Numeric, IsNumericTextAcceptsOneWholeNumber) {
  for (const char* text : {" 12 ", "-2.5E+3", ".02"}) EXPECT_TRUE(IsNumericText(text)) << text;
  for (const char* text : {"abc", "", "   ", "12a", "1 2", "-"}) EXPECT_FALSE(IsNumericText(text)) << text;
}

// Numbers are written shortest, reading back the same; a text is cut by characters, never
// splitting one (stray continuation bytes stay with their lead).
TEST(Numeric, FormatIsShortestAndLeftCharsNeverSplitsACharacter) {
  EXPECT_EQ(FormatSingle(0.95f), "0.95");
  EXPECT_EQ(FormatSingle(20.0f), "20");
  EXPECT_EQ(FormatNumber(0.0025), "0.0025");
  EXPECT_EQ(FormatNumber(-3), "-3");
  EXPECT_EQ(Val(FormatNumber(1.0 / 3.0)), 1.0 / 3.0);
  EXPECT_EQ(LeftChars("abcdef", 3), "abc");
  EXPECT_EQ(LeftChars("ab", 3), "ab");
  EXPECT_EQ(LeftChars("\xC3\xA9\xC3\xA9x", 2), "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(LeftChars("\x80\x80z", 1), "\x80\x80z");
}

// A derived field is shown beside the field it comes from.
TEST(RecordText, DerivedFieldFollowsItsSource) {
  EffectSettings s;
  s.FocalLength = 2;
  s.FocalLengthInverse = 0.5f;
  EXPECT_NE(FormatSettingsRecord(s).find("FocalLength=2\nFocalLengthInverse=0.5\n"), std::string::npos);
}

}  // namespace qsrn
