// Pictures of the dialogs for the manual and the README: the properties dialog once per effect,
// the about box, the credits and the advanced and sound dialogs. Run only when
// QSRN_SCREENSHOT_DIR names the folder to write them to (scripts/dialog-screenshots.sh runs them
// under Xvfb).
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <cstdlib>

#include "host_test_support.h"
#include "settings/store.h"
#include "ui/advanced_form.h"
#include "ui/credits_form.h"
#include "ui/properties_dialog.h"
#include "ui/sound_form.h"
#include "ui/welcome_form.h"

namespace qsrn {
namespace {

void Save(QWidget& w, const QString& name) {
  QCoreApplication::processEvents();
  const QString dir = QString::fromLocal8Bit(std::getenv("QSRN_SCREENSHOT_DIR"));
  EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name))) << name.toStdString();
}

class Screenshots : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("QSRN_SCREENSHOT_DIR") == nullptr) GTEST_SKIP() << "QSRN_SCREENSHOT_DIR not set";
    host_test::EnsureQtApplication();
  }
  host_test::TempHome home;
  SettingsStore store{home.path()};
};

using PropertiesScreenshots = Screenshots;

TEST_F(PropertiesScreenshots, OnePerEffect) {
  PropertiesDialog dialog(store);
  dialog.show();
  const char* names[] = {"fireworks", "starfield", "warp", "sparklers", "gravity-wells", "galaxies"};
  for (int effect = 0; effect < 6; ++effect) {
    dialog.SelectEffect(effect);
    // Let the preview run a second so that it shows the effect under way.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1500) QApplication::processEvents(QEventLoop::AllEvents, 50);
    Save(dialog, QStringLiteral("properties-%1.png").arg(names[effect]));
  }
}

using DialogScreenshots = Screenshots;

TEST_F(DialogScreenshots, Write) {

  frmWelcome box(store);
  box.show();
  box.demonstrations().SetFixedSeed(11);
  for (int i = 0; i < 400; ++i) box.demonstrations().StepFrame();
  Save(box, QStringLiteral("about-box.png"));

  frmCredits credits;
  credits.FormLet(125, 0.006f, 2.0f, frmWelcome::CreditLines());
  credits.resize(640, 480);
  credits.show();
  QCoreApplication::processEvents();
  for (int i = 0; i < 140; ++i) credits.StepFrame();
  Save(credits, QStringLiteral("credits.png"));

  frmAdvanced advanced(store, QStringLiteral("Quasarine"));
  advanced.show();
  Save(advanced, QStringLiteral("advanced-settings.png"));

  store.RegSetString(kAppName, "SoundFX", "SoundFX_ON", "1");
  frmSoundEffects sounds(store, nullptr);
  sounds.show();
  sounds.lstEffectType()->setCurrentRow(0);
  sounds.txtFile()->setText(QStringLiteral("/usr/share/quasarine/sounds/launch.wav"));
  Save(sounds, QStringLiteral("sound-effects.png"));
}

}  // namespace
}  // namespace qsrn
