// Template files: INI text with the extension ".qsn" that holds a complete set of the saver's
// properties for keeping and exchanging looks. The profile-string calls over the INI engine,
// the template key layout (one header section, then the catalogue's sections in their template
// order), the wholesale import into the store and the one-key copies between store and template.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "settings/catalogue.h"
#include "settings/ini.h"
#include "settings/store.h"

namespace qsrn {

// Why a file larger than kMaxIniFileBytes is refused whole, wherever it is read as a template.
inline constexpr char kTemplateTooLarge[] = "it is larger than 1 MB, more than any template holds";

// Values read from a template are cut to this many characters.
inline constexpr size_t kMaxTemplateValueChars = 254;

// The value of key, cut to 254 characters; def when the file, section or key is missing (a file
// too large to be a template counts as missing).
// Line-end characters never reach a value (a "\r\r\n" line end leaves one behind otherwise).
std::string IniGetString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                         std::string_view def);
// The leading number of the value (no number gives 0); def when missing.
double IniGetNumber(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    double def);
// Writes the value in place (creating the file, section or key as needed), atomically; keeps
// every other line. Non-zero on success.
int32_t IniPutString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                     std::string_view value);

// The same reads from a document parsed once (a template read key by key).
std::string IniGetString(const IniDocument& doc, std::string_view section, std::string_view key,
                         std::string_view def);
double IniGetNumber(const IniDocument& doc, std::string_view section, std::string_view key, double def);

// The header section, written first and never imported.
inline constexpr std::string_view kAdminSection = "Admin";

// One section of the layout with its keys in template order.
struct TemplateSection {
  std::string_view name;
  std::vector<const KeySpec*> keys;
};
// Admin, General, Advanced, PixelColor, then the six effect sections (SoundFX is never part of
// a template).
std::vector<TemplateSection> TemplateLayout();

// Copies exactly the layout's keys (Admin excepted) from the template into the store as one
// commit, each read with its factory default: numbers as the text of their leading number,
// the text keys as their text. Keys the file adds are never copied. A file that cannot be read
// as a template (missing, not a regular file, unreadable, binary, too large, or holding none of
// the layout's sections) changes nothing. False, with the reason in *error, in that case and
// when the store could not be written.
bool ImportTemplate(SettingsStore& store, const std::filesystem::path& path, std::string* error);

// One-key copies for the Advanced section. The template is file when given, else the
// dialog's current template. The copy into a template is made under the store's lock, so
// two programs copying at once lose neither's value.
bool CopyStoreValueToTemplate(const SettingsStore& store, const std::filesystem::path& currentTemplate,
                              std::string_view section, std::string_view key, std::string_view def);
bool CopyTemplateValueToStore(SettingsStore& store, const std::filesystem::path& currentTemplate,
                              std::string_view section, std::string_view key, std::string_view def,
                              const std::filesystem::path& file = {});

}  // namespace qsrn
