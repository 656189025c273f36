// The switches every program of ours answers the same way, with no display: a refused command
// line, --help, --version and the headless tools.
#include <cstdio>

#include "settings/version.h"
#include "tools/tools.h"

namespace qsrn {

int RunWithoutDisplay(const Arguments& args) {
  if (!args.error.empty()) return RefuseArguments(args.program, args.error);
  switch (args.program) {
    case Program::Help:
      std::fputs(UsageText(Program::Help).c_str(), stdout);
      return 0;
    case Program::Version:
      std::printf("Quasarine %s\n", kVersion);
      return 0;
    case Program::PrintSettings: return PrintSettingsMain(args.tool);
    case Program::Render: return RenderMain(args.tool);
    case Program::Bench: return BenchMain(args.tool);
    case Program::Icon:
    case Program::Saver:
    case Program::Hack: break;
  }
  return kNeedsDisplay;
}

}  // namespace qsrn
