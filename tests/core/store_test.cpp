// The settings store: names in any case, typed getters, long values, atomic and merged writes
// from real processes, and the faults people and host programs hit.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <string>

#include "child_process.h"
#include "settings/catalogue.h"
#include "settings/file_system.h"
#include "settings/ini_file.h"
#include "settings/store.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

using test::Child;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string Get(const SettingsStore& s, std::string_view section, std::string_view name) {
  return s.RegGetString(0, kAppName, section, name, "<def>");
}

class Store : public ::testing::Test {
 protected:
  TempDir dir;
  SettingsStore store{dir.path()};
};
class StoreFaults : public Store {};

// A second program reading the store (args: its folder) sees the pair a, b always equal.
QSRN_CHILD(ReadsWholeVersions) {
  const SettingsStore store{files::PathFromUtf8(args[0])};
  bool whole = true;
  for (int i = 0; i < 300; ++i) {
    const IniDocument snapshot = ReadIniFile(store.FileFor(0));
    whole = whole && snapshot.Get("General", "a") == snapshot.Get("General", "b").value_or("0");
  }
  return whole;
}

// A second program writing values of its own (args: the folder, their prefix).
QSRN_CHILD(WritesItsValues) {
  SettingsStore store{files::PathFromUtf8(args[0])};
  bool ok = true;
  for (int i = 0; i < 60; ++i)
    ok = store.RegSetString(kAppName, i % 2 ? "Galaxy" : "Fireworks", args[1] + std::to_string(i), std::to_string(i)) && ok;
  return ok;
}

// Writes versions of the pair a, b with 200 kB between them until it is killed.
QSRN_CHILD(WritesUntilKilled) {
  SettingsStore store{files::PathFromUtf8(args[0])};
  for (int i = 1;; ++i) {
    SettingsStore::Batch batch(store);
    batch.Set("General", "a", std::to_string(i));
    for (int k = 0; k < 50; ++k) batch.Set("Padding", std::to_string(k), std::string(4000, 'p'));
    batch.Set("General", "b", std::to_string(i));
    batch.Commit();
  }
}

}  // namespace

TEST_F(Store, WritesCreateTheSectionTrimTheValueAndIgnoreCase) {
  SettingsStore store(dir / "cfg");  // the directory does not exist yet
  SettingsStore::Batch bad(store);    // one value no line can hold spoils the whole batch
  bad.Set("General", "ColorRed", "1");
  bad.Set("General", "LockMessage", "two\nlines");
  EXPECT_FALSE(bad.Commit());
  EXPECT_FALSE(std::filesystem::exists(store.FileFor(0)));
  ASSERT_TRUE(store.RegSetString(kAppName, "Galaxy", "Galaxy_CometCPersist", "  0.998  "));
  EXPECT_EQ(ReadFile(store.FileFor(0)), "[Galaxy]\nGalaxy_CometCPersist=0.998\n");
  EXPECT_EQ(Get(store, "GALAXY", "galaxy_cometcpersist"), "0.998");
  EXPECT_FLOAT_EQ(store.GetSettingSingle(kAppName, "galaxy", "Galaxy_CometcPersist", 0), 0.998f);
  // Writing under another spelling replaces the one value rather than adding a second.
  ASSERT_TRUE(store.RegSetString("qsrn_ss", "galaxy", "GALAXY_COMETCPERSIST", "0.5"));
  EXPECT_EQ(ReadFile(store.FileFor(0)), "[Galaxy]\nGalaxy_CometCPersist=0.5\n");
  // A section the catalogue does not describe keeps its full key path.
  ASSERT_TRUE(store.RegSetString(kAppName, "Extra", "x", "1"));
  EXPECT_NE(ReadFile(store.FileFor(0)).find("[SOFTWARE\\Quasarine\\QSRN_SS\\Extra]\nx=1\n"), std::string::npos);
}

