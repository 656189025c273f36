// The full-screen saver window driven by real input events (offscreen): a key or a button ends
// it at the end of the frame in which it came; three mouse moves do not, the fourth does.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>
#include <map>

#include "host/host_session.h"
#include "host/saver_window.h"
#include "host_test_support.h"

namespace qsrn {
namespace {

class SaverWindowTest : public ::testing::Test {
 protected:
  class ScriptedEngine : public Engine {
   public:
    explicit ScriptedEngine(SaverWindowTest& test) : test_(test) {}
    void Setup(Context&) override {}
    void Step(Context& ctx) override {
      ++test_.frames;
      if (test_.frames > 10000) ctx.StopRequested = true;
      if (auto it = test_.script.find(test_.frames); it != test_.script.end()) it->second();
    }

   private:
    SaverWindowTest& test_;
  };

  void SetUp() override {
    host_test::EnsureQtApplication();
    session = std::make_unique<HostSession>(home.path());
    session->ctx().runMode = RunMode::Saver;
    session->store().RegSetString(kAppName, "General", "AnimationType", "2");
    session->runLoop().SetEngineFactory([this](int) -> std::unique_ptr<Engine> {
      return std::make_unique<ScriptedEngine>(*this);
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
  std::map<int, std::function<void()>> script;
  int frames = 0;
};

TEST_F(SaverWindowTest, AKeyEndsTheSaverAtTheEndOfItsFrame) {
  script[7] = [this] {
    QCoreApplication::postEvent(window.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
  };
  window->Run();
  EXPECT_EQ(frames, 7);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(SaverWindowTest, AnyButtonEndsTheSaver) {
  script[4] = [this] {
    const QPointF at(5, 5);
    QCoreApplication::postEvent(window.get(), new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::RightButton,
                                                              Qt::RightButton, Qt::NoModifier));
  };
  window->Run();
  EXPECT_EQ(frames, 4);
}

TEST_F(SaverWindowTest, ThreeMouseMovesDoNotEndItTheFourthDoes) {
  script[3] = [this] { Move(10); };
  script[5] = [this] { Move(20); };
  script[9] = [this] { Move(30); };
  script[20] = [this] { Move(40); };
  window->Run();
  EXPECT_EQ(frames, 20);
}

TEST_F(SaverWindowTest, TheWindowCarriesTheTitleThatASecondSaverLooksFor) {
  script[2] = [this] { EXPECT_TRUE(WindowExists(QString::fromLatin1(kSaverTitle))); };
  script[3] = [this] { window->close(); };
  window->Run();
  EXPECT_EQ(window->windowTitle(), "QSRN:Quasarine 2.3");
  EXPECT_FALSE(WindowExists(QString::fromLatin1(kSaverTitle)));
}

}  // namespace
}  // namespace qsrn
