// Loading SDL2 and SDL2_mixer at run time; see sdl_library.h.
#include "qt/platform/sdl_library.h"

#ifdef QSRN_HAVE_SDL_MIXER

#include <dlfcn.h>

#include <cstdio>

namespace qsrn {

namespace {

template <typename F>
bool Find(void* library, const char* name, F& to) {
  to = reinterpret_cast<F>(dlsym(library, name));
  return to != nullptr;
}

bool Load(SdlLibrary& sdl) {
  // The mixer brings SDL2 itself along; both stay loaded to the end of the process.
  void* mixer = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  void* core = mixer != nullptr ? dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL) : nullptr;
  if (mixer == nullptr || core == nullptr) {
    std::fprintf(stderr, "quasarine: no sound: %s\n", dlerror());
    return false;
  }
  const bool found =
      Find(core, "SDL_SetHint", sdl.SetHint) && Find(core, "SDL_InitSubSystem", sdl.InitSubSystem) &&
      Find(core, "SDL_QuitSubSystem", sdl.QuitSubSystem) && Find(core, "SDL_RWFromConstMem", sdl.RWFromConstMem) &&
      Find(mixer, "Mix_OpenAudio", sdl.OpenAudio) && Find(mixer, "Mix_CloseAudio", sdl.CloseAudio) &&
      Find(mixer, "Mix_LoadMUS_RW", sdl.LoadMUS_RW) && Find(mixer, "Mix_MusicDuration", sdl.MusicDuration) &&
      Find(mixer, "Mix_FreeMusic", sdl.FreeMusic) && Find(mixer, "Mix_PlayMusic", sdl.PlayMusic) &&
      Find(mixer, "Mix_HaltMusic", sdl.HaltMusic) && Find(mixer, "Mix_PlayingMusic", sdl.PlayingMusic);
  if (!found) std::fprintf(stderr, "quasarine: no sound: %s\n", dlerror());
  return found;
}

}  // namespace

const SdlLibrary* LoadSdlLibrary() {
  // May stay static: the loaded libraries are the process's anyway, and the table is written once.
  static SdlLibrary sdl{};
  static const bool loaded = Load(sdl);
  return loaded ? &sdl : nullptr;
}

}  // namespace qsrn

#endif
