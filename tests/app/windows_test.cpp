// The windows: the display window (the surface presented as drawn, the message label of the saver
// and windowed forms, never the preview's, every effect's frames presented by changed tiles equal
// to the surface); the host's windows driven by real key and mouse events (offscreen), their
// engines stand-ins that post the input; and the rules beneath them: the mouse-move rule, the
// windowed display's placement in twips, one instance per title, user and display.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLocalServer>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

#include "qt/present/display_window.h"
#include "qt/saver/host_session.h"
#include "run/mouse_move_rule.h"
#include "qt/present/qt_frame_platform.h"
#include "qt/saver/saver_window.h"
#include "qt/saver/screen_window.h"
#include "qt/platform/single_instance.h"
#include "qt/present/tile_presenter.h"
#include "qt/saver/window_placement.h"
#include "host_test_support.h"
#include "render/color.h"
#include "render/frame.h"
#include "settings/store.h"
#include "tools/headless.h"

namespace qsrn {
namespace {

class DisplayWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_test::EnsureQtApplication();
    ctx.platform = &platform;
    ctx.settings.LockMessage = "Good night";
    ctx.settings.Adv_FontName = "DejaVu Sans";
    ctx.settings.Adv_FontSize = 24;
    ctx.settings.Adv_FontHueV = 120;
  }

  // A shown window with its surface sized to it.
  static std::unique_ptr<DisplayWindow> Shown(bool isForm, int width, int height) {
    auto window = std::make_unique<DisplayWindow>(isForm);
    window->resize(width, height);
    window->show();
    window->SizeSurfaceToWindow();
    return window;
  }

  std::unique_ptr<Context> ctxStorage = std::make_unique<Context>();
  Context& ctx = *ctxStorage;
  QtFramePlatform platform;
};

// The pixel in its colour (every pixel of every effect is checked below, without the window);
// a window grown beyond its surface is black there.
TEST_F(DisplayWindowTest, PresentingShowsTheSurfaceAsDrawn) {
  auto window = Shown(false, 64, 48);
  window->surface().SetPixel(63, 47, RGB(10, 200, 30));
  window->PresentFrame();
  window->resize(80, 60);
  const QImage shown = window->grab().toImage();
  EXPECT_EQ(shown.pixelColor(63, 47), QColor(10, 200, 30));
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(0, 0, 0));
  window->surface().SetPixel(63, 47, RGB(255, 255, 255));
  window->PresentFrame();
  EXPECT_EQ(window->grab().toImage().pixelColor(70, 47), QColor(0, 0, 0));
  EXPECT_EQ(window->grab().toImage().pixelColor(63, 55), QColor(0, 0, 0));
}

TEST_F(DisplayWindowTest, TheMessageRunsAcrossTheTopInTheHueColourAndAnEmptyOneLeavesIt) {
  auto window = Shown(true, 400, 300);
  ctx.surface = &window->surface();
  platform.SetDisplay(window.get());
  ClearAndShowMessage(ctx);

  QLabel* label = window->messageLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), "Good night");
  EXPECT_EQ(label->font().pointSize(), 24);
  EXPECT_EQ(label->font().family(), "DejaVu Sans");
  const int32_t hue = HueToRGB(120);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(RedOf(hue), GreenOf(hue), BlueOf(hue)));
  EXPECT_EQ(label->geometry().topLeft(), QPoint(0, 12));  // 180 twips at 15 twips per pixel
  EXPECT_EQ(label->width(), 400);

  ctx.settings.LockMessage.clear();
  ctx.settings.Adv_FontSize = 40;
  ShowMessage(ctx);
  EXPECT_EQ(label->text(), "Good night");
  EXPECT_EQ(label->font().pointSize(), 24);
  window->ClearMessage();
  EXPECT_TRUE(label->text().isEmpty());
  EXPECT_FALSE(label->isVisible());
}

TEST_F(DisplayWindowTest, ThePreviewNeverShowsTheMessageNorAnUnloadedForm) {
  DisplayWindow preview(false);
  preview.resize(100, 100);
  preview.SizeSurfaceToWindow();
  ctx.surface = &preview.surface();
  platform.SetDisplay(&preview);
  ShowMessage(ctx);
  EXPECT_EQ(preview.messageLabel(), nullptr);
  EXPECT_TRUE(preview.findChildren<QLabel*>().isEmpty());

  DisplayWindow form(true);
  form.SizeSurfaceToWindow();
  ctx.surface = &form.surface();
  platform.SetDisplay(nullptr);  // unloaded: no current form
  ShowMessage(ctx);
  EXPECT_TRUE(form.messageLabel()->text().isEmpty());
}

