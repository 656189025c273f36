// The program's own sound files; see sound_files.h.
#include "settings/sound_files.h"

namespace qsrn {

std::array<std::string, kSoundSlotCount> SoundFilesIn(const std::string& folder, char separator) {
  std::array<std::string, kSoundSlotCount> files;
  for (size_t i = 0; i < files.size(); ++i)
    files[i] = folder + separator + std::string(kProgramSoundNames[i]);
  return files;
}

}  // namespace qsrn
