// The headless tools' entry points, one per switch, given their parsed options.
#pragma once

#include "run/arguments.h"

namespace qsrn {

int PrintSettingsMain(const ToolOptions& options);  // --print-settings
int RenderMain(const ToolOptions& options);         // --render FILE.png
int BenchMain(const ToolOptions& options);          // --bench

}  // namespace qsrn
