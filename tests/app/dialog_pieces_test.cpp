// The shared dialog pieces: the numeric field scheme and the file dialog's checks.
#include <gtest/gtest.h>

#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QWidget>

#include "host_test_support.h"
#include "settings/catalogue.h"
#include "ui/file_dialog.h"
#include "ui/numeric_field.h"

namespace qsrn {
namespace {

using host_test::Focus;
using host_test::PressKey;
using host_test::TypeText;

struct FieldCase {
  SectionId section;
  const char* key;
  const char* start;
  const char* typed;
  int up, down;  // Up presses, then Down presses
  const char* shown;
  int refused;
  const char* afterFocusOut;
};

class NumericFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(NumericFieldTest, FiltersStepsAndClamps) {
  host_test::EnsureQtApplication();
  const FieldCase& c = GetParam();
  QWidget form;
  auto* layout = new QFormLayout(&form);
  NumericField* field = AddNumericRow(layout, QStringLiteral("Field"), *FindKey(c.section, c.key));
  int refused = 0;
  QObject::connect(field, &NumericField::keyRefused, [&] { ++refused; });
  field->edit()->setText(QString::fromLatin1(c.start));
  field->edit()->end(false);
  TypeText(field->edit(), QString::fromLatin1(c.typed));
  for (int i = 0; i < c.up; ++i) PressKey(field->edit(), Qt::Key_Up);
  for (int i = 0; i < c.down; ++i) PressKey(field->edit(), Qt::Key_Down);
  EXPECT_EQ(field->edit()->text().toStdString(), c.shown);
  EXPECT_EQ(refused, c.refused);
  Focus(field->edit(), false);
  EXPECT_EQ(field->edit()->text().toStdString(), c.afterFocusOut);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericFieldTest,
    ::testing::Values(
        FieldCase{SectionId::Fireworks, "FireWorks", "", "12a", 0, 0, "12", 1, "12"},
        FieldCase{SectionId::General, "FocalLength", "", "1.5.2-", 0, 0, "1.52", 2, "1.52"},
        FieldCase{SectionId::Gravity, "Grav_Gravity", "", "40000", 0, 0, "40000", 0, "30000"},
        FieldCase{SectionId::Fireworks, "FireSparks", "", "", 0, 0, "", 0, "10"},
        FieldCase{SectionId::Fireworks, "FireSparks", "9995", "", 2, 0, "9999", 0, "9999"},
        FieldCase{SectionId::Warp, "Warp_CyclePct", "55", "", 0, 1, "45", 0, "45"},
        FieldCase{SectionId::Fireworks, "FireSymmetry", "0.5", "", 3, 0, "0.5", 0, "0.5"},  // no spinner
        FieldCase{SectionId::Fireworks, "FirePersist", "", ".", 0, 0, ".", 0, "0.25"}));

TEST(NumericFieldTest, DotTypedOverTheSelectedDot) {
  host_test::EnsureQtApplication();
  QLineEdit edit;
  NumericField field(&edit, *FindKey(SectionId::General, "FocalLength"));
  edit.setText(QStringLiteral("2.5"));
  edit.setSelection(1, 1);
  TypeText(&edit, QStringLiteral("."));
  EXPECT_EQ(edit.text(), QStringLiteral("2.5"));
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

TEST_F(FileDialogTest, ACancelledDialogStillRemembersItsFolder) {
  {
    TemplateFileDialog dialog(nullptr, true, QStringLiteral("Title"), kTypes);
    dialog.setDirectory(dir.path());
    dialog.reject();
  }
  EXPECT_EQ(TemplateFileDialog::LastFolder(), dir.path());
  TemplateFileDialog next(nullptr, true, QStringLiteral("Title"), kTypes);
  EXPECT_EQ(next.directory().absolutePath(), dir.path());
  EXPECT_EQ(next.nameFilters(),
            QStringList({QStringLiteral("Quasarine Templates (*.qsn)"), QStringLiteral("All Files (*)")}));
}

}  // namespace
}  // namespace qsrn
