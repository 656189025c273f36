// The properties dialog: first start, Accept and Cancel, the cross-field rules, templates and
// themes, and the failures a user must hear about.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <fstream>
#include <memory>

#include "host_test_support.h"
#include "settings/ini_file.h"
#include "settings/templates.h"
#include "ui/form_hooks.h"
#include "ui/live_preview.h"
#include "ui/properties_dialog.h"

namespace qsrn {
namespace {

class PropertiesDialogTest : public host_test::StoreTest {
 protected:
  std::filesystem::path Dir() const { return home.path(); }
  PropertiesDialog& Dialog() {
    if (!dialog) dialog = std::make_unique<PropertiesDialog>(store);
    return *dialog;
  }
  QLineEdit* Field(const char* key) { return Dialog().findChild<QLineEdit*>(QString::fromLatin1(key)); }
  void Type(const char* key, const char* text) {
    Field(key)->selectAll();
    host_test::TypeText(Field(key), QString::fromLatin1(text));
  }

  std::unique_ptr<PropertiesDialog> dialog;
};

// Alt+letters are unique on every page (with the shared frames, the buttons and the menus); Tab
// reads the shared frames, the effect frame, the chosen "Extras:" sub-frame right after its
// list, then the buttons; a line break pasted into the message is dropped.
TEST_F(PropertiesDialogTest, KeyboardMnemonicsTabOrderAndPastedMessage) {
  for (int effect = 0; effect < 6; ++effect) {
    Dialog().SelectEffect(effect);
    auto* extras = Dialog().findChild<QComboBox*>(effect == 0 ? "cboExtras" : effect == 5 ? "cboGalaxyExtras" : "none");
    for (int page = 0; page < (extras ? extras->count() : 1); ++page) {
      if (extras) extras->setCurrentIndex(page);
      EXPECT_EQ(host_test::RepeatedMnemonics(&Dialog()).toStdString(), "") << effect << " " << page;
    }
  }
  Dialog().SelectEffect(0);
  Dialog().findChild<QComboBox*>("cboExtras")->setCurrentIndex(4);
  EXPECT_EQ(host_test::TabOrder(&Dialog()).join(" ").toStdString(),
            "cboAniType ColorRed ColorGrn ColorBlu FixedHues ColorPctInt ColorPctHue ColorHueWheel FocalLength "
            "LockMessage FireWorks FireSparks FireLength FireSymmetry FireSpeed FirePersist FireGravity FireSizeDev "
            "FireDamping cboFireTheme cboExtras FireScintPct FireScintStyle cmdAccept cmdDismiss");
  QGuiApplication::clipboard()->setText("Happy\r\nNew Year");
  QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
  QApplication::sendEvent(Field("LockMessage"), &paste);
  EXPECT_EQ(Field("LockMessage")->text(), "HappyNew Year");
}

TEST_F(PropertiesDialogTest, FirstStartWritesTheFactorySet) {
  Dialog();
  for (const DialogKey& d : DialogKeys()) EXPECT_EQ(Stored(d.section, d.key->key), StoredText(*d.key, d.key->FactoryText())) << d.key->key;
  EXPECT_EQ(Stored("Advanced", "Adv_EffectFPC"), "1000");
  EXPECT_EQ(Stored("Advanced", "Adv_FontName"), "MS Sans Serif");
}

// (Cancel writing nothing is the end-to-end test's.)
TEST_F(PropertiesDialogTest, AcceptWritesWhatTheFieldsShow) {
  store.RegSetString(kAppName, "General", "AnimationType", "5");
  Dialog();
  EXPECT_EQ(Dialog().findChild<QComboBox*>("cboAniType")->currentIndex(), 5);
  EXPECT_EQ(Stored("Galaxy", "Galaxy_Stars"), "<missing>");  // not a first start

  Type("Galaxy_Stars", "40000");  // still being edited when Accept is pressed
  Dialog().findChild<QCheckBox*>("FireBurstShell")->setChecked(false);
  Dialog().findChild<QComboBox*>("Warp_Type")->setCurrentIndex(2);
  Field("LockMessage")->setText("  hello  ");
  Field("Galaxy_Stars")->setFocus();
  Dialog().accept();
  EXPECT_EQ(Dialog().result(), QDialog::Accepted);
  EXPECT_EQ(Stored("Galaxy", "Galaxy_Stars"), "30000");
  EXPECT_EQ(Stored("Fireworks", "FireBurstShell"), "0");
  EXPECT_EQ(Stored("B-SplineWarp", "Warp_Type"), "2");
  EXPECT_EQ(Stored("General", "LockMessage"), "hello");
  EXPECT_EQ(Stored("General", "AnimationType"), "5");
  EXPECT_EQ(Stored("Fireworks", "FirePersist"), "0.95");
}

TEST_F(PropertiesDialogTest, ShellsCapTheSparksAndTheBurstSharesGiveWay) {
  Type("FireWorks", "99");
  EXPECT_EQ(Field("FireSparks")->text(), "303");
  Dialog().findChild<QComboBox*>("cboExtras")->setCurrentIndex(3);  // the jet bursts' sub-frame
  Field("FireScintPct")->setText("50");
  Field("FireMultiPct")->setText("50");
  Type("FireBurstPct", "30");
  EXPECT_EQ(Field("FireScintPct")->text(), "50");
  EXPECT_EQ(Field("FireMultiPct")->text(), "20");
  for (const char* key : {"FireSparkPct", "FireRingPct", "FireTwistPct", "FireDecayPct"}) EXPECT_EQ(Field(key)->text(), "0");
  Dialog().findChild<QComboBox*>("cboExtras")->setCurrentIndex(1);  // the dispersion pattern
  Type("FirePatternPct", "95");
  EXPECT_EQ(Field("FireSplinePct")->text(), "5");
  Type("Warp_Works", "999");
  EXPECT_EQ(Field("Warp_Sparks")->text(), "30");
}

TEST_F(PropertiesDialogTest, ResetAsksFirstAndNoIsTheDefault) {
  QAction* reset = nullptr;
  for (QAction* entry : Dialog().findChildren<QAction*>())
    if (entry->text() == "&Reset Properties") reset = entry;
  ASSERT_NE(reset, nullptr);
  Field("FireWorks")->setText("9");
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "70");
  QString question;
  auto answer = host_test::AnswerNextBox(&question);  // closing the box answers No
  reset->trigger();
  EXPECT_EQ(question, "Do you really want to reset the Properties back to the factory settings?");
  EXPECT_EQ(Field("FireWorks")->text(), "9");
  answer = host_test::AnswerNextBox(nullptr, QMessageBox::Yes);
  reset->trigger();
  EXPECT_EQ(Field("FireWorks")->text(), "20");
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "25");
  EXPECT_EQ(Stored("Fireworks", "FireWorks"), "20");  // the fields only reach the store on Accept
}

