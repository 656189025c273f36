// The program's whole command line, read through one table of options: which program runs (the
// saver and its switches, a hack drawn into another program's window, a headless tool, --help,
// --version), its options, and the one usage text. Plain functions on strings, no toolkit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/command_line.h"

namespace qsrn {

enum class Program { Saver, Hack, Help, Version, PrintSettings, Render, Bench, Icon };

// The options of the headless tools: --render FILE, --bench and --print-settings.
struct ToolOptions {
  std::string file;                  // --render: the PNG (or frame pattern) to write
  std::optional<int> effect;         // --effect N; unset: the stored AnimationType (render) or all (bench)
  int theme = 0;                     // --theme T
  int32_t frames = 0;                // --frames F
  int32_t width = 0, height = 0;     // --size WxH
  std::optional<uint64_t> seed;      // --seed S; unset: from the clock (render) or 1 (bench)
  std::vector<std::pair<std::string, std::string>> overrides;  // --set Key=Value, in order
  bool preview = false;              // --preview: the settings as the preview loads them
};

// Largest surface side and frame count the tools accept.
inline constexpr int32_t kMaxToolSide = 8192;
inline constexpr int32_t kMaxToolFrames = 1000000;

struct Arguments {
  Program program = Program::Saver;
  CommandLine saver;   // Saver, and Hack with its options (job Hack)
  ToolOptions tool;    // PrintSettings, Render, Bench; defaults 300 frames at 1280x720 for
                       // render, 600 at 1920x1080 for bench
  std::string error;   // why the command line is refused; empty when it is accepted
};

// argv[1] picks the program: a tool's or --help's switch, a hack option, else the saver's text.
Arguments ParseArguments(int argc, const char* const* argv);

// A whole decimal number, every character a digit, within lo..hi; nullopt for anything else.
std::optional<uint64_t> ParseWhole(std::string_view text, uint64_t lo, uint64_t hi);

// The usage: the whole text for --help, a tool's own part of it otherwise.
std::string UsageText(Program program);

// Writes why the command line is refused, with the usage of its program, to stderr; returns the
// exit status 2.
int RefuseArguments(Program program, std::string_view why);

}  // namespace qsrn