// The surface as the screen should show it: 0x00BBGGRR to 0xFFRRGGBB.
int FirstDifference(const Surface& surface, const QImage& shown, QPoint at) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      const auto c = static_cast<uint32_t>(surface.GetPixel(x, y));
      const QRgb want = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c >> 16));
      if (shown.pixel(x + at.x(), y + at.y()) != want) return y * surface.Width() + x;
    }
  return -1;
}

// Each effect, painted straight into an RGB32 image (0), the same at an offset, as into a window's
// part of a larger backing store (1), and into a format only Qt's drawing takes (2).
class TilePresenterTest : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(TilePresenterTest, ThePresentedPictureEqualsTheSurfaceAfterEveryFrame) {
  QTemporaryDir dir;
  ToolStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir.path().toStdString(), {}, &error)) << error;
  HeadlessDisplay display;
  display.Start(store.store(), 203, 117, 7);  // sizes that cut the last tiles short
  const auto [effect, target] = GetParam();
  std::unique_ptr<Engine> engine = PrepareEffect(display.ctx, store.store(), effect, 0, false);
  if (engine == nullptr) GTEST_SKIP() << "no engine for this effect";

  TilePresenter presenter;
  presenter.Resize(display.surface, 1);
  const QPoint at = target == 1 ? QPoint(5, 3) : QPoint();
  QImage shown(display.surface.Width() + at.x(), display.surface.Height() + at.y(),
               target == 2 ? QImage::Format_RGB888 : QImage::Format_RGB32);
  shown.fill(Qt::magenta);  // anything never presented shows up as a difference
  int frame = 0;
  int mismatch = -1;
  display.platform.onPresent = [&](Context&) {
    presenter.Update(display.surface);
    const QRegion changed = presenter.TakePending();
    // Now and then a frame is not painted (a hidden window) or the window system asks for more
    // than changed (an expose): both must leave nothing behind.
    if (frame % 7 == 3) return void(++frame);
    const QRegion area = frame % 5 == 1 ? changed + QRect(frame % 150, frame % 90, 40, 20) : changed;
    if (!area.isEmpty()) {
      QPainter painter(&shown);
      painter.translate(at);
      presenter.Paint(painter, area);
    }
    if (++frame % 25 == 0 && mismatch < 0) mismatch = FirstDifference(display.surface, shown, at);
  };
  RunFrames(display.ctx, *engine, 400);
  EXPECT_EQ(mismatch, -1) << "first wrong pixel (index) by frame " << frame;
  EXPECT_EQ(FirstDifference(display.surface, shown, at), -1);
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, TilePresenterTest, ::testing::Combine(::testing::Range(0, 6), ::testing::Range(0, 3)));

}  // namespace

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

// A lone modifier opens nothing; F5 saves the placement and restarts with a fresh run loop; the
// platform's close ends the program and saves the window's state.
TEST_F(ScreenWindowTest, F5RestartsWithAFreshRunLoopAndTheCloseEnds) {
  std::string sizeAfterF5;
  script.at = {{3, [this] { Key(Qt::Key_Alt); }},
               {5, [this] { Key(Qt::Key_F5); }},
               {6, [&] { sizeAfterF5 = session->store().RegGetString(0, kAppName, "General", "WindowSize", ""); }},
               {12, [this] { window->close(); }}};
  bool dialogSeen = false;
  const auto watch = host_test::OnModal([&](QWidget* modal) {  // closed, so the test cannot hang
    dialogSeen = true;
    modal->close();
  });
  window->Run();
  EXPECT_FALSE(dialogSeen);
  EXPECT_EQ(script.setups, 2);  // one engine per run loop: the first unwound before the second began
  EXPECT_EQ(script.frames, 12);
  EXPECT_FALSE(sizeAfterF5.empty());
  EXPECT_FALSE(session->store().RegGetString(0, kAppName, "General", "WindowState", "").empty());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(session->ctx().surface, nullptr);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));  // no resizing: no frame
}

// A key opens the properties dialog, and closing it restarts the animation; a click opens it
// again, and its Exit ends the display.
TEST_F(ScreenWindowTest, AKeyOrAClickOpensThePropertiesDialog) {
  script.at = {{3, [this] { Key(Qt::Key_A); }}, {8, [this] { Click(); }}};
  int dialogs = 0;
  const auto answer = host_test::OnModal([&](QWidget* dialog) {
    if (++dialogs == 1) {
      dialog->close();
      return;
    }
    EXPECT_EQ(dialog->windowTitle(), "Quasarine Properties");
    EXPECT_TRUE(WindowExists(QString::fromLatin1(kPropertiesTitle)));  // a /C now brings it forward
    for (QAction* entry : dialog->findChildren<QAction*>())
      if (entry->text() == "E&xit") entry->trigger();
  });
  window->Run();
  EXPECT_EQ(dialogs, 2);
  EXPECT_TRUE(session->state().ExitRequested);
  EXPECT_EQ(script.setups, 2);
  EXPECT_EQ(script.frames, 8);
}

