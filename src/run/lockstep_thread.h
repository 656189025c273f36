// A run loop on a thread of its own that never runs at the same time as the GUI thread: the two
// hand one turn back and forth, so the loop behaves as if it ran nested in the GUI thread's event
// dispatch (one stretch up to its next dispatch per turn) and nothing they share is ever touched
// by both at once. This lets every screen run its own blocking run loop beside the first one.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "render/frame.h"

namespace qsrn {

class LockstepThread {
 public:
  // The thread starts at once but waits for its first turn before running body.
  explicit LockstepThread(std::function<void()> body);
  // The body must have finished (see Finish).
  ~LockstepThread();
  LockstepThread(const LockstepThread&) = delete;
  LockstepThread& operator=(const LockstepThread&) = delete;

  // GUI thread: lets the body run until it yields or returns.
  void Turn();
  // Body's thread: hands the turn back and waits for the next one.
  void Yield();
  // GUI thread: runs beforeTurn (which asks the body to stop) and a turn until the body returns.
  void Finish(const std::function<void()>& beforeTurn);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool bodysTurn_ = false;
  bool finished_ = false;
  std::thread thread_;  // last: starts once the rest is ready
};

// The frame platform of a loop on a lockstep thread: it never touches the window system. Its
// event dispatch hands the turn back to the GUI thread, which shows the frame and the message it
// asked for. Its clock is the first screen's frame clock, so it draws exactly one frame per frame
// there: a clock of its own would find its frame delay a millisecond short now and then and skip
// a turn.
class LockstepPlatform : public FramePlatform {
 public:
  uint32_t TickCount() override { return clock; }
  void Present(Context&) override { framePending = true; }
  void DispatchEvents(Context&, uint32_t) override {
    if (thread != nullptr) thread->Yield();
  }
  void ShowMessage(Context&) override { messagePending = true; }

  LockstepThread* thread = nullptr;
  uint32_t clock = 0;
  bool framePending = false;
  bool messagePending = false;
};

}  // namespace qsrn
