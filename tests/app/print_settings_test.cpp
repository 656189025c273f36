// quasarine --print-settings as a black box: the built program, run on a store of our own; and
// the program started with a path that is no template, which must leave that store alone.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "settings/store.h"

namespace qsrn {

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PrintSettings : public ::testing::Test {
 protected:
  PrintSettings() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qsrn-print-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  ~PrintSettings() override { std::filesystem::remove_all(dir_); }

  SettingsStore Store() const { return SettingsStore(dir_ / "quasarine"); }

  Outcome Start(std::vector<std::string> args, bool printSettings = true) const {
    if (printSettings) args.insert(args.begin(), "--print-settings");
    args.insert(args.begin(), QSRN_PROGRAM);
    const auto out = dir_ / "out.txt", err = dir_ / "err.txt";
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
      ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) ::_exit(120);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(121);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
  }

  // The printout as name -> value, and the names in order.
  static std::map<std::string, std::string> Fields(const std::string& out, std::vector<std::string>* order = nullptr) {
    std::map<std::string, std::string> fields;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      fields[line.substr(0, eq)] = line.substr(eq + 1);
      if (order) order->push_back(line.substr(0, eq));
    }
    return fields;
  }

  std::filesystem::path dir_;
};

}  // namespace

TEST_F(PrintSettings, EmptyStorePrintsTheFactoryValues) {
  const Outcome run = Start({});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> order;
  auto f = Fields(run.out, &order);
  EXPECT_EQ(f["Adv_EffectFPC"], "0");
  EXPECT_EQ(f["Adv_TimeDelay"], "25");
  EXPECT_EQ(f["Adv_PerfMult"], "1");
  EXPECT_EQ(f["Adv_FontName"], "MS Sans Serif");
  EXPECT_EQ(f["FocalLength"], "1");
  EXPECT_EQ(f["FocalLengthInverse"], "1");
  EXPECT_EQ(f["ColorHueWheel"], "60");
  // The stored effect (Fireworks when none is stored) with its factory values.
  EXPECT_EQ(f["FireWorks"], "20");
  EXPECT_EQ(f["ParticleCount"], "500");
  EXPECT_EQ(f["Persistence"], "0.95");
  EXPECT_EQ(f["Gravity"], "0.02");
  EXPECT_EQ(f["FireLaunchPersist"], "0.88");
  EXPECT_EQ(f["FireBurstRadius"], "0.0075");
  EXPECT_EQ(f["FireMultiMoment"], "True");
  EXPECT_EQ(f["FireKnotX"], "0,0,0,0,0,0,0,0,0");
  EXPECT_EQ(f["SoundFX_ON"], "False");
  // Every field once, shared fields first, derived fields beside their source.
  EXPECT_EQ(order.size(), f.size());
  EXPECT_EQ(order.front(), "ParticleCount");
  EXPECT_EQ(order[10], "OrbitTrailLength");
  EXPECT_EQ(order.back(), "SoundFiles(8)");
  const auto at = [&](const std::string& name) { return std::find(order.begin(), order.end(), name) - order.begin(); };
  EXPECT_EQ(at("FocalLengthInverse"), at("FocalLength") + 1);
  EXPECT_LT(at("FireLaunchPersist"), at("FireKnotX"));
  EXPECT_EQ(at("GalaxyPlane"), at("Galaxy_Profile") + 1);
  EXPECT_EQ(f.count("FireSparks"), 0u);  // it fills ParticleCount
  EXPECT_EQ(f.count("AnimationType"), 0u);  // not a field of the record
}

TEST_F(PrintSettings, EffectThemeAndPreviewOptions) {
  auto f = Fields(Start({"--effect", "5", "--theme", "1"}).out);
  EXPECT_EQ(f["ParticleCount"], "2400");
  EXPECT_EQ(f["Galaxy_AmbPersist"], "0.996");
  f = Fields(Start({"--effect", "1", "--theme", "3"}).out);  // no themes: the theme is ignored
  EXPECT_EQ(f["Star_Stars"], "120");
  f = Fields(Start({"--preview", "--effect", "4"}).out);
  EXPECT_EQ(f["Adv_PerfMult"], "0.6");
  EXPECT_EQ(f["ParticleCount"], "1200");
}

TEST_F(PrintSettings, FollowsTheStore) {
  SettingsStore store = Store();
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "AnimationType", "2"));
  ASSERT_TRUE(store.RegSetString(kAppName, "B-SplineWarp", "warp_sparks", "77"));
  ASSERT_TRUE(store.RegSetString(kAppName, "Advanced", "Adv_EffectFPC", "50"));
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "LockMessage", "Back soon"));
  auto f = Fields(Start({}).out);
  EXPECT_EQ(f["ParticleCount"], "77");
  EXPECT_EQ(f["Adv_EffectFPC"], "100");
  EXPECT_EQ(f["LockMessage"], "Back soon");
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "AnimationType", "9"));  // clamped to 5
  EXPECT_EQ(Fields(Start({}).out)["ParticleCount"], "2500");
}

TEST_F(PrintSettings, BadOptionsPrintUsageAndExitTwo) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--bogus"}, {"--effect"}, {"--effect", "6"}, {"--effect", "x"},
                                             {"--effect", "1x"}, {"--theme", "-1"}, {"--effect", "0", "--theme", "14"},
                                             {"--theme", "17"}, {"extra"}}) {
    const Outcome run = Start(args);
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
  }
}

TEST_F(PrintSettings, ATemplateArgumentThatIsNoTemplateChangesNothingAndExitsOne) {
  SettingsStore store = Store();
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireSparks", "77"));
  const std::string before = Slurp(store.FileFor(0)), typo = (dir_ / "typo.qsn").string();
  const Outcome run = Start({typo}, false);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(typo), std::string::npos) << run.err;
  EXPECT_EQ(Slurp(store.FileFor(0)), before);
}

}  // namespace qsrn
