// The headless tools alone, as a console program for Windows: what quasarine.scr answers without
// a display, for builds and checks that want no window.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run/arguments.h"
#include "settings/file_system.h"
#include "tools/tools.h"

int main() {
  // The wide command line, as UTF-8: the narrow one loses what the ANSI code page cannot hold.
  int argc = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::vector<std::string> texts;
  for (int i = 0; i < argc; ++i) texts.push_back(qsrn::files::Utf8Of(wide[i]));
  ::LocalFree(wide);
  std::vector<const char*> argv;
  for (const std::string& text : texts) argv.push_back(text.c_str());
  const qsrn::Arguments args = qsrn::ParseArguments(argc, argv.data());
  const int status = qsrn::RunWithoutDisplay(args);
  if (status != qsrn::kNeedsDisplay) return status;
  std::fputs("quasarine-tools: only --render, --bench, --print-settings, --help and --version run here\n", stderr);
  return 2;
}
