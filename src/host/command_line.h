// The saver's command line: how the platform's arguments become one text, which mode that text
// asks for, and where the copy of the program that selects the windowed display would lie.
// Plain functions on strings, so the start-up table can be tested without a display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qsrn {

enum class StartJob {
  Configure,     // empty text or /C: the properties dialog
  Saver,         // /S: full screen, unless a saver already runs
  Preview,       // /P id: draw inside the native window id
  ChangePassword,// /A id
  ImportAndRun,  // a path ending in .qsn: import it, then full screen
  RunFullScreen  // anything else: full screen
};

struct CommandLine {
  StartJob job = StartJob::Configure;
  int32_t windowHandle = 0;  // /P and /A: the text after the switch by the numeric-prefix rule
  std::string templatePath;  // ImportAndRun: the whole command-line text
};

// Everything after the program name, joined by single blanks, untrimmed.
std::string CommandLineText(int argc, const char* const* argv);

// The switch is the first two characters in upper case; the tests run in the described order.
CommandLine ParseCommandLine(std::string_view text);

// The program's folder, a separator unless the folder already ends with one, the base name
// without its extension, and ".exe".
std::string WindowedProgramPath(std::string_view programPath);

}  // namespace qsrn
