// CLng's inline path must agree with the checked conversion everywhere: ties to even, the edges
// of the Long range, values that do not fit, NaN and infinities.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/numeric.h"

namespace qsrn {
namespace {

int32_t Checked(double v) { return TryCLng(v).value_or(0); }

TEST(CLngInline, AgreesWithTheCheckedConversion) {
  for (double v = -3000.5; v <= 3000.5; v += 0.25) ASSERT_EQ(CLng(v), Checked(v)) << v;
  const double edges[] = {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 0.49999999999999994, -0.0,
                          2147483646.5, 2147483647.0, 2147483647.4, 2147483647.5, 2147483648.0,
                          -2147483647.5, -2147483648.0, -2147483648.4, -2147483648.5, -2147483649.0,
                          4503599627370495.5, 1e18, -1e18, 1e300, -1e300,
                          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                          std::nan("")};
  for (double v : edges) EXPECT_EQ(CLng(v), Checked(v)) << v;
  EXPECT_EQ(CLng(2147483647.5), 0);             // rounds to 2^31: does not fit
  EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);  // rounds to -2^31: fits
}

}  // namespace
}  // namespace qsrn
