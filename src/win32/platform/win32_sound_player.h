// The sound player of Windows: winmm's PlaySoundW plays one sound at a time, and a new one stops
// the one still playing, which is exactly the firework rule. Only regular files up to
// kMaxSoundFileBytes are handed to it (a FIFO, a device, a folder or a huge file is skipped, and
// checking never blocks); each name is checked once per run and the answer kept.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "render/sound.h"

namespace qsrn {

class Win32SoundPlayer : public SoundPlayer {
 public:
  // Firework sounds are short; anything larger is not one.
  static constexpr size_t kMaxSoundFileBytes = size_t{8} << 20;

  Win32SoundPlayer() = default;
  ~Win32SoundPlayer() override;  // stops the sound still playing
  Win32SoundPlayer(const Win32SoundPlayer&) = delete;
  Win32SoundPlayer& operator=(const Win32SoundPlayer&) = delete;

  void Play(const std::string& fileName) override;

 private:
  std::map<std::string, bool> playable_;
  bool played_ = false;
};

}  // namespace qsrn
