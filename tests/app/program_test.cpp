// The built program run as a user runs it, on a store of our own (offscreen, no X server): its
// headless tools, its bad options and its start-up modes.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <map>
#include <vector>

#include "host_test_support.h"
#include "settings/store.h"

namespace qsrn {
namespace {

class Program : public ::testing::Test {
 protected:
  void TearDown() override {
    saver.kill();
    saver.waitForFinished(10000);
  }
  QString StoreDir() const { return config.path() + "/quasarine"; }
  SettingsStore Store() const { return SettingsStore(StoreDir().toStdString()); }
  QString Path(const QString& name) const { return work.path() + "/" + name; }
  host_test::ProgramRun Run(const QStringList& args) { return host_test::RunProgram(config.path(), args); }
  host_test::ProgramRun Render(const QString& file, const QStringList& more) {
    return Run(QStringList{"--render", Path(file), "--effect", "1", "--size", "320x240", "--frames", "60"} + more);
  }

  // The printout as name -> value, and the names in order.
  std::map<QString, QString> Printed(const QStringList& args, QStringList* order = nullptr) {
    const host_test::ProgramRun run = Run(QStringList{"--print-settings"} + args);
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    std::map<QString, QString> fields;
    for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
      const qsizetype eq = line.indexOf('=');
      fields[line.left(eq)] = line.mid(eq + 1);
      if (order) order->append(line.left(eq));
    }
    return fields;
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

