// The program's own sounds; see program_sounds.h.
#include "qt/ui/program_sounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "settings/sound_files.h"

namespace qsrn {

QString ProgramSoundDirectory() {
  const QString appDir = QCoreApplication::applicationDirPath();
  QStringList candidates = {appDir + "/sounds", appDir + "/../share/quasarine/sounds"};
  for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    candidates << data + "/quasarine/sounds";
  const QString launch = QString::fromUtf8(kProgramSoundNames[0]);
  for (const QString& dir : candidates)
    if (QFileInfo(dir + "/" + launch).isFile()) return QDir::cleanPath(QDir(dir).absolutePath());
  return {};
}

std::array<std::string, kSoundSlotCount> ProgramSoundFiles() {
  const QString dir = ProgramSoundDirectory();
  if (dir.isEmpty()) return {};
  return SoundFilesIn(dir.toStdString(), '/');
}

}  // namespace qsrn
