// Fuzzes template import into a store: any bytes as a template file. Beyond "never crashes", it
// checks the import's promises: a file that is refused leaves the store byte for byte as it was;
// an accepted one leaves every layout key readable from the store with no line break in it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_files.h"
#include "settings/ini_file.h"
#include "settings/store.h"
#include "settings/templates.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path& dir = qsrn::fuzz::ScratchDirectory();
  static qsrn::SettingsStore store(dir / "store");
  const std::filesystem::path file = dir / "input.qsn";
  qsrn::fuzz::WriteWhole(file, text);

  const std::string before = qsrn::ReadIniFileText(store.FileFor(0)).text;
  std::string error;
  if (!qsrn::ImportTemplate(store, file, &error)) {
    Check(!error.empty());
    Check(qsrn::ReadIniFileText(store.FileFor(0)).text == before);
    return 0;
  }
  for (const qsrn::TemplateSection& sec : qsrn::TemplateLayout()) {
    if (sec.name == qsrn::kAdminSection) continue;
    for (const qsrn::KeySpec* k : sec.keys) {
      const std::string v = store.GetSettingString(qsrn::kAppName, sec.name, k->key, "\n");
      Check(v.find_first_of("\r\n") == std::string::npos);
    }
  }
  return 0;
}
