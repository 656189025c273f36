// Numeric conversions and number text shared by the store, the loaders and the engines.
#include "settings/numeric.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cstdlib>

namespace qsrn {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest number at the start of s (after the caller skipped blanks), or 0.
// Digits are capped so that pathological input stays linear and finite.
size_t NumberPrefixLength(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < s.size() && IsDigit(s[j])) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i;
}

// Whether a decimal number text (already known to be out of a double's range) is too large
// rather than too small: the power of ten of its first significant digit, plus its exponent.
bool Overflows(std::string_view s) {
  size_t i = s[0] == '+' || s[0] == '-' ? 1 : 0;
  long long magnitude = 0;  // 10^magnitude <= |value| < 10^(magnitude+1), before the exponent
  bool seenDigit = false, afterPoint = false;
  long long intDigits = 0, leadingFractionZeros = 0;
  for (; i < s.size() && (IsDigit(s[i]) || s[i] == '.'); ++i) {
    if (s[i] == '.') {
      afterPoint = true;
    } else if (!afterPoint) {
      if (seenDigit || s[i] != '0') ++intDigits, seenDigit = true;
    } else if (!seenDigit) {
      if (s[i] == '0') ++leadingFractionZeros;
      else seenDigit = true;
    }
  }
  magnitude = intDigits > 0 ? intDigits - 1 : -(leadingFractionZeros + 1);
  long long exponent = 0;
  if (i < s.size()) {  // the exponent mark
    ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    for (; i < s.size() && IsDigit(s[i]); ++i)
      exponent = std::min(exponent * 10 + (s[i] - '0'), 1000000000LL);  // saturates, far out of range
    if (negative) exponent = -exponent;
  }
  return magnitude + exponent > 0;
}

double ParseNumber(std::string_view s) {
  std::string buf(s);
  for (char& c : buf)
    if (c == 'd' || c == 'D') c = 'e';
  // strtod is locale-dependent for the decimal point; from_chars is not.
  const char* first = buf.data();
  if (*first == '+') ++first;
  double out = 0;
  const auto res = std::from_chars(first, buf.data() + buf.size(), out);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large gives infinity (it will not fit any field); too small gives 0.
    if (!Overflows(buf)) return 0.0;
    return buf[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  return res.ec == std::errc() ? out : 0.0;
}

}  // namespace

double Val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const std::string_view rest = text.substr(i);
  const size_t n = NumberPrefixLength(rest);
  if (n == 0) return 0.0;
  return ParseNumber(rest.substr(0, n));
}

bool IsNumericText(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const std::string_view core = text.substr(b, e - b);
  if (core.empty()) return false;
  return NumberPrefixLength(core) == core.size();
}

namespace {
// to_chars writes "1e-05"; the saver's own number text uses a capital E.
std::string Finish(const char* first, const char* last) {
  std::string s(first, last);
  for (char& c : s)
    if (c == 'e') c = 'E';
  return s;
}
}  // namespace

std::string FormatNumber(double v) {
  if (v == 0) return "0";
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return Finish(buf, res.ptr);
}

std::string FormatSingle(float v) {
  if (v == 0) return "0";
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return Finish(buf, res.ptr);
}

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::string LeftChars(std::string_view text, size_t count) {
  size_t i = 0, chars = 0;
  while (i < text.size()) {
    const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    if (!continuation && chars++ == count) break;
    ++i;
  }
  return std::string(text.substr(0, i));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace qsrn