TEST_F(PropertiesDialogTest, MenuEntriesOfOtherFormsWorkOnceTheirHookIsSet) {
  const PropertiesFormHooks plugged = FormHooks();  // the program's own forms, put back below
  FormHooks() = {};
  EXPECT_FALSE(Dialog().findChild<QAction*>("mnuAdvanced")->isEnabled());
  dialog.reset();
  FormHooks().advanced = [](QWidget*, SettingsStore&, QString& message) {
    message = "from advanced";
    return true;
  };
  QAction* advanced = Dialog().findChild<QAction*>("mnuAdvanced");
  EXPECT_TRUE(advanced->isEnabled());
  advanced->trigger();
  FormHooks() = plugged;
  EXPECT_EQ(Field("LockMessage")->text(), "from advanced");
}

TEST_F(PropertiesDialogTest, TemplateRoundTripKeepsForeignLinesAndStoresItsAdvancedKeys) {
  const std::filesystem::path file = Dir() / "look.qsn";
  std::ofstream(file) << "; mine\n[Extra]\nKeep=1\n[Fireworks]\nFireWorks=3\nMyKey=x\n";
  Dialog().findChild<QCheckBox*>("FixedHues")->setChecked(true);
  Field("FireWorks")->setText("7");
  Field("Star_Speed")->setText("0.25");
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "40");
  ASSERT_TRUE(Dialog().WriteTemplate(QString::fromStdString(file.string())));
  const FieldTexts written = Dialog().Texts();
  const IniDocument doc = ReadIniFile(file);
  EXPECT_EQ(doc.Get("Extra", "Keep").value_or(""), "1");
  EXPECT_EQ(doc.Get("Fireworks", "MyKey").value_or(""), "x");
  EXPECT_EQ(doc.Get("Advanced", "Adv_TimeDelay").value_or(""), "40");

  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "10");
  Dialog().ResetProperties();
  ASSERT_TRUE(Dialog().ReadTemplate(QString::fromStdString(file.string())));
  EXPECT_EQ(Dialog().Texts(), written);
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "40");
  EXPECT_EQ(Dialog().CurrentTemplate().toStdString(), file.string());
}

