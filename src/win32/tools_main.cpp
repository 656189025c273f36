// The headless tools alone, as a console program for Windows: what quasarine.scr answers without
// a display, for builds and checks that want no window.
#include <cstdio>

#include "run/arguments.h"
#include "tools/tools.h"

int main(int argc, char** argv) {
  const qsrn::Arguments args = qsrn::ParseArguments(argc, argv);
  const int status = qsrn::RunWithoutDisplay(args);
  if (status != qsrn::kNeedsDisplay) return status;
  std::fputs("quasarine-tools: only --render, --bench, --print-settings, --help and --version run here\n", stderr);
  return 2;
}
