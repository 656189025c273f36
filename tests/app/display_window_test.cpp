// The display window: the surface in device pixels, presenting it with its colours as they are
// drawn, and the message label that the saver and windowed forms carry and the preview does not.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <memory>

#include "host/display_window.h"
#include "host/qt_frame_platform.h"
#include "host_test_support.h"
#include "render/color.h"
#include "render/frame.h"

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

TEST_F(DisplayWindowTest, TheSurfaceCoversTheWindowInDevicePixels) {
  auto window = Shown(true, 200, 120);
  const qreal dpr = window->devicePixelRatioF();
  EXPECT_EQ(window->surface().Width(), qRound(200 * dpr));
  EXPECT_EQ(window->surface().Height(), qRound(120 * dpr));
}

// Each pixel in its own colour; a window grown beyond its surface is black there.
TEST_F(DisplayWindowTest, PresentingShowsTheSurfaceAsDrawn) {
  auto window = Shown(false, 64, 48);
  window->surface().SetPixel(5, 7, RGB(255, 0, 0));
  window->surface().SetPixel(6, 7, RGB(0, 0, 255));
  window->surface().SetPixel(63, 47, RGB(10, 200, 30));
  window->PresentFrame();
  window->resize(80, 60);
  const QImage shown = window->grab().toImage();
  EXPECT_EQ(shown.pixelColor(5, 7), QColor(255, 0, 0));
  EXPECT_EQ(shown.pixelColor(6, 7), QColor(0, 0, 255));
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

}  // namespace
}  // namespace qsrn
