// Everything one saver process shares between start-up and its windows: the context of the
// running effect, the settings store, the Win32 frame platform, the sound player and the run
// loop. Created once by the program's start-up; windows receive it by reference.
#pragma once

#include <memory>
#include <string>

#include "render/context.h"
#include "run/run_loop.h"
#include "settings/store.h"
#include "win32/platform/win32_sound_player.h"
#include "win32/present/win32_frame_platform.h"

namespace qsrn {

// The window titles a running instance is found by.
#define QSRN_WIDE2(text) L##text
#define QSRN_WIDE(text) QSRN_WIDE2(text)
inline constexpr wchar_t kSaverTitleW[] = L"QSRN:Quasarine " QSRN_WIDE(QSRN_VERSION);
inline constexpr wchar_t kPreviewTitleW[] = L"QSRN:Preview Quasarine " QSRN_WIDE(QSRN_VERSION);

struct SaverSession {
  SaverSession() : ctx(std::make_unique<Context>()), store(SettingsStore::DefaultDirectory()), loop(*ctx, store) {
    ctx->platform = &platform;
    ctx->sound = &sound;
  }
  SaverSession(const SaverSession&) = delete;
  SaverSession& operator=(const SaverSession&) = delete;

  std::unique_ptr<Context> ctx;  // large tables: kept off the stack
  SettingsStore store;
  Win32FramePlatform platform;
  Win32SoundPlayer sound;
  RunLoop loop;
  std::string soundFolder;  // the folder of the program's own sounds, empty when they are not there
};

}  // namespace qsrn