  QTemporaryDir config;
  QTemporaryDir work;
  QProcess saver;
};

TEST_F(Program, ReadsTheStoreAndOverridesOnlyACopy) {
  SettingsStore store = Store();
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Stars", "10"));
  ASSERT_TRUE(store.RegSetString(kAppName, "Starfield", "Star_Dyson_Percent", "0"));
  ASSERT_EQ(Render("few.png", {"--seed", "3"}).code, 0);
  ASSERT_EQ(Render("many.png", {"--seed", "3", "--set", "Star_Stars=999"}).code, 0);
  const int few = LitPixels(Path("few.png"));
  const int many = LitPixels(Path("many.png"));
  EXPECT_GT(few, 0);
  EXPECT_LE(few, 10 * 4);  // ten small dots at most
  EXPECT_GT(many, 20 * few);
  EXPECT_EQ(QImage(Path("few.png")).size(), QSize(320, 240));
  EXPECT_EQ(store.GetSettingInt(kAppName, "Starfield", "Star_Stars", 0), 10);  // untouched
}

// Without --effect the film follows the windowed display's run loop: the stored effect when one
// is stored (the same film as asking for it with the same seed), the demonstration when none
// ever was. Another seed gives another film.
TEST_F(Program, WithoutAnEffectFollowsTheWindowedRunLoopAndNumberedFramesAreEachWritten) {
  const QStringList common{"--size", "320x180", "--frames", "100", "--seed", "5"};
  ASSERT_EQ(Run(QStringList{"--render", Path("stored.png"), "--set", "AnimationType=1"} + common).code, 0);
  ASSERT_EQ(Run(QStringList{"--render", Path("asked.png"), "--effect", "1"} + common).code, 0);
  ASSERT_FALSE(Bytes(Path("asked.png")).isEmpty());
  EXPECT_EQ(Bytes(Path("stored.png")), Bytes(Path("asked.png")));
  ASSERT_EQ(Run(QStringList{"--render", Path("other.png"), "--effect", "1"} + common + QStringList{"--seed", "6"}).code, 0);
  EXPECT_NE(Bytes(Path("other.png")), Bytes(Path("asked.png")));

  ASSERT_EQ(Run(QStringList{"--render", Path("demo.png")} + common).code, 0);
  EXPECT_GT(LitPixels(Path("demo.png")), 0);
  EXPECT_FALSE(QDir(StoreDir()).exists("settings.ini"));  // the demonstration never stores a choice
  // Numbered frames are each written.
  ASSERT_EQ(Run({"--render", Path("f-%03d.png"), "--effect", "1", "--size", "64x48", "--frames", "3",
                 "--seed", "1"}).code, 0);
  EXPECT_EQ(QDir(work.path()).entryList(QDir::Files, QDir::Name).filter("f-"),
            QStringList({"f-001.png", "f-002.png", "f-003.png"}));
  EXPECT_NE(Bytes(Path("f-001.png")), Bytes(Path("f-003.png")));
}

// A frame delay longer than a GIF can say is written as the longest it can: 655.35 s.
TEST_F(Program, AGifShowsAHugeFrameDelayForTheLongestItCan) {
  for (const char* delay : {"655355", "2147483647"}) {
    ASSERT_EQ(Run({"--render", Path("slow.gif"), "--effect", "1", "--size", "16x16", "--frames", "2", "--set",
                   QStringLiteral("Adv_TimeDelay=") + delay}).code, 0);
    const QByteArray gif = Bytes(Path("slow.gif"));
    const qsizetype control = gif.indexOf(QByteArray("\x21\xF9\x04"));
    ASSERT_GE(control, 0);
    EXPECT_EQ(gif.mid(control + 4, 2), QByteArray("\xFF\xFF", 2)) << delay;
  }
}

TEST_F(Program, BadOptionsGiveUsageAndExitTwo) {
  const QString x = Path("x.png");
  // The option table's refusals (see the core's ArgumentCases) and those the tools make themselves.
  const QStringList bad[] = {  // a theme needs its effect
      {"--render"}, {"--render", x, "--theme", "2"}, {"--render", x, "--size", "0x10"},
      {"--render", Path("x-%s.png")}, {"--render", Path("x-%d-%d.png")}, {"--render", Path("x-%n.png")},
      {"--render", Path("x-%ld.png")}, {"--render", x, "--set", "NoSuchKey=1"}, {"--bench", "--theme", "17"},
      {"--print-settings", "--effect", "1x"}, {"--print-settings", "--effect", "0", "--theme", "14"}};
  for (const QStringList& args : bad) {
    const host_test::ProgramRun r = Run(args);
    EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("usage:")) << args.join(' ').toStdString();
  }
  EXPECT_TRUE(QDir(work.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(Program, BenchReportsTheStarfieldWithItsParticles) {
  const host_test::ProgramRun r = Run({"--bench", "--effect", "1", "--frames", "30", "--size", "320x240",
                                       "--set", "Star_Stars=999", "--set", "Star_Dyson_Percent=0"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);  // the heading, the effect and its presenting
  for (const QString& line : {lines[1], lines[2]}) {
    const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
    ASSERT_GE(fields.size(), 5);
    EXPECT_EQ(fields[1], "30");
    EXPECT_LE(fields[2].toDouble(), fields[3].toDouble());  // median within the 95th percentile
  }
  EXPECT_TRUE(lines[1].startsWith("Starfield ") && lines[1].endsWith(" 999")) << lines[1].toStdString();
  EXPECT_TRUE(lines[2].trimmed().startsWith("presenting "));
  EXPECT_FALSE(QDir(StoreDir()).exists());  // the overrides went to a temporary copy
}

TEST_F(Program, PrintSettingsShowsTheValuesOnceEachDerivedBesideTheirSourceAsOptionsAndStoreChoose) {
  QStringList order;
  auto f = Printed({}, &order);
  EXPECT_EQ(f["Adv_FontName"], "MS Sans Serif");
  // The stored effect (Fireworks when none is stored) with its factory values.
  EXPECT_EQ(f["FireLaunchPersist"], "0.88");
  EXPECT_EQ(f["FireMultiMoment"], "True");
  EXPECT_EQ(f["FireKnotX"], "0,0,0,0,0,0,0,0,0");
  EXPECT_EQ(order.size(), static_cast<qsizetype>(f.size()));
  EXPECT_EQ(order.front(), "ParticleCount");
  EXPECT_EQ(order.back(), "SoundFiles(8)");
  EXPECT_EQ(order.indexOf("FocalLengthInverse"), order.indexOf("FocalLength") + 1);
  EXPECT_EQ(order.indexOf("GalaxyPlane"), order.indexOf("Galaxy_Profile") + 1);
  EXPECT_FALSE(order.contains("FireSparks"));  // it fills ParticleCount
  // Then what the options and the store choose.
  EXPECT_EQ(Printed({"--effect", "5", "--theme", "1"})["Galaxy_AmbPersist"], "0.996");
  EXPECT_EQ(Printed({"--effect", "1", "--theme", "3"})["Star_Stars"], "120");  // no themes: ignored
  f = Printed({"--preview", "--effect", "4"});
  EXPECT_EQ(f["Adv_PerfMult"], "0.6");
  EXPECT_EQ(f["ParticleCount"], "1200");
  SettingsStore store = Store();
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "AnimationType", "2"));
  ASSERT_TRUE(store.RegSetString(kAppName, "B-SplineWarp", "warp_sparks", "77"));
  EXPECT_EQ(Printed({})["ParticleCount"], "77");
  ASSERT_TRUE(store.RegSetString(kAppName, "General", "AnimationType", "9"));  // clamped to 5
  EXPECT_EQ(Printed({})["ParticleCount"], "2500");
}

TEST_F(Program, APreviewForAMissingWindowAndThePasswordJobEndAtOnce) {
  for (const QStringList& args : {QStringList{"/p", "1234"}, QStringList{"/P:1234"}, QStringList{"/P"},
                                  QStringList{"/a", "42"}})
    EXPECT_EQ(Run(args).code, 0) << args.join(' ').toStdString();
}

TEST_F(Program, ATemplatePathIsImportedThenTheSaverRunsAndNoTemplateChangesNothing) {
  SettingsStore store = Store();
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireSparks", "77"));
  const QString settings = StoreDir() + "/settings.ini";
  const QByteArray before = Bytes(settings);
  const QString typo = Path("typo.qsn");
  const host_test::ProgramRun run = Run({typo});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(run.err.contains(typo)) << run.err.toStdString();
  EXPECT_EQ(Bytes(settings), before);

  QFile tpl(Path("Night Sky.QSN"));
  ASSERT_TRUE(tpl.open(QIODevice::WriteOnly));
  tpl.write("[General]\nLockMessage=Imported sky\n");
  tpl.close();
  ASSERT_TRUE(host_test::StartProgram(saver, config.path(), {tpl.fileName()}));
  QElapsedTimer waited;
  waited.start();
  while (!Bytes(settings).contains("Imported sky") && waited.elapsed() < 10000) QThread::msleep(50);
  EXPECT_TRUE(Bytes(settings).contains("Imported sky"));
  EXPECT_EQ(saver.state(), QProcess::Running);  // the saver runs on with the imported settings
}

// SIGHUP (the terminal or the session gone) ends the dialog as SIGTERM does: a clean exit, and
// nothing of it left in the temporary folder.
TEST_F(Program, AHangupEndsTheDialogCleanly) {
  const QString tmp = Path("tmp");
  ASSERT_TRUE(QDir().mkpath(tmp));
  const QByteArray oldTmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", tmp.toUtf8());
  ASSERT_TRUE(host_test::StartProgram(saver, config.path(), {"/C"}));
  qputenv("TMPDIR", oldTmp);
  // The first start stores the factory set once the dialog, and the signal handling, are up.
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(StoreDir() + "/settings.ini") && waited.elapsed() < 30000) QThread::msleep(50);
  ::kill(static_cast<pid_t>(saver.processId()), SIGHUP);
  ASSERT_TRUE(saver.waitForFinished(30000));
  EXPECT_EQ(saver.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(saver.exitCode(), 0);
  EXPECT_TRUE(QDir(tmp).isEmpty());
}

}  // namespace
}  // namespace qsrn
