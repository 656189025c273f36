// The help window over the real manual: contents from its headings, topics by setting key (F1),
// the search that narrows the contents, and closing with its dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTreeWidget>
#include <memory>

#include "host_test_support.h"
#include "settings/catalogue.h"
#include "settings/store.h"
#include "ui/advanced_form.h"
#include "ui/form_hooks.h"
#include "ui/help_window.h"
#include "ui/properties_dialog.h"

namespace qsrn {
namespace {

class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    host_test::EnsureQtApplication();
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
  host_test::TempHome home;
  SettingsStore store(home.path());
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
