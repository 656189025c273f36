// The dialogs: the properties dialog's binding to its form (keyboard, widgets and form in step,
// Accept, the Reset question, the preview); the shared pieces (the numeric
// field's binding to its model, the file dialog's checks); the advanced and sound dialogs' controls
// bound to their form models (the rules themselves are tested in the core), the font fallback; the
// about box (animating only while seen), the credits, and the help window over
// the real manual (contents, topics by key, F1, search).
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "host_test_support.h"
#include "settings/catalogue.h"
#include "settings/ini_file.h"
#include "settings/store.h"
#include "settings/templates.h"
#include "qt/ui/advanced_form.h"
#include "qt/ui/credits_form.h"
#include "qt/ui/file_dialog.h"
#include "qt/ui/form_hooks.h"
#include "qt/ui/help_window.h"
#include "qt/ui/live_preview.h"
#include "qt/ui/numeric_field.h"
#include "qt/ui/properties_dialog.h"
#include "qt/ui/sound_form.h"
#include "qt/ui/welcome_form.h"

namespace qsrn {
namespace {

class PropertiesDialogTest : public host_test::StoreTest {
 protected:
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
  for (int i = 0; i < kEffectCount; ++i) {
    const auto effect = static_cast<EffectIndex>(i);
    Dialog().SelectEffect(effect);
    auto* extras = Dialog().findChild<QComboBox*>(effect == EffectIndex::Fireworks  ? "cboExtras"
                                                  : effect == EffectIndex::Galaxies ? "cboGalaxyExtras"
                                                                                    : "none");
    for (int page = 0; page < (extras ? extras->count() : 1); ++page) {
      if (extras) extras->setCurrentIndex(page);
      EXPECT_EQ(host_test::RepeatedMnemonics(&Dialog()).toStdString(), "") << i << " " << page;
    }
  }
  Dialog().SelectEffect(EffectIndex::Fireworks);
  Dialog().findChild<QComboBox*>("cboExtras")->setCurrentIndex(4);
  EXPECT_EQ(host_test::TabOrder(&Dialog()).join(" ").toStdString(),
            "cboAniType ColorRed ColorGrn ColorBlu FixedHues ColorPctInt ColorPctHue ColorHueWheel FocalLength "
            "LockMessage FireWorks FireSparks FireLength FireSymmetry FireSpeed FirePersist FireGravity FireSizeDev "
            "FireDamping cboFireTheme cboExtras FireScintPct FireScintStyle cmdAccept cmdDismiss");
  QGuiApplication::clipboard()->setText("Happy\r\nNew Year");
  QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
  QApplication::sendEvent(Field("LockMessage"), &paste);
  EXPECT_EQ(Field("LockMessage")->text(), "HappyNew Year");
  EXPECT_EQ(Dialog().Form().Text("LockMessage"), "HappyNew Year");
}

// Widgets and form agree both ways: typing reaches the form and its rules' results show; the
// form's changes (a theme, an effect) show in the lists, boxes, frames and menu.
TEST_F(PropertiesDialogTest, TheWidgetsShowTheFormAndTheFormHearsTheWidgets) {
  Type("FireWorks", "99");
  EXPECT_EQ(Field("FireSparks")->text(), "303");
  Dialog().findChild<QCheckBox*>("FireBurstShell")->setChecked(false);
  Dialog().findChild<QComboBox*>("Warp_Type")->setCurrentIndex(2);
  EXPECT_EQ(Dialog().Form().Text("FireBurstShell"), "0");
  EXPECT_EQ(Dialog().Form().Text("Warp_Type"), "2");
  auto* themes = Dialog().findChild<QComboBox*>("cboGalaxyTheme");
  emit themes->activated(9);
  for (const auto& [key, text] : ThemeFieldTexts(SectionId::Galaxy, 9))
    if (auto* edit = Field(key.c_str())) EXPECT_EQ(edit->text().toStdString(), text) << key;
    else EXPECT_EQ(Dialog().findChild<QComboBox*>(QString::fromStdString(key))->currentIndex(), std::stoi(text)) << key;
  QAction* galaxies = nullptr;
  for (QAction* entry : Dialog().findChildren<QAction*>())
    if (entry->text() == "&Galaxies") galaxies = entry;
  galaxies->trigger();
  EXPECT_EQ(Dialog().findChild<QComboBox*>("cboAniType")->currentIndex(), 5);
  EXPECT_EQ(Dialog().findChild<QStackedWidget*>("fraAni")->currentIndex(), 5);
  EXPECT_FALSE(Dialog().findChild<QGroupBox*>("fraPixCol")->isEnabled());
  EXPECT_TRUE(Dialog().findChild<QGroupBox*>("fraPixelEnh")->isEnabled());
  Dialog().findChild<QComboBox*>("cboAniType")->setCurrentIndex(2);
  EXPECT_TRUE(galaxies->actionGroup()->checkedAction()->text() == "&B-Spline Warp");
  EXPECT_EQ(Dialog().Form().Effect(), EffectIndex::Warp);
}

// Accept range-checks the field being edited first; a failed Accept puts the cursor in the field
// to mend, says why and stays open.
TEST_F(PropertiesDialogTest, AcceptChecksTheEditedFieldAndAFailureIsShown) {
  Dialog().show();
  Dialog().SelectEffect(EffectIndex::Galaxies);
  Type("Galaxy_Stars", "40000");
  Field("Galaxy_Stars")->setFocus();
  Field("LockMessage")->setText(QString(4097, 'x'));
  QString message;
  auto answer = host_test::AnswerNextBox(&message);
  Dialog().accept();
  EXPECT_EQ(message, "The settings could not be saved: the Message field is longer than 4096 bytes. Your changes "
                     "are still in this window.");
  EXPECT_EQ(Dialog().focusWidget(), Field("LockMessage"));
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_EQ(Field("Galaxy_Stars")->text(), "30000");
  Field("LockMessage")->setText("hello");
  Dialog().accept();
  EXPECT_EQ(Dialog().result(), QDialog::Accepted);
  EXPECT_EQ(Stored("Galaxy", "Galaxy_Stars"), "30000");
}

TEST_F(PropertiesDialogTest, ResetAsksFirstAndNoIsTheDefault) {
  QAction* reset = nullptr;
  for (QAction* entry : Dialog().findChildren<QAction*>())
    if (entry->text() == "&Reset Properties") reset = entry;
  ASSERT_NE(reset, nullptr);
  Field("FireWorks")->setText("9");
  QString question;
  auto answer = host_test::AnswerNextBox(&question);  // closing the box answers No
  reset->trigger();
  EXPECT_EQ(question, "Do you really want to reset the Properties back to the factory settings?");
  EXPECT_EQ(Field("FireWorks")->text(), "9");
  answer = host_test::AnswerNextBox(nullptr, QMessageBox::Yes);
  reset->trigger();
  EXPECT_EQ(Field("FireWorks")->text(), "20");
}

TEST_F(PropertiesDialogTest, MenuEntriesOfOtherFormsWorkOnceTheirHookIsSet) {
  PropertiesFormHooks hooks;
  dialog = std::make_unique<PropertiesDialog>(store, nullptr, hooks);
  EXPECT_FALSE(Dialog().findChild<QAction*>("mnuAdvanced")->isEnabled());
  hooks.advanced = [](QWidget*, SettingsStore&, QString& message) {
    message = "from advanced";
    return true;
  };
  dialog = std::make_unique<PropertiesDialog>(store, nullptr, hooks);
  QAction* advanced = Dialog().findChild<QAction*>("mnuAdvanced");
  EXPECT_TRUE(advanced->isEnabled());
  advanced->trigger();
  EXPECT_EQ(Field("LockMessage")->text(), "from advanced");
}

TEST_F(PropertiesDialogTest, ThePreviewRunsAndStopsWhenHidden) {
  Dialog().show();
  LivePreview* preview = Dialog().Preview();
  Type("FireWorks", "5");
  QElapsedTimer waited;
  waited.start();
  while (preview->FramesShown() < 3 && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_GE(preview->FramesShown(), 3);
  Dialog().hide();
  EXPECT_FALSE(preview->Running());
}

}  // namespace

namespace {

namespace fs = std::filesystem;
using host_test::AnswerNextBox;
using host_test::Focus;
using host_test::PressKey;
using host_test::TypeText;

class DialogStore : public host_test::StoreTest {
 protected:
  std::string FileText() {
    std::ifstream in(store.FileFor(0), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

using AdvancedDialog = DialogStore;

// The controls drive the form's model and show its state: a theme box checks its effect, the
// cycling switch enables the frames, Defaults shows the factory values, OK with nothing to cycle
// says why and writes nothing, OK writes what the controls show (with Unique Alt+letters, and Tab
// reading each effect row to its end).
TEST_F(AdvancedDialog, ControlsDriveTheForm) {
  store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "70");
  const std::string before = FileText();
  frmAdvanced form(store, QStringLiteral("Hi"));
  EXPECT_EQ(host_test::RepeatedMnemonics(&form).toStdString(), "");
  EXPECT_EQ(host_test::TabOrder(&form).mid(0, 8).join(" ").toStdString(),
            "chkEffect0 chkEffect6 chkEffect1 chkEffect2 chkEffect3 chkEffect4 chkEffect5 chkEffect7");
  EXPECT_EQ(form.txtAdv(0)->text(), QStringLiteral("70"));
  form.chkEffect(0)->setChecked(false);
  form.chkEffect(6)->setChecked(true);
  EXPECT_TRUE(form.chkEffect(0)->isChecked());
  form.chkCycle()->setChecked(true);
  EXPECT_TRUE(form.findChild<QWidget*>(QStringLiteral("fraCycle"))->isEnabled());
  for (int i = 0; i < 8; ++i) form.chkEffect(i)->setChecked(false);
  QString text;
  {
    auto watcher = AnswerNextBox(&text);
    form.cmdOK()->click();
  }
  EXPECT_EQ(text, QStringLiteral("Please select one or more Effects."));
  EXPECT_EQ(FileText(), before);
  form.findChild<QPushButton*>(QStringLiteral("cmdDefaults"))->click();
  EXPECT_EQ(form.txtAdv(0)->text(), QStringLiteral("25"));
  EXPECT_EQ(form.txtAdv(1)->text(), QStringLiteral("1000"));
  EXPECT_EQ(form.PickMask(), 189);
  EXPECT_TRUE(form.chkEffect(7)->isChecked() && !form.chkEffect(6)->isChecked());
  EXPECT_FALSE(form.chkCycle()->isChecked() || form.findChild<QWidget*>(QStringLiteral("fraCycle"))->isEnabled());
  EXPECT_TRUE(form.txtMessage()->text().isEmpty());
  form.txtAdv(3)->selectAll();
  TypeText(form.txtAdv(3), QStringLiteral("x9"));
  TypeText(form.txtMessage(), QStringLiteral("Bye"));
  form.cmdOK()->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(Stored("Advanced", "Adv_HueStart"), "9");
  EXPECT_EQ(Stored("Advanced", "Adv_FontName"), form.cboFont()->currentText().toStdString());
  EXPECT_EQ(form.Message(), QStringLiteral("Bye"));
}

TEST_F(AdvancedDialog, AnUninstalledFontSelectsTheFamilyTheMessageIsDrawnWith) {
  frmAdvanced form(store, QString());
  const QString drawn = QFontInfo(QFont(QStringLiteral("MS Sans Serif"))).family();
  if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"))) GTEST_SKIP() << "the font is installed";
  if (QFontDatabase::families().contains(drawn)) {
    EXPECT_EQ(form.cboFont()->currentText(), drawn);
  }
}

using SoundDialog = DialogStore;

// The list, the file box, Delete, Play, Defaults and OK reach the form's model; the frame follows
// the switch.
TEST_F(SoundDialog, ControlsDriveTheForm) {
  store.RegSetString(kAppName, "SoundFX", "SoundFX_ON", "1");
  store.RegSetString(kAppName, "SoundFX", "Fire_Launch", "/old/launch.wav");
  frmSoundEffects form(store, nullptr);
  EXPECT_EQ(host_test::RepeatedMnemonics(&form).toStdString(), "");
  EXPECT_TRUE(form.fraSounds()->isEnabled());
  QString text;
  {
    auto watcher = AnswerNextBox(&text);
    form.cmdPlay()->click();
  }
  EXPECT_EQ(text, QStringLiteral("Please select an Effect Type."));
  form.lstEffectType()->setCurrentRow(3);
  TypeText(form.txtFile(), QStringLiteral(" /sounds/jet.wav "));
  form.lstEffectType()->setCurrentRow(0);
  EXPECT_EQ(form.txtFile()->text(), QStringLiteral("/old/launch.wav"));
  PressKey(form.lstEffectType(), Qt::Key_Delete);
  EXPECT_TRUE(form.txtFile()->text().isEmpty());
  form.cmdDefaults()->click();
  EXPECT_FALSE(form.chkSoundOn()->isChecked() || form.fraSounds()->isEnabled());
  form.cmdOK()->click();
  EXPECT_EQ(Stored("SoundFX", "Fire_JetBurst"), "/sounds/jet.wav");
  EXPECT_EQ(Stored("SoundFX", "Fire_Launch"), "");
  EXPECT_EQ(Stored("SoundFX", "SoundFX_ON"), "0");
}

// The widget drives the field's model: typed keys pass its filter (a refused one beeps), Up
// steps, focus out clamps, the label shows the range; the paste key and the context menu's Paste
// go through the filter too, and a "." typed over the selected "." is taken.
TEST(NumericFieldView, KeysPastesAndFocusReachTheModel) {
  host_test::EnsureQtApplication();
  QWidget form;
  NumericField* shells = AddNumericRow(new QFormLayout(&form), QStringLiteral("&Shells"), *FindKey(SectionId::Fireworks, "FireWorks"));
  QLineEdit& whole = *shells->edit();
  QLineEdit fraction;
  NumericField focal(&fraction, *FindKey(SectionId::General, "FocalLength"));
  int refused = 0;
  for (NumericField* f : {shells, &focal}) QObject::connect(f, &NumericField::keyRefused, [&] { ++refused; });
  EXPECT_EQ(form.findChild<QLabel*>()->text(), QStringLiteral("&Shells (1 - 99):"));
  TypeText(&whole, QStringLiteral("9a"));
  PressKey(&whole, Qt::Key_Up);
  EXPECT_EQ(shells->model().Text(), "10");
  EXPECT_EQ(refused, 1);
  whole.setText(QStringLiteral("500"));
  Focus(&whole, false);
  EXPECT_EQ(whole.text(), QStringLiteral("99"));
  whole.clear();
  QGuiApplication::clipboard()->setText(QStringLiteral("abc-1"));
  QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
  QApplication::sendEvent(&whole, &paste);
  EXPECT_EQ(whole.text(), QStringLiteral("1"));
  EXPECT_EQ(refused, 5);
  QGuiApplication::clipboard()->setText(QStringLiteral("1.5.2"));
  fraction.setText(QStringLiteral("2.5"));
  fraction.selectAll();
  QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(2, 2), QPoint(2, 2));
  QApplication::sendEvent(&fraction, &menuEvent);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  ASSERT_NE(PasteAction(menu), nullptr);
  PasteAction(menu)->trigger();
  menu->close();
  EXPECT_EQ(fraction.text(), QStringLiteral("1.52"));
  fraction.setSelection(1, 1);
  TypeText(&fraction, QStringLiteral("."));
  EXPECT_EQ(focal.model().Text(), "1.52");
  EXPECT_EQ(refused, 6);
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { host_test::EnsureQtApplication(); }
  // Accepts the dialog with name typed; returns the path, and the message shown (if any).
  QString Accept(bool open, const QString& name, QString* message) {
    TemplateFileDialog dialog(nullptr, open, QStringLiteral("Title"), kTypes);
    dialog.setDirectory(dir.path());
    dialog.selectFile(name);
    const auto answer = host_test::AnswerNextBox(message);
    dialog.accept();
    return dialog.FullFileName();
  }
  const QString kTypes = QStringLiteral("Quasarine Templates (*.qsn)|*.qsn|All Files (*.*)|*.*");
  QTemporaryDir dir;
};

// Open needs an existing file, Save a folder that exists; Save appends the extension and leaves
// the files there alone.
TEST_F(FileDialogTest, AcceptChecksTheNameAndSaveAppendsTheExtension) {
  QFile existing(dir.filePath(QStringLiteral("look.qsn0")));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();
  QString message;
  EXPECT_TRUE(Accept(true, QStringLiteral("missing.qsn"), &message).isEmpty());
  EXPECT_EQ(message, QStringLiteral("Please select an existing file."));
  message.clear();
  EXPECT_TRUE(Accept(false, dir.filePath(QStringLiteral("no/such/t.qsn")), &message).isEmpty());
  EXPECT_EQ(message, QStringLiteral("Please enter a valid path and file."));
  message.clear();
  EXPECT_EQ(Accept(false, QStringLiteral("look"), &message), dir.filePath(QStringLiteral("look.qsn")));
  EXPECT_TRUE(message.isEmpty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("look.qsn0")});
}

// A folder name and Return enter the folder with the name box cleared; the next dialog starts
// where the saved file went, also when a full path took it elsewhere, or where a cancelled one
// was; the type label's "&" is its mnemonic, not a character.
TEST_F(FileDialogTest, EnteringAFolderClearsTheNameAndTheNextDialogStartsWhereTheFileWent) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("c8")));
  QTemporaryDir elsewhere;
  {
    TemplateFileDialog dialog(nullptr, false, QStringLiteral("Title"), kTypes);
    dialog.setDirectory(dir.path());
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("fileTypeLabel"))->buddy(),
              dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")));
    name->setText(QStringLiteral("c8"));
    dialog.accept();
    EXPECT_EQ(dialog.directory().absolutePath(), dir.filePath(QStringLiteral("c8")));
    EXPECT_EQ(name->text(), QString());
    name->setText(QStringLiteral("look2"));
    dialog.accept();
    EXPECT_EQ(dialog.FullFileName(), dir.filePath(QStringLiteral("c8/look2.qsn")));
  }
  EXPECT_EQ(TemplateFileDialog(nullptr, true, QStringLiteral("Title"), kTypes).directory().absolutePath(),
            dir.filePath(QStringLiteral("c8")));
  {
    TemplateFileDialog dialog(nullptr, false, QStringLiteral("Title"), kTypes);
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(elsewhere.filePath(QStringLiteral("t.qsn")));
    dialog.accept();
    EXPECT_EQ(dialog.FullFileName(), elsewhere.filePath(QStringLiteral("t.qsn")));
  }
  EXPECT_EQ(TemplateFileDialog::LastFolder(), elsewhere.path());
  TemplateFileDialog(nullptr, true, QStringLiteral("Title"), kTypes).setDirectory(dir.path());  // then cancelled
  TemplateFileDialog next(nullptr, true, QStringLiteral("Title"), kTypes);
  EXPECT_EQ(next.directory().absolutePath(), dir.path());
  EXPECT_EQ(next.nameFilters(),
            QStringList({QStringLiteral("Quasarine Templates (*.qsn)"), QStringLiteral("All Files (*)")}));
}

}  // namespace

