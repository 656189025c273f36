// The command line's one table of options; see arguments.h.
#include "run/arguments.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "effects/engine.h"
#include "settings/themes.h"

namespace qsrn {

namespace {

// The programs that take options, one bit each.
enum : unsigned { kHack = 1, kPrint = 2, kRender = 4, kBench = 8 };
constexpr unsigned kTools = kRender | kBench;
constexpr unsigned kEffectChoosers = kHack | kPrint | kTools;

enum class Value { None, Whole, Size, WindowId, Setting };

// What an option's value gave: a number (or a width), a second number (a height), or text.
struct Parsed {
  uint64_t first = 0, second = 0;
  std::string_view text;
};

struct Option {
  std::string_view name;  // after its dashes
  unsigned programs;
  Value value;
  uint64_t lo, hi;        // the bounds of a whole number (each side of a size)
  const char* refusal;    // for a value that does not fit
  void (*store)(Arguments&, const Parsed&);
};

constexpr uint64_t kAnyWhole = std::numeric_limits<uint64_t>::max();

constexpr Option kOptions[] = {
    {"root", kHack, Value::None, 0, 0, "", [](Arguments& a, const Parsed&) { a.saver.hack.root = true; }},
    {"fps", kHack, Value::None, 0, 0, "", [](Arguments& a, const Parsed&) { a.saver.hack.showFps = true; }},
    {"window-id", kHack, Value::WindowId, 0, 0, "-window-id takes a window id (decimal or 0x hexadecimal)",
     [](Arguments& a, const Parsed& p) { a.saver.hack.windowId = static_cast<uint32_t>(p.first); }},
    {"effect", kEffectChoosers, Value::Whole, 0, kEffectCount - 1, "--effect takes 0 to 5",
     [](Arguments& a, const Parsed& p) { a.saver.hack.effect = a.tool.effect = static_cast<int>(p.first); }},
    {"theme", kEffectChoosers, Value::Whole, 0, kGalaxyThemeCount, "--theme takes 0 to 16",
     [](Arguments& a, const Parsed& p) { a.saver.hack.theme = a.tool.theme = static_cast<int>(p.first); }},
    {"preview", kPrint, Value::None, 0, 0, "", [](Arguments& a, const Parsed&) { a.tool.preview = true; }},
    {"frames", kTools, Value::Whole, 1, kMaxToolFrames, "--frames takes 1 to 1000000",
     [](Arguments& a, const Parsed& p) { a.tool.frames = static_cast<int32_t>(p.first); }},
    {"size", kTools, Value::Size, 1, kMaxToolSide, "--size takes WxH, each 1 to 8192",
     [](Arguments& a, const Parsed& p) {
       a.tool.width = static_cast<int32_t>(p.first);
       a.tool.height = static_cast<int32_t>(p.second);
     }},
    {"seed", kTools, Value::Whole, 0, kAnyWhole, "--seed takes a whole number",
     [](Arguments& a, const Parsed& p) { a.tool.seed = p.first; }},
    {"set", kTools, Value::Setting, 0, 0, "--set takes Key=Value",
     [](Arguments& a, const Parsed& p) {
       const size_t eq = p.text.find('=');
       a.tool.overrides.emplace_back(std::string(p.text.substr(0, eq)), std::string(p.text.substr(eq + 1)));
     }},
};

struct ProgramSwitch {
  std::string_view arg;
  Program program;
};

constexpr ProgramSwitch kProgramSwitches[] = {
    {"--help", Program::Help},       {"-h", Program::Help},         {"--version", Program::Version},
    {"--print-settings", Program::PrintSettings}, {"--render", Program::Render}, {"--bench", Program::Bench},
    {"--icon", Program::Icon}};

unsigned ProgramBit(Program program) {
  switch (program) {
    case Program::Hack: return kHack;
    case Program::PrintSettings: return kPrint;
    case Program::Render: return kRender;
    case Program::Bench: return kBench;
    default: return 0;
  }
}

std::string_view Arg(const char* const* argv, int i) { return argv[i] != nullptr ? argv[i] : ""; }

// The option an argument names for a program: --name, or also -name for a hack, as
// xscreensaver's hacks accept both spellings.
const Option* FindOption(std::string_view arg, Program program) {
  std::string_view name;
  if (arg.starts_with("--")) {
    name = arg.substr(2);
  } else if (arg.starts_with("-") && program == Program::Hack) {
    name = arg.substr(1);
  } else {
    return nullptr;
  }
  for (const Option& o : kOptions)
    if (o.name == name && (o.programs & ProgramBit(program)) != 0) return &o;
  return nullptr;
}

bool ParseValue(const Option& o, std::string_view value, Parsed* out) {
  out->text = value;
  switch (o.value) {
    case Value::None: return true;
    case Value::Whole: {
      const auto n = ParseWhole(value, o.lo, o.hi);
      if (n) out->first = *n;
      return n.has_value();
    }
    case Value::Size: {
      const size_t x = value.find_first_of("xX");
      if (x == std::string_view::npos) return false;
      const auto w = ParseWhole(value.substr(0, x), o.lo, o.hi);
      const auto h = ParseWhole(value.substr(x + 1), o.lo, o.hi);
      if (!w || !h) return false;
      out->first = *w;
      out->second = *h;
      return true;
    }
    case Value::WindowId:
      out->first = ParseWindowId(value);
      return out->first != 0;
    case Value::Setting: {
      const size_t eq = value.find('=');
      return eq != std::string_view::npos && eq != 0;
    }
  }
  return false;
}

// Reads argv[first..] as the program's options; stops at the first refusal.
void ParseOptions(Arguments& a, int first, int argc, const char* const* argv) {
  for (int i = first; i < argc; ++i) {
    const std::string_view arg = Arg(argv, i);
    const Option* o = FindOption(arg, a.program);
    if (o == nullptr) {
      a.error = "unknown option " + std::string(arg);
      return;
    }
    std::string_view value;
    if (o->value != Value::None) {
      if (i + 1 >= argc) {
        a.error = "missing value for " + std::string(arg);
        return;
      }
      value = Arg(argv, ++i);
    }
    Parsed parsed;
    if (!ParseValue(*o, value, &parsed)) {
      a.error = o->refusal;
      return;
    }
    o->store(a, parsed);
  }
}

void ParseHack(Arguments& a, int argc, const char* const* argv) {
  a.saver.job = StartJob::Hack;
  ParseOptions(a, 1, argc, argv);
  HackOptions& h = a.saver.hack;
  if (a.error.empty() && !h.root && h.windowId == 0) a.error = "-root or -window-id ID says where to draw";
  // xscreensaver's settings pass the theme whatever the effect: it counts only where the effect
  // has that theme.
  const int themes = !h.effect                                               ? 0
                     : *h.effect == static_cast<int>(EffectIndex::Fireworks) ? kFireworksThemeCount
                     : *h.effect == static_cast<int>(EffectIndex::Galaxies)  ? kGalaxyThemeCount
                                                                             : 0;
  if (h.theme > themes) h.theme = 0;
}

void ParseTool(Arguments& a, int argc, const char* const* argv) {
  const bool render = a.program == Program::Render;
  a.tool.frames = render ? 300 : 600;
  a.tool.width = render ? 1280 : 1920;
  a.tool.height = render ? 720 : 1080;
  int first = 2;
  if (render) {
    if (argc <= first || Arg(argv, first).empty() || Arg(argv, first).starts_with("--")) {
      a.error = "--render needs the file to write";
      return;
    }
    a.tool.file = Arg(argv, first++);
  }
  ParseOptions(a, first, argc, argv);
}

// Every part of the usage, --help's first; a tool's refusal shows its own part.
struct UsagePart {
  Program program;
  const char* text;
};

constexpr UsagePart kUsage[] = {
    {Program::Help,
     "Usage: quasarine [/S | /C | /P ID | /A | FILE.qsn]\n"
     "       quasarine -root | -window-id ID [-fps] [--effect N [--theme T]]\n"
     "       quasarine --render FILE | --bench | --print-settings [options]\n"
     "\n"
     "  /S             the screen saver on every monitor, until a key, a click or mouse moves\n"
     "  /C, nothing    the properties (settings) window\n"
     "  /P ID          a preview inside the X11 window ID (decimal or 0x hexadecimal)\n"
     "  /A             change the saver password (this platform has none)\n"
     "  FILE.qsn       import the template into the settings, then run the saver\n"
     "  -root          draw into $XSCREENSAVER_WINDOW, else the root window (xscreensaver, xsecurelock)\n"
     "  -window-id ID  draw into the X11 window ID\n"
     "  -fps           show the frames per second (with -root or -window-id)\n"
     "  --effect N     0 Fireworks, 1 Starfield, 2 B-Spline Warp, 3 B-Spline Sparklers,\n"
     "                 4 Stars and Gravity Wells, 5 Galaxies; --theme T picks a theme of 0 or 5\n"
     "                 (with -root or -window-id, for that run only)\n"
     "  --render FILE  draw into a PNG, or an animated .webp or .gif, without a display\n"
     "  --help, -h     this text;  --version  the version\n"},
    {Program::Render,
     "usage: quasarine --render FILE.png [--effect N] [--theme T] [--frames F] [--size WxH]\n"
     "                 [--seed S] [--set Key=Value]...\n"
     "  Runs effect N (0-5) offscreen for F frames (default 300) at WxH (default\n"
     "  1280x720) and writes the last frame as a PNG. Without N it shows what the\n"
     "  windowed display would: the stored effect, the cycle or the demonstration.\n"
     "  FILE may hold one frame-number conversion (out-%04d.png) to write every frame,\n"
     "  numbered from 1. --set overrides a stored setting for this run only.\n"},
    {Program::Bench,
     "usage: quasarine --bench [--effect N] [--theme T] [--frames F] [--size WxH] [--seed S]\n"
     "                [--set Key=Value]...\n"
     "  Runs each available effect (or N) offscreen for F frames (default 600) at WxH\n"
     "  (default 1920x1080) and prints per effect: frames, median and 95th-percentile\n"
     "  milliseconds of the engine step (drawing included), and the particle count.\n"
     "  --set overrides a stored setting for this run only (e.g. --set Star_Stars=999).\n"},
    {Program::PrintSettings,
     "usage: quasarine --print-settings [--effect N] [--theme T] [--preview]\n"
     "  N: 0 Fireworks, 1 Starfield, 2 B-Spline Warp, 3 B-Spline Sparklers,\n"
     "     4 Stars and Gravity Wells, 5 Galaxies (default: the stored effect)\n"
     "  T: theme 1-13 for Fireworks, 1-16 for Galaxies (default 0: the stored settings)\n"},
};

constexpr char kSettingsPlace[] =
    "Settings live in $XDG_CONFIG_HOME/quasarine/settings.ini (default ~/.config/quasarine/).\n";

}  // namespace

std::optional<uint64_t> ParseWhole(std::string_view text, uint64_t lo, uint64_t hi) {
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi)
    return std::nullopt;
  return value;
}

