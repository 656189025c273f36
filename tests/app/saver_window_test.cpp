// The full-screen saver window driven by real input events (offscreen); the keyboard, the fourth
// move and a second saver are checked under a real X server.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include "host/host_session.h"
#include "host/saver_window.h"
#include "host_test_support.h"

namespace qsrn {
namespace {

class SaverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_test::EnsureQtApplication();
    session = std::make_unique<HostSession>(home.path());
    session->ctx().runMode = RunMode::Saver;
    session->store().RegSetString(kAppName, "General", "AnimationType", "2");
    session->runLoop().SetEngineFactory([this](int) -> std::unique_ptr<Engine> {
      return std::make_unique<host_test::ScriptedEngine>(script);
    });
    window = std::make_unique<SaverWindow>(*session);
  }

  void Move(int x) {
    const QPointF at(x, 20);
    QCoreApplication::postEvent(window.get(), new QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton,
                                                              Qt::NoButton, Qt::NoModifier));
  }

  host_test::TempHome home;
  std::unique_ptr<HostSession> session;
  std::unique_ptr<SaverWindow> window;
  host_test::Script script;
};

// Three mouse moves leave it running; a button ends it at the end of its frame.
TEST_F(SaverWindowTest, AButtonEndsTheSaverAtTheEndOfItsFrameThreeMovesDoNot) {
  script.at[3] = [this] { Move(10); };
  script.at[5] = [this] { Move(20); };
  script.at[9] = [this] { Move(30); };
  script.at[12] = [this] {
    const QPointF at(5, 5);
    QCoreApplication::postEvent(window.get(), new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::RightButton,
                                                              Qt::RightButton, Qt::NoModifier));
  };
  window->Run();
  EXPECT_EQ(script.frames, 12);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace qsrn
