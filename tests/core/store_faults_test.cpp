// The store under the faults people and host programs hit: a lock held by a stopped process,
// temporaries of killed writers, root writing a user's store, no home at all, a load reading the
// file once, --set overrides kept in memory, a section written by hand under its plain name, and
// numbers far outside a double's range.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <string>

#include "settings/catalogue.h"
#include "settings/numeric.h"
#include "settings/store.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(StoreFaults, AWriterGivesUpOnALockHeldByAStoppedProcess) {
  TempDir dir;
  SettingsStore store(dir.path());
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    const int fd = ::open(store.LockFileFor(0).c_str(), O_RDWR);
    ::flock(fd, LOCK_EX);
    ::write(ready[1], "x", 1);
    ::raise(SIGSTOP);  // Ctrl-Z while holding the lock
    ::_exit(0);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorRed", "2"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_NE(store.LastError().find("lock"), std::string::npos) << store.LastError();
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "3"));
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 0), 3);
}

TEST(StoreFaults, TemporariesOfKilledWritersAreRemovedOnTheNextWrite) {
  TempDir dir;
  SettingsStore store(dir.path());
  for (const char* stale : {".settings.ini.a1B2c3", ".settings.ini.zzzzzz"}) WriteFile(dir / stale, "half");
  WriteFile(dir / ".settings.ini.notes", "kept");  // not our pattern
  WriteFile(dir / ".user.ini.a1B2c3", "kept");     // another file's, under another lock
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  EXPECT_FALSE(std::filesystem::exists(dir / ".settings.ini.a1B2c3"));
  EXPECT_FALSE(std::filesystem::exists(dir / ".settings.ini.zzzzzz"));
  EXPECT_TRUE(std::filesystem::exists(dir / ".settings.ini.notes"));
  EXPECT_TRUE(std::filesystem::exists(dir / ".user.ini.a1B2c3"));
}

TEST(StoreFaults, RootWritingAUsersStoreKeepsOwnerAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  TempDir dir;
  const uid_t user = 65534;
  const gid_t group = 65534;
  SettingsStore store(dir / "cfg");
  std::filesystem::create_directory(dir / "cfg");
  ASSERT_EQ(::chown((dir / "cfg").c_str(), user, group), 0);
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "1"));  // a new file: the user's
  struct stat st {};
  ASSERT_EQ(::stat(store.FileFor(0).c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, user);
  ASSERT_EQ(::stat(store.LockFileFor(0).c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, user);
  ASSERT_EQ(::chmod(store.FileFor(0).c_str(), 0640), 0);
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "2"));  // a replaced file
  ASSERT_EQ(::stat(store.FileFor(0).c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, user);
  EXPECT_EQ(st.st_gid, group);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(StoreFaults, AStoreWithoutAHomeReadsDefaultsAndRefusesWrites) {
  SettingsStore store{std::filesystem::path()};
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 100), 100);
  EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  EXPECT_FALSE(store.LastError().empty());
  EXPECT_FALSE(std::filesystem::exists("settings.ini"));
}

TEST(StoreFaults, AHundredAndFiftyGettersReadTheFileOnce) {
  TempDir dir;
  SettingsStore store(dir.path());
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
  EXPECT_EQ(reader.GetSettingInt(kAppName, "Starfield", "Star_Speed", 0), 0);
  EXPECT_EQ(reader.FileReads(), 2u);
}

TEST(StoreFaults, OverridesLieOverTheStoreInMemoryOnly) {
  TempDir dir;
  SettingsStore store(dir / "cfg");
  ASSERT_TRUE(store.Override("starfield", "STAR_STARS", "999"));
  EXPECT_FALSE(store.Override("Starfield", "Star_Stars", "two\nlines"));
  EXPECT_EQ(store.GetSettingInt(kAppName, "Starfield", "Star_Stars", 0), 999);
  EXPECT_FALSE(std::filesystem::exists(dir / "cfg"));
}

TEST(StoreFaults, ASectionWrittenByHandIsReadAndKeptUpToDate) {
  TempDir dir;
  SettingsStore store(dir.path());
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "10"));
  std::string text = ReadFile(store.FileFor(0));
  WriteFile(store.FileFor(0), text + "\n[general]\nColorRed=50\n");
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 0), 50);
  EXPECT_EQ(store.GetSettingInt(kAppName, "Starfield", "Star_Stars", 7), 7);
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "70"));
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorGrn", "80"));
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 0), 70);
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorGrn", 0), 80);
  EXPECT_NE(ReadFile(store.FileFor(0)).find("[general]\nColorRed=70\nColorGrn=80\n"), std::string::npos);
}

TEST(NumberText, OutOfRangeIsDecidedFromTheValue) {
  const std::string zeros(400, '0');
  EXPECT_EQ(Val("0." + zeros + "1"), 0.0);
  EXPECT_EQ(Val("1" + zeros + "e-1"), HUGE_VAL);
  EXPECT_EQ(Val("-1" + zeros), -HUGE_VAL);
  EXPECT_EQ(Val("1e-999"), 0.0);
  EXPECT_EQ(Val("0.0001e999"), HUGE_VAL);
}

}  // namespace
}  // namespace qsrn