Arguments ParseArguments(int argc, const char* const* argv) {
  Arguments a;
  if (argc >= 2) {
    const std::string_view first = Arg(argv, 1);
    for (const ProgramSwitch& s : kProgramSwitches)
      if (first == s.arg) a.program = s.program;
    if (a.program == Program::Saver && FindOption(first, Program::Hack) != nullptr) a.program = Program::Hack;
  }
  switch (a.program) {
    case Program::Saver: a.saver = ParseCommandLine(CommandLineText(argc, argv)); break;
    case Program::Hack: ParseHack(a, argc, argv); break;
    case Program::PrintSettings: ParseOptions(a, 2, argc, argv); break;
    case Program::Render:
    case Program::Bench: ParseTool(a, argc, argv); break;
    default: break;
  }
  return a;
}

std::string UsageText(Program program) {
  std::string text;
  for (const UsagePart& part : kUsage) {
    if (program == Program::Help) {
      text.append(part.text).append("\n");
    } else if (part.program == program) {
      return part.text;
    }
  }
  return text + kSettingsPlace;
}

int RefuseArguments(Program program, std::string_view why) {
  std::fprintf(stderr, "quasarine: %.*s", static_cast<int>(why.size()), why.data());
  if (program == Program::Hack || program == Program::Saver)
    std::fputs(" (see quasarine --help)\n", stderr);
  else
    std::fprintf(stderr, "\n%s", UsageText(program).c_str());
  return 2;
}

}  // namespace qsrn
