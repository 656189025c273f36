// The headless tools' entry points, one per switch, given their parsed options.
#pragma once

#include "run/arguments.h"

namespace qsrn {

int PrintSettingsMain(const ToolOptions& options);  // --print-settings
int RenderMain(const ToolOptions& options);         // --render FILE.png
int BenchMain(const ToolOptions& options);          // --bench

// Runs what needs no display (a refused command line, --help, --version, the tools) and returns
// its exit status; kNeedsDisplay when the arguments ask for the saver or --icon instead.
inline constexpr int kNeedsDisplay = -1;
int RunWithoutDisplay(const Arguments& args);

}  // namespace qsrn
