// Pictures of the about box, the credits and the advanced and sound dialogs for the manual and
// the README: run only when QSRN_SCREENSHOT_DIR names the folder to write them to
// (scripts/dialog-screenshots.sh runs it under Xvfb).
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <cstdlib>

#include "host_test_support.h"
#include "settings/store.h"
#include "ui/advanced_form.h"
#include "ui/credits_form.h"
#include "ui/sound_form.h"
#include "ui/welcome_form.h"

namespace qsrn {
namespace {

void Save(QWidget& w, const char* name) {
  QCoreApplication::processEvents();
  const QString dir = QString::fromLocal8Bit(std::getenv("QSRN_SCREENSHOT_DIR"));
  EXPECT_TRUE(w.grab().save(QDir(dir).filePath(QString::fromLatin1(name))));
}

TEST(DialogScreenshots, Write) {
  if (std::getenv("QSRN_SCREENSHOT_DIR") == nullptr) GTEST_SKIP() << "QSRN_SCREENSHOT_DIR not set";
  host_test::EnsureQtApplication();
  host_test::TempHome home;
  SettingsStore store(home.path());

  frmWelcome box(store);
  box.show();
  box.demonstrations().SetFixedSeed(11);
  for (int i = 0; i < 400; ++i) box.demonstrations().StepFrame();
  Save(box, "about-box.png");

  frmCredits credits;
  credits.FormLet(125, 0.006f, 2.0f, frmWelcome::CreditLines());
  credits.resize(640, 480);
  credits.show();
  QCoreApplication::processEvents();
  for (int i = 0; i < 140; ++i) credits.StepFrame();
  Save(credits, "credits.png");

  frmAdvanced advanced(store, QStringLiteral("Quasarine"));
  advanced.show();
  Save(advanced, "advanced-settings.png");

  store.RegSetString(kAppName, "SoundFX", "SoundFX_ON", "1");
  frmSoundEffects sounds(store, nullptr);
  sounds.show();
  sounds.lstEffectType()->setCurrentRow(0);
  sounds.txtFile()->setText(QStringLiteral("/usr/share/quasarine/sounds/launch.wav"));
  Save(sounds, "sound-effects.png");
}

}  // namespace
}  // namespace qsrn
