// SDL2_mixer playback: one channel, the chunk of the last file kept until another replaces it.
#include "host/sdl_sound_player.h"

#ifdef QSRN_HAVE_SDL_MIXER
#include <SDL.h>
#include <SDL_mixer.h>
#endif

namespace qsrn {

#ifdef QSRN_HAVE_SDL_MIXER

namespace {
constexpr int kChannel = 0;
}  // namespace

SdlSoundPlayer::~SdlSoundPlayer() {
  if (!deviceOpen_) return;
  Mix_HaltChannel(kChannel);
  if (chunk_ != nullptr) Mix_FreeChunk(chunk_);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSoundPlayer::OpenDevice() {
  if (triedOpen_) return deviceOpen_;
  triedOpen_ = true;  // once: a machine without a device is not asked again on every burst
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(1);
  deviceOpen_ = true;
  return true;
}

void SdlSoundPlayer::Play(const std::string& fileName) {
  if (!OpenDevice()) return;
  if (chunk_ == nullptr || fileName != chunkFile_) {
    Mix_Chunk* next = Mix_LoadWAV(fileName.c_str());
    if (next == nullptr) return;  // missing or unplayable: ignored, the current sound plays on
    Mix_HaltChannel(kChannel);
    if (chunk_ != nullptr) Mix_FreeChunk(chunk_);
    chunk_ = next;
    chunkFile_ = fileName;
  }
  Mix_PlayChannel(kChannel, chunk_, 0);  // a busy channel is stopped and restarted
}

bool SdlSoundPlayer::Playing() const { return deviceOpen_ && Mix_Playing(kChannel) != 0; }

#else  // built without SDL2_mixer: silent

SdlSoundPlayer::~SdlSoundPlayer() = default;
bool SdlSoundPlayer::OpenDevice() {
  triedOpen_ = true;
  return false;
}
void SdlSoundPlayer::Play(const std::string&) { OpenDevice(); }
bool SdlSoundPlayer::Playing() const { return false; }

#endif

}  // namespace qsrn
