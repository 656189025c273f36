// The store under the faults people and host programs hit: a lock held by a stopped process,
// temporaries of killed writers, root writing a user's store, no home at all, a load reading the
// file once, --set overrides kept in memory, a section written by hand under its plain name, and
// numbers far outside a double's range.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
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

TEST(StoreFaults, AWriterGivesUpOnALockHeldElsewhereAndCleansUpAfterKilledWriters) {
  TempDir dir;
  SettingsStore store(dir.path());
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  {
    // A second open file description conflicts like another (stopped) process would.
    const int held = ::open(store.LockFileFor(0).c_str(), O_RDWR);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorRed", "2"));
    EXPECT_NE(store.LastError().find("lock"), std::string::npos) << store.LastError();
    ::close(held);
  }
  for (const char* name : {".settings.ini.a1B2c3", ".settings.ini.notes", ".user.ini.a1B2c3"}) WriteFile(dir / name, "x");
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "3"));
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 0), 3);
  EXPECT_FALSE(std::filesystem::exists(dir / ".settings.ini.a1B2c3"));  // a killed writer's
  EXPECT_TRUE(std::filesystem::exists(dir / ".settings.ini.notes"));    // not our pattern
  EXPECT_TRUE(std::filesystem::exists(dir / ".user.ini.a1B2c3"));       // another file's, another lock
}

TEST(StoreFaults, RootWritingAUsersStoreKeepsOwnerAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  TempDir dir;
  SettingsStore store(dir.path());
  ASSERT_EQ(::chown(dir.path().c_str(), 65534, 65534), 0);
  for (const char* value : {"1", "2"}) {  // a new file, then a replaced one
    ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", value));
    ::chmod(store.FileFor(0).c_str(), 0640);
    struct stat file {}, lock {};
    ASSERT_EQ(::stat(store.FileFor(0).c_str(), &file) | ::stat(store.LockFileFor(0).c_str(), &lock), 0);
    EXPECT_EQ(file.st_uid + lock.st_uid, 2u * 65534);
    EXPECT_EQ(file.st_mode & 07777, 0640u);
  }
}

TEST(StoreFaults, WithoutAHomeDefaultsAreReadWritesRefusedAndOverridesKeptInMemory) {
  SettingsStore store{std::filesystem::path()};
  ASSERT_TRUE(store.Override("starfield", "STAR_STARS", "999"));
  EXPECT_FALSE(store.Override("Starfield", "Star_Stars", "two\nlines"));
  EXPECT_EQ(store.GetSettingInt(kAppName, "Starfield", "Star_Stars", 0), 999);
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 100), 100);
  EXPECT_FALSE(store.RegSetString(kAppName, "General", "ColorRed", "1"));
  EXPECT_FALSE(store.LastError().empty());
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
  EXPECT_EQ(reader.FileReads(), 2u);
}

TEST(StoreFaults, ASectionWrittenByHandIsReadAndKeptUpToDate) {
  TempDir dir;
  SettingsStore store(dir.path());
  WriteFile(store.FileFor(0), "[SOFTWARE\\Quasarine\\QSRN_SS\\General]\nColorRed=10\n\n[general]\nColorRed=50\n");
  EXPECT_EQ(store.GetSettingInt(kAppName, "General", "ColorRed", 0), 50);
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorRed", "70"));
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "ColorGrn", "80"));
  EXPECT_NE(ReadFile(store.FileFor(0)).find("[general]\nColorRed=70\nColorGrn=80\n"), std::string::npos);
}

TEST(NumberText, OutOfRangeIsDecidedFromTheValue) {
  const std::string zeros(400, '0');
  EXPECT_EQ(Val("0." + zeros + "1"), 0.0);
  EXPECT_EQ(Val("1" + zeros + "e-1"), HUGE_VAL);
  EXPECT_EQ(Val("-1" + zeros), -HUGE_VAL);
  EXPECT_EQ(Val("0.0001e999"), HUGE_VAL);
}

}  // namespace
}  // namespace qsrn
