// Entry point: --help, --version and the developer tools (--print-settings, --render, --bench,
// --icon, which draws the icon at build time) run without a display; everything else is the
// screen saver's own command line.
#include <cstdio>

#include "qt/saver/program_main.h"
#include "run/arguments.h"
#include "settings/version.h"
#include "tools/tools.h"

int main(int argc, char** argv) {
  const qsrn::Arguments args = qsrn::ParseArguments(argc, argv);
  if (!args.error.empty()) return qsrn::RefuseArguments(args.program, args.error);
  switch (args.program) {
    case qsrn::Program::Help:
      std::fputs(qsrn::UsageText(qsrn::Program::Help).c_str(), stdout);
      return 0;
    case qsrn::Program::Version:
      std::printf("Quasarine %s\n", qsrn::kVersion);
      return 0;
    case qsrn::Program::PrintSettings: return qsrn::PrintSettingsMain(args.tool);
    case qsrn::Program::Render: return qsrn::RenderMain(args.tool);
    case qsrn::Program::Bench: return qsrn::BenchMain(args.tool);
    case qsrn::Program::Icon: return qsrn::IconMain(argc, argv);
    case qsrn::Program::Saver:
    case qsrn::Program::Hack: break;
  }
  return qsrn::SaverMain(argc, argv, args.saver);
}
