// The host's shared objects; see host_session.h.
#include "qt/saver/host_session.h"

#include "qt/platform/sdl_sound_player.h"

namespace qsrn {

HostSession::HostSession(std::filesystem::path storeDir)
    : ctx_(std::make_unique<Context>()),
      store_(std::move(storeDir)),
      sound_(std::make_unique<SdlSoundPlayer>()),
      loop_(*ctx_, store_) {
  ctx_->platform = &platform_;
  ctx_->sound = sound_.get();
}

HostSession::~HostSession() = default;

}  // namespace qsrn