namespace {

using host_test::EnsureQtApplication;
using AboutBox = host_test::StoreTest;

TEST_F(AboutBox, AnimatesOnlyWhileItCanBeSeenAndItsNoteKeepsTwoLines) {
  frmWelcome box(store);
  EXPECT_FALSE(box.Animating());
  box.show();
  EXPECT_TRUE(box.Animating());
  box.showMinimized();
  EXPECT_FALSE(box.Animating());
  box.showNormal();
  EXPECT_TRUE(box.Animating());
  box.hide();
  EXPECT_FALSE(box.Animating());
  const auto* note = box.findChild<QLabel*>(QStringLiteral("lblNote"));  // two lines, no word alone on a third
  EXPECT_LT(note->height(), 3 * note->fontMetrics().lineSpacing());
}

TEST(Credits, ScrollWrapsBelowTheFrameAndStarsSurviveAResize) {
  EnsureQtApplication();
  frmCredits credits;
  credits.FormLet(5000, 0.3f, 100.0f, {QStringLiteral("Heading"), QStringLiteral("    item")});
  EXPECT_EQ(credits.motion().stars, 200);  // clamped on the way in
  credits.show();
  EXPECT_TRUE(credits.Animating());
  bool wrapped = false;
  for (int i = 0; i < 200; ++i) {
    const double before = credits.CreditsTop();
    credits.StepFrame();
    wrapped |= credits.CreditsTop() > before;
  }
  EXPECT_TRUE(wrapped);
  credits.resize(credits.width() + 50, credits.height() + 40);
  QCoreApplication::processEvents();
  credits.StepFrame();  // restarts the field at the new size without a fault
  credits.hide();
  EXPECT_FALSE(credits.Animating());
}

class Help : public host_test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_FALSE(ManualPath().isEmpty());
    owner = std::make_unique<QDialog>();
    help = HelpFor(owner.get());
  }
  QString SelectedSectionTitle() {
    const int at = help->browser()->textCursor().position();
    QString title;
    for (QTreeWidgetItemIterator it(help->contents()); *it; ++it)
      if ((*it)->data(0, Qt::UserRole).toInt() <= at) title = (*it)->text(0);
    return title;
  }
  std::unique_ptr<QDialog> owner;  // after the application exists
  HelpWindow* help = nullptr;
};

