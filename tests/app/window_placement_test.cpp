// The windowed display's placement: the twips encoding of WindowSize, what is written for a
// normal, maximised or minimised window, and the way back from the store.
#include <gtest/gtest.h>

#include <QWidget>

#include "host/window_placement.h"
#include "host_test_support.h"
#include "settings/store.h"

namespace qsrn {
namespace {

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

class PlacementStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { host_test::EnsureQtApplication(); }
  std::string Stored(const char* name) { return store_.RegGetString(0, kAppName, "General", name, "<none>"); }
  void Store(const char* size) { store_.RegSetString(kAppName, "General", "WindowSize", size); }
  host_test::TempHome home_;
  SettingsStore store_{home_.path()};
};

TEST_F(PlacementStoreTest, ANormalWindowRoundTripsInTwipsOfTheScreensResolution) {
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

  Store("01200009600960007200");
  RestoreWindowPlacement(restored, store_, 12, 12);  // 120 dots per inch
  EXPECT_EQ(restored.geometry(), QRect(100, 80, 800, 600));
}

TEST_F(PlacementStoreTest, AMaximisedWindowComesBackMaximisedWithoutTheStoredSize) {
  Store("00150001500030000300");
  QWidget saved;
  saved.showMaximized();
  SaveWindowPlacement(saved, store_, 15, 15);
  EXPECT_EQ(Stored("WindowState"), "2");
  EXPECT_NE(Stored("WindowSize"), "00150001500030000300");  // the maximised size is written

  Store("00150001500030000300");
  QWidget restored;
  restored.resize(333, 222);
  RestoreWindowPlacement(restored, store_, 15, 15);
  EXPECT_TRUE(restored.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(restored.size(), QSize(333, 222));  // 200 x 20 pixels were not applied
}

TEST_F(PlacementStoreTest, AMinimisedWindowKeepsThePreviousSizeAndJunkNeverHidesTheWindow) {
  Store("01200009000960007200");
  QWidget saved;
  saved.show();
  saved.setWindowState(Qt::WindowMinimized);
  SaveWindowPlacement(saved, store_, 15, 15);
  EXPECT_EQ(Stored("WindowSize"), "01200009000960007200");

  Store("junk");
  QWidget restored;
  RestoreWindowPlacement(restored, store_, 15, 15);
  EXPECT_GE(restored.width(), 64);
  EXPECT_GE(restored.height(), 64);
}

}  // namespace
}  // namespace qsrn
