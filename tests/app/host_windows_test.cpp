// The host's windows driven by real key and mouse events (offscreen), their engines stand-ins
// that post the input. The windowed display: F5 saves the placement and restarts the animation
// with a fresh run loop, a click opens the properties dialog whose Exit ends the display, and
// Escape ends it. The saver: a button ends it at the end of its frame, three moves do not (the
// keyboard, the fourth move and a second saver are checked under a real X server).
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>

#include "dialog_test_support.h"
#include "host/host_session.h"
#include "host/saver_window.h"
#include "host/screen_window.h"
#include "host/single_instance.h"
#include "host_test_support.h"

namespace qsrn {
namespace {

template <class Window, RunMode mode, char animationType>
class HostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_test::EnsureQtApplication();
    session = std::make_unique<HostSession>(home.path());
    session->ctx().runMode = mode;
    session->store().RegSetString(kAppName, "General", "AnimationType", std::string(1, animationType));
    session->runLoop().SetEngineFactory([this](int) -> std::unique_ptr<Engine> {
      return std::make_unique<host_test::ScriptedEngine>(script);
    });
    window = std::make_unique<Window>(*session);
  }

  void Key(int key) { QCoreApplication::postEvent(window.get(), new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier)); }
  void Mouse(QEvent::Type type, Qt::MouseButton button, int x = 10) {
    const QPointF at(x, 10);
    QCoreApplication::postEvent(window.get(), new QMouseEvent(type, at, at, button, button, Qt::NoModifier));
  }
  void Click() { Mouse(QEvent::MouseButtonPress, Qt::LeftButton); }

  host_test::TempHome home;
  std::unique_ptr<HostSession> session;
  std::unique_ptr<Window> window;
  host_test::Script script;
};

using SaverWindowTest = HostWindowTest<SaverWindow, RunMode::Saver, '2'>;
using ScreenWindowTest = HostWindowTest<ScreenWindow, RunMode::Windowed, '1'>;

TEST_F(SaverWindowTest, AButtonEndsTheSaverAtTheEndOfItsFrameThreeMovesDoNot) {
  for (const int frame : {3, 5, 9}) script.at[frame] = [this, frame] { Mouse(QEvent::MouseMove, Qt::NoButton, frame); };
  script.at[12] = [this] { Mouse(QEvent::MouseButtonPress, Qt::RightButton); };
  window->Run();
  EXPECT_EQ(script.frames, 12);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ScreenWindowTest, F5RestartsWithAFreshRunLoopAndEscapeEnds) {
  script.at = {{5, [this] { Key(Qt::Key_F5); }}, {12, [this] { Key(Qt::Key_Escape); }}};
  window->Run();
  EXPECT_EQ(script.setups, 2);  // one engine per run loop: the first unwound before the second began
  EXPECT_EQ(script.frames, 12);
  EXPECT_FALSE(session->store().RegGetString(0, kAppName, "General", "WindowSize", "").empty());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(session->ctx().surface, nullptr);
}

TEST_F(ScreenWindowTest, AClickOpensThePropertiesDialogAndItsExitEndsTheDisplay) {
  script.at = {{3, [this] { Click(); }}};
  bool dialogSeen = false;
  const auto pressExit = dialog_test::OnModal([&](QWidget* dialog) {
    dialogSeen = true;
    EXPECT_EQ(dialog->windowTitle(), "Quasarine Properties");
    EXPECT_TRUE(WindowExists(QString::fromLatin1(kPropertiesTitle)));  // a /C now brings it forward
    for (QAction* entry : dialog->findChildren<QAction*>())
      if (entry->text() == "E&xit") entry->trigger();
  });
  window->Run();
  EXPECT_TRUE(dialogSeen);
  EXPECT_TRUE(session->state().ExitRequested);
  EXPECT_EQ(script.setups, 1);
  EXPECT_EQ(script.frames, 3);
}

TEST_F(ScreenWindowTest, ClosingThePropertiesDialogRestartsTheAnimation) {
  script.at = {{3, [this] { Key(Qt::Key_A); }}, {8, [this] { Key(Qt::Key_Escape); }}};
  const auto closeDialog = dialog_test::OnModal([](QWidget* dialog) { dialog->close(); });
  window->Run();
  EXPECT_FALSE(session->state().ExitRequested);
  EXPECT_EQ(script.setups, 2);
  EXPECT_EQ(script.frames, 8);
}

TEST_F(ScreenWindowTest, ThePlatformsCloseEndsTheProgram) {
  script.at = {{4, [this] { window->close(); }}};
  window->Run();
  EXPECT_EQ(script.setups, 1);
  EXPECT_EQ(script.frames, 4);
  EXPECT_FALSE(session->store().RegGetString(0, kAppName, "General", "WindowState", "").empty());
}

TEST_F(ScreenWindowTest, ALoneModifierOpensNothingAndTheWindowWithoutResizingHasNoFrame) {
  script.at = {{3, [this] { Key(Qt::Key_Alt); }}, {6, [this] { Key(Qt::Key_Escape); }}};
  bool dialogSeen = false;
  const auto watch = dialog_test::OnModal([&](QWidget* modal) {  // closed, so the test cannot hang
    dialogSeen = true;
    modal->close();
  });
  window->Run();
  EXPECT_FALSE(dialogSeen);
  EXPECT_EQ(script.frames, 6);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(ScreenWindowTest, AResizeRestartsTheRunAtTheNewSizeOnceItSettles) {
  session->store().RegSetString(kAppName, "Advanced", "Adv_WinResize", "1");
  script.at = {{3, [this] { window->resize(320, 200); }}, {200, [this] { Key(Qt::Key_Escape); }}};
  window->Run();
  EXPECT_EQ(script.setups, 2);
  const qreal dpr = window->devicePixelRatioF();
  EXPECT_EQ(window->surface().Width(), qRound(320 * dpr));
  EXPECT_EQ(window->surface().Height(), qRound(200 * dpr));
}

}  // namespace
}  // namespace qsrn
