// Template files over the INI engine.
#include "settings/templates.h"

#include <algorithm>
#include <cmath>

#include "settings/ini_file.h"
#include "settings/numeric.h"
#include "settings/version.h"

namespace qsrn {

namespace fs = std::filesystem;

namespace {

const KeySpec kAdmin[] = {
    {"Copyright", KeyType::String, "Quasarine " QSRN_VERSION " template. Copyright (c) the Quasarine authors.", 1, 0,
     FieldRef{}, 0, -1, kTemplateText},
};

static_assert(kMaxIniFileBytes == size_t{1} << 20, "kTemplateTooLarge names the limit");

// Templates are documents people keep: readable by others, not locked beside them.
constexpr unsigned kTemplateMode = 0644;

std::string WithoutLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

int32_t PutString(const fs::path& file, const fs::path& lockFile, std::string_view section,
                  std::string_view key, std::string_view value) {
  if (file.empty()) return 0;
  return UpdateIniFile(file, lockFile, kTemplateMode,
                       [&](IniDocument& doc) { return doc.Set(section, key, value); })
             ? 1
             : 0;
}

// Why path cannot be read as a template, or "" when it can; doc receives it.
std::string ReadTemplateFile(const fs::path& path, IniDocument* doc) {
  const IniFileText file = ReadIniFileText(path);
  if (file.unreadable) return "it is not a readable file";
  if (!file.exists) return "it does not exist";
  if (file.oversized) return kTemplateTooLarge;
  if (file.text.find('\0') != std::string::npos) return "it is not a text file";
  *doc = IniDocument::Parse(file.text);
  for (const TemplateSection& sec : TemplateLayout())
    if (sec.name != kAdminSection && doc->HasSection(sec.name)) return {};
  return "it holds none of the template's sections";
}

}  // namespace

std::string IniGetString(const IniDocument& doc, std::string_view section, std::string_view key,
                         std::string_view def) {
  const auto value = doc.Get(section, key);
  return LeftChars(value ? WithoutLineEnds(*value) : std::string(def), kMaxTemplateValueChars);
}

double IniGetNumber(const IniDocument& doc, std::string_view section, std::string_view key, double def) {
  const auto value = doc.Get(section, key);
  return value ? Val(LeftChars(*value, kMaxTemplateValueChars)) : def;
}

namespace {

// A file larger than any template reads as no template at all, never as its first part.
IniDocument TemplateDocument(const fs::path& file) {
  const IniFileText text = ReadIniFileText(file);
  return text.oversized ? IniDocument() : IniDocument::Parse(text.text);
}

}  // namespace

std::string IniGetString(const fs::path& file, std::string_view section, std::string_view key,
                         std::string_view def) {
  return IniGetString(TemplateDocument(file), section, key, def);
}

double IniGetNumber(const fs::path& file, std::string_view section, std::string_view key, double def) {
  return IniGetNumber(TemplateDocument(file), section, key, def);
}

int32_t IniPutString(const fs::path& file, std::string_view section, std::string_view key,
                     std::string_view value) {
  return PutString(file, {}, section, key, value);
}

std::vector<TemplateSection> TemplateLayout() {
  std::vector<TemplateSection> layout;
  layout.push_back({kAdminSection, {&kAdmin[0]}});
  for (const SectionSpec& sec : Catalogue()) {
    TemplateSection out{sec.name, {}};
    for (const KeySpec& k : sec.keys)
      if (k.templateSlot >= 0) out.keys.push_back(&k);
    if (out.keys.empty()) continue;
    std::sort(out.keys.begin(), out.keys.end(),
              [](const KeySpec* a, const KeySpec* b) { return a->templateSlot < b->templateSlot; });
    layout.push_back(std::move(out));
  }
  return layout;
}

namespace {

bool StoreTemplate(SettingsStore& store, const IniDocument& doc) {
  SettingsStore::Batch batch(store);
  for (const TemplateSection& sec : TemplateLayout()) {
    if (sec.name == kAdminSection) continue;
    for (const KeySpec* k : sec.keys) {
      if (k->Has(kTemplateText) || k->type == KeyType::String) {
        batch.Set(sec.name, k->key, IniGetString(doc, sec.name, k->key, k->FactoryText()));
        continue;
      }
      // A number beyond any type ("1e999") has no text to store; the store keeps its value.
      const double num = IniGetNumber(doc, sec.name, k->key, Val(k->FactoryText()));
      if (std::isfinite(num)) batch.Set(sec.name, k->key, FormatNumber(num));
    }
  }
  return batch.Commit();
}

}  // namespace

bool ImportTemplate(SettingsStore& store, const fs::path& path, std::string* error) {
  IniDocument doc;
  if (const std::string why = ReadTemplateFile(path, &doc); !why.empty()) {
    *error = "cannot import " + files::Utf8Of(path) + ": " + why;
    return false;
  }
  if (StoreTemplate(store, doc)) return true;
  *error = "cannot store the settings of " + files::Utf8Of(path) + ": " + store.LastError();
  return false;
}

bool CopyStoreValueToTemplate(const SettingsStore& store, const fs::path& currentTemplate,
                              std::string_view section, std::string_view key, std::string_view def) {
  return PutString(currentTemplate, store.LockFileFor(0), section, key,
                   store.GetSettingString(kAppName, section, key, def)) != 0;
}

bool CopyTemplateValueToStore(SettingsStore& store, const fs::path& currentTemplate, std::string_view section,
                              std::string_view key, std::string_view def, const fs::path& file) {
  const fs::path& from = file.empty() ? currentTemplate : file;
  return store.RegSetString(kAppName, section, key, IniGetString(from, section, key, def));
}

}  // namespace qsrn
