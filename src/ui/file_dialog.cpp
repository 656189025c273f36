// The configuration dialogs' file dialog; see file_dialog.h.
#include "ui/file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryFile>

namespace qsrn {

namespace {

// Where the previous dialog was closed, kept for the program's lifetime.
QString& RememberedFolder() {
  static QString folder;
  return folder;
}

void Exclaim(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QStringLiteral("Quasarine"), text);
}

// Whether the folder takes a new file: a probe of our own is created and removed.
bool FolderWritable(const QString& folder) {
  if (!QFileInfo(folder).isDir()) return false;
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".quasarine-probe-XXXXXX")));
  return probe.open();
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
  const QStringList filters = NameFiltersFromTypes(types);
  if (!filters.isEmpty()) setNameFilters(filters);
  if (!RememberedFolder().isEmpty() && QFileInfo(RememberedFolder()).isDir()) setDirectory(RememberedFolder());
}

TemplateFileDialog::~TemplateFileDialog() { RememberedFolder() = directory().absolutePath(); }

QString TemplateFileDialog::LastFolder() { return RememberedFolder(); }

void TemplateFileDialog::accept() {
  const QStringList chosen = selectedFiles();
  QString path = chosen.isEmpty() ? QString() : chosen.first();
  // A name in a folder that does not exist is not among the selected files: take it as typed.
  if (path.isEmpty())
    if (const auto* typed = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); typed && !typed->text().isEmpty())
      path = directory().absoluteFilePath(typed->text());
  if (path.isEmpty()) return;
  // A folder typed or chosen is entered, as the dialog does by itself.
  if (QFileInfo(path).isDir()) {
    QFileDialog::accept();
    return;
  }
  RememberedFolder() = directory().absolutePath();
  if (open_) {
    if (!QFileInfo(path).isFile()) {
      Exclaim(this, tr("Please select an existing file."));
      return;
    }
  } else {
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.'))) path += QStringLiteral(".qsn");
    const QFileInfo info(path);
    if (info.fileName().isEmpty() || info.isDir() || !FolderWritable(info.absolutePath())) {
      Exclaim(this, tr("Please enter a valid path and file."));
      return;
    }
  }
  fullFileName_ = QFileInfo(path).absoluteFilePath();
  RememberedFolder() = QFileInfo(path).absolutePath();
  QDialog::accept();
}

QString ShowFileDialog(QWidget* parent, bool open, const QString& title, const QString& types) {
  TemplateFileDialog dialog(parent, open, title, types);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.FullFileName();
}

}  // namespace qsrn
