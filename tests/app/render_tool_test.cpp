// The program's headless tools run as a user runs them: --render writes the same PNG for the
// same seed and another for another seed, reads the stored settings, takes overrides without
// touching the store, writes numbered frames, and refuses bad options with usage and exit 2.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "settings/store.h"

namespace qsrn {

namespace {

struct Result {
  int code = -1;
  QString out, err;
};

// Runs the program with a private settings directory.
class ToolRun : public ::testing::Test {
 protected:
  QTemporaryDir config;
  QTemporaryDir work;

  QString StoreDir() const { return config.path() + "/quasarine"; }
  QString Path(const QString& name) const { return work.path() + "/" + name; }

  Result Run(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("HOME", config.path());
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(QSRN_PROGRAM), args);
    Result r;
    if (!p.waitForFinished(120000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
  }

  Result Render(const QString& file, const QStringList& more) {
    return Run(QStringList{"--render", Path(file), "--effect", "1", "--size", "320x240", "--frames", "60"} + more);
  }

  static QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  static int LitPixels(const QString& path) {
    const QImage image(path);
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) lit += (image.pixel(x, y) & 0xFFFFFF) != 0;
    return lit;
  }
};

}  // namespace

TEST_F(ToolRun, SameSeedGivesTheSameFileOtherSeedAnother) {
  ASSERT_EQ(Render("a.png", {"--seed", "7"}).code, 0);
  ASSERT_EQ(Render("b.png", {"--seed", "7"}).code, 0);
  ASSERT_EQ(Render("c.png", {"--seed", "8"}).code, 0);
  const QByteArray a = Bytes(Path("a.png"));
  ASSERT_FALSE(a.isEmpty());
  EXPECT_EQ(a, Bytes(Path("b.png")));
  EXPECT_NE(a, Bytes(Path("c.png")));
  const QImage image(Path("a.png"));
  EXPECT_EQ(image.size(), QSize(320, 240));
  EXPECT_GT(LitPixels(Path("a.png")), 20);  // a field of stars, not a black frame
}

TEST_F(ToolRun, ReadsTheStoreAndOverridesOnlyACopy) {
  SettingsStore store(StoreDir().toStdString());
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Stars", "10"));
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Dyson_Percent", "0"));
  ASSERT_EQ(Render("few.png", {"--seed", "3"}).code, 0);
  ASSERT_EQ(Render("many.png", {"--seed", "3", "--set", "Star_Stars=999"}).code, 0);
  const int few = LitPixels(Path("few.png"));
  const int many = LitPixels(Path("many.png"));
  EXPECT_GT(few, 0);
  EXPECT_LE(few, 10 * 4);  // ten small dots at most
  EXPECT_GT(many, 20 * few);
  EXPECT_EQ(store.GetSettingInt(kAppName, "Starfield", "Star_Stars", 0), 10);  // untouched
}

// Without --effect the film follows the windowed display's run loop: the stored effect when one
// is stored (the same film as asking for it), the demonstration when none ever was.
TEST_F(ToolRun, WithoutAnEffectFollowsTheWindowedRunLoop) {
  const QStringList common{"--size", "320x180", "--frames", "100", "--seed", "5"};
  ASSERT_EQ(Run(QStringList{"--render", Path("stored.png"), "--set", "AnimationType=1"} + common).code, 0);
  ASSERT_EQ(Run(QStringList{"--render", Path("asked.png"), "--effect", "1"} + common).code, 0);
  EXPECT_EQ(Bytes(Path("stored.png")), Bytes(Path("asked.png")));

  ASSERT_EQ(Run(QStringList{"--render", Path("demo.png")} + common).code, 0);
  EXPECT_GT(LitPixels(Path("demo.png")), 0);
  EXPECT_FALSE(QDir(StoreDir()).exists("settings.ini"));  // the demonstration never stores a choice

  EXPECT_EQ(Run(QStringList{"--render", Path("x.png"), "--theme", "2"}).code, 2);
}

TEST_F(ToolRun, NumberedFramesAreEachWritten) {
  ASSERT_EQ(Run({"--render", Path("f-%03d.png"), "--effect", "1", "--size", "64x48", "--frames", "3",
                 "--seed", "1"}).code, 0);
  for (const char* name : {"f-001.png", "f-002.png", "f-003.png"})
    EXPECT_TRUE(QFile::exists(Path(name))) << name;
  EXPECT_FALSE(QFile::exists(Path("f-004.png")));
  EXPECT_FALSE(QFile::exists(Path("f-000.png")));
  EXPECT_NE(Bytes(Path("f-001.png")), Bytes(Path("f-003.png")));
}

TEST_F(ToolRun, BadOptionsGiveUsageAndExitTwo) {
  const QStringList bad[] = {
      {"--render"},
      {"--render", "--effect", "1"},
      {"--render", Path("x.png"), "--effect", "6"},
      {"--render", Path("x.png"), "--frames", "0"},
      {"--render", Path("x.png"), "--frames"},
      {"--render", Path("x.png"), "--size", "640"},
      {"--render", Path("x.png"), "--size", "0x10"},
      {"--render", Path("x.png"), "--seed", "-4"},
      {"--render", Path("x.png"), "--bogus", "1"},
      {"--render", Path("x-%s.png")},
      {"--render", Path("x-%d-%d.png")},
      {"--render", Path("x-%n.png")},
      {"--render", Path("x-%ld.png")},
      {"--render", Path("x-%.png")},
      {"--render", Path("x.png"), "--set", "NoSuchKey=1"},
      {"--bench", "--set", "Star_Stars"},
      {"--bench", "--theme", "17"},
  };
  for (const QStringList& args : bad) {
    const Result r = Run(args);
    EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains("usage:")) << args.join(' ').toStdString();
  }
  EXPECT_TRUE(QDir(work.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ToolRun, BenchReportsTheStarfieldWithItsParticles) {
  const Result r = Run({"--bench", "--effect", "1", "--frames", "30", "--size", "320x240", "--set",
                        "Star_Stars=999", "--set", "Star_Dyson_Percent=0"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);  // the heading, the effect and its presenting
  const QStringList fields = lines[1].split(' ', Qt::SkipEmptyParts);
  ASSERT_EQ(fields.size(), 5);
  EXPECT_EQ(fields[0], "Starfield");
  EXPECT_EQ(fields[1], "30");
  EXPECT_LE(fields[2].toDouble(), fields[3].toDouble());  // median within the 95th percentile
  EXPECT_EQ(fields[4], "999");
  const QStringList present = lines[2].split(' ', Qt::SkipEmptyParts);
  ASSERT_GE(present.size(), 5);
  EXPECT_EQ(present[0], "presenting");
  EXPECT_EQ(present[1], "30");
  EXPECT_LE(present[2].toDouble(), present[3].toDouble());
  EXPECT_FALSE(QDir(StoreDir()).exists());  // the overrides went to a temporary copy
}

}  // namespace qsrn
