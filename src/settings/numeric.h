// The numeric rules every part of the saver shares: the 16-bit "Integer" and 32-bit "Long"
// conversions that round half to even, floor and truncation, the numeric-prefix rule for text,
// the "is this text a number" test of the typed getters, the clamp where lo wins, and the
// shortest decimal text used when numbers are written out. Write these once; use them everywhere.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace qsrn {

// Rounds half to even into T; nullopt when the value does not fit (NaN fails both range tests).
// rint rounds ties to even in the default rounding mode, without nearbyint's slow mode save.
// Inline, because the engines convert in their inner loops.
template <typename T>
inline std::optional<T> RoundHalfEven(double v) {
  const double r = std::rint(v);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) && r <= static_cast<double>(std::numeric_limits<T>::max())))
    return std::nullopt;
  return static_cast<T>(r);
}
// The 16-bit "Integer" and 32-bit "Long" conversions.
inline std::optional<int16_t> TryCInt(double v) { return RoundHalfEven<int16_t>(v); }
inline std::optional<int32_t> TryCLng(double v) { return RoundHalfEven<int32_t>(v); }
// A value that does not fit gives 0 rather than wrapping.
inline int16_t CInt(double v) { return TryCInt(v).value_or(0); }
inline int32_t CLng(double v) { return TryCLng(v).value_or(0); }

// Int: the largest whole number not above v.  Fix: v with its fraction cut off toward zero.
inline double Int(double v) { return std::floor(v); }
inline double Fix(double v) { return std::trunc(v); }

// Sgn: -1, 0 or 1.
inline int Sgn(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Integer division "\": both sides rounded to whole numbers first, the quotient truncated.
// A zero divisor gives 0 instead of failing.
inline int32_t IntDiv(double a, double b) {
  const int32_t ia = CLng(a), ib = CLng(b);
  if (ib == 0) return 0;
  if (ib == -1) return static_cast<int32_t>(-static_cast<int64_t>(ia));
  return ia / ib;
}

// Mod on whole numbers, sign of the dividend as the platform gives it; a zero divisor gives 0.
inline int32_t Mod(int32_t a, int32_t b) { return b == 0 || b == -1 ? 0 : a % b; }

// Numeric-prefix rule: leading blanks skipped, optional sign, digits, one decimal point and an
// exponent; the number ends at the first character that cannot continue it; no number gives 0.
double Val(std::string_view text);

// The typed getters' test: the whole text, blanks around it allowed, is one number.
bool IsNumericText(std::string_view text);

// clamp(v, lo, hi): hi above hi, lo below lo, and lo wins when lo > hi.
template <typename T, typename L, typename H>
constexpr T Clamp(T v, L lo, H hi) {
  if (v > static_cast<T>(hi)) v = static_cast<T>(hi);
  if (v < static_cast<T>(lo)) v = static_cast<T>(lo);
  return v;
}

// Shortest decimal text with "." that reads back to the same value ("0.95", "20", "1E-05").
std::string FormatNumber(double v);
std::string FormatSingle(float v);

// Leading and trailing blanks (spaces and tabs) removed.
std::string Trim(std::string_view text);

// The first count characters of text; a character is a whole UTF-8 sequence, never split.
std::string LeftChars(std::string_view text, size_t count);

// Case-insensitive equality of ASCII names (sections, keys).
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace qsrn