// Every key of the catalogue that a dialog edits has its row in the manual.
TEST_F(Help, EveryEditedSettingHasATopic) {
  for (const SectionSpec& section : Catalogue())
    for (const KeySpec& key : section.keys) {
      const QString name = QString::fromLatin1(key.key.data(), static_cast<int>(key.key.size()));
      if (name == QLatin1String("WindowState") || name == QLatin1String("WindowSize")) continue;  // kept by the window
      EXPECT_TRUE(help->ShowTopic(name)) << name.toStdString();
    }
  EXPECT_FALSE(help->ShowTopic(QStringLiteral("NoSuchSetting")));
}

// F1 on a field of the properties dialog shows its setting in the dialog's own help window,
// which closes with the dialog; the dialog's menus reach our other forms.
TEST_F(Help, F1OnAFieldOpensItsSettingsSection) {
  PropertiesDialog dialog(store);
  dialog.show();
  EXPECT_EQ(HelpKeyOf(dialog.findChild<QLineEdit*>(QStringLiteral("FireWorks"))), QStringLiteral("FireWorks"));
  frmAdvanced form(store, QString());
  ShowHelpTopic(&dialog, form.chkCycle());
  HelpWindow* own = dialog.findChild<HelpWindow*>();
  ASSERT_NE(own, nullptr);
  help = own;
  EXPECT_EQ(help->browser()->textCursor().selectedText(), QStringLiteral("Adv_EffectFPC"));
  EXPECT_EQ(SelectedSectionTitle(), QStringLiteral("Advanced settings"));
  dialog.close();
  EXPECT_FALSE(own->isVisible());
  const PropertiesFormHooks forms = MakeFormHooks(nullptr);
  EXPECT_TRUE(forms.advanced && forms.sounds && forms.about);
}

