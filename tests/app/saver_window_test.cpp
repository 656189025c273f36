// The full-screen saver window driven by real input events (offscreen): a key or a button ends
// it at the end of the frame in which it came; three mouse moves do not, the fourth does.
#include <gtest/gtest.h>

#include <QKeyEvent>
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

TEST_F(SaverWindowTest, AKeyEndsTheSaverAtTheEndOfItsFrame) {
  script.at[7] = [this] {
    QCoreApplication::postEvent(window.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
  };
  window->Run();
  EXPECT_EQ(script.frames, 7);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(SaverWindowTest, AnyButtonEndsTheSaver) {
  script.at[4] = [this] {
    const QPointF at(5, 5);
    QCoreApplication::postEvent(window.get(), new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::RightButton,
                                                              Qt::RightButton, Qt::NoModifier));
  };
  window->Run();
  EXPECT_EQ(script.frames, 4);
}

TEST_F(SaverWindowTest, ThreeMouseMovesDoNotEndItTheFourthDoes) {
  script.at[3] = [this] { Move(10); };
  script.at[5] = [this] { Move(20); };
  script.at[9] = [this] { Move(30); };
  script.at[20] = [this] { Move(40); };
  window->Run();
  EXPECT_EQ(script.frames, 20);
}

TEST_F(SaverWindowTest, TheWindowCarriesTheTitleThatASecondSaverLooksFor) {
  script.at[2] = [this] { EXPECT_TRUE(WindowExists(QString::fromLatin1(kSaverTitle))); };
  script.at[3] = [this] { window->close(); };
  window->Run();
  EXPECT_EQ(window->windowTitle(), "QSRN:Quasarine 2.3");
  EXPECT_FALSE(WindowExists(QString::fromLatin1(kSaverTitle)));
}

}  // namespace
}  // namespace qsrn
