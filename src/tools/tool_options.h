// The command line of the headless tools, --render FILE.png and --bench: which effect, theme,
// how many frames, the surface size, the seed, and settings to override for this run only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qsrn {

struct ToolOptions {
  std::string file;                  // --render: the PNG (or frame pattern) to write
  std::optional<int> effect;         // --effect N; unset: the stored AnimationType (render) or all (bench)
  int theme = 0;                     // --theme T
  int32_t frames = 0;                // --frames F
  int32_t width = 0, height = 0;     // --size WxH
  std::optional<uint64_t> seed;      // --seed S; unset: from the clock (render) or 1 (bench)
  std::vector<std::pair<std::string, std::string>> overrides;  // --set Key=Value, in order
};

enum class ToolKind { Render, Bench };

// Parses argv[2..] (argv[1] is the mode). Defaults: 300 frames at 1280x720 for render, 600 at
// 1920x1080 for bench. On a bad option returns nullopt with the reason in *error.
std::optional<ToolOptions> ParseToolOptions(ToolKind kind, int argc, char** argv, std::string* error);

// The usage text of a tool, for stderr.
const char* ToolUsage(ToolKind kind);

// Largest surface side and frame count the tools accept.
inline constexpr int32_t kMaxToolSide = 8192;
inline constexpr int32_t kMaxToolFrames = 1000000;

}  // namespace qsrn
