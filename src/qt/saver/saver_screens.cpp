// The saver's other screens; see saver_screens.h.
#include "qt/saver/saver_screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "qt/saver/host_session.h"
#include "run/lockstep_thread.h"
#include "qt/present/present_log.h"
#include "qt/saver/saver_window.h"
#include "render/frame.h"

namespace qsrn {

struct SaverScreens::Other {
  Other(HostSession& session, SaverWindow& lead, QScreen* on)
      : screen(on),
        ctx(std::make_unique<Context>()),
        window(session, &lead),
        loop(*ctx, session.store()),
        presentLog(on->name().toUtf8()) {
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
  PresentLog presentLog;
  std::unique_ptr<LockstepThread> thread;
};

SaverScreens::SaverScreens(HostSession& session, SaverWindow& lead) : session_(session), lead_(lead) {
  // Screens come and go in bursts (one change of the layout reports several), and setting up a
  // window lets events through: every change is answered by one pass over the screens as they
  // are then, run once the current event is done.
  connect(qGuiApp, &QGuiApplication::screenAdded, this, &SaverScreens::Follow, Qt::QueuedConnection);
  connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen* screen) {
    for (const auto& o : others_)
      if (o->screen == screen) o->screen = nullptr;  // the pointer dies with the screen
    QMetaObject::invokeMethod(this, &SaverScreens::Follow, Qt::QueuedConnection);
  });
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &SaverScreens::Follow, Qt::QueuedConnection);
  // When the lead's screen goes, the lead moves to another one: it covers that one instead.
  if (QWindow* window = lead_.windowHandle()) {
    connect(window, &QWindow::screenChanged, this, [this](QScreen* screen) {
      if (screen == nullptr) return;
      lead_.setGeometry(screen->geometry());
      QMetaObject::invokeMethod(this, &SaverScreens::Follow, Qt::QueuedConnection);
    });
  }
}

SaverScreens::~SaverScreens() {
  while (!others_.empty()) Drop(others_.size() - 1);
}

void SaverScreens::CoverOtherScreens() { Follow(); }

void SaverScreens::Follow() {
  if (following_) {
    again_ = true;
    return;
  }
  following_ = true;
  do {
    again_ = false;
    const QList<QScreen*> live = QGuiApplication::screens();
    // A window whose screen went, moved or changed size goes; a new one covers the screen.
    for (size_t i = others_.size(); i-- > 0;) {
      const Other& o = *others_[i];
      if (o.screen == nullptr || !live.contains(o.screen) || o.screen == lead_.screen() ||
          o.window.geometry() != o.screen->geometry())
        Drop(i);
    }
    for (QScreen* screen : live) {
      if (screen == lead_.screen() ||
          std::any_of(others_.begin(), others_.end(), [screen](const auto& o) { return o->screen == screen; }))
        continue;
      others_.push_back(std::make_unique<Other>(session_, lead_, screen));
      Other* o = others_.back().get();
      o->window.SetupSaverForm(screen);  // lets events through: the screen may go meanwhile
      o->ctx->surface = &o->window.surface();
      o->thread = std::make_unique<LockstepThread>([o] { o->loop.RunSaver(o->window.demo()); });
      o->platform.thread = o->thread.get();
    }
  } while (again_);
  following_ = false;
}

void SaverScreens::Drop(size_t index) {
  Other& o = *others_[index];
  if (o.thread) o.thread->Finish([&o] { o.ctx->StopRequested = true; });
  o.window.hide();
  others_.erase(others_.begin() + static_cast<std::ptrdiff_t>(index));
}

void SaverScreens::TurnAll(uint32_t frameTick) {
  for (const auto& o : others_) {
    if (!o->thread) continue;  // still being set up
    o->platform.clock = frameTick;
    o->thread->Turn();
    if (o->platform.messagePending) {
      o->platform.messagePending = false;
      o->window.ApplyMessage(o->ctx->settings, o->ctx->TwipsPerPixelY);
    }
    if (o->platform.framePending) {
      o->platform.framePending = false;
      o->window.PresentFrame();
      o->presentLog.FramePresented();
    }
  }
}

}  // namespace qsrn
