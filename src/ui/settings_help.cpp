// Opening the settings help; see settings_help.h.
#include "ui/settings_help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace qsrn {

namespace {

// The README installed beside the program, in the installed documentation, or in the source
// tree above a build folder.
QString FindReadme() {
  const QDir here(QCoreApplication::applicationDirPath());
  for (const QString& relative : {QStringLiteral("README.md"), QStringLiteral("../share/doc/quasarine/README.md"),
                                  QStringLiteral("../README.md"), QStringLiteral("../../README.md"),
                                  QStringLiteral("../../../README.md")}) {
    const QFileInfo candidate(here.filePath(relative));
    if (candidate.isFile()) return candidate.canonicalFilePath();
  }
  return {};
}

}  // namespace

void OpenSettingsHelp(QWidget* parent) {
  const QString readme = FindReadme();
  QUrl url = QUrl::fromLocalFile(readme);
  url.setFragment(QStringLiteral("settings"));
  if (readme.isEmpty() || !QDesktopServices::openUrl(url))
    QMessageBox::warning(parent, QStringLiteral("Quasarine"), QObject::tr("The help on the settings could not be opened."));
}

}  // namespace qsrn
