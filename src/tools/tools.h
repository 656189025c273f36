// The headless tools' entry points, one per switch, given their parsed options.
#pragma once

#include <optional>

#include "run/arguments.h"

namespace qsrn {

int PrintSettingsMain(const ToolOptions& options);  // --print-settings
int RenderMain(const ToolOptions& options);         // --render FILE.png
int BenchMain(const ToolOptions& options);          // --bench

// What every program does alike with its parsed command line: a refusal, --help, --version
// and the tools. Returns their exit status; nullopt for the saver's own modes (and --icon).
std::optional<int> RunHeadlessProgram(const Arguments& args);

}  // namespace qsrn
