// Fuzzes the INI engine and the numeric parsing with arbitrary bytes. Beyond "never crashes",
// it checks the promises the store and templates rely on: an unmodified document writes back
// byte for byte, a value that Set accepts reads back (also after a re-parse) and disturbs no
// other key, and number text round-trips through its shortest form.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini.h"
#include "settings/numeric.h"
#include "settings/themes.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The first lines of the input, cut at "=", serve as names and values, so that they often
// match lines of the document itself.
struct Pieces {
  std::string_view part[4];
};
Pieces Split(std::string_view s) {
  Pieces p;
  size_t n = 0, begin = 0;
  for (size_t i = 0; i <= s.size() && n < 4; ++i) {
    if (i < s.size() && s[i] != '\n') continue;
    const std::string_view line = s.substr(begin, i - begin);
    p.part[n++] = line.substr(0, std::min(line.find('='), size_t{64}));
    begin = i + 1;
  }
  return p;
}

void FuzzIni(std::string_view text) {
  qsrn::IniDocument doc = qsrn::IniDocument::Parse(text);
  Check(doc.Text() == text);

  const Pieces pieces = Split(text);
  const std::string section = qsrn::Trim(pieces.part[0]).substr(0, 40);
  const std::string key = qsrn::Trim(pieces.part[1]);
  const std::string value(pieces.part[2]);
  const std::string otherKey = qsrn::Trim(pieces.part[3]);
  const std::string sectionName = section.size() > 1 && section[0] == '[' ? section.substr(1, section.size() - 2) : section;

  const auto otherBefore = doc.Get(sectionName, otherKey);
  const std::string otherText = otherBefore ? std::string(*otherBefore) : std::string("\x01missing");
  if (!doc.Set(sectionName, key, value)) {
    Check(doc.Text() == text);  // a refused write changes nothing
    return;
  }
  const std::string expected = qsrn::Trim(value);
  Check(doc.Get(sectionName, key) == expected);
  const std::string written = doc.Text();
  const qsrn::IniDocument again = qsrn::IniDocument::Parse(written);
  Check(again.Get(sectionName, key) == expected);
  Check(again.Text() == written);
  if (!qsrn::EqualsNoCase(otherKey, key)) {
    const auto otherAfter = again.Get(sectionName, otherKey);
    Check((otherAfter ? std::string(*otherAfter) : std::string("\x01missing")) == otherText);
  }
}

void FuzzNumbers(std::string_view text) {
  const double v = qsrn::Val(text);
  Check(!std::isnan(v));
  if (qsrn::IsNumericText(text)) Check(qsrn::Val(text) == v);
  (void)qsrn::CInt(v);
  (void)qsrn::CLng(v);
  (void)qsrn::IntDiv(v, qsrn::Val(text.substr(text.size() / 2)));
  if (std::isfinite(v)) {
    const std::string shortest = qsrn::FormatNumber(v);
    Check(qsrn::IsNumericText(shortest));
    Check(qsrn::Val(shortest) == v);
    const float f = static_cast<float>(v);
    if (std::isfinite(f)) Check(static_cast<float>(qsrn::Val(qsrn::FormatSingle(f))) == f);
  }
  const std::string left = qsrn::LeftChars(text, 7);
  Check(text.substr(0, left.size()) == left);
  for (int i = 0; i < 4; ++i) (void)qsrn::GetPresetField(text, i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FuzzIni(text);
  FuzzNumbers(text);
  return 0;
}
