// Everything one saver process shares between start-up and its windows: the context of the
// running effect, the settings store, the host's own flags, the Qt frame platform, the sound
// player and the run loop. Created once by SaverMain; windows receive it by reference.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "qt/present/qt_frame_platform.h"
#include "run/run_loop.h"
#include "render/context.h"
#include "settings/store.h"

namespace qsrn {

struct HostState {
  bool ExitRequested = false;   // set by the properties dialog's Exit
  int32_t PreviewParent = 0;    // the /P window id
  std::string HelpFile;
};

class HostSession {
 public:
  explicit HostSession(std::filesystem::path storeDir = SettingsStore::DefaultDirectory());
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  Context& ctx() { return *ctx_; }
  SettingsStore& store() { return store_; }
  HostState& state() { return state_; }
  QtFramePlatform& platform() { return platform_; }
  RunLoop& runLoop() { return loop_; }
  SoundPlayer& sound() { return *sound_; }

 private:
  std::unique_ptr<Context> ctx_;  // large tables: kept off the stack
  SettingsStore store_;
  HostState state_;
  QtFramePlatform platform_;
  std::unique_ptr<SoundPlayer> sound_;  // one audio device for the whole process
  RunLoop loop_;
};

}  // namespace qsrn