// The help opens beside its dialog, not over it, and Escape closes it.
TEST_F(Help, OpensBesideItsDialogAndEscapeClosesIt) {
  owner->setGeometry(20, 40, 250, 300);
  owner->show();
  help->ShowContents();
  EXPECT_FALSE(help->frameGeometry().intersects(owner->frameGeometry()));
  EXPECT_EQ(help->y(), owner->y());
  host_test::PressKey(help->browser(), Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());
  EXPECT_TRUE(owner->isVisible());
}

TEST_F(Help, SearchNarrowsTheContentsAndFindsTheWords) {
  ASSERT_GT(help->contents()->topLevelItemCount(), 0);
  help->ShowSearch(QStringLiteral("solar wind"));
  int shown = 0;
  for (QTreeWidgetItemIterator it(help->contents()); *it; ++it) shown += !(*it)->isHidden() && (*it)->childCount() == 0;
  EXPECT_EQ(shown, 2);  // the sparklers and the galaxies
  EXPECT_TRUE(help->FindNext());
  EXPECT_EQ(help->browser()->textCursor().selectedText().toLower(), QStringLiteral("solar wind"));
  help->search()->setText(QStringLiteral("zzqqxx"));
  EXPECT_FALSE(help->FindNext());
}

}  // namespace
}  // namespace qsrn
