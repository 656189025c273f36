// The screen saver's start-up on Windows: the mode the command line asks for (full screen on
// every monitor, the windowed display, the preview inside the system's preview area), or a
// one-shot job (the settings, the password change, a template import before running full screen).
#pragma once

#include <string>

#include "run/command_line.h"

namespace qsrn {

// programPath: this program's file, in UTF-8; text: the command line after the program's name.
int SaverMain(const CommandLine& cl, const std::string& programPath, const std::string& text);

}  // namespace qsrn