TEST_F(PropertiesDialogTest, AThemePickEqualsOpeningThatThemesTemplate) {
  for (const auto& [effect, theme, list] : {std::tuple{SectionId::Fireworks, 4, "cboFireTheme"},
                                             std::tuple{SectionId::Galaxy, 9, "cboGalaxyTheme"}}) {
    Dialog().ResetProperties();
    auto* themes = Dialog().findChild<QComboBox*>(list);
    themes->setCurrentIndex(theme);
    emit themes->activated(theme);
    const FieldTexts picked = Dialog().Texts();

    // The factory set with the theme's values in the effect's section.
    const std::filesystem::path file = Dir() / "theme.qsn";
    Dialog().ResetProperties();
    ASSERT_TRUE(Dialog().WriteTemplate(QString::fromStdString(file.string())));
    for (const auto& [key, text] : ThemeFieldTexts(effect, theme)) IniPutString(file, Section(effect).name, key, text);
    ASSERT_TRUE(Dialog().ReadTemplate(QString::fromStdString(file.string())));
    const FieldTexts read = Dialog().Texts();
    for (const auto& [key, text] : picked) EXPECT_EQ(read.at(key), text) << key;
    EXPECT_NE(picked, FactoryFieldTexts());
  }
}

TEST_F(PropertiesDialogTest, AnUnreadableTemplateChangesNothing) {
  std::ofstream(Dir() / "binary.qsn") << std::string("\x7f" "ELF\0\0[x]", 9);
  std::ofstream(Dir() / "prose.qsn") << "just some words\n";
  Field("FireWorks")->setText("9");
  const FieldTexts before = Dialog().Texts();
  for (const char* name : {"missing.qsn", "binary.qsn", "prose.qsn", ""}) {
    QString message;
    const auto answer = host_test::AnswerNextBox(&message);
    EXPECT_FALSE(Dialog().ReadTemplate(QString::fromStdString((Dir() / name).string()))) << name;
    EXPECT_FALSE(message.isEmpty()) << name;
    EXPECT_EQ(Dialog().Texts(), before);
    EXPECT_TRUE(Dialog().CurrentTemplate().isEmpty());
  }
}

// Each failed Accept says why (naming the field the store cannot keep) and keeps the edits.
TEST_F(PropertiesDialogTest, AFailedAcceptOrTemplateSaveIsReportedAndKeepsTheEdits) {
  Dialog().show();
  Field("FireWorks")->setText("9");
  QString message;
  const QString failed = "The settings could not be saved: ", kept = ". Your changes are still in this window.";
  const std::pair<QString, QString> unstorable[] = {{"two\nlines", "the Message field holds a line break"},
                                                    {QString(4097, 'x'), "the Message field is longer than 4096 bytes"}};
  for (const auto& [text, why] : unstorable) {
    Field("LockMessage")->setText(text);
    auto answer = host_test::AnswerNextBox(&message);
    Dialog().accept();
    EXPECT_EQ(message.toStdString(), (failed + why + kept).toStdString());
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(Field("LockMessage")->text(), text);
    EXPECT_EQ(Stored("Fireworks", "FireWorks"), "20");
  }
  Field("LockMessage")->setText("one line");
  // The store's folder is now a file: nothing can be written there.
  std::filesystem::remove_all(store.Directory());
  std::ofstream(store.Directory()) << "not a folder";
  auto answer = host_test::AnswerNextBox(&message);
  Dialog().accept();
  EXPECT_TRUE(message.startsWith(failed + "cannot create ") && message.endsWith(kept)) << message.toStdString();
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_EQ(Field("FireWorks")->text(), "9");

  message.clear();
  answer = host_test::AnswerNextBox(&message);
  EXPECT_FALSE(Dialog().WriteTemplate(QString::fromStdString((Dir() / "no" / "such.qsn").string())));
  EXPECT_FALSE(message.isEmpty());
}

// The preview runs from memory: not a file is written for it.
TEST_F(PropertiesDialogTest, ThePreviewRunsTheShownValuesWritesNothingAndStopsWhenHidden) {
  const std::filesystem::path tmp = Dir() / "tmp";
  std::filesystem::create_directory(tmp);
  const QByteArray oldTmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", QByteArray::fromStdString(tmp.string()));
  Dialog().show();
  const auto stored = std::filesystem::last_write_time(store.FileFor(0));
  LivePreview* preview = Dialog().Preview();
  Type("FireWorks", "5");
  QElapsedTimer waited;
  waited.start();
  while (preview->FramesShown() < 3 && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_GE(preview->FramesShown(), 3);
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
  EXPECT_EQ(std::filesystem::last_write_time(store.FileFor(0)), stored);
  Dialog().hide();
  EXPECT_FALSE(preview->Running());
  qputenv("TMPDIR", oldTmp);
}

}  // namespace
}  // namespace qsrn
