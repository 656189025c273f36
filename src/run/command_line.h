// The saver's command line: how the platform's arguments become one text, which mode that text
// asks for, and where the copy of the program that selects the windowed display would lie.
// Plain functions on strings, so the start-up table can be tested without a display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qsrn {

enum class StartJob {
  Configure,     // empty text or /C: the properties dialog
  Saver,         // /S: full screen, unless a saver already runs
  Preview,       // /P id: draw inside the native window id
  ChangePassword,// /A id
  ImportAndRun,  // a path ending in .qsn: import it, then full screen
  RunFullScreen, // anything else: full screen
  Hack           // -root or -window-id: drawn into a window of xscreensaver or xsecurelock
};

// How xscreensaver and xsecurelock run a hack: into the root window (or $XSCREENSAVER_WINDOW)
// or a given window, with the frame rate shown, and an effect chosen for this run only.
struct HackOptions {
  bool root = false;             // -root: $XSCREENSAVER_WINDOW when set, else the root window
  uint32_t windowId = 0;         // -window-id ID
  bool showFps = false;          // -fps
  std::optional<int> effect;     // --effect N
  int theme = 0;                 // --theme T: a theme of effect 0 or 5, else 0
};

struct CommandLine {
  StartJob job = StartJob::Configure;
  int32_t windowHandle = 0;  // /P and /A: the text after the switch by the numeric-prefix rule
  std::string templatePath;  // ImportAndRun: the whole command-line text
  HackOptions hack;          // Hack
};

// Everything after the program name, joined by single blanks, untrimmed.
std::string CommandLineText(int argc, const char* const* argv);

// A text ending in ".qsn" (any case) is a template path, whatever it starts with (a path such as
// /srv/x.qsn would otherwise pass for a switch); then the switch, the first two characters in
// upper case, in the order /C, /S, /P, /A.
CommandLine ParseCommandLine(std::string_view text);

// A window id as xscreensaver and xsecurelock write it: decimal or 0x hexadecimal, leading
// blanks skipped, the number ending at the first character that cannot continue it. 0 when there
// is no number or it does not fit an X11 id.
uint32_t ParseWindowId(std::string_view text);

// The program's folder, a separator unless the folder already ends with one, the base name
// without its extension, and ".exe".
std::string WindowedProgramPath(std::string_view programPath);

}  // namespace qsrn
