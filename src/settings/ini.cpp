// The INI engine: parsing, lookup and in-place rewriting.
#include "settings/ini.h"

#include <cctype>

#include "settings/numeric.h"

namespace qsrn {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
constexpr std::string_view kBom = "\xEF\xBB\xBF";
}  // namespace

IniDocument::Line IniDocument::Classify(std::string raw, bool first) {
  Line line;
  line.raw = std::move(raw);
  const std::string_view s = line.raw;
  size_t end = s.size();
  if (end > 0 && s[end - 1] == '\r') --end;
  size_t i = first && s.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
  while (i < end && IsBlank(s[i])) ++i;
  if (i == end || s[i] == ';' || s[i] == '#') return line;
  auto trimmed = [&](size_t b, size_t e, size_t& ob, size_t& oe) {
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    ob = b, oe = e;
  };
  if (s[i] == '[') {
    const size_t close = s.find(']', i + 1);
    if (close == std::string_view::npos || close >= end) return line;
    trimmed(i + 1, close, line.nameBegin, line.nameEnd);
    line.kind = Kind::Section;
    return line;
  }
  const size_t eq = s.find('=', i);
  if (eq == std::string_view::npos || eq >= end) return line;
  trimmed(i, eq, line.nameBegin, line.nameEnd);
  if (line.nameBegin == line.nameEnd) return line;
  trimmed(eq + 1, end, line.valueBegin, line.valueEnd);
  line.kind = Kind::Key;
  return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    const bool last = nl == std::string_view::npos;
    if (last) nl = text.size();
    doc.lines_.push_back(Classify(std::string(text.substr(pos, nl - pos)), doc.lines_.empty()));
    pos = nl + 1;
    if (last) break;
  }
  doc.endsWithNewline_ = !text.empty() && text.back() == '\n';
  doc.crlf_ = !doc.lines_.empty() && !doc.lines_[0].raw.empty() && doc.lines_[0].raw.back() == '\r';
  return doc;
}

size_t IniDocument::Find(std::string_view section, std::string_view key, size_t* sectionLine) const {
  bool inSection = false;
  if (sectionLine) *sectionLine = std::string::npos;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::Section) {
      inSection = EqualsNoCase(line.Name(), section);
      if (inSection && sectionLine && *sectionLine == std::string::npos) *sectionLine = i;
    } else if (inSection && line.kind == Kind::Key && EqualsNoCase(line.Name(), key)) {
      return i;
    }
  }
  return std::string::npos;
}

std::string IniDocument::IndexKey(std::string_view section, std::string_view key) {
  std::string out;
  out.reserve(section.size() + key.size() + 1);
  for (char c : section) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  out += '\n';  // never part of a name
  for (char c : key) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

const std::unordered_map<std::string, size_t>& IniDocument::Index() const {
  if (indexed_) return index_;
  index_.clear();
  index_.reserve(lines_.size());
  std::string_view section;
  bool inSection = false;  // keys before the first header belong to no section
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::Section) {
      section = line.Name();
      inSection = true;
    } else if (inSection && line.kind == Kind::Key) {
      index_.emplace(IndexKey(section, line.Name()), i);  // the first occurrence wins
    }
  }
  indexed_ = true;
  return index_;
}

std::optional<std::string_view> IniDocument::Get(std::string_view section, std::string_view key) const {
  const auto& index = Index();
  const auto found = index.find(IndexKey(section, key));
  if (found == index.end()) return std::nullopt;
  const size_t i = found->second;
  const std::string_view v = lines_[i].Value();
  // A zero byte ends a text, as it would in a C string.
  return v.substr(0, v.find('\0'));
}

bool IniDocument::HasSection(std::string_view section) const {
  size_t header = std::string::npos;
  Find(section, std::string_view(), &header);
  return header != std::string::npos;
}

std::string IniDocument::NewLine(std::string text) const {
  if (crlf_) text += '\r';
  return text;
}

