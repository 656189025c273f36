// Fuzzes the command line: the text the platform passes (the saver's switches and template
// paths), the window ids xscreensaver and xsecurelock write, and the hack options as separate
// arguments (the input split at zero bytes). Beyond "never crashes", it checks that a template
// path keeps the whole text, that a window id written back in decimal and hexadecimal reads the
// same, and that accepted hack options name somewhere to draw and a theme within range.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "run/command_line.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string Hex(uint32_t id) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  do out.insert(out.begin(), kDigits[id % 16]);
  while ((id /= 16) != 0);
  return "0x" + out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const qsrn::CommandLine cl = qsrn::ParseCommandLine(text);
  if (cl.job == qsrn::StartJob::ImportAndRun) Check(cl.templatePath == text);

  const uint32_t id = qsrn::ParseWindowId(text);
  if (id != 0) {
    Check(qsrn::ParseWindowId(std::to_string(id)) == id);
    Check(qsrn::ParseWindowId(Hex(id)) == id);
  }

  std::vector<std::string> args{"quasarine"};
  size_t begin = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\0') continue;
    args.emplace_back(text, begin, i - begin);
    begin = i + 1;
  }
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  const int argc = static_cast<int>(argv.size());
  qsrn::IsHackCommandLine(argc, argv.data());
  std::string error;
  const auto hack = qsrn::ParseHackOptions(argc, argv.data(), &error);
  if (!hack) {
    Check(!error.empty());
  } else {
    Check(hack->root || hack->windowId != 0);
    Check(hack->theme >= 0 && hack->theme <= 16);
    Check(!hack->effect || (*hack->effect >= 0 && *hack->effect <= 5));
  }
  qsrn::CommandLineText(argc, argv.data());
  return 0;
}
