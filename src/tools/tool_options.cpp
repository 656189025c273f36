// Strict parsing of the headless tools' options: whole decimal numbers within bounds, every
// option known, every value present. Anything else is reported, never guessed.
#include "tools/tool_options.h"

#include <charconv>
#include <string_view>

#include "effects/engine.h"

namespace qsrn {

namespace {

template <typename T>
bool ParseWhole(std::string_view text, T lo, T hi, T* out) {
  if (text.empty() || text.front() == '+' || text.front() == '-') return false;
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi) return false;
  *out = value;
  return true;
}

bool ParseSize(std::string_view text, int32_t* w, int32_t* h) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  return ParseWhole<int32_t>(text.substr(0, x), 1, kMaxToolSide, w) &&
         ParseWhole<int32_t>(text.substr(x + 1), 1, kMaxToolSide, h);
}

}  // namespace

const char* ToolUsage(ToolKind kind) {
  if (kind == ToolKind::Render)
    return "usage: quasarine --render FILE.png [--effect N] [--theme T] [--frames F] [--size WxH]\n"
           "                 [--seed S] [--set Key=Value]...\n"
           "  Runs effect N (0-5) offscreen for F frames (default 300) at WxH (default\n"
           "  1280x720) and writes the last frame as a PNG. Without N it shows what the\n"
           "  windowed display would: the stored effect, the cycle or the demonstration.\n"
           "  FILE may hold one frame-number conversion (out-%04d.png) to write every frame,\n"
           "  numbered from 1. --set overrides a stored setting for this run only.\n";
  return "usage: quasarine --bench [--effect N] [--theme T] [--frames F] [--size WxH] [--seed S]\n"
         "                [--set Key=Value]...\n"
         "  Runs each available effect (or N) offscreen for F frames (default 600) at WxH\n"
         "  (default 1920x1080) and prints per effect: frames, median and 95th-percentile\n"
         "  milliseconds of the engine step (drawing included), and the particle count.\n"
         "  --set overrides a stored setting for this run only (e.g. --set Star_Stars=999).\n";
}

std::optional<ToolOptions> ParseToolOptions(ToolKind kind, int argc, char** argv, std::string* error) {
  ToolOptions o;
  o.frames = kind == ToolKind::Render ? 300 : 600;
  o.width = kind == ToolKind::Render ? 1280 : 1920;
  o.height = kind == ToolKind::Render ? 720 : 1080;
  auto fail = [error](std::string why) -> std::optional<ToolOptions> {
    if (error != nullptr) *error = std::move(why);
    return std::nullopt;
  };
  int i = 2;
  if (kind == ToolKind::Render) {
    if (argc <= i || std::string_view(argv[i]).empty() || std::string_view(argv[i]).starts_with("--"))
      return fail("--render needs the file to write");
    o.file = argv[i++];
  }
  for (; i < argc; ++i) {
    const std::string_view opt = argv[i];
    if (i + 1 >= argc) return fail("missing value for " + std::string(opt));
    const std::string_view value = argv[++i];
    if (opt == "--effect") {
      int e = 0;
      if (!ParseWhole(value, 0, kEffectCount - 1, &e)) return fail("--effect takes 0 to 5");
      o.effect = e;
    } else if (opt == "--theme") {
      if (!ParseWhole(value, 0, 16, &o.theme)) return fail("--theme takes 0 to 16");
    } else if (opt == "--frames") {
      if (!ParseWhole(value, 1, kMaxToolFrames, &o.frames)) return fail("--frames takes 1 to 1000000");
    } else if (opt == "--size") {
      if (!ParseSize(value, &o.width, &o.height)) return fail("--size takes WxH, each 1 to 8192");
    } else if (opt == "--seed") {
      uint64_t s = 0;
      if (!ParseWhole<uint64_t>(value, 0, UINT64_MAX, &s)) return fail("--seed takes a whole number");
      o.seed = s;
    } else if (opt == "--set") {
      const size_t eq = value.find('=');
      if (eq == std::string_view::npos || eq == 0) return fail("--set takes Key=Value");
      o.overrides.emplace_back(std::string(value.substr(0, eq)), std::string(value.substr(eq + 1)));
    } else {
      return fail("unknown option " + std::string(opt));
    }
  }
  return o;
}

}  // namespace qsrn
