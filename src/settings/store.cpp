// The settings store: one INI file per root selector, one section per key path.
#include "settings/store.h"

#include <pwd.h>
#include <unistd.h>

#include <cfloat>
#include <cstdlib>
#include <map>
#include <optional>

#include "settings/ini_file.h"
#include "settings/numeric.h"

namespace qsrn {

namespace fs = std::filesystem;

namespace {

std::string_view FileNameOf(int root) {
  switch (root) {
    case 0: return "settings.ini";  // the machine-wide root, where every setting lives
    case 1: return "user.ini";
    case 2: return "classes.ini";
    default: return "users.ini";
  }
}

std::string KeyPath(std::string_view basePath, std::string_view app, std::string_view section) {
  std::string path(basePath);
  path += app;
  path += '\\';
  path += section;
  return path;
}

bool Storable(const SettingsStore::Write& w) {
  return w.value.size() <= SettingsStore::kMaxValueBytes && IniDocument::ValidSectionName(w.keyPath) &&
         IniDocument::ValidKeyName(w.name) && IniDocument::ValidValue(w.value);
}

}  // namespace

SettingsStore::SettingsStore(fs::path dir) : dir_(std::move(dir)) {}

fs::path SettingsStore::DefaultDirectory() {
  // A relative XDG_CONFIG_HOME is invalid by its own rules and is ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/')
    return fs::path(xdg) / "quasarine";
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
  }
  return fs::path(home && *home ? home : ".") / ".config" / "quasarine";
}

fs::path SettingsStore::FileFor(int root) const { return dir_ / FileNameOf(root); }

std::optional<std::string> SettingsStore::Lookup(int root, std::string_view keyPath,
                                                 std::string_view name) const {
  const IniDocument doc = ReadIniFile(FileFor(root));
  const auto value = doc.Get(keyPath, name);
  // Longer than anything we write: a hand-edited value, read as missing.
  if (!value || value->size() > kMaxValueBytes) return std::nullopt;
  return std::string(*value);
}

bool SettingsStore::RegSetString(std::string_view app, std::string_view section, std::string_view name,
                                 std::string_view value, int root, std::string_view basePath) {
  return CommitWrites({Write{root, KeyPath(basePath, app, section), std::string(name), Trim(value)}});
}

std::string SettingsStore::RegGetString(int root, std::string_view app, std::string_view section,
                                        std::string_view name, std::string_view def,
                                        std::string_view basePath) const {
  return Lookup(root, KeyPath(basePath, app, section), name).value_or(std::string(def));
}

std::optional<double> SettingsStore::LookupNumber(int root, std::string_view app, std::string_view section,
                                                  std::string_view name) const {
  const auto text = Lookup(root, KeyPath(kBasePath, app, section), name);
  if (!text || !IsNumericText(*text)) return std::nullopt;
  return Val(*text);
}

int16_t SettingsStore::GetSettingInt(std::string_view app, std::string_view section, std::string_view name,
                                     int16_t def, int root) const {
  const auto v = LookupNumber(root, app, section, name);
  return v ? CInt(*v) : def;
}

int32_t SettingsStore::GetSettingLong(std::string_view app, std::string_view section, std::string_view name,
                                      int32_t def, int root) const {
  const auto v = LookupNumber(root, app, section, name);
  return v ? CLng(*v) : def;
}

float SettingsStore::GetSettingSingle(std::string_view app, std::string_view section, std::string_view name,
                                      float def, int root) const {
  const auto v = LookupNumber(root, app, section, name);
  if (!v) return def;
  // Beyond the range of a Single: does not fit, reads as 0.
  if (!(*v >= -FLT_MAX && *v <= FLT_MAX)) return 0.0f;
  return static_cast<float>(*v);
}

std::string SettingsStore::GetSettingString(std::string_view app, std::string_view section,
                                            std::string_view name, std::string_view def, int root) const {
  return RegGetString(root, app, section, name, def);
}

std::string SettingsStore::ReadSystemValue(int root, std::string_view subKey, std::string_view name) const {
  return Lookup(root, subKey, name).value_or(std::string());
}

void SettingsStore::Batch::Set(std::string_view section, std::string_view name, std::string_view value) {
  writes_.push_back(Write{0, KeyPath(kBasePath, kAppName, section), std::string(name), Trim(value)});
}

bool SettingsStore::Batch::Commit() {
  const bool ok = store_.CommitWrites(writes_);
  writes_.clear();
  return ok;
}

bool SettingsStore::CommitWrites(const std::vector<Write>& writes) {
  for (const Write& w : writes)
    if (!Storable(w)) return false;
  if (writes.empty()) return true;
  std::error_code ec;
  fs::create_directories(dir_, ec);
  if (ec) return false;
  std::map<std::string_view, std::vector<const Write*>> byFile;
  for (const Write& w : writes) byFile[FileNameOf(w.root)].push_back(&w);
  bool ok = true;
  for (const auto& [name, group] : byFile) {
    const fs::path file = dir_ / name;
    fs::path lock = file;
    lock += ".lock";
    ok = UpdateIniFile(file, lock, 0600, [&](IniDocument& doc) {
           for (const Write* w : group)
             if (!doc.Set(w->keyPath, w->name, w->value)) return false;
           return true;
         }) && ok;
  }
  return ok;
}

}  // namespace qsrn
