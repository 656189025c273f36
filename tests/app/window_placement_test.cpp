// The windowed display's placement: the twips encoding of WindowSize, what is written for a
// normal, maximised or minimised window, and the round trip through the store.
#include <gtest/gtest.h>

#include <QWidget>

#include "host/window_placement.h"
#include "host_test_support.h"
#include "settings/store.h"

namespace qsrn {
namespace {

TEST(WindowSizeEncoding, FourZeroPaddedFiveDigitNumbers) {
  EXPECT_EQ(EncodeWindowSize({1200, 900, 9600, 7200}), "01200009000960007200");
  EXPECT_EQ(EncodeWindowSize({0, 0, 0, 0}), "00000000000000000000");
}

TEST(WindowSizeEncoding, NegativeLeftAndTopAreStoredAsZero) {
  EXPECT_EQ(EncodeWindowSize({-750, -15, 9600, 7200}), "00000000000960007200");
}

TEST(WindowSizeEncoding, HugeNumbersKeepTheColumns) {
  const std::string text = EncodeWindowSize({0, 0, 115200, 64800});
  EXPECT_EQ(text.size(), 20u);
  const auto back = DecodeWindowSize(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 99999);
  EXPECT_EQ(back->height, 64800);
}

TEST(WindowSizeDecoding, EmptyIsNothingAndEachColumnIsItsOwnNumber) {
  EXPECT_FALSE(DecodeWindowSize(""));
  EXPECT_FALSE(DecodeWindowSize("    "));
  const auto full = DecodeWindowSize(" 01200009000960007200 ");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->left, 1200);
  EXPECT_EQ(full->top, 900);
  EXPECT_EQ(full->width, 9600);
  EXPECT_EQ(full->height, 7200);
  const auto damaged = DecodeWindowSize("12x45abcde0960");
  ASSERT_TRUE(damaged);
  EXPECT_EQ(damaged->left, 12);    // the number ends at the x
  EXPECT_EQ(damaged->top, 0);      // not a number
  EXPECT_EQ(damaged->width, 960);  // a short last-but-one column
  EXPECT_EQ(damaged->height, 0);   // missing
}

TEST(PlacementFor, MaximisedStoresStateTwoAndItsSizeMinimisedKeepsTheSize) {
  const WindowRectTwips rect{1500, 1500, 6000, 4500};
  const PlacementValues normal = PlacementFor(false, false, rect);
  EXPECT_EQ(normal.windowState, 0);
  EXPECT_EQ(normal.windowSize, "01500015000600004500");
  const PlacementValues maximized = PlacementFor(true, false, rect);
  EXPECT_EQ(maximized.windowState, 2);
  EXPECT_EQ(maximized.windowSize, "01500015000600004500");
  const PlacementValues minimized = PlacementFor(false, true, rect);
  EXPECT_EQ(minimized.windowState, 0);
  EXPECT_FALSE(minimized.windowSize);
}

class PlacementStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { host_test::EnsureQtApplication(); }
  std::string Stored(const char* name) {
    return store_.RegGetString(0, kAppName, "General", name, "<none>");
  }
  host_test::TempHome home_;
  SettingsStore store_{home_.path()};
};

TEST_F(PlacementStoreTest, ANormalWindowRoundTripsInTwips) {
  QWidget saved;
  saved.setGeometry(100, 60, 640, 480);
  saved.show();
  SaveWindowPlacement(saved, store_, 15, 15);
  EXPECT_EQ(Stored("WindowState"), "0");
  EXPECT_EQ(Stored("WindowSize"), EncodeWindowSize({saved.x() * 15, saved.y() * 15, 9600, 7200}));

  QWidget restored;
  RestoreWindowPlacement(restored, store_, 15, 15);
  EXPECT_EQ(restored.pos(), saved.pos());
  EXPECT_EQ(restored.size(), QSize(640, 480));
}

TEST_F(PlacementStoreTest, AWindowPartlyLeftOfTheScreenStoresLeftAsZero) {
  QWidget saved;
  saved.setGeometry(-50, 40, 320, 240);
  saved.show();
  SaveWindowPlacement(saved, store_, 15, 15);
  EXPECT_EQ(Stored("WindowSize").substr(0, 5), "00000");
  EXPECT_EQ(Stored("WindowSize").substr(10), "0480003600");
}

TEST_F(PlacementStoreTest, AMaximisedWindowComesBackMaximisedWithoutTheStoredSize) {
  store_.RegSetString(kAppName, "General", "WindowSize", "00150001500030000300");
  QWidget saved;
  saved.showMaximized();
  SaveWindowPlacement(saved, store_, 15, 15);
  EXPECT_EQ(Stored("WindowState"), "2");
  EXPECT_NE(Stored("WindowSize"), "00150001500030000300");  // the maximised size is written

  store_.RegSetString(kAppName, "General", "WindowSize", "00150001500030000300");
  QWidget restored;
  restored.resize(333, 222);
  RestoreWindowPlacement(restored, store_, 15, 15);
  EXPECT_TRUE(restored.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(restored.size(), QSize(333, 222));  // 200 x 20 pixels were not applied
}

TEST_F(PlacementStoreTest, AMinimisedWindowKeepsThePreviousSize) {
  store_.RegSetString(kAppName, "General", "WindowSize", "01200009000960007200");
  QWidget saved;
  saved.show();
  saved.setWindowState(Qt::WindowMinimized);
  SaveWindowPlacement(saved, store_, 15, 15);
  EXPECT_EQ(Stored("WindowState"), "0");
  EXPECT_EQ(Stored("WindowSize"), "01200009000960007200");
}

TEST_F(PlacementStoreTest, TwipsFollowTheScreensResolution) {
  store_.RegSetString(kAppName, "General", "WindowSize", "01200009600960007200");
  QWidget restored;
  RestoreWindowPlacement(restored, store_, 12, 12);  // 120 dots per inch
  EXPECT_EQ(restored.pos(), QPoint(100, 80));
  EXPECT_EQ(restored.size(), QSize(800, 600));
}

TEST_F(PlacementStoreTest, ADamagedSizeNeverMakesAnInvisibleWindow) {
  store_.RegSetString(kAppName, "General", "WindowSize", "junk");
  QWidget restored;
  RestoreWindowPlacement(restored, store_, 15, 15);
  EXPECT_GE(restored.width(), 64);
  EXPECT_GE(restored.height(), 64);
}

}  // namespace
}  // namespace qsrn
