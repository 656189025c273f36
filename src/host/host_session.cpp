// The host's shared objects; see host_session.h.
#include "host/host_session.h"

namespace qsrn {

HostSession::HostSession(std::filesystem::path storeDir)
    : ctx_(std::make_unique<Context>()), store_(std::move(storeDir)), loop_(*ctx_, store_) {
  ctx_->platform = &platform_;
}

HostSession::~HostSession() = default;

}  // namespace qsrn
