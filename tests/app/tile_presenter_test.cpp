// What the display windows show is the surface: every effect runs for many frames, each frame
// presented by its changed tiles only into a stand-in for the window's backing store, and the
// picture there must equal the surface, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "host/tile_presenter.h"
#include "tools/headless.h"

namespace qsrn {
namespace {

// The surface as the screen should show it: 0x00BBGGRR to 0xFFRRGGBB.
int FirstDifference(const Surface& surface, const QImage& shown) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      const auto c = static_cast<uint32_t>(surface.GetPixel(x, y));
      const QRgb want = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c >> 16));
      if (shown.pixel(x, y) != want) return y * surface.Width() + x;
    }
  return -1;
}

class TilePresenterTest : public ::testing::TestWithParam<int> {};

TEST_P(TilePresenterTest, ThePresentedPictureEqualsTheSurfaceAfterEveryFrame) {
  QTemporaryDir dir;
  ToolStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir.path().toStdString(), {}, &error)) << error;
  HeadlessDisplay display;
  display.Start(store.store(), 203, 117, 7);  // sizes that cut the last tiles short
  std::unique_ptr<Engine> engine = PrepareEffect(display.ctx, store.store(), GetParam(), 0, false);
  if (engine == nullptr) GTEST_SKIP() << "no engine for this effect";

  TilePresenter presenter;
  presenter.Resize(display.surface, 1);
  QImage shown(display.surface.Width(), display.surface.Height(), QImage::Format_RGB32);
  shown.fill(Qt::magenta);  // anything never presented shows up as a difference
  int frame = 0;
  int mismatch = -1;
  display.platform.onPresent = [&](Context&) {
    presenter.Update(display.surface);
    const QRegion changed = presenter.TakePending();
    if (!changed.isEmpty()) {
      QPainter painter(&shown);
      presenter.Paint(painter, changed);
    }
    if (++frame % 25 == 0 && mismatch < 0) mismatch = FirstDifference(display.surface, shown);
  };
  RunFrames(display.ctx, *engine, 400);
  EXPECT_EQ(mismatch, -1) << "first wrong pixel (index) by frame " << frame;
  EXPECT_EQ(FirstDifference(display.surface, shown), -1);
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, TilePresenterTest, ::testing::Range(0, 6));

}  // namespace
}  // namespace qsrn
