// Pictures of the properties dialog for the README, one per effect, written only when
// QSRN_SCREENSHOT_DIR names a folder (scripts/dialog-screenshots.sh runs this under Xvfb).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdlib>

#include "host_test_support.h"
#include "ui/live_preview.h"
#include "ui/properties_dialog.h"

namespace qsrn {
namespace {

TEST(PropertiesScreenshots, OnePerEffect) {
  const char* folder = std::getenv("QSRN_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "QSRN_SCREENSHOT_DIR is not set";
  host_test::EnsureQtApplication();
  QTemporaryDir dir;
  SettingsStore store(std::filesystem::path(dir.path().toStdString()));
  PropertiesDialog dialog(store);
  dialog.show();
  const char* names[] = {"fireworks", "starfield", "warp", "sparklers", "gravity-wells", "galaxies"};
  for (int effect = 0; effect < 6; ++effect) {
    dialog.SelectEffect(effect);
    // Let the preview run a second so that it shows the effect under way.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1500) QApplication::processEvents(QEventLoop::AllEvents, 50);
    const QString file = QDir(QString::fromLocal8Bit(folder)).filePath(QStringLiteral("properties-%1.png").arg(names[effect]));
    EXPECT_TRUE(dialog.grab().save(file)) << file.toStdString();
  }
}

}  // namespace
}  // namespace qsrn
