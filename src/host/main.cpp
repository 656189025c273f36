// Entry point: the developer tools (--print-settings, --render, --bench) run without a display;
// everything else is the screen saver's own command line.
#include <cstring>

#include "tools/tools.h"

int main(int argc, char** argv) {
  if (argc >= 2) {
    if (std::strcmp(argv[1], "--print-settings") == 0) return qsrn::PrintSettingsMain(argc, argv);
    if (std::strcmp(argv[1], "--render") == 0) return qsrn::RenderMain(argc, argv);
    if (std::strcmp(argv[1], "--bench") == 0) return qsrn::BenchMain(argc, argv);
  }
  return qsrn::SaverMain(argc, argv);
}