// The restart keeps the size the user gave, not the one stored before.
TEST_F(ScreenWindowTest, AResizeRestartsTheRunAtTheNewSizeOnceItSettles) {
  session->store().RegSetString(kAppName, "Advanced", "Adv_WinResize", "1");
  session->store().RegSetString(kAppName, "General", "WindowSize", "00150001500060000450");
  QSize first;
  script.at = {{2, [&] { first = window->size(); }},
               {3, [this] { window->resize(320, 200); }},
               {200, [this] { Key(Qt::Key_Escape); }}};
  window->Run();
  EXPECT_EQ(script.setups, 2);
  EXPECT_NE(first, QSize(320, 200));
  EXPECT_EQ(window->size(), QSize(320, 200));
  const qreal dpr = window->devicePixelRatioF();
  EXPECT_EQ(window->surface().Width(), qRound(320 * dpr));
  EXPECT_EQ(window->surface().Height(), qRound(200 * dpr));
}

struct MoveCase {
  std::vector<int64_t> seconds;  // the times of the moves
  std::vector<size_t> closing;   // the moves that close
};

class MouseMoveRuleCases : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MouseMoveRuleCases, OnlyTheFourthMoveInTheWindowCloses) {
  MouseMoveRule rule;
  const MoveCase& c = GetParam();
  for (size_t k = 0; k < c.seconds.size(); ++k)
    EXPECT_EQ(rule.OnMouseMove(c.seconds[k]), std::count(c.closing.begin(), c.closing.end(), k) == 1) << k;
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MouseMoveRuleCases,
    ::testing::Values(MoveCase{{100, 100, 101, 102}, {3}},
                      MoveCase{{10, 15, 20, 20}, {3}},  // exactly ten seconds: still inside
                      // Past the window the count and the window reset, that move included.
                      MoveCase{{10, 21, 22, 22, 22, 23}, {5}},
                      // Only the fourth closes: a refused stop waits for the reset.
                      MoveCase{{50, 50, 50, 50, 51, 55, 61, 62, 62, 62, 63}, {3, 10}},
                      MoveCase{{1000, 1006, 1012, 1018, 1024, 1030, 1036, 1042}, {}}));  // slow drift

TEST(MouseMoveRule, TheClockNeverReadsZero) { EXPECT_GT(MouseRuleSeconds(), 0); }

TEST(WindowSize, FiveDigitColumnsThatNeitherGoNegativeNorOverflow) {
  EXPECT_EQ(EncodeWindowSize({1200, 900, 9600, 7200}), "01200009000960007200");
  EXPECT_EQ(EncodeWindowSize({-750, -15, 115200, 64800}), "00000000009999964800");
  EXPECT_FALSE(DecodeWindowSize("    "));
  const auto full = DecodeWindowSize(" 01200009000960007200 ");
  ASSERT_TRUE(full);
  EXPECT_EQ(EncodeWindowSize(*full), "01200009000960007200");
  // Each column is its own number: 12 up to the x, not a number, a short column, a missing one.
  const auto damaged = DecodeWindowSize("12x45abcde0960");
  ASSERT_TRUE(damaged);
  EXPECT_EQ(EncodeWindowSize(*damaged), "00012000000096000000");
}

class PlacementStoreTest : public host_test::StoreTest {
 protected:
  void Store(const char* size) { store.RegSetString(kAppName, "General", "WindowSize", size); }
};