size_t IniDocument::AfterLastKey(size_t header) const {
  // After the section's last key, so comments below it stay below.
  size_t at = header + 1;
  for (size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
    if (lines_[i].kind == Kind::Key) at = i + 1;
  return at;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidSectionName(section) || !ValidKeyName(key) || !ValidValue(value)) return false;
  indexed_ = false;
  size_t header = std::string::npos;
  const size_t at = Find(section, key, &header);
  if (at != std::string::npos) {
    const Line& old = lines_[at];
    const bool cr = !old.raw.empty() && old.raw.back() == '\r';
    std::string raw = old.raw.substr(0, old.valueBegin);
    raw += value;
    if (cr) raw += '\r';
    lines_[at] = Classify(std::move(raw), at == 0);
    return true;
  }
  std::string entry(key);
  entry += '=';
  entry += value;
  if (header != std::string::npos) {
    const size_t insertAt = AfterLastKey(header);
    if (insertAt == lines_.size()) endsWithNewline_ = true;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), Classify(NewLine(entry), false));
    return true;
  }
  if (!lines_.empty()) {
    const std::string_view lastRaw = lines_.back().raw;
    if (Trim(lastRaw.substr(0, lastRaw.find_last_not_of('\r') + 1)).size() > 0)
      lines_.push_back(Classify(NewLine(""), false));
  }
  std::string heading(1, '[');
  heading.append(section).push_back(']');
  lines_.push_back(Classify(NewLine(std::move(heading)), lines_.empty()));
  lines_.push_back(Classify(NewLine(entry), false));
  endsWithNewline_ = true;
  return true;
}

bool IniDocument::MergeSection(std::string_view from, std::string_view into) {
  if (!ValidSectionName(into)) return false;
  if (EqualsNoCase(from, into)) return true;
  indexed_ = false;
  const std::string intoName(into);
  auto heading = [this, &intoName](const Line& old) {
    // The header keeps its own indentation and line ending; only the name changes.
    std::string raw = old.raw.substr(0, old.nameBegin) + intoName + old.raw.substr(old.nameEnd);
    return Classify(std::move(raw), &old == &lines_.front());
  };
  size_t intoHeader = std::string::npos;
  Find(into, std::string_view(), &intoHeader);
  if (intoHeader == std::string::npos) {
    for (Line& line : lines_)
      if (line.kind == Kind::Section && EqualsNoCase(line.Name(), from)) line = heading(line);
    return true;
  }
  for (;;) {
    size_t header = std::string::npos;
    Find(from, std::string_view(), &header);
    if (header == std::string::npos) return true;
    size_t end = header + 1;
    while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
    // Blank lines closing the section go with it; the section before keeps its own.
    size_t bodyEnd = end;
    while (bodyEnd > header + 1 && lines_[bodyEnd - 1].kind == Kind::Other &&
           Trim(lines_[bodyEnd - 1].raw).find_first_not_of('\r') == std::string::npos)
      --bodyEnd;
    std::vector<Line> moved;
    for (size_t i = header + 1; i < bodyEnd; ++i) {
      const Line& line = lines_[i];
      const bool shadowed = line.kind == Kind::Key && Find(into, line.Name(), nullptr) != std::string::npos;
      if (!shadowed) moved.push_back(line);
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    Find(into, std::string_view(), &intoHeader);
    const size_t insertAt = AfterLastKey(intoHeader);
    if (insertAt == lines_.size()) endsWithNewline_ = true;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), moved.begin(), moved.end());
  }
}

std::string IniDocument::Text() const {
  size_t total = 0;
  for (const Line& line : lines_) total += line.raw.size() + 1;
  std::string out;
  out.reserve(total);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) out += '\n';
    out += lines_[i].raw;
  }
  if (endsWithNewline_ && !lines_.empty()) out += '\n';
  return out;
}

namespace {
bool HasLineBreakOrZero(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }
bool HasOuterBlanks(std::string_view s) { return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back())); }
}  // namespace

bool IniDocument::ValidSectionName(std::string_view name) {
  return !name.empty() && !HasLineBreakOrZero(name) && !HasOuterBlanks(name) &&
         name.find(']') == std::string_view::npos;
}

bool IniDocument::ValidKeyName(std::string_view name) {
  return !name.empty() && !HasLineBreakOrZero(name) && !HasOuterBlanks(name) &&
         name.find('=') == std::string_view::npos && name[0] != '[' && name[0] != ';' && name[0] != '#';
}

bool IniDocument::ValidValue(std::string_view value) { return !HasLineBreakOrZero(value); }

}  // namespace qsrn
