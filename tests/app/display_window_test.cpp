// The display window: the surface presented with its colours as drawn, the message label of the
// saver and windowed forms (never the preview's), and every effect's frames presented by their
// changed tiles only, equal to the surface pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "host/display_window.h"
#include "host/qt_frame_platform.h"
#include "host/tile_presenter.h"
#include "host_test_support.h"
#include "render/color.h"
#include "render/frame.h"
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
}  // namespace qsrn