TEST_F(Store, TypedGettersGiveTheDefaultForNonNumbersAndZeroWhenTooBig) {
  SettingsStore::Batch batch(store);
  for (auto [name, value] : {std::pair{"abc", "abc"}, {"big", "40000"}, {"half", "2.5"}, {"halfUp", "3.5"},
                             {"blank", " 17 "}, {"exp", "1E3"}, {"huge", "1e39"}, {"empty", ""},
                             {"longBig", "3000000000"}, {"neg", "-32768"}})
    batch.Set("General", name, value);
  ASSERT_TRUE(batch.Commit());
  for (auto [name, want] : {std::pair{"abc", 7}, {"big", 0}, {"half", 2}, {"halfUp", 4}, {"blank", 17},
                            {"exp", 1000}, {"empty", 7}, {"neg", -32768}})
    EXPECT_EQ(store.GetSettingInt(kAppName, "General", name, 7), want) << name;
  EXPECT_EQ(store.GetSettingLong(kAppName, "General", "big", 7), 40000);
  EXPECT_EQ(store.GetSettingLong(kAppName, "General", "longBig", 7), 0);
  EXPECT_EQ(store.GetSettingSingle(kAppName, "General", "huge", 7), 0.0f);
  EXPECT_EQ(store.GetSettingSingle(kAppName, "General", "half", 7), 2.5f);
  EXPECT_EQ(store.GetSettingLong(kAppName, "Nowhere", "abc", 8), 8);  // a missing section
  EXPECT_EQ(store.GetSettingSingle(kAppName, "Nowhere", "abc", 0.5f), 0.5f);
}

TEST_F(Store, LongValuesReadWholeUpToTheLimitAndLongerOnesAreRefused) {
  const std::string atLimit(SettingsStore::kMaxValueBytes, 'x');
  ASSERT_TRUE(store.RegSetString(kAppName, "SoundFX", "Fire_Launch", atLimit));
  EXPECT_EQ(Get(store, "SoundFX", "Fire_Launch"), atLimit);
  // One byte more cannot be read back whole, so it is not written at all.
  const std::string before = ReadFile(store.FileFor(0));
  EXPECT_FALSE(store.RegSetString(kAppName, "SoundFX", "Fire_Launch", atLimit + "y"));
  EXPECT_EQ(ReadFile(store.FileFor(0)), before);
  // A hand-edited value beyond the limit reads as missing.
  WriteFile(store.FileFor(0), "[SOFTWARE\\Quasarine\\QSRN_SS\\SoundFX]\nFire_Launch=" + atLimit + "zz\n");
  EXPECT_EQ(Get(store, "SoundFX", "Fire_Launch"), "<def>");
}

// A section written by hand under its plain name wins over the long one and takes its values.
TEST_F(Store, LongSectionNamesAreRewrittenShortLosingNothing) {
  WriteFile(store.FileFor(0),
            "; my notes\n[SOFTWARE\\Quasarine\\QSRN_SS\\General]\nColorRed=50\n; mine\nColorGrn=60\n\n"
            "[SOFTWARE\\Quasarine\\QSRN_SS\\Fireworks]\nFireSparks=7\n\n[general]\nColorGrn=61\nnot a setting\n");
  EXPECT_EQ(Get(store, "General", "ColorRed"), "50");
  EXPECT_EQ(Get(store, "General", "ColorGrn"), "61");  // the short section wins
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Stars", "9"));
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "70"));
  EXPECT_EQ(ReadFile(store.FileFor(0)),
            "; my notes\n[Fireworks]\nFireSparks=7\n\n[general]\nColorGrn=61\nColorRed=70\n; mine\nnot a setting\n\n"
            "[Starfield]\nStar_Stars=9\n");
  EXPECT_EQ(Get(store, "Fireworks", "FireSparks"), "7");
  // A header on a first line after a byte-order mark is renamed behind the mark and still read.
  WriteFile(store.FileFor(0), "\xEF\xBB\xBF[SOFTWARE\\Quasarine\\QSRN_SS\\General]\nColorRed=50\n");
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorGrn", "60"));
  EXPECT_EQ(ReadFile(store.FileFor(0)), "\xEF\xBB\xBF[General]\nColorRed=50\nColorGrn=60\n");
  EXPECT_EQ(Get(store, "General", "ColorRed"), "50");
}

