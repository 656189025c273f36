// The headless tools' entry points, one per switch. argv[0] is the program path.
#pragma once

namespace qsrn {

int PrintSettingsMain(int argc, char** argv);  // --print-settings
int RenderMain(int argc, char** argv);         // --render FILE.png
int BenchMain(int argc, char** argv);          // --bench

}  // namespace qsrn
