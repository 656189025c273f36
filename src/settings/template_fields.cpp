// The properties dialog's values as texts; see template_fields.h.
#include "settings/template_fields.h"

#include <cmath>
#include <system_error>

#include "settings/ini_file.h"
#include "settings/numeric.h"
#include "settings/templates.h"
#include "settings/themes.h"

namespace qsrn {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kAdvancedSection = "Advanced";
// Templates are documents people keep: readable by others.
constexpr mode_t kTemplateFileMode = 0644;

// The general keys kept as the text typed, blanks around it removed.
bool IsTrimmedText(const KeySpec& k) {
  return k.type == KeyType::String || k.key == "PixelSize" || k.key == "FocalLength";
}

// What a template lacking the key gives: the factory value, except for the comets' solar wind.
std::string_view TemplateDefault(const KeySpec& k) {
  return k.key == "Galaxy_CometSWind" ? std::string_view("100") : k.FactoryText();
}

std::string TextOf(const FieldTexts& texts, const KeySpec& k) {
  const auto it = texts.find(k.key);
  return it != texts.end() ? it->second : std::string(k.FactoryText());
}

bool LooksLikeIni(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = Trim(text.substr(pos, end - pos));
    if (line.size() > 2 && line.front() == '[' && line.find(']') != std::string::npos) return true;
    pos = end + 1;
  }
  return false;
}

}  // namespace

const std::vector<DialogKey>& DialogKeys() {
  static const std::vector<DialogKey> keys = [] {
    std::vector<DialogKey> out;
    for (const TemplateSection& sec : TemplateLayout()) {
      if (sec.name == kAdminSection || sec.name == kAdvancedSection) continue;
      for (const KeySpec* k : sec.keys) out.push_back({sec.name, k});
    }
    return out;
  }();
  return keys;
}

const DialogKey* FindDialogKey(std::string_view key) {
  for (const DialogKey& d : DialogKeys())
    if (EqualsNoCase(d.key->key, key)) return &d;
  return nullptr;
}

bool IsCheckKey(const KeySpec& k) { return k.Has(kFlagNonZero | kFlagOne); }
bool IsListKey(const KeySpec& k) { return k.Has(kTemplateNumber) && !IsCheckKey(k); }

FieldTexts FactoryFieldTexts() {
  FieldTexts texts;
  for (const DialogKey& d : DialogKeys()) texts.emplace(d.key->key, StoredText(*d.key, d.key->FactoryText()));
  return texts;
}

FieldTexts StoredFieldTexts(const SettingsStore& store) {
  FieldTexts texts;
  for (const auto& [section, k] : DialogKeys()) {
    std::string text = store.GetSettingString(kAppName, section, k->key, k->def);
    if (k->type != KeyType::String && !IsNumericText(text)) text = k->def;
    if (IsCheckKey(*k) || IsListKey(*k)) text = FormatNumber(CInt(Val(text)));
    texts.emplace(k->key, std::move(text));
  }
  return texts;
}

std::string StoredText(const KeySpec& k, std::string_view text) {
  if (IsCheckKey(k)) return Val(text) != 0 ? "1" : "0";
  if (IsListKey(k)) return FormatNumber(CInt(Val(text)));
  if (IsTrimmedText(k)) return Trim(text);
  const double v = Val(text);
  return std::isfinite(v) ? FormatNumber(v) : std::string(k.FactoryText());
}

KeyTexts FactoryAdvancedTexts() {
  KeyTexts texts;
  for (const TemplateSection& sec : TemplateLayout())
    if (sec.name == kAdvancedSection)
      for (const KeySpec* k : sec.keys) texts.emplace_back(k->key, k->FactoryText());
  return texts;
}

namespace {
void SetAdvanced(SettingsStore::Batch& batch, const KeyTexts& advanced) {
  for (const auto& [key, text] : advanced) batch.Set(kAdvancedSection, key, text);
}
}  // namespace

bool SaveFieldTexts(SettingsStore& store, const FieldTexts& texts, const KeyTexts& advanced) {
  SettingsStore::Batch batch(store);
  SetAdvanced(batch, advanced);
  for (const auto& [section, k] : DialogKeys()) batch.Set(section, k->key, StoredText(*k, TextOf(texts, *k)));
  return batch.Commit();
}

bool SaveAdvancedTexts(SettingsStore& store, const KeyTexts& advanced) {
  SettingsStore::Batch batch(store);
  SetAdvanced(batch, advanced);
  return batch.Commit();
}

TemplateRead ReadTemplateTexts(const fs::path& file, FieldTexts& texts, KeyTexts& advanced) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (!fs::exists(status)) return TemplateRead::Missing;
  if (!fs::is_regular_file(status)) return TemplateRead::NotAFile;
  const IniFileText raw = ReadIniFileText(file);
  if (raw.unreadable) return TemplateRead::Unreadable;
  if (raw.oversized) return TemplateRead::TooLarge;
  if (!LooksLikeIni(raw.text)) return TemplateRead::NotATemplate;

  const IniDocument doc = IniDocument::Parse(raw.text);
  FieldTexts read;
  for (const auto& [section, k] : DialogKeys()) {
    const std::string_view def = TemplateDefault(*k);
    if (IsCheckKey(*k) || IsListKey(*k)) {
      const double v = IniGetNumber(doc, section, k->key, Val(def));
      read.emplace(k->key, std::isfinite(v) ? FormatNumber(v) : std::string(def));
    } else {
      read.emplace(k->key, IniGetString(doc, section, k->key, def));
    }
  }
  KeyTexts adv = FactoryAdvancedTexts();
  for (auto& [key, text] : adv) text = IniGetString(doc, kAdvancedSection, key, text);
  texts = std::move(read);
  advanced = std::move(adv);
  return TemplateRead::Ok;
}

bool WriteTemplateTexts(const fs::path& file, const FieldTexts& texts, const SettingsStore& store) {
  if (file.empty()) return false;
  return UpdateIniFile(file, {}, kTemplateFileMode, [&](IniDocument& doc) {
    bool ok = true;
    for (const TemplateSection& sec : TemplateLayout()) {
      for (const KeySpec* k : sec.keys) {
        std::string text;
        if (sec.name == kAdminSection)
          text = k->def;
        else if (sec.name == kAdvancedSection)
          text = store.GetSettingString(kAppName, sec.name, k->key, k->FactoryText());
        else
          text = StoredText(*k, TextOf(texts, *k));
        ok = doc.Set(sec.name, k->key, text) && ok;
      }
    }
    return ok;
  });
}

FieldTexts ThemeFieldTexts(SectionId effect, int theme) {
  const std::string_view preset = effect == SectionId::Fireworks ? FireworksTheme(theme)
                                  : effect == SectionId::Galaxy  ? GalaxyTheme(theme)
                                                                 : std::string_view();
  FieldTexts texts;
  if (preset.empty()) return texts;
  for (const KeySpec& k : Section(effect).keys)
    if (k.themeField >= 0) texts.emplace(k.key, GetPresetField(preset, k.themeField));
  return texts;
}

}  // namespace qsrn
