// The about box (its demonstrations, animating only while seen), the credits' line cuts and
// scrolling, and the help window over the real manual: contents, topics by key (F1), search.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTreeWidget>
#include <memory>

#include "host_test_support.h"
#include "settings/catalogue.h"
#include "settings/store.h"
#include "ui/about_demo.h"
#include "ui/advanced_form.h"
#include "ui/credits_form.h"
#include "ui/form_hooks.h"
#include "ui/help_window.h"
#include "ui/properties_dialog.h"
#include "ui/welcome_form.h"

namespace qsrn {
namespace {

using host_test::EnsureQtApplication;
using AboutBox = host_test::StoreTest;

TEST_F(AboutBox, DemonstrationsRunInOrderForTheirQuotaAndStartAgainWhenInterrupted) {
  AboutDemonstrations demo(store);
  demo.SetFixedSeed(7);
  demo.Resize(160, 120);
  const AboutDemo order[] = {AboutDemo::Fireworks, AboutDemo::Galaxies, AboutDemo::GravityWells,
                             AboutDemo::Sparklers, AboutDemo::Fireworks};
  for (AboutDemo expected : order) {
    for (int frame = 0; frame < kAboutDemoFrames; ++frame)
      ASSERT_EQ(demo.StepFrame(), expected) << "frame " << frame;
    EXPECT_EQ(demo.Current(), order[(static_cast<int>(expected) + 1) % kAboutDemoCount]);
  }
  // An interrupted demonstration starts again, with every group varying its hue.
  AboutDemonstrations fresh(store);
  fresh.Resize(80, 60);
  fresh.Interrupt();  // nothing running yet
  EXPECT_EQ(fresh.Current(), AboutDemo::Fireworks);
  for (int frame = 0; frame < 5; ++frame) fresh.StepFrame();
  fresh.Interrupt();  // the credits were opened and closed
  EXPECT_EQ(fresh.StepFrame(), AboutDemo::Fireworks);
  EXPECT_EQ(fresh.FramesRun(), 1);
  // Hue wheel 100 %, hue variation 60 degrees: no group of sparks is one solid colour.
  EXPECT_EQ(fresh.settings().ColorPctHue, 100);
  EXPECT_EQ(fresh.settings().ColorHueWheel, 60);
}

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

TEST(CreditsText, HeadingsAndItemsAreCut) {
  const QString heading = QStringLiteral("  ") + QString(45, QChar('H'));  // blanks: an item
  const std::vector<CreditLine> lines =
      BuildCreditText({QString(45, QChar('T')), QStringLiteral("   ") + QString(60, QChar('i')) + "   ", heading});
  ASSERT_EQ(lines.size(), 5u + 4u);
  EXPECT_EQ(lines[5].text, QString());  // a blank line before a heading
  EXPECT_EQ(lines[6].text, QString(30, QChar('T')));
  EXPECT_EQ(lines[6].pointSize, 10);
  EXPECT_EQ(lines[7].text, QStringLiteral("     ") + QString(40, QChar('i')));
  EXPECT_EQ(lines[7].pointSize, 8);
  EXPECT_EQ(lines[8].text, QStringLiteral("     ") + QString(40, QChar('H')));
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
  EXPECT_TRUE(FormHooks().advanced && FormHooks().sounds && FormHooks().about);
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
