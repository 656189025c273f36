// The sound player of this platform: SDL2_mixer's music stream, of which one plays at a time, so
// a new sound stops the one still playing. The audio device is opened once, on the first sound;
// a machine without one (or a build without SDL2_mixer) simply plays nothing.
//
// A sound is never decoded whole: the mixer decodes it a buffer at a time as it plays, so a tiny
// compressed file that stands for hours of audio costs no more memory than its own bytes. Files
// are read and opened (their header parsed) on a worker thread, never on the window's, once per
// run and kept; the first request of a file starts its loading and the sound plays as soon as it
// is ready (if no newer sound was asked for meanwhile). Only regular files up to
// kMaxSoundFileBytes are read, and only sounds up to kMaxSoundSeconds long are played; a FIFO, a
// device, a directory, a huge file or an endless recording is skipped.
//
// SDL is told to leave SIGTERM and SIGINT alone, so the saver still ends on them with sound on.
//
// Use: create one per process and put its address in Context::sound before the run loop starts;
// PlaySoundFile does the rest. Destroying it stops the sound and closes the device.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "render/sound.h"

struct _Mix_Music;  // NOLINT(bugprone-reserved-identifier): SDL_mixer's own name for Mix_Music

namespace qsrn {

struct SdlLibrary;

class SdlSoundPlayer : public SoundPlayer {
 public:
  // Firework sounds are short; anything larger is not one and would stall the decoder.
  static constexpr size_t kMaxSoundFileBytes = size_t{8} << 20;
  // Six minutes, a little less than 64 MB of audio at the device's rate; firework sounds last seconds.
  static constexpr double kMaxSoundSeconds = 360;

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
  // Waits until every requested file has been loaded or given up (tests).
  void WaitForLoads();

 private:
  bool OpenDevice();
  void LoadLoop();
  void Start(_Mix_Music* music);

  const SdlLibrary* sdl_ = nullptr;  // loaded with the device, on the first sound
  bool triedOpen_ = false;
  bool deviceOpen_ = false;

  // Shared with the loader thread, under mutex_.
  struct Entry {
    bool loaded = false;            // opening finished (music may still be null: not playable)
    _Mix_Music* music = nullptr;
    std::unique_ptr<std::string> bytes;  // the file, which the music reads as it plays
  };
  std::mutex mutex_;
  std::condition_variable wake_;  // the loader waits for work, WaitForLoads for its end
  std::map<std::string, Entry> sounds_;
  std::deque<std::string> queue_;
  std::string wanted_;  // the sound last asked for, played on arrival if asked for recently
  std::chrono::steady_clock::time_point wantedAt_;
  bool stopping_ = false;
  bool busy_ = false;
  std::thread loader_;
};

}  // namespace qsrn
