// The settings store: INI text under $XDG_CONFIG_HOME/quasarine/ (default ~/.config/quasarine/),
// one section per key path, value names matched without regard to case. A section the catalogue
// describes is written under its short name ("[Fireworks]"); one written under its full key path
// ("SOFTWARE\Quasarine\QSRN_SS\Fireworks") still reads, and the next write moves it under the
// short name. Writes are atomic (temp file, fsync, rename) and merged under a lock, so two
// processes writing at once lose neither's values.
//
// Reads go through a snapshot: each file is read and parsed once and answers every getter until
// it changes on disk (or we write it), so loading an effect's 150 keys reads the file once.
// Overrides (--set) lie over the snapshot in memory for one run and are never written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qsrn {

inline constexpr std::string_view kAppName = "QSRN_SS";
inline constexpr std::string_view kBasePath = "SOFTWARE\\Quasarine\\";

class SettingsStore {
 public:
  // The longest value stored and read back whole. The older registry layer read through a
  // 128-byte buffer, so a longer value written successfully (a sound file's path) was lost on
  // reading; here every value up to this length reads whole, and a longer one is refused on
  // writing (RegSetString returns false) and reads as missing when a hand-edited file holds it.
  static constexpr size_t kMaxValueBytes = 4096;

  // A store kept in directory dir (created on first write). An empty dir is a store with no
  // home: every read gives the default and every write fails.
  explicit SettingsStore(std::filesystem::path dir);
  ~SettingsStore();
  SettingsStore(SettingsStore&&) noexcept;
  SettingsStore& operator=(SettingsStore&&) noexcept;
  // $XDG_CONFIG_HOME/quasarine, or ~/.config/quasarine; empty when the user has no home
  // directory at all (no $HOME and no passwd entry): we never guess one.
  static std::filesystem::path DefaultDirectory();

  // Root selector: 0 machine-wide settings, 1 the user's, 2 classes, others "users"; each its own file.
  bool RegSetString(std::string_view app, std::string_view section, std::string_view name,
                    std::string_view value, int root = 0, std::string_view basePath = kBasePath);
  std::string RegGetString(int root, std::string_view app, std::string_view section,
                           std::string_view name, std::string_view def,
                           std::string_view basePath = kBasePath) const;

  int16_t GetSettingInt(std::string_view app, std::string_view section, std::string_view name,
                        int16_t def, int root = 0) const;
  int32_t GetSettingLong(std::string_view app, std::string_view section, std::string_view name,
                         int32_t def, int root = 0) const;
  float GetSettingSingle(std::string_view app, std::string_view section, std::string_view name,
                         float def, int root = 0) const;
  std::string GetSettingString(std::string_view app, std::string_view section,
                               std::string_view name, std::string_view def, int root = 0) const;

  // A value outside the application's tree; "" when missing.
  std::string ReadSystemValue(int root, std::string_view subKey, std::string_view name) const;

  // Several writes committed as one (the dialog's Accept): collect, then Commit once.
  struct Write {
    int root;
    std::string keyPath;  // full key path, base path included
    std::string name;
    std::string value;
  };
  class Batch {
   public:
    explicit Batch(SettingsStore& store) : store_(store) {}
    // A value under QSRN_SS\section in root 0, trimmed like RegSetString's.
    void Set(std::string_view section, std::string_view name, std::string_view value);
    bool Commit();
   private:
    SettingsStore& store_;
    std::vector<Write> writes_;
  };
  // All or nothing: false, with nothing written, when any write cannot be stored (a value longer
  // than kMaxValueBytes, a line break in a name or value); otherwise each file is updated under
  // its lock from a fresh read, so values another process wrote meanwhile are kept.
  bool CommitWrites(const std::vector<Write>& writes);

  // Why the last write failed, for a message to the user ("" after a success).
  const std::string& LastError() const { return lastError_; }

  // A value that reads in place of the stored one (section of QSRN_SS, root 0), for this object's
  // life only; the files are never touched. False when it could never be stored either.
  bool Override(std::string_view section, std::string_view name, std::string_view value);

  // How many times a file has been read and parsed (to keep loads at one read).
  size_t FileReads() const;

  const std::filesystem::path& Directory() const { return dir_; }
  // The file that holds the values of a root selector, and the lock every writer of it takes.
  std::filesystem::path FileFor(int root) const;
  std::filesystem::path LockFileFor(int root) const;

 private:
  std::optional<std::string> Lookup(int root, std::string_view keyPath, std::string_view name) const;
  std::optional<double> LookupNumber(int root, std::string_view app, std::string_view section,
                                     std::string_view name) const;

  struct Snapshots;
  std::filesystem::path dir_;
  std::unique_ptr<Snapshots> snapshots_;
  std::map<std::string, std::string> overrides_;  // key "section\name" in lower case
  std::string lastError_;
};

}  // namespace qsrn
