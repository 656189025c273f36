// Start-up's reading of the command line; see command_line.h.
#include "run/command_line.h"

#include <cctype>
#include <charconv>
#include <limits>

#include "settings/numeric.h"
#include "settings/themes.h"

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

// Both spellings xscreensaver's hacks accept: -root and --root.
std::string_view OptionName(std::string_view arg) {
  if (arg.starts_with("--")) return arg.substr(2);
  if (arg.starts_with("-")) return arg.substr(1);
  return {};
}

bool ParseSmallWhole(std::string_view text, int lo, int hi, int* out) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
  *out = v;
  return true;
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

bool IsHackCommandLine(int argc, const char* const* argv) {
  if (argc < 2 || argv[1] == nullptr) return false;
  const std::string_view name = OptionName(argv[1]);
  return name == "root" || name == "window-id" || name == "fps" || name == "effect" || name == "theme";
}

std::optional<HackOptions> ParseHackOptions(int argc, const char* const* argv, std::string* error) {
  HackOptions o;
  auto fail = [error](std::string why) -> std::optional<HackOptions> {
    if (error != nullptr) *error = std::move(why);
    return std::nullopt;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
    const std::string_view name = OptionName(arg);
    const bool takesValue = name == "window-id" || name == "effect" || name == "theme";
    if (takesValue && i + 1 >= argc) return fail("missing value for " + std::string(arg));
    const std::string_view value = takesValue ? std::string_view(argv[++i]) : std::string_view{};
    if (name == "root") {
      o.root = true;
    } else if (name == "fps") {
      o.showFps = true;
    } else if (name == "window-id") {
      o.windowId = ParseWindowId(value);
      if (o.windowId == 0) return fail("-window-id takes a window id (decimal or 0x hexadecimal)");
    } else if (name == "effect") {
      int e = 0;
      if (!ParseSmallWhole(value, 0, 5, &e)) return fail("--effect takes 0 to 5");
      o.effect = e;
    } else if (name == "theme") {
      if (!ParseSmallWhole(value, 0, 16, &o.theme)) return fail("--theme takes 0 to 16");
    } else {
      return fail("unknown option " + std::string(arg));
    }
  }
  if (!o.root && o.windowId == 0) return fail("-root or -window-id ID says where to draw");
  // xscreensaver's settings pass the theme whatever the effect: it counts only where the effect
  // has that theme.
  const int themes = !o.effect ? 0 : *o.effect == 0 ? kFireworksThemeCount : *o.effect == 5 ? kGalaxyThemeCount : 0;
  if (o.theme > themes) o.theme = 0;
  return o;
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
