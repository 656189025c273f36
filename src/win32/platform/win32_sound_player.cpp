// PlaySoundW behind the sound-player interface; see win32_sound_player.h.
#include "win32/platform/win32_sound_player.h"

#include <windows.h>
#include <mmsystem.h>

#include "settings/file_system.h"
#include "settings/file_system.h"

namespace qsrn {

namespace {
// Each slot's file, with room for the settings changing between runs; further names are not checked.
constexpr size_t kMaxKeptSounds = 2 * kSoundSlotCount;

bool Playable(const std::string& name) {
  const files::BoundedRead read =
      files::ReadBounded(name, Win32SoundPlayer::kMaxSoundFileBytes, files::Oversize::kReadNothing);
  return read.exists && !read.unreadable && !read.truncated;
}
}  // namespace

Win32SoundPlayer::~Win32SoundPlayer() {
  if (played_) PlaySoundW(nullptr, nullptr, 0);
}

void Win32SoundPlayer::Play(const std::string& fileName) {
  auto found = playable_.find(fileName);
  if (found == playable_.end()) {
    if (playable_.size() >= kMaxKeptSounds) return;
    found = playable_.emplace(fileName, Playable(fileName)).first;
  }
  if (!found->second) return;
  // No default sound for a file that turns out not to be one: a failure stays silent.
  played_ = true;
  PlaySoundW(files::PathFromUtf8(fileName).wstring().c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
}

}  // namespace qsrn
