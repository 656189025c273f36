// SDL2 and SDL2_mixer, loaded when the first sound is asked for rather than when the program
// starts: a saver with sound off never maps the audio stack (some fifty libraries with their
// dependencies), and every display starts that much sooner.
#pragma once

#ifdef QSRN_HAVE_SDL_MIXER

#include <SDL.h>
#include <SDL_mixer.h>

namespace qsrn {

// The few functions the sound player calls.
struct SdlLibrary {
  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_RWFromConstMem) RWFromConstMem;
  decltype(&Mix_OpenAudio) OpenAudio;
  decltype(&Mix_CloseAudio) CloseAudio;
  decltype(&Mix_LoadMUS_RW) LoadMUS_RW;
  decltype(&Mix_MusicDuration) MusicDuration;
  decltype(&Mix_FreeMusic) FreeMusic;
  decltype(&Mix_PlayMusic) PlayMusic;
  decltype(&Mix_HaltMusic) HaltMusic;
  decltype(&Mix_PlayingMusic) PlayingMusic;
};

// The libraries' functions, loaded on the first call and kept to the end of the process; null
// when they are not installed (nothing is played then, and stderr says why once).
const SdlLibrary* LoadSdlLibrary();

}  // namespace qsrn

#endif
