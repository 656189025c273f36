// Start-up's reading of the command line; see command_line.h.
#include "run/command_line.h"

#include <cctype>
#include <charconv>
#include <limits>

#include "settings/numeric.h"

namespace qsrn {

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The handle after a two-character switch: all the rest of the text, by the numeric-prefix
// rule, rounded to Long (a number too large for a Long gives 0); or an 0x hexadecimal id, as
// the X11 programs that embed a saver write it.
int32_t HandleAfterSwitch(std::string_view text) {
  const std::string_view rest = text.size() > 2 ? text.substr(2) : std::string_view{};
  const std::string number = Trim(rest);
  if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X')) {
    const uint32_t id = ParseWindowId(number);
    return id <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ? static_cast<int32_t>(id) : 0;
  }
  return CLng(Val(rest));
}

bool IsTemplatePath(std::string_view text) {
  return text.size() >= 4 && Upper(text.substr(text.size() - 4)) == ".QSN";
}

}  // namespace

std::string CommandLineText(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    if (argv[i] != nullptr) text += argv[i];
  }
  return text;
}

CommandLine ParseCommandLine(std::string_view text) {
  CommandLine cl;
  const std::string sw = Upper(text.substr(0, 2));
  if (IsTemplatePath(text)) {
    cl.job = StartJob::ImportAndRun;
    cl.templatePath = std::string(text);
  } else if (Trim(text).empty() || sw == "/C") {
    cl.job = StartJob::Configure;
  } else if (sw == "/S") {
    cl.job = StartJob::Saver;
  } else if (sw == "/P") {
    cl.job = StartJob::Preview;
    cl.windowHandle = HandleAfterSwitch(text);
  } else if (sw == "/A") {
    cl.job = StartJob::ChangePassword;
    cl.windowHandle = HandleAfterSwitch(text);
  } else {
    cl.job = StartJob::RunFullScreen;
  }
  return cl;
}

uint32_t ParseWindowId(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::string_view t = trimmed;
  int base = 10;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  uint64_t id = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), id, base);
  if (ec != std::errc() || id > std::numeric_limits<uint32_t>::max()) return 0;
  return static_cast<uint32_t>(id);
}

std::string WindowedProgramPath(std::string_view programPath) {
  // The folder keeps its separator, so one is never doubled (a program in "/" included).
  const size_t slash = programPath.find_last_of('/');
  const std::string_view folder = slash == std::string_view::npos ? std::string_view("./") : programPath.substr(0, slash + 1);
  std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  // Only the last extension goes; a name that starts with its only dot keeps it.
  const size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  std::string path;
  path.reserve(folder.size() + name.size() + 4);
  path.append(folder).append(name).append(".exe");
  return path;
}

}  // namespace qsrn
