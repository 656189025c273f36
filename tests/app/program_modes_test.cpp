// The program's start-up modes as a user meets them (offscreen, no X server): a preview for a
// window that does not exist ends at once, the password job ends at once, a second /C leaves
// the first dialog running, and a template path is imported before the saver runs.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "host/single_instance.h"
#include "settings/store.h"

namespace qsrn {
namespace {

constexpr int kStartMs = 10000;

class ProgramModes : public ::testing::Test {
 protected:
  void Start(QProcess& p, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(QSRN_PROGRAM), args);
    ASSERT_TRUE(p.waitForStarted(kStartMs));
  }
  static void Stop(QProcess& p) {
    if (p.state() != QProcess::NotRunning) {
      p.kill();
      p.waitForFinished(kStartMs);
    }
  }
  // True once the file holds the text, within a bounded wait.
  static bool AppearsIn(const QString& path, const QByteArray& text) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kStartMs) {
      QFile f(path);
      if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text)) return true;
      QThread::msleep(50);
    }
    return false;
  }

  QTemporaryDir config;
  QTemporaryDir runtime;
};

TEST_F(ProgramModes, APreviewForAWindowThatDoesNotExistEndsAtOnce) {
  for (const QStringList& args : {QStringList{"/p", "1234"}, QStringList{"/P:1234"}, QStringList{"/P"}}) {
    QProcess p;
    Start(p, args);
    EXPECT_TRUE(p.waitForFinished(kStartMs)) << args.join(' ').toStdString();
    EXPECT_EQ(p.exitCode(), 0);
    Stop(p);
  }
}

TEST_F(ProgramModes, ThePasswordJobEndsAtOnce) {
  QProcess p;
  Start(p, {"/a", "42"});
  EXPECT_TRUE(p.waitForFinished(kStartMs));
  EXPECT_EQ(p.exitCode(), 0);
  Stop(p);
}

TEST_F(ProgramModes, ASecondConfigurationStartEndsAndLeavesTheFirstDialog) {
  QProcess first;
  Start(first, {"/c"});
  // The first dialog is up once its instance socket exists.
  const QString display = DisplayName();
  const QString socket = runtime.path() + "/Quasarine Properties" + (display.isEmpty() ? "" : "@" + display);
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(socket) && waited.elapsed() < kStartMs) QThread::msleep(50);
  ASSERT_TRUE(QFile::exists(socket));

  QProcess second;
  Start(second, {});  // an empty command line is the same job as /C
  EXPECT_TRUE(second.waitForFinished(kStartMs));
  EXPECT_EQ(first.state(), QProcess::Running);
  Stop(second);
  Stop(first);
}

TEST_F(ProgramModes, ATemplatePathIsImportedThenTheSaverRuns) {
  const QString path = config.path() + "/Night Sky.QSN";
  QFile tpl(path);
  ASSERT_TRUE(tpl.open(QIODevice::WriteOnly));
  tpl.write("[General]\nLockMessage=Imported sky\n");
  tpl.close();

  QProcess saver;
  Start(saver, {path});
  EXPECT_TRUE(AppearsIn(config.path() + "/quasarine/settings.ini", "Imported sky"));
  EXPECT_EQ(saver.state(), QProcess::Running);  // the saver runs on with the imported settings
  Stop(saver);
}

}  // namespace
}  // namespace qsrn
