// Entry point of the Windows program (quasarine.scr): --help, --version and the developer tools
// (--print-settings, --render, --bench) run as on Linux, through the same command line; everything
// else is the screen saver's own switches, which the system's screen-saver settings pass in any
// letter case and with "-" or "/" (/s, /c, /c:HWND, /p HWND, /a).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run/arguments.h"
#include "tools/tools.h"
#include "settings/file_system.h"
#include "win32/platform/program_files.h"
#include "win32/saver/saver_start.h"

namespace {

// A program of the window subsystem has no console; one started from a console prints there.
void AttachParentConsole() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) return;  // redirected, or under Wine
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
}

// "-s" is "/s": the saver's switches come with either mark.
void SlashSwitch(std::vector<std::string>& args) {
  if (args.size() < 2) return;
  std::string& first = args[1];
  if (first.size() >= 2 && first[0] == '-' && std::string("sScCpPaA").find(first[1]) != std::string::npos &&
      (first.size() == 2 || first[2] == ':'))
    first[0] = '/';
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(qsrn::files::Utf8Of(wide[i]));
  LocalFree(wide);
  SlashSwitch(args);
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);

  const qsrn::Arguments parsed = qsrn::ParseArguments(argc, argv.data());
  const bool saver = parsed.error.empty() && parsed.program == qsrn::Program::Saver;
  if (!saver) AttachParentConsole();
  if (const int status = qsrn::RunWithoutDisplay(parsed); status != qsrn::kNeedsDisplay) return status;
  if (parsed.program == qsrn::Program::Icon) {
    std::fputs("quasarine: --icon is drawn by the Linux build\n", stderr);
    return 2;
  }
  // The dialogs' up-down, list and tab controls, in the common controls 6 look of the manifest.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return qsrn::SaverMain(parsed.saver, qsrn::ProgramPath(), qsrn::CommandLineText(argc, argv.data()));
}
