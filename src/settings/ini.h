// The INI engine behind the settings store and the template files: one text held as its lines,
// parsed in one linear pass, looked up with section and key names matched without regard to case,
// and rewritten in place. Lines the parser does not understand, comments and blank lines are kept
// exactly as they were, so an unmodified document writes back byte for byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qsrn {

class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument Parse(std::string_view text);

  // The value of key in section, blanks around it removed; nullopt when either is missing.
  // The first occurrence wins when a section or key appears more than once.
  std::optional<std::string_view> Get(std::string_view section, std::string_view key) const;

  // Replaces the key's value where it stands, or adds the key at the end of its section's keys,
  // or adds the section at the end. False (nothing changed) when the names or the value cannot
  // be written as one INI line: see ValidSectionName, ValidKeyName, ValidValue.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // Moves every section named from under the name into, losing no line: a plain rename when into
  // is not there; otherwise from's lines join the end of into's first occurrence, less the keys
  // into already has (into wins). False (nothing changed) when into is not a valid section name.
  bool MergeSection(std::string_view from, std::string_view into);

  // Whether a section of that name is there (even without keys).
  bool HasSection(std::string_view section) const;

  // The whole document as text.
  std::string Text() const;

  static bool ValidSectionName(std::string_view name);
  static bool ValidKeyName(std::string_view name);
  static bool ValidValue(std::string_view value);

 private:
  enum class Kind : unsigned char { Other, Section, Key };
  struct Line {
    std::string raw;  // the line as read, without its "\n" (a "\r" before it stays here)
    Kind kind = Kind::Other;
    // Section: the name; Key: the key name and where its value starts and ends in raw.
    size_t nameBegin = 0, nameEnd = 0, valueBegin = 0, valueEnd = 0;
    std::string_view Name() const { return std::string_view(raw).substr(nameBegin, nameEnd - nameBegin); }
    std::string_view Value() const { return std::string_view(raw).substr(valueBegin, valueEnd - valueBegin); }
  };
  static Line Classify(std::string raw, bool first);
  // Index of the key's line, or npos; sectionLine receives the first matching section's header.
  size_t Find(std::string_view section, std::string_view key, size_t* sectionLine) const;
  std::string NewLine(std::string text) const;
  // Where a line joins the section whose header is at header: after its last key.
  size_t AfterLastKey(size_t header) const;

  // The line of every key's first occurrence, by section and key in lower case; built on the
  // first lookup and dropped by every change, so a store read key by key is not scanned each time.
  const std::unordered_map<std::string, size_t>& Index() const;
  static std::string IndexKey(std::string_view section, std::string_view key);
  mutable std::unordered_map<std::string, size_t> index_;
  mutable bool indexed_ = false;

  std::vector<Line> lines_;
  bool endsWithNewline_ = false;
  bool crlf_ = false;  // new lines follow the document's own line ending
};

}  // namespace qsrn
