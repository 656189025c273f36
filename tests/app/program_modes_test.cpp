// The program's start-up modes as a user meets them (offscreen, no X server): a preview for a
// window that does not exist and the password job end at once, a template path is imported
// before the saver runs, and a path that is no template leaves the store alone.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "host_test_support.h"
#include "settings/store.h"

namespace qsrn {
namespace {

constexpr int kStartMs = 10000;

// True once the file holds the text, within a bounded wait.
bool AppearsIn(const QString& path, const QByteArray& text) {
  QElapsedTimer waited;
  waited.start();
  for (; waited.elapsed() < kStartMs; QThread::msleep(50)) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text)) return true;
  }
  return false;
}

class ProgramModes : public ::testing::Test {
 protected:
  void TearDown() override {
    saver.kill();
    saver.waitForFinished(kStartMs);
  }
  QTemporaryDir home;
  QProcess saver;
};

TEST_F(ProgramModes, APreviewForAMissingWindowAndThePasswordJobEndAtOnce) {
  for (const QStringList& args : {QStringList{"/p", "1234"}, QStringList{"/P:1234"}, QStringList{"/P"},
                                  QStringList{"/a", "42"}}) {
    const host_test::ProgramRun run = host_test::RunProgram(home.path(), args);
    EXPECT_EQ(run.code, 0) << args.join(' ').toStdString();
  }
}

TEST_F(ProgramModes, ATemplatePathIsImportedThenTheSaverRunsAndNoTemplateChangesNothing) {
  SettingsStore store(home.path().toStdString() + "/quasarine");
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireSparks", "77"));
  QFile stored(QString::fromStdString(store.FileFor(0).string()));
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  const QByteArray before = stored.readAll();
  const QString typo = home.path() + "/typo.qsn";
  const host_test::ProgramRun run = host_test::RunProgram(home.path(), {typo});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(run.err.contains(typo)) << run.err.toStdString();
  stored.seek(0);
  EXPECT_EQ(stored.readAll(), before);

  const QString path = home.path() + "/Night Sky.QSN";
  QFile tpl(path);
  ASSERT_TRUE(tpl.open(QIODevice::WriteOnly));
  tpl.write("[General]\nLockMessage=Imported sky\n");
  tpl.close();
  ASSERT_TRUE(host_test::StartProgram(saver, home.path(), {path}));
  EXPECT_TRUE(AppearsIn(home.path() + "/quasarine/settings.ini", "Imported sky"));
  EXPECT_EQ(saver.state(), QProcess::Running);  // the saver runs on with the imported settings
}

}  // namespace
}  // namespace qsrn