// Writers in three processes at once lose none of each other's values; a reader in a fourth sees
// the old pair or the new pair, never half a file; what is left is the file, private to its user,
// and its lock.
TEST_F(Store, WritesAreAtomicMergedAcrossProcessesAndLeaveNoTemporaryFiles) {
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "a", "0"));
  const std::string folder = files::Utf8Of(dir.path());
  Child reader("ReadsWholeVersions", {folder});
  Child first("WritesItsValues", {folder, "first"}), second("WritesItsValues", {folder, "second"});
  for (int i = 1; i <= 100; ++i) {
    SettingsStore::Batch batch(store);
    batch.Set("General", "a", std::to_string(i));
    batch.Set("General", "padding", std::string(static_cast<size_t>(i) * 37, 'p'));
    batch.Set("General", "b", std::to_string(i));
    ASSERT_TRUE(batch.Commit());
  }
  EXPECT_TRUE(reader.Succeeded());
  EXPECT_TRUE(first.Succeeded());
  EXPECT_TRUE(second.Succeeded());
  for (const char* prefix : {"first", "second"})
    for (int i = 0; i < 60; ++i)
      EXPECT_EQ(Get(store, i % 2 ? "Galaxy" : "Fireworks", prefix + std::to_string(i)), std::to_string(i)) << prefix << i;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_TRUE(entry.path().filename() == "settings.ini" || entry.path().filename() == "settings.ini.lock") << entry;
#ifndef _WIN32  // Windows keeps no modes: the file takes its folder's access rules
  struct stat st {};
  ASSERT_EQ(::stat(store.FileFor(0).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
#endif
}

// A writer killed at any moment leaves one whole version, and the next write succeeds and leaves
// no temporary file behind.
TEST_F(StoreFaults, AWriterKilledMidwayLosesNothingStored) {
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Stars", "300"));
  for (int round = 0; round < 3; ++round) {
    Child writer("WritesUntilKilled", {files::Utf8Of(dir.path())});
    // Killed after a few whole versions, at whatever it is doing then.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (store.GetSettingInt(kAppName, "General", "a", 0) < 2 + round) ASSERT_LT(std::chrono::steady_clock::now(), giveUp);
    writer.Kill();
    writer.Succeeded();
    const IniDocument left = ReadIniFile(store.FileFor(0));
    EXPECT_EQ(left.Get("General", "a"), left.Get("General", "b"));
    EXPECT_EQ(left.Get("Starfield", "Star_Stars"), "300");
  }
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "3"));
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_TRUE(entry.path().filename() == "settings.ini" || entry.path().filename() == "settings.ini.lock") << entry;
}

TEST_F(Store, BrokenFilesReadAsDefaultsAndNeverHang) {
  const std::filesystem::path file = store.FileFor(0);
  for (const std::string& text :
       {std::string(), std::string("[SOFTWARE\\Quasarine\\QSRN_SS\\Gen"), std::string("\0\x01\xfe\xff\n\n[\0", 8),
        std::string("[SOFTWARE\\Quasarine\\QSRN_SS\\General]\nColorRed=4")}) {
    WriteFile(file, text);
    EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorGrn", 100), 100);
  }
  // The truncated last line still holds a readable value.
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 100), 4);
#ifndef _WIN32  // Windows puts no pipe among files
  // A FIFO in the file's place is not a file: defaults, at once.
  std::filesystem::remove(file);
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 100), 100);
  // What cannot be read is not replaced either.
  EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  EXPECT_FALSE(std::filesystem::is_regular_file(file));
#endif
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  // A store whose directory is a plain file, or that has no home at all, fails the write; without
  // a home, --set overrides live in memory.
  WriteFile(dir / "plain", "x");
  EXPECT_FALSE(SettingsStore(dir / "plain").RegSetString(kAppName, "General", "ColorRed", "1"));
  SettingsStore homeless{std::filesystem::path()};
  ASSERT_TRUE(homeless.Override("starfield", "STAR_STARS", "999"));
  EXPECT_EQ(homeless.GetSettingInt(kAppName, "Starfield", "Star_Stars", 0), 999);
  EXPECT_FALSE(homeless.RegSetString(kAppName, "General", "ColorRed", "1"));
  // A hundred megabytes are read in part, up to the last whole line within the limit (a value cut
  // there is not read in half), and never overwritten.
  std::filesystem::remove(file);
  std::string big = "[General]\nColorRed=42\n";
  big += std::string(kMaxIniFileBytes - big.size() - 11, ';') + "\nColorGrn=98765\n";
  WriteFile(file, big);
  std::filesystem::resize_file(file, 100u << 20);  // the rest is zero bytes
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 100), 42);
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorGrn", 100), 100);
  EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorGrn", "1"));
  EXPECT_EQ(std::filesystem::file_size(file), 100u << 20);
}

