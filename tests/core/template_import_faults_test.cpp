// Template import under faults: a file that is not a template changes nothing, stray carriage
// returns never fail an import, and one-key copies into a template from two processes at once
// lose nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "settings/store.h"
#include "settings/templates.h"
#include "temp_dir.h"

namespace qsrn {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class TemplateFaults : public ::testing::Test {
 protected:
  TempDir dir;
  SettingsStore store{dir / "store"};
  std::string Stored(std::string_view section, std::string_view key) {
    return store.RegGetString(0, kAppName, section, key, "<none>");
  }
};

TEST_F(TemplateFaults, AFileThatIsNoTemplateLeavesTheStoreByteIdentical) {
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireSparks", "77"));
  const std::string before = ReadFile(store.FileFor(0));
  WriteFile(dir / "binary.qsn", std::string("[Fireworks]\nFireSparks=1\n\0\x01\x02", 27));
  WriteFile(dir / "foreign.qsn", "[Desktop Entry]\nName=x\n");
  ASSERT_EQ(::mkfifo((dir / "pipe.qsn").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.qsn");
  for (const char* name : {"typo.qsn", "binary.qsn", "foreign.qsn", "pipe.qsn", "folder.qsn"}) {
    std::string error;
    EXPECT_FALSE(ImportTemplate(store, dir / name, &error)) << name;
    EXPECT_NE(error.find(name), std::string::npos) << error;
    EXPECT_EQ(ReadFile(store.FileFor(0)), before) << name;
  }
}

TEST_F(TemplateFaults, LineEndCharactersNeverReachAValue) {
  WriteFile(dir / "cr.qsn", "[General]\r\r\nLockMessage=Hello\rthere\r\r\nColorRed=50\r\r\n[Fireworks]\nFireSparks=321\r\r\n");
  std::string error;
  ASSERT_TRUE(ImportTemplate(store, dir / "cr.qsn", &error)) << error;
  EXPECT_EQ(Stored("General", "LockMessage"), "Hellothere");
  EXPECT_EQ(Stored("General", "ColorRed"), "50");
  EXPECT_EQ(Stored("Fireworks", "FireSparks"), "321");
  // A readable template lacking keys still gives them their factory values.
  EXPECT_EQ(Stored("Starfield", "Star_Stars"), "120");
}

TEST_F(TemplateFaults, ConcurrentOneKeyCopiesIntoATemplateLoseNothing) {
  const auto file = dir / "shared.qsn";
  SettingsStore::Batch batch(store);
  for (int k = 100; k < 160; ++k) batch.Set("Advanced", std::to_string(k), std::to_string(k));
  ASSERT_TRUE(batch.Commit());
  pid_t kids[2];
  for (int w = 0; w < 2; ++w) {
    if ((kids[w] = ::fork()) != 0) continue;
    SettingsStore mine(dir / "store");  // two programs of one user: one store, one lock
    bool ok = true;
    for (int k = 100 + w; k < 160; k += 2) ok = CopyStoreValueToTemplate(mine, file, "Advanced", std::to_string(k), "x") && ok;
    ::_exit(ok ? 0 : 1);
  }
  for (pid_t kid : kids) {
    int status = 0;
    EXPECT_TRUE(::waitpid(kid, &status, 0) == kid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int k = 100; k < 160; ++k) EXPECT_EQ(IniGetString(file, "Advanced", std::to_string(k), "lost"), std::to_string(k));
}

}  // namespace
}  // namespace qsrn
