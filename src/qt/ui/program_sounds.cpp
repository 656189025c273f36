// The program's own sounds; see program_sounds.h.
#include "qt/ui/program_sounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qsrn {

namespace {
// In slot order, as the generator writes them.
constexpr const char* kSoundFileNames[kSoundSlotCount] = {
    "launch.wav", "standard.wav", "multiburst.wav", "jetburst.wav", "scintillator.wav",
    "sparkler.wav", "rings.wav", "twister.wav", "decaystar.wav"};
}  // namespace

QString ProgramSoundDirectory() {
  const QString appDir = QCoreApplication::applicationDirPath();
  QStringList candidates = {appDir + "/sounds", appDir + "/../share/quasarine/sounds"};
  for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    candidates << data + "/quasarine/sounds";
  for (const QString& dir : candidates)
    if (QFileInfo(dir + "/" + kSoundFileNames[0]).isFile()) return QDir::cleanPath(QDir(dir).absolutePath());
  return {};
}

std::array<std::string, kSoundSlotCount> ProgramSoundFiles() {
  std::array<std::string, kSoundSlotCount> files;
  const QString dir = ProgramSoundDirectory();
  if (dir.isEmpty()) return files;
  for (int i = 0; i < kSoundSlotCount; ++i)
    files[static_cast<size_t>(i)] = (dir + "/" + kSoundFileNames[i]).toStdString();
  return files;
}

}  // namespace qsrn