#ifdef _WIN32
TEST_F(Store, DefaultDirectoryIsQuasarineInTheRoamingApplicationData) {
  const std::filesystem::path folder = SettingsStore::DefaultDirectory();
  EXPECT_EQ(folder.filename(), "Quasarine");
  EXPECT_TRUE(std::filesystem::is_directory(folder.parent_path())) << folder;
}

#else
TEST_F(Store, DefaultDirectoryFollowsXdgConfigHome) {
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string keep = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", "/tmp/somewhere", 1);
  EXPECT_EQ(SettingsStore::DefaultDirectory(), "/tmp/somewhere/quasarine");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // invalid: ignored
  EXPECT_EQ(SettingsStore::DefaultDirectory().filename(), "quasarine");
  EXPECT_EQ(SettingsStore::DefaultDirectory().parent_path().filename(), ".config");
  if (saved) ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
}
#endif

// Names outside the ANSI code page: Windows' narrow calls would lose them.
TEST_F(Store, AStoreUnderAnyNameRoundTrips) {
  const std::filesystem::path where = dir.path() / files::PathFromUtf8("Ünïcødé ☆");
  SettingsStore named(where);
  ASSERT_TRUE(named.RegSetString(kAppName, "General", "LockMessage", "☆ night")) << named.LastError();
  EXPECT_EQ(SettingsStore(where).GetSettingString(kAppName, "General", "LockMessage", ""), "☆ night");
}

TEST_F(StoreFaults, AWriterGivesUpOnALockHeldElsewhereAndCleansUpAfterKilledWriters) {
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  {  // another program (a stopped one) holding the lock
    files::FileLock held;
    std::string why;
    ASSERT_TRUE(held.Take(store.LockFileFor(0), std::chrono::milliseconds(0), why)) << why;
    EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorRed", "2"));
    EXPECT_NE(store.LastError().find("lock"), std::string::npos) << store.LastError();
  }
  for (const char* name : {".settings.ini.a1B2c3", ".settings.ini.notes", ".user.ini.a1B2c3"}) WriteFile(dir / name, "x");
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "3"));
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 0), 3);
  EXPECT_FALSE(std::filesystem::exists(dir / ".settings.ini.a1B2c3"));  // a killed writer's
  EXPECT_TRUE(std::filesystem::exists(dir / ".settings.ini.notes"));    // not our pattern
  EXPECT_TRUE(std::filesystem::exists(dir / ".user.ini.a1B2c3"));       // another file's, another lock
}

TEST_F(StoreFaults, RootWritingAUsersStoreKeepsOwnerAndMode) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no root, and no owners or modes for a writer to keep";
#else
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  ASSERT_EQ(::chown(dir.path().c_str(), 65534, 65534), 0);
  for (const char* value : {"1", "2"}) {  // a new file, then a replaced one
    ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", value));
    ::chmod(store.FileFor(0).c_str(), 0640);
    struct stat file {}, lock {};
    ASSERT_EQ(::stat(store.FileFor(0).c_str(), &file) | ::stat(store.LockFileFor(0).c_str(), &lock), 0);
    EXPECT_EQ(file.st_uid + lock.st_uid, 2u * 65534);
    EXPECT_EQ(file.st_mode & 07777, 0640u);
  }
  // Folders root creates for the store are the user's too.
  SettingsStore fresh(dir / "config" / "quasarine");
  ASSERT_TRUE(fresh.RegSetString(kAppName, "General", "ColorRed", "1"));
  struct stat folder {};
  ASSERT_EQ(::stat(fresh.Directory().c_str(), &folder), 0);
  EXPECT_EQ(folder.st_uid, 65534u);
#endif
}

