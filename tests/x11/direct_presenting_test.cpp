// Frames sent straight to a real X server (Xvfb): what the server shows equals the surface, for
// every effect, under a label, after an expose and after a resize.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <memory>

#include "qt/present/display_window.h"
#include "tools/headless.h"

namespace qsrn {
namespace {

// The window as the server holds it, read back.
QImage OnScreen(DisplayWindow& window) {
  QCoreApplication::processEvents();
  return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// How many pixels of the surface the window shows wrongly.
int Wrong(const Surface& surface, const QImage& shown) {
  int wrong = 0;
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      const auto c = static_cast<uint32_t>(surface.GetPixel(x, y));
      const QRgb want = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c >> 16));
      wrong += shown.pixel(x, y) != want;
    }
  return wrong;
}

class DirectPresentingTest : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "quasarine_x11_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QApplication(argc, argv);
  }

  // Shows the window at 203 x 117 (the last tiles cut short) with the effect loaded onto its surface.
  std::unique_ptr<Engine> Start(DisplayWindow& window, int effect) {
    window.setGeometry(10, 10, 203, 117);
    window.show();
    window.WaitUntilSettled();
    window.SizeSurfaceToWindow();
    EXPECT_TRUE(store.Open(dir.path().toStdString(), {}, &error)) << error;
    display.Start(store.store(), window.surface().Width(), window.surface().Height(), 7);
    display.ctx.surface = &window.surface();
    return PrepareEffect(display.ctx, store.store(), effect, 0, false);
  }

  QTemporaryDir dir;
  ToolStore store;
  std::string error;
  HeadlessDisplay display;
};

TEST_P(DirectPresentingTest, TheServerShowsTheSurfaceAfterEveryFrameUnderALabelAfterAnExposeAndAResize) {
  DisplayWindow window(true);
  std::unique_ptr<Engine> engine = Start(window, GetParam());
  if (engine == nullptr) GTEST_SKIP() << "no engine for this effect";
  int frame = 0;
  int wrong = 0;
  display.platform.onPresent = [&](Context&) {
    window.PresentFrame();
    if (++frame % 25 == 0 && wrong == 0) wrong = Wrong(window.surface(), OnScreen(window));
  };
  RunFrames(display.ctx, *engine, 200);
  ASSERT_TRUE(window.PresentsDirectly()) << "Xvfb shares memory: frames should not go through Qt";
  EXPECT_EQ(wrong, 0) << "pixels shown wrongly by frame " << frame;

  // A label over the picture keeps its text while the frames beneath it change: the window
  // shows what Qt draws of it, surface and label.
  display.ctx.settings.LockMessage = "WWWWWWWWWWWW";
  display.ctx.settings.Adv_FontSize = 40;
  window.ApplyMessage(display.ctx.settings, 15);
  RunFrames(display.ctx, *engine, 60);
  EXPECT_TRUE(OnScreen(window) == window.grab().toImage().convertToFormat(QImage::Format_RGB32));
  window.ClearMessage();

  // Another window covers ours for some frames and goes: the uncovered part shows this frame.
  QWidget cover;
  cover.setGeometry(0, 0, 120, 90);
  cover.show();
  RunFrames(display.ctx, *engine, 30);
  cover.hide();
  QImage uncovered;
  for (int i = 0; i < 20; ++i) {  // until the server has asked for the part back and got it
    QCoreApplication::processEvents();
    uncovered = OnScreen(window);
    if (Wrong(window.surface(), uncovered) == 0) break;
  }
  EXPECT_EQ(Wrong(window.surface(), uncovered), 0);

  // A resized window gets a new shared image, filled whole before its first frame is shown.
  window.resize(150, 100);
  window.WaitUntilSettled();
  window.SizeSurfaceToWindow();
  RunFrames(display.ctx, *engine, 30);
  EXPECT_TRUE(window.PresentsDirectly());
  EXPECT_EQ(Wrong(window.surface(), OnScreen(window)), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, DirectPresentingTest, ::testing::Range(0, 6));

}  // namespace
}  // namespace qsrn
