// The sound player of this platform: SDL2_mixer on one channel, so that a new sound stops the one
// still playing. The audio device is opened once, on the first sound; a machine without one
// (or a build without SDL2_mixer) simply plays nothing.
//
// Use: create one per process and put its address in Context::sound before the run loop starts;
// PlaySoundFile does the rest. Destroying it stops the sound and closes the device.
#pragma once

#include <string>

#include "render/sound.h"

struct Mix_Chunk;

namespace qsrn {

class SdlSoundPlayer : public SoundPlayer {
 public:
  SdlSoundPlayer() = default;
  ~SdlSoundPlayer() override;
  SdlSoundPlayer(const SdlSoundPlayer&) = delete;
  SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

  // Starts fileName and returns at once; a file that is missing or not a sound is ignored.
  void Play(const std::string& fileName) override;

  // Whether a sound is still playing (for callers that want to wait, such as tests).
  bool Playing() const;
  // Whether the audio device was opened; false before the first sound and on a machine without one.
  bool DeviceOpen() const { return deviceOpen_; }

 private:
  bool OpenDevice();

  bool triedOpen_ = false;
  bool deviceOpen_ = false;
  Mix_Chunk* chunk_ = nullptr;  // the sound on the channel (or last played), freed when replaced
  std::string chunkFile_;       // the file chunk_ was loaded from, so a repeated sound is not reread
};

}  // namespace qsrn
