// The dialog's values before they are stored; see dialog_values.h.
#include "settings/dialog_values.h"

#include "settings/ini.h"

namespace qsrn {

namespace {
std::string StoredTextOf(const FieldTexts& texts, const KeySpec& k) {
  const auto it = texts.find(k.key);
  return StoredText(k, it != texts.end() ? std::string_view(it->second) : k.FactoryText());
}
}  // namespace

std::optional<UnstorableField> FindUnstorableField(const FieldTexts& texts) {
  for (const DialogKey& d : DialogKeys()) {
    const std::string text = StoredTextOf(texts, *d.key);
    if (!IniDocument::ValidValue(text)) return UnstorableField{std::string(d.key->key), UnstorableField::Why::LineBreak};
    if (text.size() > SettingsStore::kMaxValueBytes)
      return UnstorableField{std::string(d.key->key), UnstorableField::Why::TooLong};
  }
  return std::nullopt;
}

void OverlayFieldTexts(SettingsStore& store, const FieldTexts& texts, const KeyTexts& advanced) {
  for (const auto& [key, text] : advanced) store.Override("Advanced", key, text);
  for (const DialogKey& d : DialogKeys()) store.Override(d.section, d.key->key, StoredTextOf(texts, *d.key));
}

}  // namespace qsrn
