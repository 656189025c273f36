// The turn-taking thread; see lockstep_thread.h.
#include "run/lockstep_thread.h"

namespace qsrn {

LockstepThread::LockstepThread(std::function<void()> body)
    : thread_([this, body = std::move(body)] {
        {
          std::unique_lock lock(mutex_);
          changed_.wait(lock, [this] { return bodysTurn_; });
        }
        body();
        std::lock_guard lock(mutex_);
        finished_ = true;
        bodysTurn_ = false;
        changed_.notify_all();
      }) {}

LockstepThread::~LockstepThread() {
  if (thread_.joinable()) thread_.join();
}

void LockstepThread::Turn() {
  std::unique_lock lock(mutex_);
  if (finished_) return;
  bodysTurn_ = true;
  changed_.notify_all();
  changed_.wait(lock, [this] { return !bodysTurn_; });
}

void LockstepThread::Yield() {
  std::unique_lock lock(mutex_);
  bodysTurn_ = false;
  changed_.notify_all();
  changed_.wait(lock, [this] { return bodysTurn_; });
}

void LockstepThread::Finish(const std::function<void()>& beforeTurn) {
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (finished_) break;
    }
    beforeTurn();
    Turn();
  }
  if (thread_.joinable()) thread_.join();
}

}  // namespace qsrn
