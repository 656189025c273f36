// The configuration dialogs' file dialog; see file_dialog.h.
#include "qt/ui/file_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "forms/chosen_file.h"

namespace qsrn {

namespace {

// Where the previous dialog was closed, kept for the program's lifetime: a static may hold it, as it
// is the user's place in the file system for this run, shared by every file dialog, and no setting
// or picture depends on it.
QString& RememberedFolder() {
  static QString folder;
  return folder;
}

void Exclaim(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QStringLiteral("Quasarine"), text);
}

}  // namespace

QStringList NameFiltersFromTypes(const QString& types) {
  QStringList filters;
  const QStringList parts = types.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // The pattern in the description's parentheses is shown; the pattern after "|" filters.
    if (const qsizetype paren = description.lastIndexOf(QLatin1Char('(')); paren > 0 && description.endsWith(QLatin1Char(')')))
      description = description.left(paren).trimmed();
    QString pattern = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
    // "All files" here means every file, also those without a dot.
    if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    filters << QStringLiteral("%1 (%2)").arg(description, pattern);
  }
  return filters;
}

TemplateFileDialog::TemplateFileDialog(QWidget* parent, bool open, const QString& title, const QString& types)
    : QFileDialog(parent, title), open_(open) {
  setObjectName(QStringLiteral("frmTemplate"));
  // Our checks and messages, the same on every desktop.
  setOption(QFileDialog::DontUseNativeDialog);
  setOption(QFileDialog::DontConfirmOverwrite);
  setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setLabelText(QFileDialog::FileName, tr("File &name:"));
  setLabelText(QFileDialog::FileType, tr("List Files of &Type:"));
  // Qt's type label has no buddy, so its "&" would show as written.
  if (auto* typeLabel = findChild<QLabel*>(QStringLiteral("fileTypeLabel")))
    typeLabel->setBuddy(findChild<QComboBox*>(QStringLiteral("fileTypeCombo")));
  const QStringList filters = NameFiltersFromTypes(types);
  if (!filters.isEmpty()) setNameFilters(filters);
  if (!RememberedFolder().isEmpty() && QFileInfo(RememberedFolder()).isDir()) setDirectory(RememberedFolder());
}

// A dialog closed without a file leaves the folder it showed; an accepted one has remembered
// where its file went (which a full path typed in may put elsewhere).
TemplateFileDialog::~TemplateFileDialog() {
  if (fullFileName_.isEmpty()) RememberedFolder() = directory().absolutePath();
}

QString TemplateFileDialog::LastFolder() { return RememberedFolder(); }

void TemplateFileDialog::accept() {
  // The name box holds what was typed or clicked; the list's selection may still name the folder
  // just entered.
  auto* typed = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QString path;
  if (typed != nullptr && !typed->text().trimmed().isEmpty()) {
    path = directory().absoluteFilePath(typed->text().trimmed());
  } else if (const QStringList chosen = selectedFiles(); !chosen.isEmpty()) {
    path = chosen.first();
  }
  if (path.isEmpty()) return;
  // A folder typed or chosen is entered, and its name leaves the name box so that the next name
  // typed is not added to it.
  if (QFileInfo(path).isDir()) {
    setDirectory(path);
    if (typed != nullptr) typed->clear();
    return;
  }
  const ChosenFile chosen = CheckChosenFile(open_, path.toStdString());
  if (!chosen.refusal.empty()) {
    Exclaim(this, tr(chosen.refusal.data()));
    return;
  }
  path = QString::fromStdString(chosen.path);
  fullFileName_ = QFileInfo(path).absoluteFilePath();
  RememberedFolder() = QFileInfo(path).absolutePath();
  QDialog::accept();  // NOLINT(bugprone-parent-virtual-call): the name is checked above, not by the file dialog
}

QString ShowFileDialog(QWidget* parent, bool open, const QString& title, const QString& types) {
  TemplateFileDialog dialog(parent, open, title, types);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.FullFileName();
}

}  // namespace qsrn
