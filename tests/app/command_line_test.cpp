// The start-up command line: which job each text asks for, and where the windowed program's
// copy is looked for.
#include <gtest/gtest.h>

#include <vector>

#include "host/command_line.h"

namespace qsrn {
namespace {

struct JobCase {
  const char* text;
  StartJob job;
  int32_t handle;
};

class ParseCommandLineCases : public ::testing::TestWithParam<JobCase> {};

TEST_P(ParseCommandLineCases, ChoosesTheJob) {
  const JobCase& c = GetParam();
  const CommandLine cl = ParseCommandLine(c.text);
  EXPECT_EQ(cl.job, c.job) << '"' << c.text << '"';
  EXPECT_EQ(cl.windowHandle, c.handle) << '"' << c.text << '"';
  if (c.job == StartJob::ImportAndRun) {
    EXPECT_EQ(cl.templatePath, c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ParseCommandLineCases,
    ::testing::Values(
        JobCase{"   ", StartJob::Configure, 0}, JobCase{"/c:1234", StartJob::Configure, 0},
        JobCase{"/s", StartJob::Saver, 0}, JobCase{"/p 1234", StartJob::Preview, 1234},
        JobCase{"/P", StartJob::Preview, 0}, JobCase{"/P:1234", StartJob::Preview, 0},
        JobCase{"/P   77abc", StartJob::Preview, 77}, JobCase{"/A 99", StartJob::ChangePassword, 99},
        JobCase{"/a", StartJob::ChangePassword, 0},
        // A leading blank hides the switch: the text is not trimmed before the test.
        JobCase{" /S", StartJob::RunFullScreen, 0}, JobCase{"-s", StartJob::RunFullScreen, 0},
        JobCase{"/X", StartJob::RunFullScreen, 0},
        // A handle too large for a Long gives 0 rather than wrapping.
        JobCase{"/P 99999999999", StartJob::Preview, 0},
        // X11 programs hand out hexadecimal ids.
        JobCase{"/P 0x1A00003", StartJob::Preview, 0x1A00003}, JobCase{"/p  0XffZ", StartJob::Preview, 255},
        JobCase{"/P 0x", StartJob::Preview, 0}, JobCase{"/P 0xFFFFFFFF", StartJob::Preview, 0},
        // Template paths in any letter case, tested before the switches: paths under /srv,
        // /cdrom, /proc... are no switches. Only the last four characters count.
        JobCase{"/home/me/Night Sky.qsn", StartJob::ImportAndRun, 0}, JobCase{"a.QsN", StartJob::ImportAndRun, 0},
        JobCase{"/cdrom/X.QSN", StartJob::ImportAndRun, 0}, JobCase{"/s.qsn", StartJob::ImportAndRun, 0},
        JobCase{".qsn", StartJob::ImportAndRun, 0}, JobCase{"/home/me/sky.ini", StartJob::RunFullScreen, 0},
        JobCase{"sky.qsn ", StartJob::RunFullScreen, 0}));

struct HackCase {
  std::vector<const char*> args;
  bool ok;
  uint32_t windowId;
  bool root;
};

class HackOptionCases : public ::testing::TestWithParam<HackCase> {};

TEST_P(HackOptionCases, ReadsTheXScreenSaverConventions) {
  std::vector<const char*> argv{"quasarine"};
  argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
  const int argc = static_cast<int>(argv.size());
  EXPECT_TRUE(IsHackCommandLine(argc, argv.data()));
  std::string error;
  const auto o = ParseHackOptions(argc, argv.data(), &error);
  ASSERT_EQ(o.has_value(), GetParam().ok) << error;
  if (!o) return;
  EXPECT_EQ(o->windowId, GetParam().windowId);
  EXPECT_EQ(o->root, GetParam().root);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HackOptionCases,
    ::testing::Values(HackCase{{"-root"}, true, 0, true}, HackCase{{"--root", "-fps"}, true, 0, true},
                      HackCase{{"-window-id", "0x2c00007"}, true, 0x2c00007, false},
                      HackCase{{"--window-id", "46137351", "--effect", "5", "--theme", "16"}, true, 46137351, false},
                      HackCase{{"-fps"}, false, 0, false},  // nowhere to draw
                      HackCase{{"-window-id"}, false, 0, false}, HackCase{{"-window-id", "x"}, false, 0, false},
                      HackCase{{"-root", "--effect", "6"}, false, 0, false},
                      HackCase{{"-root", "--theme", "3"}, true, 0, true},  // no theme without effect
                      HackCase{{"-root", "/S"}, false, 0, false}));

TEST(WindowedProgramPath, IsTheProgramsFolderAndBaseNameWithExe) {
  EXPECT_EQ(WindowedProgramPath("/opt/q/quasarine.scr"), "/opt/q/quasarine.exe");
  EXPECT_EQ(WindowedProgramPath("/opt/q.d/saver"), "/opt/q.d/saver.exe");
  EXPECT_EQ(WindowedProgramPath("quasarine"), "./quasarine.exe");
  EXPECT_EQ(WindowedProgramPath("/opt/.hidden"), "/opt/.hidden.exe");
}

}  // namespace
}  // namespace qsrn
