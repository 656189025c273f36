// quasarine PATH.qsn as a black box: a path that is no template must not wipe the person's
// settings; the program says why on stderr and exits with status 1.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/store.h"

namespace qsrn {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(TemplateArgument, ATypoChangesNothingAndExitsWithStatusOne) {
  std::string pattern = (fs::temp_directory_path() / "qsrn-typo-XXXXXX").string();
  const fs::path dir = ::mkdtemp(pattern.data());
  SettingsStore store(dir / "quasarine");
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireSparks", "77"));
  const std::string before = Slurp(store.FileFor(0));
  const fs::path err = dir / "err.txt";
  const std::string typo = (dir / "typo.qsn").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::freopen(err.c_str(), "w", stderr)) ::_exit(120);
    ::execl(QSRN_PROGRAM, QSRN_PROGRAM, typo.c_str(), static_cast<char*>(nullptr));
    ::_exit(121);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(Slurp(err).find(typo), std::string::npos) << Slurp(err);
  EXPECT_EQ(Slurp(store.FileFor(0)), before);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace qsrn
