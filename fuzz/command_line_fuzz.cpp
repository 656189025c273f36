// Fuzzes the command line: the text the platform passes (the saver's switches and template
// paths), the window ids xscreensaver and xsecurelock write, and the whole argument list (the
// input split at zero bytes) through the program's option table. Beyond "never crashes", it
// checks that a template path keeps the whole text, that a window id written back in decimal and
// hexadecimal reads the same, and that accepted options name somewhere to draw (hacks) and keep
// every number within its range.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "run/arguments.h"

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
  const qsrn::Arguments parsed = qsrn::ParseArguments(argc, argv.data());
  if (!parsed.error.empty()) return 0;
  const qsrn::ToolOptions& t = parsed.tool;
  Check(t.theme >= 0 && t.theme <= 16 && (!t.effect || (*t.effect >= 0 && *t.effect <= 5)));
  if (parsed.program == qsrn::Program::Hack) {
    const qsrn::HackOptions& h = parsed.saver.hack;
    Check(parsed.saver.job == qsrn::StartJob::Hack && (h.root || h.windowId != 0));
    Check(h.theme >= 0 && h.theme <= 16);
  }
  if (parsed.program == qsrn::Program::Render || parsed.program == qsrn::Program::Bench) {
    Check(t.frames >= 1 && t.frames <= qsrn::kMaxToolFrames);
    Check(t.width >= 1 && t.width <= qsrn::kMaxToolSide && t.height >= 1 && t.height <= qsrn::kMaxToolSide);
    for (const auto& [key, value] : t.overrides) Check(!key.empty());
  }
  return 0;
}
