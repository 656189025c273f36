// Writing frames to PNG files, and the frame-number pattern of --render: a file name with at most
// one integer conversion (out-%04d.png), checked and expanded here rather than handed to printf.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/surface.h"

namespace qsrn {

struct FramePattern {
  std::string prefix;   // text before the number ("%%" already turned into "%")
  std::string suffix;   // text after it
  bool numbered = false;
  bool zeroPad = false;
  int width = 0;        // minimum digits, 0 to 9
};

// Accepts plain text, "%%" for a percent sign, and one conversion %d, %i or %u with an optional
// 0 flag and a width of one digit. Anything else (a second conversion, %s, %n, a length
// modifier, a lone %) gives nullopt.
std::optional<FramePattern> ParseFramePattern(std::string_view file);

// The file name of frame n (the pattern's text when it has no number).
std::string FrameFileName(const FramePattern& pattern, int32_t n);

// Writes the surface as a PNG; false when the file cannot be written.
bool WritePng(const Surface& surface, const std::string& path);

}  // namespace qsrn
