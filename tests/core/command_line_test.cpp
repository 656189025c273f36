// The command line as the program reads it, without starting it: which job the saver's text asks
// for, the hack and tool options through the one option table with their refusals, and where the
// windowed program's copy is looked for.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "run/arguments.h"

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
  const Arguments a = ParseArguments(argc, argv.data());
  EXPECT_EQ(a.program, Program::Hack);
  ASSERT_EQ(a.error.empty(), GetParam().ok) << a.error;
  if (!a.error.empty()) return;
  EXPECT_EQ(a.saver.job, StartJob::Hack);
  EXPECT_EQ(a.saver.hack.windowId, GetParam().windowId);
  EXPECT_EQ(a.saver.hack.root, GetParam().root);
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

struct ArgumentCase {
  std::vector<const char*> args;
  const char* error;  // "" when accepted
};

class ArgumentCases : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentCases, RefuseWithTheReasonOrAccept) {
  std::vector<const char*> argv{"quasarine"};
  argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
  EXPECT_EQ(ParseArguments(static_cast<int>(argv.size()), argv.data()).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentCases,
    ::testing::Values(
        ArgumentCase{{"--render"}, "--render needs the file to write"},
        ArgumentCase{{"--render", "--effect", "1"}, "--render needs the file to write"},
        ArgumentCase{{"--render", "x.png", "--effect", "6"}, "--effect takes 0 to 5"},
        ArgumentCase{{"--render", "x.png", "--effect", "-0"}, "--effect takes 0 to 5"},
        ArgumentCase{{"--render", "x.png", "--frames", "0"}, "--frames takes 1 to 1000000"},
        ArgumentCase{{"--render", "x.png", "--frames"}, "missing value for --frames"},
        ArgumentCase{{"--render", "x.png", "--size", "640"}, "--size takes WxH, each 1 to 8192"},
        ArgumentCase{{"--render", "x.png", "--size", "8193x10"}, "--size takes WxH, each 1 to 8192"},
        ArgumentCase{{"--render", "x.png", "--seed", "-4"}, "--seed takes a whole number"},
        ArgumentCase{{"--render", "x.png", "--seed", "+4"}, "--seed takes a whole number"},
        ArgumentCase{{"--render", "x.png", "--bogus"}, "unknown option --bogus"},
        ArgumentCase{{"--render", "x.png", "-effect", "1"}, "unknown option -effect"},  // one dash: hacks only
        ArgumentCase{{"--bench", "--set", "Star_Stars"}, "--set takes Key=Value"},
        ArgumentCase{{"--bench", "--set", "=1"}, "--set takes Key=Value"},
        ArgumentCase{{"--bench", "--preview"}, "unknown option --preview"},
        ArgumentCase{{"--print-settings", "--frames", "3"}, "unknown option --frames"},
        ArgumentCase{{"--print-settings", "--theme", "-1"}, "--theme takes 0 to 16"},
        ArgumentCase{{"--print-settings", "extra"}, "unknown option extra"},
        ArgumentCase{{"-root", "--frames", "3"}, "unknown option --frames"},
        ArgumentCase{{"-root", "--effect", "-0"}, "--effect takes 0 to 5"},
        ArgumentCase{{"--render", "x.png", "--size", "16X9", "--seed", "18446744073709551615", "--set", "A=b=c"}, ""},
        ArgumentCase{{"--print-settings", "--preview", "--effect", "5", "--theme", "16"}, ""},
        ArgumentCase{{"--help", "anything"}, ""}));

TEST(Arguments, ToolsKeepTheirDefaultsAndOverridesInOrder) {
  const char* render[] = {"quasarine", "--render", "x.png", "--set", "A=b=c", "--set", "A=d"};
  const Arguments r = ParseArguments(7, render);
  EXPECT_EQ(r.program, Program::Render);
  EXPECT_EQ(r.tool.file, "x.png");
  EXPECT_EQ(std::make_tuple(r.tool.frames, r.tool.width, r.tool.height), std::make_tuple(300, 1280, 720));
  ASSERT_EQ(r.tool.overrides.size(), 2U);
  EXPECT_EQ(r.tool.overrides[0], std::make_pair(std::string("A"), std::string("b=c")));
  EXPECT_EQ(r.tool.overrides[1].second, "d");
  const char* bench[] = {"quasarine", "--bench", "--size", "16x9", "--seed", "0"};
  const Arguments b = ParseArguments(6, bench);
  EXPECT_EQ(std::make_tuple(b.tool.frames, b.tool.width, b.tool.height), std::make_tuple(600, 16, 9));
  EXPECT_EQ(b.tool.seed, uint64_t{0});
  // Anything else is the saver's own text.
  const char* saver[] = {"quasarine", "/p", "77"};
  const Arguments s = ParseArguments(3, saver);
  EXPECT_EQ(s.program, Program::Saver);
  EXPECT_EQ(s.saver.job, StartJob::Preview);
  EXPECT_EQ(s.saver.windowHandle, 77);
}

}  // namespace
}  // namespace qsrn
