// Pictures of the dialogs for the manual and the README: the properties dialog once per effect,
// the about box, the credits and the advanced and sound dialogs, written to the folder given as
// the one argument (scripts/dialog-screenshots.sh runs this under Xvfb).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "settings/store.h"
#include "qt/ui/advanced_form.h"
#include "qt/ui/credits_form.h"
#include "qt/ui/properties_dialog.h"
#include "qt/ui/sound_form.h"
#include "qt/ui/welcome_form.h"

using namespace qsrn;

namespace {

QDir out;
bool failed = false;

void Save(QWidget& w, const QString& name) {
  QCoreApplication::processEvents();
  if (w.grab().save(out.filePath(name))) return;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
  failed = true;
}

void Properties(SettingsStore& store) {
  PropertiesDialog dialog(store);
  dialog.show();
  const char* names[] = {"fireworks", "starfield", "warp", "sparklers", "gravity-wells", "galaxies"};
  for (int effect = 0; effect < 6; ++effect) {
    dialog.SelectEffect(static_cast<EffectIndex>(effect));
    // Let the preview run a second and a half so that it shows the effect under way.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1500) QApplication::processEvents(QEventLoop::AllEvents, 50);
    Save(dialog, QStringLiteral("properties-%1.png").arg(names[effect]));
  }
}

void AboutAndCredits(SettingsStore& store) {
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
}

void AdvancedAndSound(SettingsStore& store) {
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

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  out = QDir(QString::fromLocal8Bit(argv[1]));
  // Factory settings from a private settings folder, thrown away afterwards; the properties
  // dialog saves its first run, so it gets a folder of its own.
  QTemporaryDir home, propertiesHome;
  SettingsStore store(home.path().toStdString()), propertiesStore(propertiesHome.path().toStdString());
  Properties(propertiesStore);
  AboutAndCredits(store);
  AdvancedAndSound(store);
  return failed ? 1 : 0;
}