// A normal window comes back in twips of the screen's resolution (the round trip at 15 twips per
// pixel is the end-to-end test's); a maximised one comes back maximised without the stored size;
// a minimised one keeps the previous size; junk never hides the window.
TEST_F(PlacementStoreTest, NormalMaximisedMinimisedAndJunk) {
  QWidget normal, maximised, minimised, restoredMax, junk;
  Store("01200009600960007200");
  RestoreWindowPlacement(normal, store, 12, 12);  // 120 dots per inch
  EXPECT_EQ(normal.geometry(), QRect(100, 80, 800, 600));

  Store("00150001500030000300");
  maximised.showMaximized();
  SaveWindowPlacement(maximised, store, 15, 15);
  EXPECT_EQ(Stored("General", "WindowState"), "2");
  EXPECT_NE(Stored("General", "WindowSize"), "00150001500030000300");  // the maximised size is written
  Store("00150001500030000300");
  restoredMax.resize(333, 222);
  RestoreWindowPlacement(restoredMax, store, 15, 15);
  EXPECT_TRUE(restoredMax.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(restoredMax.size(), QSize(333, 222));  // 200 x 20 pixels were not applied

  Store("01200009000960007200");
  minimised.show();
  minimised.setWindowState(Qt::WindowMinimized);
  SaveWindowPlacement(minimised, store, 15, 15);
  EXPECT_EQ(Stored("General", "WindowSize"), "01200009000960007200");
  Store("junk");
  RestoreWindowPlacement(junk, store, 15, 15);
  EXPECT_GE(junk.width(), 64);
  EXPECT_GE(junk.height(), 64);
}

class SingleInstanceTest : public host_test::StoreTest {
 protected:
  const QString title = QStringLiteral("QSRN:Test Title");
};

TEST_F(SingleInstanceTest, SocketsArePrivateToTheRuntimeFolderAndOneDisplay) {
  const QByteArray wayland = qgetenv("WAYLAND_DISPLAY"), display = qgetenv("DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  qputenv("DISPLAY", ":5.1");
  EXPECT_EQ(InstanceSocketPath(title), qEnvironmentVariable("XDG_RUNTIME_DIR") + "/" + title + "@:5");
  qputenv("DISPLAY", "host:6");
  EXPECT_TRUE(InstanceSocketPath(title).endsWith("@host:6"));
  qputenv("WAYLAND_DISPLAY", "wayland-1");
  EXPECT_TRUE(InstanceSocketPath(title).endsWith("@wayland-1"));
  qputenv("WAYLAND_DISPLAY", wayland);
  qputenv("DISPLAY", display);
}

// A listening window keeps its title and hears a request to come forward; once it is gone, a
// left-over socket file is taken over.
TEST_F(SingleInstanceTest, AListeningWindowKeepsItsTitleAndHearsRequests) {
  EXPECT_FALSE(BringForward(title));
  InstanceServer first, second;
  ASSERT_TRUE(first.Listen(title));
  EXPECT_TRUE(WindowExists(title));
  EXPECT_FALSE(WindowExists(QStringLiteral("Another")));
  EXPECT_FALSE(second.Listen(title));
  int requests = 0;
  QObject::connect(&first, &InstanceServer::bringForwardRequested, [&requests] { ++requests; });
  EXPECT_TRUE(BringForward(title));
  QElapsedTimer waited;
  waited.start();
  while (requests == 0 && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(requests, 1);

  first.Close();
  QFile stale(InstanceSocketPath(title));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  EXPECT_FALSE(WindowExists(title));
  EXPECT_TRUE(second.Listen(title));
  EXPECT_TRUE(WindowExists(title));
}

// Without XDG_RUNTIME_DIR the folder in the temporary folder must be the user's alone: one that
// another user made, open to all and holding a socket that answers, is not obeyed. A runtime
// path too long for a socket address still gives one instance.
TEST_F(SingleInstanceTest, ASquattedFolderIsRefusedAndALongRuntimePathStillWorks) {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), tmpdir = qgetenv("TMPDIR");
  QTemporaryDir tmp;
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", tmp.path().toUtf8());
  const QString folder = tmp.path() + QStringLiteral("/quasarine-%1").arg(getuid());
  ASSERT_TRUE(QDir().mkdir(folder));
  ::chmod(QFile::encodeName(folder).constData(), 0777);
  if (::geteuid() == 0) {  // another user's folder; otherwise our own, but open to all
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
  }
  QLocalServer stranger;
  const QString display = DisplayName();
  ASSERT_TRUE(stranger.listen(folder + "/" + title + (display.isEmpty() ? QString() : "@" + display)));
  EXPECT_EQ(InstanceSocketPath(title), QString());
  EXPECT_FALSE(WindowExists(title));
  stranger.close();
  ASSERT_TRUE(QDir(folder).removeRecursively());

  const QString longTitle = title + QString(40, QLatin1Char('t'));
  for (const qsizetype length : {qsizetype{76}, qsizetype{200}}) {  // the short name fits; it does not
    const QString dir = tmp.path() + "/" + QString(length - tmp.path().size() - 1, QLatin1Char('r'));
    ASSERT_TRUE(QDir().mkpath(dir));
    qputenv("XDG_RUNTIME_DIR", dir.toUtf8());
    InstanceServer first, second;
    ASSERT_TRUE(first.Listen(longTitle)) << length;
    EXPECT_TRUE(WindowExists(longTitle));
    EXPECT_FALSE(second.Listen(longTitle));
  }
  qputenv("XDG_RUNTIME_DIR", runtime);
  if (tmpdir.isNull()) qunsetenv("TMPDIR");
  else qputenv("TMPDIR", tmpdir);
}

}  // namespace
}  // namespace qsrn
