// Fuzzes the dialog's template reader with any bytes as a template file. Beyond "never crashes",
// it checks what the dialog relies on: a refused file leaves the texts untouched; an accepted one
// gives every dialog key and every Advanced key a single-line text of at most 254 characters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_files.h"
#include "settings/template_fields.h"
#include "settings/templates.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// At most 254 characters, a character being a whole UTF-8 sequence (continuation bytes do not count).
bool OneShortLine(const std::string& text) {
  size_t chars = 0;
  for (const char c : text) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return chars <= qsrn::kMaxTemplateValueChars && text.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path file = qsrn::fuzz::ScratchDirectory() / "dialog.qsn";
  qsrn::fuzz::WriteWhole(file, std::string_view(reinterpret_cast<const char*>(data), size));
  qsrn::FieldTexts texts{{"marker", "kept"}};
  qsrn::KeyTexts advanced{{"marker", "kept"}};
  if (qsrn::ReadTemplateTexts(file, texts, advanced) != qsrn::TemplateRead::Ok) {
    Check(texts.size() == 1 && advanced.size() == 1 && advanced[0].second == "kept");
    return 0;
  }
  Check(texts.size() == qsrn::DialogKeys().size());
  for (const qsrn::DialogKey& k : qsrn::DialogKeys()) {
    const auto found = texts.find(k.key->key);
    Check(found != texts.end() && OneShortLine(found->second));
  }
  for (const auto& [key, text] : advanced) Check(OneShortLine(text));
  return 0;
}
