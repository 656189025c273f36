// The saver's other screens; see saver_screens.h.
#include "host/saver_screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <chrono>

#include "host/host_session.h"
#include "host/lockstep_thread.h"
#include "host/saver_window.h"
#include "render/frame.h"

namespace qsrn {

namespace {

// The frame platform of a loop on a lockstep thread: it never touches Qt. Its event dispatch
// hands the turn back to the GUI thread, which shows the frame and the message it asked for.
class LockstepPlatform : public FramePlatform {
 public:
  uint32_t TickCount() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
  void Present(Context&) override { framePending = true; }
  void DispatchEvents(Context&, uint32_t) override {
    if (thread != nullptr) thread->Yield();
  }
  void ShowMessage(Context&) override { messagePending = true; }

  LockstepThread* thread = nullptr;
  bool framePending = false;
  bool messagePending = false;
};

}  // namespace

struct SaverScreens::Other {
  Other(HostSession& session, SaverWindow& lead, QScreen* on)
      : screen(on), ctx(std::make_unique<Context>()), window(session, &lead), loop(*ctx, session.store()) {
    const Context& first = session.ctx();
    ctx->trig = first.trig;
    ctx->runMode = first.runMode;
    ctx->TwipsPerPixelX = first.TwipsPerPixelX;
    ctx->TwipsPerPixelY = first.TwipsPerPixelY;
    ctx->platform = &platform;  // no sound: one sound plays at a time, from the first screen
  }

  QScreen* screen;
  std::unique_ptr<Context> ctx;
  SaverWindow window;
  LockstepPlatform platform;
  RunLoop loop;
  std::unique_ptr<LockstepThread> thread;
};

SaverScreens::SaverScreens(HostSession& session, SaverWindow& lead) : session_(session), lead_(lead) {
  connect(qGuiApp, &QGuiApplication::screenAdded, this, &SaverScreens::Add);
  connect(qGuiApp, &QGuiApplication::screenRemoved, this, &SaverScreens::Remove);
  // When the lead's screen goes, the lead moves to another one: it covers that one instead.
  if (QWindow* window = lead_.windowHandle()) {
    connect(window, &QWindow::screenChanged, this, [this](QScreen* screen) {
      if (screen == nullptr) return;
      Remove(screen);
      lead_.setGeometry(screen->geometry());
    });
  }
}

SaverScreens::~SaverScreens() {
  while (!others_.empty()) Remove(others_.back()->screen);
}

void SaverScreens::CoverOtherScreens() {
  for (QScreen* screen : QGuiApplication::screens()) Add(screen);
}

void SaverScreens::Add(QScreen* screen) {
  if (screen == nullptr || screen == lead_.screen()) return;
  for (const auto& other : others_)
    if (other->screen == screen) return;
  auto other = std::make_unique<Other>(session_, lead_, screen);
  other->window.SetupSaverForm(screen);
  other->ctx->surface = &other->window.surface();
  Other* o = other.get();
  other->thread = std::make_unique<LockstepThread>([o] { o->loop.RunSaver(o->window.demo()); });
  other->platform.thread = other->thread.get();
  others_.push_back(std::move(other));
}

void SaverScreens::Remove(QScreen* screen) {
  const auto it = std::find_if(others_.begin(), others_.end(), [screen](const auto& o) { return o->screen == screen; });
  if (it == others_.end()) return;
  Other& o = **it;
  o.thread->Finish([&o] { o.ctx->StopRequested = true; });
  o.window.hide();
  others_.erase(it);
}

void SaverScreens::TurnAll() {
  for (const auto& o : others_) {
    o->thread->Turn();
    if (o->platform.messagePending) {
      o->platform.messagePending = false;
      o->window.ApplyMessage(o->ctx->settings, o->ctx->TwipsPerPixelY);
    }
    if (o->platform.framePending) {
      o->platform.framePending = false;
      o->window.PresentFrame();
    }
  }
}

}  // namespace qsrn
