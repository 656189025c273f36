// The settings store: one INI file per root selector, one section per key path, a described
// section under its short name.
#include "settings/store.h"

#include <array>
#include <cctype>
#include <cfloat>
#include <map>
#include <mutex>
#include <optional>

#include "settings/catalogue.h"
#include "settings/file_system.h"
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

std::string OverrideKey(std::string_view keyPath, std::string_view name) {
  std::string key(keyPath);
  key += '\n';
  key += name;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

// The section a person writes by hand for a key path of ours: "General" for
// "SOFTWARE\Quasarine\QSRN_SS\General"; empty for any other key path.
std::string_view HandSection(std::string_view keyPath) {
  const size_t prefix = kBasePath.size() + kAppName.size() + 1;
  if (keyPath.size() <= prefix || keyPath[prefix - 1] != '\\' ||
      !EqualsNoCase(keyPath.substr(0, kBasePath.size()), kBasePath) ||
      !EqualsNoCase(keyPath.substr(kBasePath.size(), kAppName.size()), kAppName))
    return {};
  return keyPath.substr(prefix);
}

// The catalogue's own name of the section a key path of ours stands for ("General" for
// "SOFTWARE\Quasarine\QSRN_SS\general"); empty for a key path the catalogue does not describe.
std::string_view ShortSection(std::string_view keyPath) {
  const std::string_view hand = HandSection(keyPath);
  if (hand.empty()) return {};
  for (const SectionSpec& row : Catalogue())
    if (EqualsNoCase(row.name, hand)) return row.name;
  return {};
}

// Files written before sections took their short names: each long-named section moves under its
// short name, the short one's values winning where both hold a key.
void ShortenSectionNames(IniDocument& doc) {
  for (const SectionSpec& row : Catalogue()) {
    const std::string longName = KeyPath(kBasePath, kAppName, row.name);
    if (doc.HasSection(longName)) doc.MergeSection(longName, row.name);
  }
}

constexpr int kRootCount = 4;
int RootIndex(int root) { return root >= 0 && root < kRootCount ? root : kRootCount - 1; }

}  // namespace

// One parsed document per root file, with the identity of the version it was read from.
struct SettingsStore::Snapshots {
  struct One {
    bool valid = false;
    IniFileText::Identity identity;
    IniDocument doc;
  };
  std::mutex mutex;
  std::array<One, kRootCount> files;
  size_t reads = 0;
};

SettingsStore::SettingsStore(fs::path dir) : dir_(std::move(dir)), snapshots_(std::make_unique<Snapshots>()) {}
SettingsStore::~SettingsStore() = default;
SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;

fs::path SettingsStore::DefaultDirectory() {
  return files::ProgramSettingsFolder();
}

fs::path SettingsStore::FileFor(int root) const { return dir_.empty() ? fs::path() : dir_ / FileNameOf(root); }

fs::path SettingsStore::LockFileFor(int root) const {
  fs::path lock = FileFor(root);
  if (!lock.empty()) lock += ".lock";
  return lock;
}

size_t SettingsStore::FileReads() const {
  std::lock_guard<std::mutex> lock(snapshots_->mutex);
  return snapshots_->reads;
}

bool SettingsStore::Override(std::string_view section, std::string_view name, std::string_view value) {
  const Write w{0, KeyPath(kBasePath, kAppName, section), std::string(name), Trim(value)};
  if (!Storable(w)) return false;
  overrides_[OverrideKey(w.keyPath, w.name)] = w.value;
  return true;
}

std::optional<std::string> SettingsStore::Lookup(int root, std::string_view keyPath,
                                                 std::string_view name) const {
  if (root == 0 && !overrides_.empty()) {
    if (const auto o = overrides_.find(OverrideKey(keyPath, name)); o != overrides_.end()) return o->second;
  }
  if (dir_.empty()) return std::nullopt;
  const fs::path file = FileFor(root);
  std::lock_guard<std::mutex> lock(snapshots_->mutex);
  Snapshots::One& snap = snapshots_->files[static_cast<size_t>(RootIndex(root))];
  // One stat per getter; the file is read again only when it is another version.
  if (!snap.valid || files::IdentityOf(file) != snap.identity) {
    IniFileText text = ReadIniFileText(file);
    snap.doc = IniDocument::Parse(text.text);
    snap.identity = text.identity;
    snap.valid = true;
    ++snapshots_->reads;
  }
  // A section written by hand under its plain name ("[General]") comes first.
  const std::string_view hand = HandSection(keyPath);
  auto value = hand.empty() ? std::nullopt : snap.doc.Get(hand, name);
  if (!value) value = snap.doc.Get(keyPath, name);
  // Longer than anything we write: a hand-edited value, read as missing.
  if (!value || value->size() > kMaxValueBytes) return std::nullopt;
  // A stray carriage return (a file saved with odd line ends) is not part of any value.
  std::string out;
  for (char c : *value)
    if (c != '\r') out += c;
  return out;
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
  lastError_.clear();
  for (const Write& w : writes) {
    if (!Storable(w)) {
      lastError_ = "the value of " + w.name + " cannot be stored";
      return false;
    }
  }
  if (writes.empty()) return true;
  if (dir_.empty()) {
    lastError_ = "there is no home directory to keep the settings in";
    return false;
  }
  std::error_code ec;
  files::CreateFolders(dir_, ec);
  if (ec) {
    lastError_ = "cannot create " + files::Utf8Of(dir_) + ": " + ec.message();
    return false;
  }
  std::map<std::string_view, std::vector<const Write*>> byFile;
  for (const Write& w : writes) byFile[FileNameOf(w.root)].push_back(&w);
  bool ok = true;
  for (const auto& entry : byFile) {
    const std::vector<const Write*>& group = entry.second;
    const fs::path file = dir_ / entry.first;
    const fs::path lock = LockFileFor(entry.second.front()->root);
    std::string why;
    const bool written = UpdateIniFile(
        file, lock, 0600,
        [&group](IniDocument& doc) {
          ShortenSectionNames(doc);
          for (const Write* w : group) {
            // A described section under its short name; any other into the hand-written section
            // when there is one, where reads look first.
            const std::string_view hand = HandSection(w->keyPath);
            std::string_view section = ShortSection(w->keyPath);
            if (section.empty()) section = !hand.empty() && doc.HasSection(hand) ? hand : w->keyPath;
            if (!doc.Set(section, w->name, w->value)) return false;
          }
          return true;
        },
        &why);
    if (!written && lastError_.empty()) lastError_ = why;
    ok = written && ok;
  }
  return ok;
}

}  // namespace qsrn