// Root writing a user's store follows none of the user's links and leaves files of others alone.
TEST_F(StoreFaults, RootWritingAUsersStoreFollowsNoLinkAndTouchesNoFileOfAnother) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no root, and no owners or modes for a writer to keep";
#else
  if (::geteuid() != 0) GTEST_SKIP() << "root writing a user's store can only be tried as root";
  TempDir root;  // root's own files, which the user points at
  WriteFile(root / "secret", "root only\n");
  WriteFile(root / ".secret.AbC123", "looks temporary");
  ASSERT_EQ(::chown(dir.path().c_str(), 65534, 65534), 0);
  const auto userLink = [](const std::filesystem::path& to, const std::filesystem::path& link) {
    std::filesystem::create_symlink(to, link);
    return ::lchown(link.c_str(), 65534, 65534) == 0;
  };
  const auto refused = [](SettingsStore& s, const std::string& why) {
    EXPECT_FALSE(s.RegSetString(kAppName, "General", "ColorRed", "1"));
    EXPECT_NE(s.LastError().find(why), std::string::npos) << s.LastError();
  };
  ASSERT_TRUE(userLink(root / "secret", store.FileFor(0)));
  refused(store, "symbolic link");
  std::filesystem::remove(store.FileFor(0));
  WriteFile(store.FileFor(0), "[General]\n");  // root's file in the user's folder
  refused(store, store.FileFor(0).string() + " belongs to user 0");  // the message names the file
  std::filesystem::remove(store.FileFor(0));
  std::filesystem::remove(store.LockFileFor(0));
  ASSERT_TRUE(userLink(root / "secret", store.LockFileFor(0)));
  refused(store, store.LockFileFor(0).string() + " is a symbolic link");
  ASSERT_TRUE(userLink(root.path(), dir / "linked"));  // the store's folder itself
  SettingsStore linked(dir / "linked");
  refused(linked, "symbolic link");
  EXPECT_EQ(ReadFile(root / "secret"), "root only\n");
  EXPECT_TRUE(std::filesystem::exists(root / ".secret.AbC123"));
  EXPECT_FALSE(std::filesystem::exists(root / "settings.ini"));
#endif
}

// A store kept elsewhere (a dotfiles repository) through a chain of links keeps every link.
TEST_F(Store, ALinkedStoreKeepsEveryLinkOfItsChain) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need an administrator's right on Windows, and mingw's library makes none";
#else
  TempDir dotfiles;
  WriteFile(dotfiles / "settings.ini", "[General]\nColorRed=1\n");
  std::filesystem::create_symlink(dotfiles / "settings.ini", dir / "middle.ini");
  std::filesystem::create_symlink("middle.ini", store.FileFor(0));
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(store.FileFor(0)));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "middle.ini"));
  EXPECT_EQ(ReadFile(dotfiles / "settings.ini"), "[General]\nColorRed=2\n");
  std::filesystem::create_directory_symlink(dir.path(), dir / "again");  // a linked folder, one's own
  SettingsStore again(dir / "again");
  ASSERT_TRUE(again.RegSetString(kAppName, "General", "ColorRed", "3")) << again.LastError();
  EXPECT_EQ(ReadFile(dotfiles / "settings.ini"), "[General]\nColorRed=3\n");
#endif
}

TEST_F(StoreFaults, AHundredAndFiftyGettersReadTheFileOnce) {
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Stars", "300"));
  SettingsStore reader(dir.path());
  int getters = 0;
  for (const SectionSpec& sec : Catalogue())
    for (const KeySpec& k : sec.keys) getters += reader.GetSettingString(kAppName, sec.name, k.key, "") != "?";
  ASSERT_GE(getters, 150);
  EXPECT_EQ(reader.FileReads(), 1u);
  // Another program's write is a new version: read again, once.
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Stars", "400"));
  EXPECT_EQ(reader.GetSettingInt(kAppName, "Starfield", "Star_Stars", 0), 400);
  EXPECT_EQ(reader.FileReads(), 2u);
  // Each root has its own file and version: reading another root does not evict this one.
  WriteFile(reader.FileFor(1), "[Control Panel\\Desktop]\nScreenSaveUsePassword=1\n");
  EXPECT_EQ(reader.ReadSystemValue(1, "control panel\\desktop", "screensaveusepassword"), "1");
  EXPECT_EQ(reader.ReadSystemValue(0, "Control Panel\\Desktop", "ScreenSaveUsePassword"), "");
  EXPECT_EQ(reader.GetSettingInt(kAppName, "Starfield", "Star_Stars", 0), 400);
  EXPECT_EQ(reader.FileReads(), 3u);
}

}  // namespace qsrn
