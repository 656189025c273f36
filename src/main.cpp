// Entry point: --help, --version and the developer tools (--print-settings, --render, --bench,
// --icon, which draws the icon at build time) run without a display; everything else is the
// screen saver's own command line.
#include "qt/saver/program_main.h"
#include "run/arguments.h"
#include "tools/tools.h"

int main(int argc, char** argv) {
  const qsrn::Arguments args = qsrn::ParseArguments(argc, argv);
  if (const int status = qsrn::RunWithoutDisplay(args); status != qsrn::kNeedsDisplay) return status;
  if (args.program == qsrn::Program::Icon) return qsrn::IconMain(argc, argv);
  return qsrn::SaverMain(argc, argv, args.saver);
}
